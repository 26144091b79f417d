#!/usr/bin/python3
"""Checks the fake appliance from the workstation of a lab, through its
sockets only. Run under tools/lab/with-appliances.sh with appliances nas1
(192.168.1.20, admin/admin) and nas2 (192.168.2.20, password "secret",
short reboot, small upload limit, fast scan); see appliance_sim.cmake."""

import base64
import errno
import hashlib
import os
import re
import socket
import time
import unittest

NAS1 = os.environ.get("SIM_NAS1_ADDRESS", "192.168.1.20")
NAS2 = os.environ.get("SIM_NAS2_ADDRESS", "192.168.2.20")
PASSWORDS = {NAS1: "admin", NAS2: "secret"}


# ----- plain socket helpers, like the program's own clients ----------------
def exchange(address, data, port=80, timeout=5.0):
    """Sends `data`, reads until the appliance closes; (bytes, error or None)."""
    with socket.create_connection((address, port), timeout=timeout) as sock:
        sock.sendall(data)
        received = b""
        try:
            while True:
                chunk = sock.recv(65536)
                if not chunk:
                    return received, None
                received += chunk
        except OSError as error:
            return received, error


def page_request(address, path, user="admin", password=None):
    password = PASSWORDS[address] if password is None else password
    token = base64.b64encode(("%s:%s" % (user, password)).encode("cp1252")).decode()
    return ("GET %s HTTP/1.1\r\nHost:%s\r\nConnection: Keep-Alive\r\n"
            "Authorization: Basic %s\r\n\r\n" % (path, address, token)).encode("latin-1")


def fetch(address, path="/utility_use.htm", **credentials):
    data, error = exchange(address, page_request(address, path, **credentials))
    if error:
        raise error
    return data


def status_of(answer):
    return int(answer.split(b" ", 2)[1])


def header(answer, name):
    for line in answer.split(b"\r\n\r\n", 1)[0].split(b"\r\n")[1:]:
        key, _, value = line.partition(b":")
        if key.strip().lower() == name.lower().encode():
            return value.strip().decode("latin-1")
    return None


def command(address, script, query):
    return fetch(address, "/%s?%s" % (script, query))


def page_value(page, name):
    """A setting's value the way the program reads it: from the first key to
    the first quote, semicolon, CR, LF after it."""
    key = name.encode() + b'="'
    start = page.find(key)
    if start < 0:
        return None
    end = page.find(b'";\r\n', start)
    return None if end < 0 else page[start + len(key):end].decode("utf-8")


def option_values(value):
    return re.findall(r'value="([^"]*)">', value)


class Control:
    def __init__(self, address):
        self.address = address

    def request(self, method, path, body=b""):
        if isinstance(body, str):
            body = body.encode("utf-8")
        data, error = exchange(self.address, b"%s %s HTTP/1.0\r\nContent-Length: %d\r\n\r\n%s" % (
            method.encode(), path.encode(), len(body), body), port=8080)
        head, _, payload = data.partition(b"\r\n\r\n")
        return status_of(head), payload

    def get(self, path):
        status, payload = self.request("GET", path)
        assert status == 200, (path, status, payload)
        return payload.decode("utf-8")

    def post(self, path, body=b""):
        status, payload = self.request("POST", path, body)
        assert status == 200, (path, status, payload)


CONTROL = {NAS1: Control(NAS1), NAS2: Control(NAS2)}


def wait_until(predicate, seconds, step=0.1):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(step)
    return predicate()


def reachable(address, port=80):
    try:
        socket.create_connection((address, port), timeout=0.5).close()
        return True
    except OSError:
        return False


class ApplianceCase(unittest.TestCase):
    def setUp(self):
        for control in CONTROL.values():
            control.post("/reset-defaults")
            control.post("/requests/clear")
            control.post("/discovery/clear")


# ----- discovery -----------------------------------------------------------
REQUEST = b"\x01" + b"\0" * 71


def discover(datagram=REQUEST, target="255.255.255.255", quiet=1.0, limit=4.0):
    """Every datagram that comes back to our own port, with its sender."""
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sock:
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
        sock.bind(("", 0))
        sock.sendto(datagram, (target, 14675))
        got = []
        deadline = time.monotonic() + limit
        sock.settimeout(quiet)
        while time.monotonic() < deadline:
            try:
                got.append(sock.recvfrom(8192)[::-1])
            except socket.timeout:
                break
        return got


def text_field(data, start, width):
    return data[start:start + width].split(b"\0", 1)[0].decode("latin-1")


