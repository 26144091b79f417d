"""Small socket helpers shared by the appliance's servers."""

import select
import socket
import struct
import threading
import time

HOLD_LIMIT = 60.0     # no connection is held longer than this


class Listener:
    """A TCP listener whose accept loop hands each connection to `handler`
    on a thread of its own. It can be closed (connections are then refused)
    and opened again, on the same or another address."""

    def __init__(self, host, port, handler, name):
        self.host, self.port, self.handler, self.name = host, port, handler, name
        self.sock = None
        self.thread = None
        self.running = threading.Event()
        self.lock = threading.Lock()

    def open(self):
        with self.lock:
            if self.sock is not None:
                return
            sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            sock.bind((self.host, self.port))
            sock.listen(64)
            self.sock = sock
            self.running.set()
            self.thread = threading.Thread(target=self.accept_loop, args=(sock,),
                                           name=self.name, daemon=True)
            self.thread.start()

    def close(self):
        with self.lock:
            sock, self.sock = self.sock, None
            self.running.clear()
        if sock is not None:
            sock.close()
        if self.thread is not None and self.thread is not threading.current_thread():
            self.thread.join(2)

    def rebind(self, host):
        self.close()
        self.host = host
        self.open()

    def accept_loop(self, sock):
        while self.running.is_set() and self.sock is sock:
            try:
                ready, _, _ = select.select([sock], [], [], 0.2)
            except (OSError, ValueError):
                return
            if not ready:
                continue
            try:
                conn, peer = sock.accept()
            except OSError:
                continue
            threading.Thread(target=self.serve, args=(conn, peer), daemon=True).start()

    def serve(self, conn, peer):
        try:
            self.handler(conn, peer)
        except Exception as error:   # one broken connection must not stop the server
            import sys
            print("%s: %s: %r" % (self.name, peer, error), file=sys.stderr, flush=True)
        finally:
            try:
                conn.close()
            except OSError:
                pass


def read_head(conn, record=None, limit=1 << 20, timeout=10.0):
    """Reads up to and including the empty line that ends an HTTP head.
    Returns (head, extra bytes already read past it); head is None when the
    peer closed or stalled first."""
    conn.settimeout(timeout)
    data = b""
    while b"\r\n\r\n" not in data:
        try:
            chunk = conn.recv(65536)
        except (socket.timeout, OSError):
            return None, data
        if not chunk:
            return None, data
        if record is not None:
            record.extend(chunk)
        data += chunk
        if len(data) > limit:
            return None, data
    end = data.index(b"\r\n\r\n") + 4
    return data[:end], data[end:]


def read_exactly(conn, count, already=b"", record=None, timeout=10.0):
    """Reads until `count` bytes (counting `already`) or the peer stops."""
    conn.settimeout(timeout)
    parts = [already]
    have = len(already)
    while have < count:
        try:
            chunk = conn.recv(min(1 << 20, count - have))
        except (socket.timeout, OSError):
            break
        if not chunk:
            break
        if record is not None:
            record.extend(chunk)
        parts.append(chunk)
        have += len(chunk)
    return b"".join(parts)


def parse_head(head):
    """(method, target, version, {lower-case header name: value}) of a head."""
    lines = head.decode("latin-1").split("\r\n")
    words = lines[0].split(" ")
    method = words[0] if words else ""
    target = words[1] if len(words) > 1 else ""
    version = words[2] if len(words) > 2 else ""
    headers = {}
    for line in lines[1:]:
        name, colon, value = line.partition(":")
        if colon and name.strip().lower() not in headers:
            headers[name.strip().lower()] = value.strip()
    return method, target, version, headers


def finish(conn):
    """Ends an answer the polite way: FIN first, then wait (briefly) for the
    peer to close, so that nothing unread turns the close into a reset."""
    try:
        conn.shutdown(socket.SHUT_WR)
    except OSError:
        return
    wait_for_close(conn, 2.0)


def wait_for_close(conn, seconds):
    deadline = time.monotonic() + seconds
    while True:
        left = deadline - time.monotonic()
        if left <= 0:
            return
        try:
            conn.settimeout(left)
            if not conn.recv(65536):
                return
        except (socket.timeout, OSError):
            return


def reset(conn):
    """Closes with a reset (RST) instead of the orderly FIN."""
    try:
        conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    except OSError:
        pass
    conn.close()


def response(status, headers=(), body=b"", version="HTTP/1.0"):
    lines = ["%s %s" % (version, status)]
    lines += list(headers)
    lines.append("Content-Length: %d" % len(body))
    lines.append("Connection: close")
    return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1") + body
