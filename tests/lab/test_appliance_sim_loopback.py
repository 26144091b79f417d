#!/usr/bin/python3
"""The fake appliance on loopback addresses, as unit tests run it inside
tools/lab/isolated: two appliances in one namespace, each on its own
address, and an address change by rebinding."""

import base64
import os
import signal
import socket
import subprocess
import sys
import time
import unittest

SIM = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                   "appliance-sim", "appliance_sim.py")


def start(address, *extra):
    process = subprocess.Popen([sys.executable, SIM, "--address", address, *extra],
                               stdout=subprocess.PIPE, text=True)
    line = process.stdout.readline()           # READY, or "" when it failed
    return process, line.strip()


def fetch(address, path):
    token = base64.b64encode(b"admin:admin").decode()
    with socket.create_connection((address, 80), timeout=5) as sock:
        sock.sendall(("GET %s HTTP/1.1\r\nHost:%s\r\nAuthorization: Basic %s\r\n\r\n"
                      % (path, address, token)).encode())
        data = b""
        while True:
            chunk = sock.recv(65536)
            if not chunk:
                return data
            data += chunk


def refused(address, port=80):
    try:
        socket.create_connection((address, port), timeout=1).close()
        return False
    except ConnectionRefusedError:
        return True


class LoopbackTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.first, cls.first_line = start("127.0.0.1")
        cls.second, cls.second_line = start("127.0.0.4", "--no-discovery", "--disk-name", "SECOND")

    @classmethod
    def tearDownClass(cls):
        for process in (cls.first, cls.second):
            process.send_signal(signal.SIGTERM)
        cls.codes = [p.wait(timeout=5) for p in (cls.first, cls.second)]
        for process in (cls.first, cls.second):
            process.stdout.close()

    def test_two_appliances_share_the_namespace(self):
        self.assertEqual((self.first_line, self.second_line), ("READY", "READY"))
        self.assertIn(b'ip_addr="127.0.0.1"', fetch("127.0.0.1", "/utility_use.htm"))
        self.assertIn(b'host_name="SECOND"', fetch("127.0.0.4", "/utility_use.htm"))
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sock:
            sock.settimeout(2)
            sock.sendto(b"\x01" + b"\0" * 71, ("127.0.0.1", 14675))
            data, sender = sock.recvfrom(8192)
            self.assertEqual((len(data), sender), (72, ("127.0.0.1", 14675)))
        # Without discovery the second leaves port 14675 of its address free.
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sock:
            sock.bind(("127.0.0.4", 14675))

    def test_address_change_rebinds(self):
        mover, line = start("127.0.0.2", "--no-discovery", "--control-port", "8081")
        self.addCleanup(mover.stdout.close)
        self.addCleanup(mover.wait, 5)
        self.addCleanup(mover.send_signal, signal.SIGTERM)
        self.assertEqual(line, "READY")
        answer = fetch("127.0.0.2", "/if.cgi?redirect=if_cfg.htm&failure=fail.htm&type=wan_fixip_apply"
                                    "&ip=127.0.0.3&submask=255.0.0.0&gateway=&pdns=&sdns=")
        self.assertIn(b"Location: if_cfg.htm", answer)
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline and refused("127.0.0.3"):
            time.sleep(0.1)
        self.assertIn(b'ip_addr="127.0.0.3"', fetch("127.0.0.3", "/utility_use.htm"))
        self.assertTrue(refused("127.0.0.2"))
        self.assertTrue(refused("127.0.0.2", 8081))
        self.assertFalse(refused("127.0.0.3", 8081))

    def test_automatic_address_rebinds_unless_told_to_stay(self):
        dhcp = ("/dhcpc.cgi?redirect=if_cfg.htm&failure=fail.htm&type=dhcpc_apply&ifname=")
        for extra, lands in ((["--no-move"], "127.0.0.5"), ([], "127.0.0.50")):
            with self.subTest(options=extra):
                mover, line = start("127.0.0.5", "--no-discovery", "--control-port", "8082", *extra)
                self.addCleanup(mover.stdout.close)
                self.addCleanup(mover.wait, 5)
                self.addCleanup(mover.send_signal, signal.SIGTERM)
                self.assertEqual(line, "READY")
                self.assertIn(b"Location: if_cfg.htm", fetch("127.0.0.5", dhcp))
                deadline = time.monotonic() + 5
                while time.monotonic() < deadline and refused(lands):
                    time.sleep(0.1)
                time.sleep(0.5)
                page = fetch(lands, "/utility_use.htm")
                self.assertIn(b'ip_type="DHCP CLIENT"', page)
                self.assertIn(b'ip="127.0.0.50"', page)
                self.assertEqual(refused("127.0.0.5"), lands != "127.0.0.5")
                mover.send_signal(signal.SIGTERM)
                self.assertEqual(mover.wait(5), 0)


if __name__ == "__main__":
    result = unittest.main(verbosity=2, exit=False).result
    # Both appliances must also end cleanly on SIGTERM.
    sys.exit(0 if result.wasSuccessful() and LoopbackTest.codes == [0, 0] else 1)
