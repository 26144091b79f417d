#!/usr/bin/python3
"""A fake storage appliance for tests and the demo: discovery on UDP 14675,
its web server on port 80 and a control channel for tests on port 8080.
Run it only inside a network namespace of the lab (or tools/lab/isolated
with --address 127.0.0.1). Prints READY once every socket is bound."""

import argparse
import os
import signal
import subprocess
import sys
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import control     # noqa: E402
import discovery   # noqa: E402
import faults      # noqa: E402
import net         # noqa: E402
import state       # noqa: E402
import web         # noqa: E402


class Appliance:
    def __init__(self, options):
        self.options = options
        self.loopback = options.address.startswith("127.")
        if not options.interface:
            options.interface = interface_of(options.address) or ("lo" if self.loopback else "eth0")
        prefix = options.prefix or interface_prefix(options.interface, options.address) or (
            8 if self.loopback else 24)
        self.state = state.ApplianceState(
            options.address, options.disk_name, options.group, options.firmware,
            options.user, options.password, prefix=prefix,
            reboot_seconds=options.reboot_seconds, upload_limit=options.upload_limit,
            scan_interval=options.scan_interval, dhcp_address=options.dhcp_address,
            move_delay=options.move_delay, reboot_delay=options.reboot_delay,
            move=not options.no_move, disk_idle_own_line=options.disk_idle_own_line)
        self.stopped = threading.Event()
        self.faults = faults.Faults()
        self.web = web.WebServer(self)
        self.control = control.Control(self)
        # On the lab segment the sockets take every address of the namespace, so
        # an address change needs no rebinding; on loopback several appliances
        # may share one namespace, each on its own address.
        bind = options.address if self.loopback else ""
        self.http = net.Listener(bind, options.http_port, self.web.handle, "http")
        self.control_listener = net.Listener(bind, options.control_port, self.control.handle, "control")
        self.discovery = discovery.Discovery(self, bind, options.udp_port)
        self.reboot_lock = threading.Lock()
        self.powered_off = False

    def start(self):
        self.http.open()
        self.control_listener.open()
        if not self.options.no_discovery:
            self.discovery.open()

    def reboot(self, delay=0.0):
        """Unreachable for a while: no web server, no discovery replies.
        `delay`: seconds it still answers before it goes down, as a real one
        takes a moment to stop its services."""
        if delay > 0 and self.stopped.wait(delay):
            return
        with self.reboot_lock:
            with self.state.lock:
                if self.state.rebooting:
                    return
                self.state.rebooting = True
                self.state.scan_generation += 1
                self.state.scan_running = False
                seconds = self.state.reboot_seconds
            self.http.close()
        if self.stopped.wait(seconds):
            return
        with self.reboot_lock:
            with self.state.lock:
                if self.powered_off:
                    return
                self.state.new_session()
                self.state.rebooting = False
                self.state.grace_password = None
                if self.state.pending_firmware:
                    self.state.firm_ver, self.state.pending_firmware = self.state.pending_firmware, ""
                if self.state.disk_fix_enable == "DISABLE":
                    self.state.disk_fix_enable = "ENABLE"
            self.http.open()

    def power(self, on):
        """Switched off: unreachable as in a reboot, until switched on again."""
        with self.reboot_lock:
            with self.state.lock:
                self.powered_off = not on
                self.state.rebooting = not on
                if not on:
                    self.state.scan_generation += 1
                    self.state.scan_running = False
            if on:
                self.http.open()
            else:
                self.http.close()

    def move_to(self, address, prefix):
        """Takes a new address shortly after the answer that announced it has gone out."""
        s = self.state
        with s.lock:
            delay, move = s.move_delay, s.move == "1"
        if self.stopped.wait(delay) or not move:
            return
        with s.lock:
            old, old_prefix = s.address, s.prefix
        if old == address and old_prefix == prefix:
            return
        error = ""
        if self.loopback:
            try:
                # The web server last: once it answers there, all have moved.
                self.control_listener.rebind(address)
                if not self.options.no_discovery:
                    self.discovery.rebind(address)
                self.http.rebind(address)
            except OSError as failure:
                error = str(failure)
        else:
            dev = self.options.interface
            # The old address goes first: deleting a primary address also
            # deletes the secondary ones of its subnet.
            steps = []
            if old != address:
                steps.append(["ip", "addr", "del", "%s/%d" % (old, old_prefix), "dev", dev])
            steps.append(["ip", "addr", "replace", "%s/%d" % (address, prefix), "dev", dev])
            steps.append(["ip", "route", "replace", "default", "dev", dev])
            for step in steps:
                done = subprocess.run(step, capture_output=True, text=True)
                if done.returncode != 0:
                    error = "%s: %s" % (" ".join(step), done.stderr.strip())
                    break
            if error and old != address:
                subprocess.run(["ip", "addr", "replace", "%s/%d" % (old, old_prefix), "dev", dev],
                               capture_output=True)
                subprocess.run(["ip", "route", "replace", "default", "dev", dev], capture_output=True)
        with s.lock:
            s.move_error = error
            if not error:
                s.address, s.prefix = address, prefix
        if error:
            print("address change failed: %s" % error, file=sys.stderr, flush=True)


