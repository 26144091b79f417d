"""UDP 14675: answers each discovery request with a 72-byte reply sent to the
sender's address and port, from the appliance's own port."""

import socket
import threading

PORT = 14675
SIZE = 72
MODES = ("normal", "malformed", "repeat", "full-fields", "silent", "empty-names")


def field(text, width):
    data = text.encode("cp1252", "replace") if isinstance(text, str) else text
    return data[:width].ljust(width, b"\0")


def reply(disk, group, firmware, kind=1, filler=b"\0"):
    data = (bytes([kind]) + filler * 7 + field(disk, 16) + field(group, 16)
            + field(firmware, 30) + filler * 2)
    assert len(data) == SIZE
    return data


def is_request(data):
    # A request has an empty firmware field; that also keeps replies of
    # other appliances from being answered.
    return len(data) == SIZE and data[0] == 1 and data[40] == 0


def answers(mode, disk, group, firmware):
    """The datagrams that answer one request, in sending order."""
    valid = reply(disk, group, firmware)
    if mode == "normal":
        return [valid]
    if mode == "repeat":
        return [valid, valid]
    if mode == "silent":
        return []
    if mode == "empty-names":
        return [reply("", "", firmware)]
    if mode == "full-fields":
        # Every text field full, no zero byte anywhere; the unread bytes too.
        return [reply(b"ABCDEFGHIJKLMNOP", b"GROUPNAME-16CHRS",
                      b"0123456789ABCDEFGHIJKLMNOPQRST", filler=b"\xff")]
    if mode == "malformed":
        # Each wrong in one way and labelled, so a client that takes one shows it;
        # the valid reply comes last.
        return [reply("BAD-SHORT", group, "71 bytes")[:71],
                reply("BAD-LONG", group, "73 bytes") + b"\0",
                reply("BAD-TYPE", group, "type 2", kind=2),
                reply("BAD-NOFW", group, ""),
                valid]
    raise ValueError(mode)


class Discovery:
    def __init__(self, app, host, port=PORT):
        self.app = app
        self.host, self.port = host, port
        self.mode = "normal"
        self.received = []
        self.lock = threading.Lock()
        self.sock = None

    def open(self):
        sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
        sock.bind((self.host, self.port))
        sock.settimeout(0.2)
        self.sock = sock
        threading.Thread(target=self.loop, name="discovery", daemon=True).start()

    def rebind(self, host):
        if self.host == host:
            return
        old, self.host = self.sock, host
        self.open()
        old.close()

    def set_mode(self, mode):
        if mode not in MODES:
            return False
        with self.lock:
            self.mode = mode
        return True

    def loop(self):
        sock = self.sock
        while not self.app.stopped.is_set() and self.sock is sock:
            try:
                data, sender = sock.recvfrom(8192)
            except socket.timeout:
                continue
            except OSError:
                return
            with self.lock:
                self.received.append(data)
                mode = self.mode
            s = self.app.state
            with s.lock:
                if s.rebooting or not is_request(data):
                    continue
                disk, group, firmware = s.host_name, s.group_name, s.firm_ver
            for datagram in answers(mode, disk, group, firmware):
                try:
                    sock.sendto(datagram, sender)
                except OSError:
                    pass
