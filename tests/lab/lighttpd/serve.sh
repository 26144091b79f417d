#!/bin/bash
# Serves a small site with a real web server on 127.0.0.1:80 and runs one
# command against it: Basic auth on /protected/, CGI scripts that redirect
# with a cookie, redirect for ever, record the cookie, take an upload.
# Run inside tools/lab/isolated (port 80, loopback only).
#   serve.sh COMMAND...   (COMMAND sees LIGHTTPD_DIR, the site's folder)
set -eu
command -v lighttpd >/dev/null 2>&1 || PATH="$PATH:/usr/sbin"
command -v lighttpd >/dev/null 2>&1 || { echo "lighttpd is not installed (tools/install-deps.sh)"; exit 77; }
dir=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
mkdir -p "$dir/site/protected" "$dir/log" "$dir/errors"
printf 'admin:secret\n' > "$dir/users"
printf '<html><body>landing</body></html>\n' > "$dir/site/protected/landing.htm"
printf '<HTML><BODY>the protected page</BODY></HTML>\n' > "$dir/site/protected/page.htm"
printf '<HTML><BODY>401 Unauthorized</BODY></HTML>\n' > "$dir/errors/status-401.html"

cat > "$dir/site/protected/redirect.cgi" <<CGI
#!/bin/sh
printf 'Status: 302 Found\r\nLocation: /protected/cookie.cgi\r\nSet-Cookie: SESSION=lighttpd; path=/\r\nContent-Type: text/html\r\n\r\n<html>moved</html>'
CGI
cat > "$dir/site/protected/cookie.cgi" <<CGI
#!/bin/sh
printf '%s\n' "\${HTTP_COOKIE:-none}" >> "$dir/log/cookies"
printf 'Content-Type: text/html\r\n\r\n<html>cookie</html>'
CGI
cat > "$dir/site/protected/loop.cgi" <<CGI
#!/bin/sh
printf 'Status: 302 Found\r\nLocation: /protected/loop.cgi\r\nContent-Type: text/html\r\n\r\n'
CGI
cat > "$dir/site/protected/upload.cgi" <<CGI
#!/bin/sh
head -c "\${CONTENT_LENGTH:-0}" > "$dir/log/upload.body"
printf '%s\n' "\${CONTENT_TYPE:-}" > "$dir/log/upload.type"
printf 'Status: 302 Found\r\nLocation: man_firm.htm\r\nContent-Type: text/html\r\n\r\n'
CGI
chmod +x "$dir/site/protected/"*.cgi

cat > "$dir/lighttpd.conf" <<CONF
server.modules = ("mod_auth", "mod_authn_file", "mod_cgi")
server.document-root = "$dir/site"
server.bind = "127.0.0.1"
server.port = 80
server.errorlog = "$dir/log/error.log"
server.errorfile-prefix = "$dir/errors/status-"
server.max-keep-alive-requests = 0
server.pid-file = "$dir/lighttpd.pid"
mimetype.assign = (".htm" => "text/html", ".html" => "text/html")
index-file.names = ("index.htm")
cgi.assign = (".cgi" => "")
auth.backend = "plain"
auth.backend.plain.userfile = "$dir/users"
auth.require = ("/protected/" => ("method" => "basic", "realm" => "appliance", "require" => "valid-user"))
CONF

lighttpd -D -f "$dir/lighttpd.conf" &
pid=$!
tries=0
until (exec 3<>/dev/tcp/127.0.0.1/80) 2>/dev/null; do
  tries=$((tries + 1))
  if [ $tries -gt 100 ] || ! kill -0 "$pid" 2>/dev/null; then
    echo "lighttpd did not start"; cat "$dir/log/error.log" 2>/dev/null; exit 1
  fi
  sleep 0.05
done
LIGHTTPD_DIR="$dir" "$@"
