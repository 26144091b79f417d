"""The appliance's web server on port 80: Basic authentication, the status
page, the CGI commands and the firmware upload. Every answer closes the
connection; the client reads until then."""

import base64
import hashlib
import socket

import commands
import faults
import net
import status_page
import upload


def html_page(title, text=""):
    return ("<HTML><HEAD><TITLE>%s</TITLE></HEAD><BODY><H1>%s</H1>%s</BODY></HTML>\r\n"
            % (title, title, text)).encode("utf-8")


REASONS = {"200": "OK", "400": "Bad Request", "403": "Forbidden", "404": "Not Found",
           "500": "Internal Server Error", "503": "Service Unavailable"}

UNAUTHORIZED = net.response(
    "401 Unauthorized",
    ['WWW-Authenticate: Basic realm="Q70"', "Content-Type: text/html"],
    html_page("401 Unauthorized", "Authorization required."))


class Record(bytearray):
    """The bytes of one request. It joins the list at its first byte, so a
    connection that sends nothing (a reachability test) is no request."""

    def __init__(self, requests, lock):
        super().__init__()
        self.requests, self.lock = requests, lock

    def extend(self, data):
        if data and not self:
            with self.lock:
                self.requests.append(self)
        super().extend(data)


class WebServer:
    def __init__(self, app):
        self.app = app
        self.requests = []                  # raw bytes of every request, in arrival order

    def new_record(self):
        return Record(self.requests, self.app.state.lock)

    def handle(self, conn, peer):
        # A connection that closes without a byte (a reachability test) is no
        # request and uses up no fault.
        conn.settimeout(10)
        try:
            if not conn.recv(1, socket.MSG_PEEK):
                return
        except OSError:
            return
        mode, options = self.app.faults.take()
        if mode == "slow-accept":
            if self.app.stopped.wait(min(options["seconds"], net.HOLD_LIMIT)):
                return
        record = self.new_record()
        head, extra = net.read_head(conn, record)
        if head is None:
            return
        method, target, _, headers = net.parse_head(head)
        path, _, query = target.partition("?")
        with self.app.state.lock:
            if "cookie" in headers:
                self.app.state.last_cookie = headers["cookie"]
        if method == "POST":
            answer, after = self.post(conn, path, headers, extra, record)
            if answer is None:
                net.reset(conn)          # dropped mid-upload
                return
        else:
            loop_to = target if mode == "redirect-loop" else None
            answer, after = self.get(path, query.encode("latin-1"), headers, loop_to)
        faults.deliver(conn, answer, mode, options)
        if after is not None:
            after()

    def authorized(self, headers):
        value = headers.get("authorization", "")
        scheme, _, token = value.partition(" ")
        if scheme.lower() != "basic":
            return False
        try:
            given = base64.b64decode(token.strip(), validate=True)
        except ValueError:
            return False
        s = self.app.state
        with s.lock:
            passwords = [s.password] + ([s.grace_password] if s.grace_password is not None else [])
            wanted = [(s.user + ":" + p).encode("cp1252", "replace") for p in passwords]
        return given in wanted

    def redirect(self, location):
        with self.app.state.lock:
            cookie = self.app.state.session_cookie
        return net.response("302 Found", [
            "Location: " + location, "Set-Cookie: %s; path=/" % cookie,
            "Content-Type: text/html"], html_page("302 Found", "Moved to %s." % location))

    def get(self, path, query, headers, loop_to=None):
        """loop_to: a page is answered with a redirect to this target (itself)
        instead; a command still runs and redirects as usual."""
        if not self.authorized(headers):
            return UNAUTHORIZED, None
        if loop_to is not None and path.lstrip("/") not in commands.COMMANDS:
            return self.redirect(loop_to), None
        if path == "/utility_use.htm":
            return net.response("200 OK", ["Content-Type: text/html; charset=utf-8"],
                                status_page.render(self.app.state)), None
        script = path.lstrip("/")
        if script in commands.COMMANDS:
            params = commands.parse_query(query)
            accepted, _, after = commands.run_command(self.app, script, params)
            if accepted:
                return self.redirect(params.get("redirect", "index.htm")), after
            return self.redirect(params.get("failure", "fail.htm") or "fail.htm"), None
        if path in ("/", "/index.htm") or (path.endswith(".htm") and "/" not in path[1:]):
            name = path.lstrip("/") or "index.htm"
            # The page names itself in its header: that is how a client that
            # followed a command's redirect tells the failure page apart.
            return net.response("200 OK", ["Content-Type: text/html", "Content-Location: " + name],
                                html_page(name)), None
        return net.response("404 Not Found", ["Content-Type: text/html"],
                            html_page("404 Not Found")), None

    def post(self, conn, path, headers, extra, record):
        """The firmware upload. Returns (answer, action) or (None, None) to drop
        the connection."""
        s = self.app.state
        length = commands.to_int(headers.get("content-length", ""), None)
        if length is None or length < 0:
            return net.response("411 Length Required", ["Content-Type: text/html"],
                                html_page("411 Length Required")), None
        with s.lock:
            limit, dropping = s.upload_limit, s.upload_answer == "drop"
        # The form's opening tells the image's size: an image that never fits
        # is dropped while the client is still sending it, as the appliance does.
        start = net.read_exactly(conn, min(length, 65536), extra, record, timeout=5)
        image = upload.image_size(headers.get("content-type", ""), start, length)
        if length > limit + upload.FORM_SLACK or dropping or (image is not None and image > limit):
            with s.lock:
                s.upload_last_outcome = "dropped"
                s.upload_last_size = str(length if image is None else image)
            return None, None
        body = net.read_exactly(conn, length, start, record)
        if not self.authorized(headers):
            return UNAUTHORIZED, None
        if path != "/man.cgi":
            return net.response("404 Not Found", ["Content-Type: text/html"],
                                html_page("404 Not Found")), None
        if len(body) < length:
            with s.lock:
                s.upload_last_outcome = "refused: short body"
            return net.response("400 Bad Request", ["Content-Type: text/html"],
                                html_page("400 Bad Request")), None
        try:
            form = upload.parse(headers.get("content-type", ""), body)
            fields, file_part = upload.check_firmware_form(form)
        except upload.BadForm as error:
            with s.lock:
                s.upload_last_outcome = "refused: %s" % error
            return net.response("400 Bad Request", ["Content-Type: text/html"],
                                html_page("400 Bad Request", str(error))), None
        with s.lock:
            s.upload_last_filename = file_part.filename
            s.upload_last_size = str(len(file_part.data))
            s.upload_last_content_type = file_part.content_type
            s.upload_last_sha256 = hashlib.sha256(file_part.data).hexdigest()
            if len(file_part.data) > limit:
                s.upload_last_outcome = "dropped"
                return None, None
            s.upload_count += 1
            s.upload_last_outcome = "accepted"
            s.pending_firmware = upload.firmware_version(file_part.data) or s.pending_firmware
            answer = s.upload_answer
        if answer == "redirect":
            return self.redirect(fields["redirect"]), None
        code = answer if answer.isdigit() else "200"
        return net.response("%s %s" % (code, REASONS.get(code, "Answer")), ["Content-Type: text/html"],
                            html_page("Upload %s" % code)), None