def interface_of(address):
    """The interface that carries `address`, or None."""
    try:
        shown = subprocess.run(["ip", "-o", "-4", "addr", "show"],
                               capture_output=True, text=True, timeout=5).stdout
    except (OSError, subprocess.SubprocessError):
        return None
    for line in shown.splitlines():
        words = line.split()
        if len(words) > 3 and words[2] == "inet" and words[3].split("/")[0] == address:
            return words[1].split("@")[0]
    return None


def interface_prefix(interface, address):
    try:
        shown = subprocess.run(["ip", "-o", "-4", "addr", "show", "dev", interface],
                               capture_output=True, text=True, timeout=5).stdout
    except (OSError, subprocess.SubprocessError):
        return None
    for word in shown.split():
        if word.startswith(address + "/"):
            return int(word.split("/")[1])
    return None


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--address", required=True, help="the appliance's IPv4 address")
    parser.add_argument("--disk-name", default="Q70-NAS", help="host (disk) name")
    parser.add_argument("--group", default="WORKGROUP", help="work group name")
    parser.add_argument("--firmware", default="2.4.17", help="firmware version")
    parser.add_argument("--user", default="admin")
    parser.add_argument("--password", default="admin")
    parser.add_argument("--interface", default="",
                        help="interface that carries the address (default: the one that has it)")
    parser.add_argument("--prefix", type=int, default=0, help="prefix length (default: read from the interface)")
    parser.add_argument("--reboot-seconds", type=float, default=3.0,
                        help="how long a reboot keeps it unreachable")
    parser.add_argument("--reboot-delay", type=float, default=0.3,
                        help="seconds it still answers after the reboot command before it goes down")
    parser.add_argument("--move-delay", type=float, default=0.3,
                        help="seconds between the answer to an address change and the move")
    parser.add_argument("--no-move", action="store_true",
                        help="address changes show on the status page but the appliance stays where it is")
    parser.add_argument("--dhcp-address", default="",
                        help="ADDR[/PREFIX] an automatic address gives (default: host .50 of its own subnet)")
    parser.add_argument("--disk-idle-own-line", action="store_true",
                        help="the disk sleep time on a line of its own (the client then reads none)")
    parser.add_argument("--upload-limit", type=int, default=4 * 1024 * 1024,
                        help="largest firmware image taken, in bytes")
    parser.add_argument("--scan-interval", type=float, default=2.0,
                        help="seconds between two lines of the disk scan report")
    parser.add_argument("--control-port", type=int, default=8080)
    parser.add_argument("--http-port", type=int, default=80)
    parser.add_argument("--udp-port", type=int, default=discovery.PORT)
    parser.add_argument("--no-discovery", action="store_true",
                        help="no UDP endpoint (leaves port 14675 to a client in the same namespace)")
    return parser.parse_args(argv)


def main(argv):
    options = parse_arguments(argv)
    appliance = Appliance(options)
    try:
        appliance.start()
    except OSError as error:
        print("cannot bind: %s" % error, file=sys.stderr, flush=True)
        return 1
    print("READY", flush=True)
    signal.signal(signal.SIGTERM, lambda *_: appliance.stopped.set())
    signal.signal(signal.SIGINT, lambda *_: appliance.stopped.set())
    while not appliance.stopped.wait(0.5):
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