class DiscoveryTest(ApplianceCase):
    def test_both_appliances_answer_a_broadcast_to_the_senders_port(self):
        replies = discover()
        senders = sorted(sender for sender, _ in replies)
        self.assertEqual(senders, sorted([(NAS1, 14675), (NAS2, 14675)]))
        for _, data in replies:
            self.assertEqual(len(data), 72)
            self.assertEqual(data[0], 1)
            self.assertEqual((text_field(data, 8, 16), text_field(data, 24, 16), text_field(data, 40, 30)),
                             ("Q70-NAS", "WORKGROUP", "2.4.17"))
        received = CONTROL[NAS1].request("GET", "/discovery/0")[1]
        self.assertEqual(received, REQUEST)

    def test_reply_follows_the_host_name(self):
        CONTROL[NAS1].post("/state/host_name", "SHELF-2")
        (_, data), = discover(target=NAS1)
        self.assertEqual(text_field(data, 8, 16), "SHELF-2")

    def test_datagrams_that_are_no_request_get_no_answer(self):
        a_reply = b"\x01" + b"\0" * 39 + b"1.0" + b"\0" * 29
        for datagram in (b"\x01" + b"\0" * 70, REQUEST + b"\0", b"\x02" + b"\0" * 71, a_reply):
            with self.subTest(size=len(datagram), first=datagram[0]):
                self.assertEqual(discover(datagram, target=NAS1, quiet=0.4), [])
        self.assertEqual(CONTROL[NAS1].get("/discovery/count").strip(), "4")

    def test_answer_modes(self):
        valid = discover(target=NAS1)[0][1]
        cases = {
            "repeat": [valid, valid],
            "silent": [],
        }
        for mode, expected in cases.items():
            with self.subTest(mode=mode):
                CONTROL[NAS1].post("/discovery/" + mode)
                self.assertEqual([d for _, d in discover(target=NAS1)], expected)
        CONTROL[NAS1].post("/discovery/malformed")
        shapes = [(len(d), d[0], text_field(d, 8, 16), d[40] != 0) for _, d in discover(target=NAS1)]
        self.assertEqual(shapes, [(71, 1, "BAD-SHORT", True), (73, 1, "BAD-LONG", True),
                                  (72, 2, "BAD-TYPE", True), (72, 1, "BAD-NOFW", False),
                                  (72, 1, "Q70-NAS", True)])
        CONTROL[NAS1].post("/discovery/full-fields")
        (_, full), = discover(target=NAS1)
        self.assertEqual(len(full), 72)
        self.assertNotIn(0, full[1:])
        self.assertEqual((full[8:24], full[24:40], full[40:70]),
                         (b"ABCDEFGHIJKLMNOP", b"GROUPNAME-16CHRS", b"0123456789ABCDEFGHIJKLMNOPQRST"))
        CONTROL[NAS1].post("/discovery/empty-names")
        (_, empty), = discover(target=NAS1)
        self.assertEqual((text_field(empty, 8, 16), text_field(empty, 24, 16), text_field(empty, 40, 30)),
                         ("", "", "2.4.17"))
        self.assertEqual(CONTROL[NAS1].request("POST", "/discovery/loud")[0], 400)


# ----- web server ----------------------------------------------------------
class AuthenticationTest(ApplianceCase):
    def test_credentials(self):
        cases = [(NAS1, "admin", "admin", 200), (NAS1, "admin", "wrong", 401),
                 (NAS1, "root", "admin", 401), (NAS2, "admin", "secret", 200),
                 (NAS2, "admin", "admin", 401), (NAS1, "admin", "", 401)]
        for address, user, password, expected in cases:
            with self.subTest(address=address, user=user, password=password):
                answer = fetch(address, user=user, password=password)
                self.assertEqual(status_of(answer), expected)
                self.assertIn(b"<HTML>", answer)
        no_credentials, _ = exchange(NAS1, b"GET /utility_use.htm HTTP/1.1\r\nHost:x\r\n\r\n")
        self.assertEqual(status_of(no_credentials), 401)
        self.assertIn("Basic", header(no_credentials, "WWW-Authenticate"))


SETTINGS = ("host_name group_name sntp_time sntp_day0 sntp_day1 sntp_day2 sntp_time0 sntp_time1 "
            "sntp_time2 sntp_auto sntp_timeserver sntp_server sntp_zone ip_addr dhcps_option mac_addr "
            "firm_ver disk_id free_size total_size default_lang lang_list ip_type ip submask gateway "
            "pdns sdns share_list allow_share ftps_status ftps_port ftp_anon_stu ftp_a_att "
            "ftps_dir_list ftps_home_def ftp_ac_list ftps_account ftps_account_passwd ftps_att "
            "ftps_share_list disk_idle_value disk_fix_enable disk_scan").split()


