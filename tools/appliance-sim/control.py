"""The control channel for tests: plain HTTP/1.0, one request per connection,
plain-text bodies. See README.md for the paths."""

import json
import re
import urllib.parse

import net

UPLOAD_ANSWERS = {"redirect": "redirect", "error": "500", "drop": "drop"}


def escape(value):
    return value.replace("\\", "\\\\").replace("\n", "\\n").replace("\r", "\\r")


class Control:
    def __init__(self, app):
        self.app = app

    def handle(self, conn, peer):
        head, extra = net.read_head(conn)
        if head is None:
            return
        method, target, _, headers = net.parse_head(head)
        length = int(headers.get("content-length", "0") or 0)
        body = net.read_exactly(conn, length, extra) if length else b""
        path = urllib.parse.unquote(target.partition("?")[0], encoding="utf-8")
        status, data = self.route(method, path, body)
        answer = net.response(status, ["Content-Type: text/plain; charset=utf-8"],
                              data if isinstance(data, bytes) else data.encode("utf-8"))
        conn.sendall(answer)
        net.finish(conn)

    def route(self, method, path, body):
        app = self.app
        s = app.state
        words = path.strip("/").split("/", 1)
        top, rest = words[0], words[1] if len(words) > 1 else ""
        text = body.decode("utf-8", "replace")
        if top == "state.json" and method == "GET":
            return "200 OK", json.dumps(s.snapshot(), ensure_ascii=False, indent=1) + "\n"
        if top == "upload":
            if method == "GET" and not rest:
                return "200 OK", s.get("upload_answer")
            answer = UPLOAD_ANSWERS.get(rest, rest if re.fullmatch(r"[1-5][0-9][0-9]", rest) else None)
            if method == "POST" and answer is not None:
                s.set("upload_answer", answer)
                return "200 OK", "ok\n"
            return "400 Bad Request", "bad upload answer\n"
        if top == "state":
            if not rest and method == "GET":
                with s.lock:
                    lines = ["%s=%s" % (k, escape(s.get(k) or "")) for k in s.keys()]
                return "200 OK", "\n".join(lines) + "\n"
            if method == "GET":
                value = s.get(rest)
                return ("200 OK", value) if value is not None else ("404 Not Found", "no key\n")
            if method == "POST":
                return ("200 OK", "ok\n") if s.set(rest, text) else ("400 Bad Request", "cannot set\n")
        if top == "reset-defaults" and method == "POST":
            s.factory_reset(keep_network=True)
            s.clear_test_settings()
            with s.lock:
                # The page's network settings describe the address in use.
                s.network_defaults(s.address, s.prefix)
            app.power(True)
            app.faults.set("none")
            app.discovery.set_mode("normal")
            return "200 OK", "ok\n"
        if top == "requests":
            records = app.web.requests
            with s.lock:
                if rest == "count":
                    return "200 OK", "%d\n" % len(records)
                if rest.startswith("count/"):
                    # Sends of one command type, such as the client's retries.
                    marker = re.compile(rb"^[A-Z]+ [^ ]*[?&]type=" + re.escape(rest[6:].encode("latin-1"))
                                        + rb"(?:[& ]|$)")
                    return "200 OK", "%d\n" % sum(1 for r in records if marker.match(bytes(r)))
                if rest == "clear" and method == "POST":
                    del records[:]
                    return "200 OK", "ok\n"
                if rest == "last":
                    return ("200 OK", bytes(records[-1])) if records else ("404 Not Found", "none\n")
                if rest.isdigit():
                    n = int(rest)
                    return ("200 OK", bytes(records[n])) if n < len(records) else ("404 Not Found", "none\n")
        if top == "fault":
            if method == "GET" and not rest:
                return "200 OK", app.faults.describe()
            if method == "POST":
                return ("200 OK", "ok\n") if app.faults.set(rest, text) else ("400 Bad Request", "bad fault\n")
        if top == "discovery":
            d = app.discovery
            with d.lock:
                if method == "GET" and not rest:
                    return "200 OK", d.mode
                if method == "GET" and rest == "count":
                    return "200 OK", "%d\n" % len(d.received)
                if method == "GET" and rest.isdigit():
                    n = int(rest)
                    return ("200 OK", d.received[n]) if n < len(d.received) else ("404 Not Found", "none\n")
                if method == "POST" and rest == "clear":
                    del d.received[:]
                    return "200 OK", "ok\n"
            if method == "POST":
                return ("200 OK", "ok\n") if d.set_mode(rest) else ("400 Bad Request", "bad mode\n")
        if top == "page" and method == "GET":
            import status_page
            return "200 OK", status_page.render(s)
        if top == "power" and method == "POST" and rest in ("off", "on"):
            app.power(rest == "on")
            return "200 OK", "ok\n"
        if top == "reboot" and method == "POST":
            import threading
            threading.Thread(target=app.reboot, daemon=True).start()
            return "200 OK", "ok\n"
        return "404 Not Found", "unknown path\n"
