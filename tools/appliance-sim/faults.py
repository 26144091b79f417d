"""Misbehaviour on demand: how the next answers on port 80 go wrong."""

import os
import re
import socket
import threading
import time

import net

MODES = ("none", "keep-open", "trickle", "reset", "no-html", "garbage", "huge",
         "status500", "silence", "slow-accept", "redirect-loop")

DEFAULTS = {"count": 0, "bytes": 13, "pause": 15, "seconds": 3.0, "size": 32 * 1024 * 1024,
            "hold": net.HOLD_LIMIT}


class Faults:
    """The fault in force. A fault set with count=N lasts for the next N
    requests and then clears itself; without a count it lasts until another
    is set."""

    def __init__(self):
        self.lock = threading.Lock()
        self.mode = "none"
        self.options = dict(DEFAULTS)
        self.left = 0

    def set(self, mode, option_text=""):
        if mode not in MODES:
            return False
        options = dict(DEFAULTS)
        for word in option_text.split():
            name, _, value = word.partition("=")
            if name not in DEFAULTS:
                return False
            try:
                options[name] = float(value)
            except ValueError:
                return False
        with self.lock:
            self.mode = mode
            self.options = options
            self.left = int(options["count"])
        return True

    def describe(self):
        with self.lock:
            return self.mode

    def take(self):
        """The fault for one new request: (mode, options)."""
        with self.lock:
            mode, options = self.mode, dict(self.options)
            if self.left > 0:
                self.left -= 1
                if self.left == 0:
                    self.mode = "none"
            return mode, options


SERVER_ERROR = net.response(
    "500 Internal Server Error", ["Content-Type: text/html"],
    b"<HTML><HEAD><TITLE>500 Internal Server Error</TITLE></HEAD>"
    b"<BODY><H1>500 Internal Server Error</H1></BODY></HTML>\r\n")


def without_marker(data):
    # Same length as the marker, so Content-Length stays right.
    return re.sub(rb"(?i)<html>", b"<PAGE>", data)


def deliver(conn, answer, mode, options):
    """Sends `answer` on `conn` as the fault `mode` says and ends the connection."""
    try:
        if mode in ("none", "slow-accept", "redirect-loop"):
            conn.sendall(answer)
            net.finish(conn)
        elif mode == "keep-open":
            conn.sendall(answer)
            net.wait_for_close(conn, min(options["hold"], net.HOLD_LIMIT))
        elif mode == "trickle":
            step = max(1, int(options["bytes"]))
            for start in range(0, len(answer), step):
                conn.sendall(answer[start:start + step])
                time.sleep(options["pause"] / 1000.0)
            net.finish(conn)
        elif mode == "reset":
            conn.sendall(answer[:max(1, len(answer) // 2)])
            time.sleep(0.05)
            net.reset(conn)
        elif mode == "no-html":
            conn.sendall(without_marker(answer))
            net.finish(conn)
        elif mode == "garbage":
            conn.sendall(without_marker(os.urandom(4096)))
            net.finish(conn)
        elif mode == "huge":
            send_huge(conn, answer, int(options["size"]))
        elif mode == "status500":
            conn.sendall(SERVER_ERROR)
            net.finish(conn)
        elif mode == "silence":
            net.wait_for_close(conn, min(options["hold"], net.HOLD_LIMIT))
    except (BrokenPipeError, ConnectionResetError, socket.timeout, OSError):
        pass


def send_huge(conn, answer, size):
    head, _, body = answer.partition(b"\r\n\r\n")
    head = b"\r\n".join(line for line in head.split(b"\r\n")
                        if not line.lower().startswith(b"content-length:"))
    conn.sendall(head + b"\r\n\r\n" + body)
    sent = len(head) + 4 + len(body)
    filler = b"<!-- padding padding padding padding padding padding padding -->\r\n" * 1024
    conn.settimeout(30)
    while sent < size:
        piece = filler[:size - sent]
        conn.sendall(piece)
        sent += len(piece)
    net.finish(conn)