class StatusPageTest(ApplianceCase):
    def test_every_setting_in_its_form(self):
        answer = fetch(NAS1)
        self.assertEqual(status_of(answer), 200)
        page = answer[answer.index(b"<HTML>"):]
        for name in SETTINGS:
            with self.subTest(setting=name):
                self.assertEqual(page.count(b'var ' + name.encode() + b'="'), 1)
        value = lambda name: page_value(page, name)
        self.assertEqual(value("host_name"), "Q70-NAS")
        self.assertEqual(value("ip_addr"), NAS1)
        self.assertEqual(value("ip"), NAS1)
        self.assertEqual(value("submask"), "255.255.255.0")
        self.assertEqual(option_values(value("share_list")), ["public", "Documents", "Público", "backup", "Vidéos", "Фото"])
        self.assertIn("Público".encode("utf-8"), page)
        self.assertEqual(option_values(value("allow_share")), ["public", "Público"])
        self.assertLess(page.index(b"share_list="), page.index(b"ftps_share_list="))
        self.assertEqual(value("lang_list").split("#")[0], "English")
        self.assertTrue(value("lang_list").isascii())
        self.assertNotEqual(value("free_size"), value("free_size").strip())
        # The sleep time shares its line with the next setting, so the
        # program finds its own cut: what precedes the inner quote-semicolon.
        self.assertTrue(value("disk_idle_value").startswith('10";'))
        self.assertEqual(value("disk_fix_enable"), "ENABLE")
        clock = time.strptime(value("sntp_time"), "%Y/%m/%d %H:%M:%S")
        self.assertLess(abs(time.mktime(clock) - time.mktime(time.gmtime())), 120)

    def test_ftp_lists(self):
        CONTROL[NAS1].post("/state/ftps_current", "1")
        page = fetch(NAS1)
        accounts = page_value(page, "ftp_ac_list")
        first = re.match(r'<option value="1">(.*?)</option>', accounts).group(1)
        self.assertEqual(first, "ann" + "&nbsp;" * 18 + "annpass" + "&nbsp;" * 11 + "RW"
                         + "&nbsp;" * 11 + "Enable&nbsp;")
        self.assertEqual(page_value(page, "ftps_account"), "ann")
        self.assertEqual(page_value(page, "ftps_account_passwd"), "annpass")
        self.assertEqual(page_value(page, "ftps_att"), "")
        self.assertEqual(page_value(page, "ftps_share_list"),
                         '<option value="public">public </option><option value="Documents">Documents </option>')

    def test_sleep_time_on_its_own_line(self):
        CONTROL[NAS1].post("/state/disk_idle_own_line", "1")
        self.assertEqual(page_value(fetch(NAS1), "disk_idle_value"), "10")

    def test_overrides_and_omissions(self):
        CONTROL[NAS1].post("/state/raw.share_list", '<option value="x>x</option>')
        CONTROL[NAS1].post("/state/omit", "lang_list,ip")
        page = fetch(NAS1)
        self.assertEqual(page_value(page, "share_list"), '<option value="x>x</option>')
        self.assertIsNone(page_value(page, "lang_list"))
        self.assertNotIn(b'var ip="', page)


def query(**params):
    return "&".join("%s=%s" % item for item in params.items())


class CommandTest(ApplianceCase):
    # (script, query, accepted, key, value after)
    CASES = [
        ("nas.cgi", "type=cifs_config_apply&enable=1&hostname=Shelf_2&group_name=HOME", True, "host_name", "Shelf_2"),
        ("nas.cgi", "type=cifs_config_apply&enable=1&hostname=2Shelf&group_name=HOME", False, "host_name", "Q70-NAS"),
        ("nas.cgi", "type=cifs_config_apply&enable=1&hostname=&group_name=HOME", False, "group_name", "WORKGROUP"),
        ("nas.cgi", "type=cifs_config_apply&enable=1&hostname=a.b&group_name=HOME", False, "host_name", "Q70-NAS"),
        ("man.cgi", "type=cifs_config_apply&enable=1&hostname=Other&group_name=HOME", False, "host_name", "Q70-NAS"),
        ("dhcps.cgi", "type=dhcps_apply&R_dhcps=ENABLE&TF_wins=&TF_ippoolmin=2&TF_ippoolmax=254&TF_lease_day=1&TF_lease_hr=0&TF_lease_min=0", True, "dhcps_option", "checked"),
        ("dhcps.cgi", "type=dhcps_apply&R_dhcps=MAYBE&TF_wins=&TF_ippoolmin=2&TF_ippoolmax=254&TF_lease_day=1&TF_lease_hr=0&TF_lease_min=0", False, "dhcps_option", ""),
        ("nas.cgi", "type=nas_lang_apply&lang=2", True, "default_lang", "2"),
        ("nas.cgi", "type=nas_lang_apply&lang=-1", False, "default_lang", "0"),
        ("man.cgi", "type=sntp_apply&sntp_time=&day0=2030&day1=01&day2=02&time0=03&time1=04&time2=05&R_sntp=DISABLE&R_sntp_server=1&Sntp_ip=&sntp_input=ntp.lan&sntp_timezone=-5", True, "sntp_zone", "-5"),
        ("man.cgi", "type=sntp_apply&sntp_time=&day0=2030&day1=13&day2=02&time0=03&time1=04&time2=05&R_sntp=DISABLE&R_sntp_server=1&Sntp_ip=&sntp_input=ntp.lan&sntp_timezone=0", False, "sntp_server", "time.example.net"),
        ("man.cgi", "type=sntp_apply&sntp_time=&day0=&day1=&day2=&time0=&time1=&time2=&R_sntp=ENABLE&R_sntp_server=1&Sntp_ip=&sntp_input=&sntp_timezone=0", False, "sntp_auto", "checked"),
        ("nas.cgi", "type=nas_apply&share_list=Documents&add=New", True, "shared_folders", "public|Público|Documents"),
        ("nas.cgi", "type=nas_apply&share_list=nothere&add=New", False, "shared_folders", "public|Público"),
        ("nas.cgi", "type=nas_apply&allow_share=P%FAblico&del=Remove", True, "shared_folders", "public"),
        ("nas.cgi", "type=fm_mkdir_apply&folder=Caf%E9+Bar&to_name=", True, "folders", "public|Documents|Público|backup|Vidéos|Фото|Café Bar"),
        ("nas.cgi", "type=fm_mkdir_apply&folder=public&to_name=", False, "folders", "public|Documents|Público|backup|Vidéos|Фото"),
        ("nas.cgi", "type=fm_rename_apply&folder=Archive&to_name=backup", True, "folders", "public|Documents|Público|Archive|Vidéos|Фото"),
        ("nas.cgi", "type=fm_rename_apply&folder=Archive&to_name=missing", False, "folders", "public|Documents|Público|backup|Vidéos|Фото"),
        ("nas.cgi", "type=fm_rmdir_apply&folder=public&to_name=", True, "shared_folders", "Público"),
        ("nas.cgi", "type=nas_mod&folder=public&password1=pw%26x&password2=pw%26x", True, "share_password.public", "pw&x"),
        ("nas.cgi", "type=nas_mod&folder=public&password1=a&password2=b", False, "share_password.public", None),
        ("nas.cgi", "type=ftps_state_apply&ftps_set=DISABLE&ftps_port=00021", True, "ftps_port", "21"),
        ("nas.cgi", "type=ftps_state_apply&ftps_set=ENABLE&ftps_port=1024", False, "ftps_port", "21"),
        ("nas.cgi", "type=ftps_anonymous_apply&ftp_anon_stu=DISABLE&ftp_a_att=RW&home=Documents&anony_Apply=Apply", True, "ftps_home_def", "Documents"),
        ("nas.cgi", "type=ftps_anonymous_apply&ftp_anon_stu=DISABLE&ftp_a_att=RW&home=gone&anony_Apply=Apply", False, "ftp_anon_stu", "checked"),
        ("nas.cgi", "type=ftps_userid_set&ftps_user_id=2", True, "ftps_current", "2"),
        ("nas.cgi", "type=ftps_userid_set&ftps_user_id=9", False, "ftps_current", "255"),
        ("nas.cgi", "type=ftps_user_add&Account=bob&ftp_att=R", True, "ftp_users", "ann|guest|bob"),
        ("nas.cgi", "type=ftps_user_add&Account=ann&ftp_att=R", False, "ftp_users", "ann|guest"),
        ("nas.cgi", "type=ftps_user_add&Account=ann&Account_passwd=new%2Bpw&ftp_att=R", True, "ftp_user.ann.password", "new+pw"),
        ("nas.cgi", "type=ftps_user_enabled&FTP_AC_LIST=1", True, "ftp_user.guest.enabled", "1"),
        ("nas.cgi", "type=ftps_user_enabled&FTP_AC_LIST=2", False, "ftp_user.guest.enabled", "0"),
        ("nas.cgi", "type=ftps_user_del&FTP_AC_LIST=2", True, "ftp_users", "ann"),
        ("nas.cgi", "type=ftps_add_share&account=guest&account_List=backup&op_add=Add", True, "ftp_user.guest.folders", "public|backup"),
        ("nas.cgi", "type=ftps_del_share&account=ann&account_List=public&op_del=Delete", True, "ftp_user.ann.folders", "Documents"),
        ("nas.cgi", "type=ftps_del_share&account=ann&account_List=backup&op_del=Delete", False, "ftp_user.ann.folders", "public|Documents"),
        ("nas.cgi", "type=ide_set&idle=05", True, "disk_idle_value", "5"),
        ("nas.cgi", "type=ide_set&idle=4", False, "disk_idle_value", "10"),
        ("nas.cgi", "type=IDE_init", True, "folders", ""),
        ("dhcpc.cgi", "type=dhcpc_apply&ifname=", True, "ip_type", "DHCP CLIENT"),
        ("dhcpc.cgi", "type=dhcpc_apply&ifname=eth0", False, "last_outcome", "refused: ifname"),
        ("if.cgi", "type=wan_fixip_apply&ip=192.168.1.%B2&submask=255.255.255.0&gateway=&pdns=&sdns=", False, "last_outcome", "refused: ip='192.168.1.²'"),
        ("nas.cgi", "type=fm_rmdir_apply&folder=public&to_name=public", False, "folders", "public|Documents|Público|backup|Vidéos|Фото"),
        ("man.cgi", "type=sntp_apply&day0=2030&day1=01&day2=02&time0=03&time1=04&time2=05&R_sntp=DISABLE&R_sntp_server=1&Sntp_ip=&sntp_input=ntp.lan&sntp_timezone=-5", False, "sntp_zone", "0"),
        ("nas.cgi", "type=ide_set&idle=1_0", False, "disk_idle_value", "10"),
        ("nas.cgi", "type=ftps_state_apply&ftps_set=DISABLE&ftps_port=+21", True, "ftps_status", "DISABLE"),
        ("nas.cgi", "type=no_such_command", False, "last_outcome", "refused: unknown command 'no_such_command' on nas.cgi"),
    ]

    def test_commands_change_state_and_redirect(self):
        for script, text, accepted, key, expected in self.CASES:
            with self.subTest(query=text):
                CONTROL[NAS1].post("/reset-defaults")
                CONTROL[NAS1].post("/state/move", "0")       # an automatic address stays put here
                answer = command(NAS1, script, "redirect=here.htm&failure=fail.htm&" + text)
                self.assertEqual(status_of(answer), 302)
                self.assertEqual(header(answer, "Location"), "here.htm" if accepted else "fail.htm")
                self.assertRegex(header(answer, "Set-Cookie"), r"^SESSION=\w+; path=/$")
                status, value = CONTROL[NAS1].request("GET", "/state/" + key)
                self.assertEqual(value.decode("utf-8") if status == 200 else None, expected)

    def test_chosen_commands_are_refused(self):
        valid = "redirect=id.htm&failure=fail.htm&type=cifs_config_apply&enable=1&hostname=Box&group_name=G"
        for refuse, location in (("cifs_config_apply", "fail.htm"), ("ide_set,*", "fail.htm"),
                                 ("ide_set", "id.htm")):
            with self.subTest(refuse=refuse):
                CONTROL[NAS1].post("/state/refuse", refuse)
                self.assertEqual(header(command(NAS1, "nas.cgi", valid), "Location"), location)

    def test_clock_setting(self):
        command(NAS1, "man.cgi", "redirect=s.htm&failure=fail.htm&type=sntp_apply&sntp_time=&day0=2030&day1=01&day2=02"
                "&time0=03&time1=04&time2=05&R_sntp=DISABLE&R_sntp_server=0&Sntp_ip=ntp.one&sntp_input=&sntp_timezone=2")
        page = fetch(NAS1)
        self.assertEqual([page_value(page, n) for n in ("sntp_day0", "sntp_day1", "sntp_day2", "sntp_time0")],
                         ["2030", "01", "02", "03"])
        self.assertEqual((page_value(page, "sntp_server"), page_value(page, "sntp_timeserver"),
                          page_value(page, "sntp_auto")), ("ntp.one", "0", ""))

    def test_password_change_takes_effect(self):
        answer = command(NAS1, "man.cgi", "redirect=sys_auth.htm&failure=fail.htm&type=auth_apply"
                                          "&TF_password=n%E9w&TF_passwordl=n%E9w")
        self.assertEqual(header(answer, "Location"), "sys_auth.htm")
        self.assertEqual(status_of(fetch(NAS1)), 401)
        self.assertEqual(status_of(fetch(NAS1, password="néw")), 200)

    def test_folder_names_are_shown_in_utf8(self):
        command(NAS1, "nas.cgi", "redirect=smb.htm&failure=fail.htm&type=fm_mkdir_apply&folder=Caf%E9&to_name=")
        page = fetch(NAS1)
        self.assertIn('<option value="Café">Café</option>', page_value(page, "share_list"))
        self.assertIn("Café".encode("utf-8"), page)

    def test_pages_and_cookie(self):
        for path in ("/id.htm", "/fail.htm", "/smb.htm"):
            with self.subTest(path=path):
                answer = fetch(NAS1, path)
                self.assertEqual(status_of(answer), 200)
                self.assertIn(b"<HTML>", answer)
                self.assertEqual(header(answer, "Content-Location"), path[1:])
        self.assertEqual(status_of(fetch(NAS1, "/nothing.cgi")), 404)
        request = page_request(NAS1, "/id.htm").replace(b"\r\n\r\n", b"\r\nCookie: SESSION=abc; path=/\r\n\r\n")
        exchange(NAS1, request)
        self.assertEqual(CONTROL[NAS1].get("/state/last_cookie"), "SESSION=abc; path=/")


# ----- firmware upload -----------------------------------------------------
BOUNDARY = "-" * 25 + "20261209101112123"


def upload_body(image, fields=(("redirect", "man_firm.htm"), ("failure", "fail.htm"), ("type", "file_upload")),
                filename="C:\\fw\\q70.bin"):
    body = b""
    for name, value in fields:
        body += ('%s\r\nContent-Disposition: form-data; name="%s"\r\n\r\n%s\r\n' % (BOUNDARY, name, value)).encode()
    body += ('%s\r\nContent-Disposition: form-data; name="filename"; filename="%s"\r\n'
             "Content-Type: application/octet-stream\r\n\r\n" % (BOUNDARY, filename)).encode() + image + b"\r\n"
    return body + ("--\r\n%s\r\n" % BOUNDARY).encode()


def post_upload(address, body, password=None):
    password = PASSWORDS[address] if password is None else password
    token = base64.b64encode(("admin:" + password).encode()).decode()
    head = ("POST /man.cgi HTTP/1.0\r\nHost: %s\r\nAccept: text/html, */*\r\nReferer: http://%s/maintain.htm\r\n"
            "Content-Type: multipart/form-data; boundary=%s\r\nContent-Length: %d\r\n"
            "Authorization: Basic %s\r\n\r\n" % (address, address, BOUNDARY, len(body), token))
    with socket.create_connection((address, 80), timeout=10) as sock:
        try:
            sock.sendall(head.encode() + body)
            received = b""
            while True:
                chunk = sock.recv(65536)
                if not chunk:
                    return received, None
                received += chunk
        except OSError as error:
            return None, error


class UploadTest(ApplianceCase):
    def test_accepted_upload_redirects(self):
        image = bytes(range(256)) * 64
        answer, error = post_upload(NAS1, upload_body(image))
        self.assertIsNone(error)
        self.assertEqual(status_of(answer), 302)
        self.assertEqual(header(answer, "Location"), "man_firm.htm")
        state = CONTROL[NAS1]
        self.assertEqual(state.get("/state/upload_last_sha256"), hashlib.sha256(image).hexdigest())
        self.assertEqual(state.get("/state/upload_last_filename"), "C:\\fw\\q70.bin")
        self.assertEqual(state.get("/state/upload_count"), "1")
        odd = 'C:\\my "new"; fw\\q70.bin'
        answer, _ = post_upload(NAS1, upload_body(b"", filename=odd))
        self.assertEqual(status_of(answer), 302)
        self.assertEqual((state.get("/state/upload_last_filename"), state.get("/state/upload_last_size")), (odd, "0"))

    def test_answer_can_be_chosen(self):
        for answer, status in (("200", 200), ("404", 404), ("redirect", 302)):
            with self.subTest(answer=answer):
                CONTROL[NAS1].post("/state/upload_answer", answer)
                reply, _ = post_upload(NAS1, upload_body(b"image"))
                self.assertEqual(status_of(reply), status)
                self.assertEqual(header(reply, "Location"), "man_firm.htm" if status == 302 else None)

    def test_forms_it_refuses(self):
        usual = upload_body(b"abc").replace(BOUNDARY.encode() + b"\r\n", b"--" + BOUNDARY.encode() + b"\r\n")
        no_type = upload_body(b"abc", fields=(("redirect", "man_firm.htm"), ("failure", "fail.htm")))
        for name, body in (("usual delimiters", usual), ("no type field", no_type)):
            with self.subTest(form=name):
                answer, error = post_upload(NAS1, body)
                self.assertEqual(status_of(answer), 400)
        answer, _ = post_upload(NAS1, upload_body(b"abc"), password="wrong")
        self.assertEqual(status_of(answer), 401)

    def test_too_large_image_is_dropped_mid_upload(self):
        started = time.monotonic()
        answer, error = post_upload(NAS2, upload_body(b"\x55" * (4 * 1024 * 1024)))
        self.assertTrue(answer is None or answer == b"", answer)
        self.assertIn(error.errno, (errno.ECONNRESET, errno.EPIPE))
        self.assertLess(time.monotonic() - started, 8)
        self.assertEqual(CONTROL[NAS2].get("/state/upload_last_outcome"), "dropped")
        self.assertLess(len(CONTROL[NAS2].request("GET", "/requests/last")[1]), 1024 * 1024)


# ----- faults --------------------------------------------------------------
def timed_read(address, request, total=6.0):
    """(bytes, chunks, seconds to first byte, closed, error) within `total` seconds."""
    with socket.create_connection((address, 80), timeout=total) as sock:
        sock.sendall(request)
        started = time.monotonic()
        received, chunks, first, closed, error = b"", 0, None, False, None
        while time.monotonic() - started < total:
            sock.settimeout(max(0.05, total - (time.monotonic() - started)))
            try:
                chunk = sock.recv(1 << 20)
            except socket.timeout:
                break
            except OSError as failure:
                error = failure
                break
            if not chunk:
                closed = True
                break
            if first is None:
                first = time.monotonic() - started
            received += chunk
            chunks += 1
        return received, chunks, first, closed, error


class FaultTest(ApplianceCase):
    def setUp(self):
        super().setUp()
        self.request = page_request(NAS1, "/utility_use.htm")
        self.normal = fetch(NAS1)

    def tearDown(self):
        CONTROL[NAS1].post("/fault/none")

    def with_fault(self, mode, options="", total=6.0):
        CONTROL[NAS1].post("/fault/" + mode, options)
        self.assertEqual(CONTROL[NAS1].get("/fault"), mode)
        return timed_read(NAS1, self.request, total)

    def test_keep_open(self):
        data, _, _, closed, _ = self.with_fault("keep-open", total=1.5)
        self.assertTrue(data.endswith(b"</HTML>\r\n"))
        self.assertFalse(closed)

    def test_trickle(self):
        data, chunks, _, closed, _ = self.with_fault("trickle", "bytes=64 pause=5", total=20)
        self.assertTrue(closed)
        self.assertEqual(len(data), len(self.normal))
        self.assertGreater(chunks, len(data) // 64 // 2)

    def test_reset(self):
        data, _, _, closed, error = self.with_fault("reset")
        self.assertFalse(closed)
        self.assertEqual(error.errno, errno.ECONNRESET)
        self.assertLess(len(data), len(self.normal))

    def test_no_html(self):
        data, _, _, closed, _ = self.with_fault("no-html")
        self.assertTrue(closed)
        self.assertEqual(status_of(data), 200)
        self.assertNotIn(b"<html>", data.lower())
        self.assertIn(b'host_name="', data)

    def test_garbage(self):
        data, _, _, closed, _ = self.with_fault("garbage")
        self.assertTrue(closed)
        self.assertEqual(len(data), 4096)
        self.assertNotIn(b"<html>", data.lower())

    def test_huge(self):
        data, _, _, closed, _ = self.with_fault("huge", total=30)
        self.assertTrue(closed)
        self.assertEqual(len(data), 32 * 1024 * 1024)
        self.assertIn(b'host_name="', data[:8192])

    def test_status500(self):
        data, _, _, closed, _ = self.with_fault("status500")
        self.assertEqual(status_of(data), 500)
        self.assertIn(b"<HTML>", data)

    def test_silence(self):
        data, _, _, closed, error = self.with_fault("silence", total=1.5)
        self.assertEqual((data, closed, error), (b"", False, None))

    def test_slow_accept(self):
        data, _, first, closed, _ = self.with_fault("slow-accept", "seconds=1.5")
        self.assertTrue(closed)
        self.assertGreaterEqual(first, 1.4)
        self.assertEqual(status_of(data), 200)

    def test_redirect_loop(self):
        accepted = int(CONTROL[NAS1].get("/state/commands_accepted"))
        CONTROL[NAS1].post("/fault/redirect-loop", "count=3")
        answer = command(NAS1, "nas.cgi", "redirect=id.htm&failure=fail.htm&type=nas_lang_apply&lang=1")
        self.assertEqual((status_of(answer), header(answer, "Location")), (302, "id.htm"))
        for path in ("/id.htm?x=1", "/utility_use.htm"):
            with self.subTest(path=path):
                answer = fetch(NAS1, path)
                self.assertEqual((status_of(answer), header(answer, "Location")), (302, path))
                self.assertRegex(header(answer, "Set-Cookie"), r"^SESSION=\w+; path=/$")
        self.assertEqual(status_of(fetch(NAS1, "/id.htm")), 200)
        self.assertEqual(CONTROL[NAS1].get("/state/default_lang"), "1")
        self.assertEqual(int(CONTROL[NAS1].get("/state/commands_accepted")), accepted + 1)
        self.assertEqual(status_of(fetch(NAS1, "/id.htm", password="wrong")), 401)

    def test_counted_fault_clears_itself(self):
        CONTROL[NAS1].post("/fault/status500", "count=2")
        self.assertTrue(reachable(NAS1))       # sends nothing, so takes no fault
        statuses = [status_of(fetch(NAS1)) for _ in range(3)]
        self.assertEqual(statuses, [500, 500, 200])
        self.assertEqual(CONTROL[NAS1].get("/fault"), "none")
        self.assertEqual(CONTROL[NAS1].request("POST", "/fault/explode")[0], 400)

    def test_commands_still_run_under_a_fault(self):
        self.with_fault("status500")
        CONTROL[NAS1].post("/fault/reset")
        command_text = "redirect=id.htm&failure=fail.htm&type=cifs_config_apply&enable=1&hostname=Faulty&group_name=G"
        timed_read(NAS1, page_request(NAS1, "/nas.cgi?" + command_text))
        self.assertEqual(CONTROL[NAS1].get("/state/host_name"), "Faulty")


# ----- reboot, address change, disk scan -----------------------------------
class RestartTest(ApplianceCase):
    def test_reboot_makes_it_unreachable_for_a_while(self):
        reply, _ = post_upload(NAS2, upload_body(b"Q70FW 2.5.0\nimage"))
        self.assertEqual(status_of(reply), 302)
        self.assertEqual(page_value(fetch(NAS2), "firm_ver"), "2.4.17")
        answer = command(NAS2, "man.cgi", "redirect=reboot.htm&failure=fail.htm&type=reboot")
        self.assertEqual(header(answer, "Location"), "reboot.htm")
        self.assertTrue(wait_until(lambda: not reachable(NAS2), 1.0))
        self.assertEqual(CONTROL[NAS2].get("/state/rebooting"), "1")
        self.assertEqual([s for s, _ in discover(target=NAS2, quiet=0.3)], [])
        self.assertTrue(wait_until(lambda: reachable(NAS2), 6.0))
        self.assertEqual(page_value(fetch(NAS2), "firm_ver"), "2.5.0")
        self.assertEqual(len(discover(target=NAS2)), 1)

    def test_switched_off_until_switched_on(self):
        CONTROL[NAS1].post("/power/off")
        self.assertFalse(reachable(NAS1))
        self.assertEqual(discover(target=NAS1, quiet=0.3), [])
        CONTROL[NAS1].post("/power/on")
        self.assertEqual(status_of(fetch(NAS1)), 200)

    def test_down_after_a_chosen_command(self):
        CONTROL[NAS2].post("/state/down_after", "nas_lang_apply")
        answer = command(NAS2, "nas.cgi", "redirect=status.htm&failure=fail.htm&type=nas_lang_apply&lang=1")
        self.assertEqual(header(answer, "Location"), "status.htm")
        self.assertTrue(wait_until(lambda: not reachable(NAS2), 1.0))
        self.assertTrue(wait_until(lambda: reachable(NAS2), 6.0))
        self.assertEqual(page_value(fetch(NAS2), "default_lang"), "1")

    def test_factory_reset(self):
        CONTROL[NAS2].post("/state/host_name", "Changed")
        command(NAS2, "man.cgi", "redirect=pw.htm&failure=fail.htm&type=auth_apply&TF_password=x&TF_passwordl=x")
        answer = fetch(NAS2, "/man.cgi?redirect=reboot.htm&failure=fail.htm&type=default_setting", password="x")
        self.assertEqual(header(answer, "Location"), "reboot.htm")
        self.assertEqual(page_value(fetch(NAS2), "host_name"), "Q70-NAS")

    def test_static_address_moves_the_appliance(self):
        moved = "192.168.1.21"
        base = "redirect=if_cfg.htm&failure=fail.htm&type=wan_fixip_apply&submask=255.255.255.0&gateway=192.168.1.1&pdns=&sdns="
        self.assertEqual(header(command(NAS1, "if.cgi", base + "&ip=300.1.1.1"), "Location"), "fail.htm")
        self.assertEqual(header(command(NAS1, "if.cgi", base + "&ip=" + moved), "Location"), "if_cfg.htm")
        try:
            self.assertTrue(wait_until(lambda: reachable(moved), 3.0))
            self.assertFalse(reachable(NAS1))
            self.assertEqual(page_value(fetch(moved, password="admin"), "ip_addr"), moved)
            self.assertEqual([s for s, _ in discover(target="192.168.1.255")], [(moved, 14675)])
        finally:
            Control(moved).post("/state/ip", NAS1)
            fetch(moved, "/if.cgi?" + base + "&ip=" + NAS1, password="admin")
            self.assertTrue(wait_until(lambda: reachable(NAS1), 3.0))

    def test_disk_scan_report_grows(self):
        state = CONTROL[NAS2]
        self.assertEqual(header(command(NAS2, "nas.cgi", "redirect=sto.htm&failure=fail.htm&type=ide_scandisk_start"),
                                "Location"), "sto.htm")
        self.assertEqual(state.get("/state/disk_fix_enable"), "DISABLE")
        self.assertEqual(header(command(NAS2, "nas.cgi", "redirect=sto.htm&failure=fail.htm&type=ide_fixdisk_start"),
                                "Location"), "fail.htm")
        lengths = []
        for _ in range(6):
            lengths.append(page_value(fetch(NAS2), "disk_scan").count("\n"))
            time.sleep(0.35)
        self.assertEqual(lengths, sorted(lengths))
        self.assertGreater(lengths[-1], lengths[0])
        self.assertTrue(wait_until(lambda: state.get("/state/scan_running") == "0", 5.0))
        page = fetch(NAS2)
        self.assertEqual(page_value(page, "disk_scan").splitlines()[-1], "Scan disk finished")
        self.assertEqual(page_value(page, "disk_fix_enable"), "ENABLE")
        command(NAS2, "nas.cgi", "redirect=sto.htm&failure=fail.htm&type=ide_fixdisk_start")
        self.assertEqual(page_value(fetch(NAS2), "disk_scan"), "")


# ----- control channel -----------------------------------------------------
class ControlTest(ApplianceCase):
    def test_state_reads_and_writes(self):
        control = CONTROL[NAS1]
        listing = dict(line.split("=", 1) for line in control.get("/state").splitlines())
        self.assertEqual(listing["host_name"], "Q70-NAS")
        self.assertEqual(listing["folders"], "public|Documents|Público|backup|Vidéos|Фото")
        control.post("/state/disk_scan", "line one\nline two\n")
        self.assertEqual(control.get("/state/disk_scan"), "line one\nline two\n")
        self.assertIn("disk_scan=line one\\nline two\\n", control.get("/state"))
        control.post("/state/ftp_users", "ann|carl")
        self.assertEqual(option_values(page_value(fetch(NAS1), "ftp_ac_list")), ["1", "3"])
        self.assertEqual(control.request("GET", "/state/no_such_key")[0], 404)
        self.assertEqual(control.request("POST", "/state/upload_limit", "many")[0], 400)
        self.assertEqual(control.request("GET", "/nowhere")[0], 404)
        control.post("/reset-defaults")
        self.assertEqual(control.get("/state/ftp_users"), "ann|guest")

    def test_raw_requests_are_recorded(self):
        control = CONTROL[NAS1]
        self.assertTrue(reachable(NAS1))       # a connection without a byte is no request
        first = page_request(NAS1, "/utility_use.htm")
        second = page_request(NAS1, "/id.htm", password="bad")
        exchange(NAS1, first)
        exchange(NAS1, second)
        self.assertEqual(control.get("/requests/count").strip(), "2")
        self.assertEqual(control.request("GET", "/requests/0")[1], first)
        self.assertEqual(control.request("GET", "/requests/last")[1], second)
        self.assertEqual(control.request("GET", "/requests/2")[0], 404)
        control.post("/requests/clear")
        self.assertEqual(control.get("/requests/count").strip(), "0")


if __name__ == "__main__":
    unittest.main(verbosity=2)
