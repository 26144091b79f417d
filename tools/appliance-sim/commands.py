"""The CGI commands: each checks its parameters, changes the state and tells
whether it was accepted. Values arrive percent-encoded as ANSI
(Windows-1252) bytes; names are kept as Unicode text and shown in UTF-8."""

import re
import threading

from state import FtpAccount, dotted_to_int, mask_to_prefix, prefix_to_mask, to_int

NAME_CHARACTERS = set("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_=")


class Refused(Exception):
    """The command is not carried out; the answer sends the client to its failure page."""


def percent_decode(text):
    """Bytes of a query value: "+" is a blank, %XX a byte; a stray "%" stays."""
    data = text.encode("latin-1", "replace") if isinstance(text, str) else text
    out = bytearray()
    i = 0
    while i < len(data):
        c = data[i]
        if c == 0x2B:
            out.append(0x20)
        elif c == 0x25 and is_hex(data[i + 1:i + 3]):
            out.append(int(data[i + 1:i + 3], 16))
            i += 2
        else:
            out.append(c)
        i += 1
    return bytes(out)


def is_hex(pair):
    return len(pair) == 2 and all(chr(b) in "0123456789abcdefABCDEF" for b in pair)


def ansi_text(data):
    """Windows-1252 bytes as text; the five unassigned bytes map as Latin-1."""
    return "".join(chr(b) if 0x80 <= b <= 0x9F and bytes([b]).decode("cp1252", "ignore") == ""
                   else bytes([b]).decode("cp1252") for b in data)


def parse_query(query):
    """The parameters of a query as an ordered dict of texts; the first of
    repeated names counts."""
    params = {}
    for piece in query.split(b"&") if query else []:
        name, _, value = piece.partition(b"=")
        key = ansi_text(percent_decode(name))
        if key not in params:
            params[key] = ansi_text(percent_decode(value))
    return params


# ----- checks -------------------------------------------------------------
def need(params, name):
    if name not in params:
        raise Refused("missing %s" % name)
    return params[name]


def choice(params, name, allowed):
    value = need(params, name)
    if value not in allowed:
        raise Refused("%s=%r" % (name, value))
    return value


DECIMAL = re.compile(r"[+-]?[0-9]+")


def integer(params, name, low, high):
    # Blanks around the digits are fine ("+" arrives as one); Python's int()
    # would also take "1_0".
    text = need(params, name).strip()
    value = int(text) if DECIMAL.fullmatch(text) else None
    if value is None or not low <= value <= high:
        raise Refused("%s=%r" % (name, params[name]))
    return value


def plain_name(value, what, longest):
    if not value or len(value) > longest or any(c not in NAME_CHARACTERS for c in value):
        raise Refused("bad %s %r" % (what, value))
    return value


def folder_name(value):
    """A new folder name: any printable characters but the path and list separators."""
    if (not value or len(value.encode("utf-8")) > 64
            or any(ord(c) < 0x20 or c in '/\\|"<>&' for c in value)
            or value != value.strip()):
        raise Refused("bad folder name %r" % value)
    return value


def existing_folder(state, value):
    if value not in state.folders:
        raise Refused("no folder %r" % value)
    return value


def password_text(value):
    if len(value) > 12 or any(ord(c) < 0x20 for c in value):
        raise Refused("bad password")
    return value


def dotted(params, name, optional=False):
    value = need(params, name)
    if optional and value == "":
        return value
    if dotted_to_int(value) is None:
        raise Refused("%s=%r" % (name, value))
    return value


def current(state):
    if state.current_account is None:
        raise Refused("no current account")
    account = state.account_by_id(state.current_account)
    if account is None:
        raise Refused("current account gone")
    return account


# ----- Status tab ---------------------------------------------------------
def cifs_config_apply(app, p):
    choice(p, "enable", ("1",))
    host = plain_name(need(p, "hostname"), "host name", 15)
    group = plain_name(need(p, "group_name"), "group name", 15)
    if host[0].isdigit() or group[0].isdigit():
        raise Refused("name begins with a digit")
    app.state.host_name, app.state.group_name = host, group


def auth_apply(app, p):
    first, second = need(p, "TF_password"), need(p, "TF_passwordl")
    if first != second or first == "":
        raise Refused("passwords differ or are empty")
    app.state.password = password_text(first)


def dhcps_apply(app, p):
    mode = choice(p, "R_dhcps", ("ENABLE", "DISABLE"))
    low = integer(p, "TF_ippoolmin", 1, 254)
    high = integer(p, "TF_ippoolmax", 1, 254)
    if low > high:
        raise Refused("pool")
    lease = (integer(p, "TF_lease_day", 0, 365), integer(p, "TF_lease_hr", 0, 23),
             integer(p, "TF_lease_min", 0, 59))
    wins = dotted(p, "TF_wins", optional=True)
    s = app.state
    s.dhcps_option = "checked" if mode == "ENABLE" else ""
    s.dhcps_pool = (str(low), str(high))
    s.dhcps_lease = tuple(str(v) for v in lease)
    s.dhcps_wins = wins


def nas_lang_apply(app, p):
    count = len(app.state.lang_list.split("#"))
    app.state.default_lang = str(integer(p, "lang", 0, count - 1))


def sntp_apply(app, p):
    s = app.state
    if need(p, "sntp_time") != "":
        raise Refused("sntp_time")
    auto = choice(p, "R_sntp", ("ENABLE", "DISABLE"))
    kind = choice(p, "R_sntp_server", ("0", "1"))
    listed, typed = need(p, "Sntp_ip"), need(p, "sntp_input")
    server = listed if kind == "0" else typed
    if server == "" or len(server) > 64 or any(c in " \"<>" or ord(c) < 0x21 for c in server):
        raise Refused("time server %r" % server)
    zone = integer(p, "sntp_timezone", -12, 12)
    fields = [need(p, n) for n in ("day0", "day1", "day2", "time0", "time1", "time2")]
    clock = None
    if any(fields):
        limits = ((1970, 2099), (1, 12), (1, 31), (0, 23), (0, 59), (0, 59))
        numbers = [to_int(f, None) if f.isdigit() else None for f in fields]
        if any(n is None or not lo <= n <= hi for n, (lo, hi) in zip(numbers, limits)):
            raise Refused("date or time %r" % fields)
        clock = numbers
    s.sntp_auto = "checked" if auto == "ENABLE" else ""
    s.sntp_timeserver = kind
    s.sntp_server = server
    s.sntp_zone = str(zone)
    if clock:
        s.set_clock(*clock)


# ----- IP Config tab ------------------------------------------------------
def dhcpc_apply(app, p):
    if need(p, "ifname") != "":
        raise Refused("ifname")
    s = app.state
    address, _, bits = s.dhcp_address.partition("/")
    prefix = to_int(bits, None) if bits else s.prefix
    if dotted_to_int(address) is None or prefix is None or not 8 <= prefix <= 30:
        raise Refused("no lease: dhcp address %r" % s.dhcp_address)
    # The lab's DHCP server leases the address; the rest of the settings stay.
    s.ip_type, s.ip, s.submask = "DHCP CLIENT", address, prefix_to_mask(prefix)
    return lambda: app.move_to(address, prefix)


def wan_fixip_apply(app, p):
    ip = dotted(p, "ip")
    mask = dotted(p, "submask")
    prefix = mask_to_prefix(mask)
    if prefix is None or not 8 <= prefix <= 30:
        raise Refused("subnet mask %r" % mask)
    first = int(ip.split(".")[0])
    loopback_here = app.state.start_address.startswith("127.")
    if first == 0 or (first == 127) != loopback_here or first >= 224 or ip.endswith(".0") or ip.endswith(".255"):
        raise Refused("address %r" % ip)
    gateway = dotted(p, "gateway", optional=True)
    pdns = dotted(p, "pdns", optional=True)
    sdns = dotted(p, "sdns", optional=True)
    s = app.state
    s.ip_type, s.ip, s.submask, s.gateway, s.pdns, s.sdns = "FIXED IP", ip, mask, gateway, pdns, sdns
    return lambda: app.move_to(ip, prefix)


# ----- Maintenance tab ----------------------------------------------------
def reboot(app, p):
    delay = app.state.reboot_delay
    return lambda: app.reboot(delay)


def default_setting(app, p):
    s = app.state
    old = s.password
    s.factory_reset(keep_network=True)
    if old != s.password:
        s.grace_password = old


# ----- File Server tab and its dialogs ------------------------------------
def nas_apply(app, p):
    s = app.state
    if p.get("add") == "New":
        name = existing_folder(s, need(p, "share_list"))
        if name in s.shared:
            raise Refused("already shared")
        s.shared.append(name)
    elif p.get("del") == "Remove":
        name = need(p, "allow_share")
        if name not in s.shared:
            raise Refused("not shared")
        s.shared.remove(name)
        s.share_passwords.pop(name, None)
    else:
        raise Refused("neither add nor del")


def fm_mkdir_apply(app, p):
    s = app.state
    name = folder_name(need(p, "folder"))
    if need(p, "to_name") != "":
        raise Refused("to_name")
    if name in s.folders:
        raise Refused("exists")
    s.folders.append(name)


def fm_rename_apply(app, p):
    s = app.state
    new = folder_name(need(p, "folder"))
    old = existing_folder(s, need(p, "to_name"))
    if new in s.folders:
        raise Refused("exists")

    def renamed(names):
        return [new if n == old else n for n in names]
    s.folders = renamed(s.folders)
    s.shared = renamed(s.shared)
    for account in s.accounts:
        account.folders = renamed(account.folders)
    if old in s.share_passwords:
        s.share_passwords[new] = s.share_passwords.pop(old)
    if s.ftps_home_def == old:
        s.ftps_home_def = new


def remove_folder(s, name):
    s.folders.remove(name)
    if name in s.shared:
        s.shared.remove(name)
    s.share_passwords.pop(name, None)
    for account in s.accounts:
        if name in account.folders:
            account.folders.remove(name)
    if s.ftps_home_def == name:
        s.ftps_home_def = s.folders[0] if s.folders else ""


def fm_rmdir_apply(app, p):
    s = app.state
    name = existing_folder(s, need(p, "folder"))
    if need(p, "to_name") != "":
        raise Refused("to_name")
    remove_folder(s, name)


def nas_mod(app, p):
    s = app.state
    folder = need(p, "folder")
    if folder not in s.shared:
        raise Refused("not shared")
    first, second = need(p, "password1"), need(p, "password2")
    if first != second:
        raise Refused("passwords differ")
    s.share_passwords[folder] = password_text(first)


# ----- FTP tabs and their dialogs -----------------------------------------
def ftps_state_apply(app, p):
    state = choice(p, "ftps_set", ("ENABLE", "DISABLE"))
    port = integer(p, "ftps_port", 1, 65535)
    if port != 21 and not 1025 <= port <= 65500:
        raise Refused("port %d" % port)
    app.state.ftps_status, app.state.ftps_port = state, str(port)


def ftps_anonymous_apply(app, p):
    s = app.state
    on = choice(p, "ftp_anon_stu", ("ENABLE", "DISABLE"))
    right = choice(p, "ftp_a_att", ("RO", "RW"))
    home = need(p, "home")
    if home not in s.folders and not (home == "" and not s.folders):
        raise Refused("home %r" % home)
    choice(p, "anony_Apply", ("Apply",))
    s.ftp_anon_stu = "checked" if on == "ENABLE" else ""
    s.ftp_a_att = "checked" if right == "RO" else ""
    s.ftps_home_def = home


def ftps_userid_set(app, p):
    s = app.state
    number = integer(p, "ftps_user_id", 0, 255)
    if number == 255:
        s.current_account = None
    elif s.account_by_id(number) is None:
        raise Refused("no account %d" % number)
    else:
        s.current_account = number


def ftps_user_add(app, p):
    """Creates an account (no password given) or changes the named one."""
    s = app.state
    name = plain_name(need(p, "Account"), "account", 20)   # the account list pads to 21 columns
    right = choice(p, "ftp_att", ("R", "W"))
    account = s.account_by_name(name)
    if "Account_passwd" not in p:
        if account is not None:
            raise Refused("account exists")
        s.accounts.append(FtpAccount(s.next_account_id, name, "", right, True))
        s.next_account_id += 1
        return
    if account is None:
        raise Refused("no account %r" % name)
    account.password = password_text(p["Account_passwd"])
    account.access = right


def ftps_user_enabled(app, p):
    s = app.state
    row = integer(p, "FTP_AC_LIST", 0, len(s.accounts) - 1)
    s.accounts[row].enabled = not s.accounts[row].enabled


def ftps_user_del(app, p):
    s = app.state
    number = integer(p, "FTP_AC_LIST", 0, 1 << 30)
    account = s.account_by_id(number)
    if account is None:
        raise Refused("no account %d" % number)
    s.accounts.remove(account)
    if s.current_account == number:
        s.current_account = None


def account_folder(s, p):
    account = s.account_by_name(need(p, "account"))
    if account is None:
        raise Refused("no account")
    return account, existing_folder(s, need(p, "account_List"))


def ftps_add_share(app, p):
    account, folder = account_folder(app.state, p)
    choice(p, "op_add", ("Add",))
    if folder in account.folders:
        raise Refused("already shared")
    account.folders.append(folder)


def ftps_del_share(app, p):
    account = app.state.account_by_name(need(p, "account"))
    if account is None:
        raise Refused("no account")
    folder = need(p, "account_List")
    choice(p, "op_del", ("Delete",))
    if folder not in account.folders:
        raise Refused("not shared")
    account.folders.remove(folder)


# ----- Disk Utility tab ---------------------------------------------------
def IDE_init(app, p):
    s = app.state
    if s.scan_running:
        raise Refused("scan running")
    for name in list(s.folders):
        remove_folder(s, name)
    s.ftps_home_def = ""
    s.free_size = s.total_size
    s.disk_scan = ""


def ide_set(app, p):
    minutes = integer(p, "idle", 0, 60)
    if 0 < minutes < 5:
        raise Refused("sleep time %d" % minutes)
    app.state.disk_idle_value = str(minutes)


SCAN_LINES = [
    "Scan disk started",
    "Phase 1 - Check blocks and sizes",
    "Phase 2 - Check pathnames",
    "Phase 3 - Check connectivity",
    "Phase 4 - Check reference counts",
    "Phase 5 - Check cylinder groups",
    "Error: 2 lost clusters found in /backup",
    "Summary: 1 error found",
    "Scan disk finished",
]


def ide_scandisk_start(app, p):
    s = app.state
    if s.scan_running:
        raise Refused("scan running")
    s.scan_running = True
    s.scan_generation += 1
    s.disk_scan = ""
    s.disk_fix_enable = "DISABLE"
    generation = s.scan_generation
    threading.Thread(target=grow_scan_report, args=(app, generation), daemon=True).start()


def grow_scan_report(app, generation):
    s = app.state
    for line in SCAN_LINES:
        with s.lock:
            if s.scan_generation != generation:
                return
            s.disk_scan += line + "\n"
        if app.stopped.wait(s.scan_interval):
            return
    with s.lock:
        if s.scan_generation == generation:
            s.scan_running = False
            s.disk_fix_enable = "ENABLE"


def ide_fixdisk_start(app, p):
    s = app.state
    if s.scan_running:
        raise Refused("scan running")
    s.scan_generation += 1
    s.disk_scan = ""


# Which script carries which command.
COMMANDS = {
    "nas.cgi": {f.__name__: f for f in (
        cifs_config_apply, nas_lang_apply, nas_apply, fm_mkdir_apply, fm_rename_apply,
        fm_rmdir_apply, nas_mod, ftps_state_apply, ftps_anonymous_apply, ftps_userid_set,
        ftps_user_enabled, ftps_user_del, ftps_user_add, ftps_add_share, ftps_del_share,
        IDE_init, ide_set, ide_scandisk_start, ide_fixdisk_start)},
    "man.cgi": {f.__name__: f for f in (auth_apply, sntp_apply, reboot, default_setting)},
    "dhcps.cgi": {"dhcps_apply": dhcps_apply},
    "dhcpc.cgi": {"dhcpc_apply": dhcpc_apply},
    "if.cgi": {"wan_fixip_apply": wan_fixip_apply},
}


def listed(names, command):
    """Whether a comma-separated list of command types ("*": all) holds `command`."""
    entries = [n.strip() for n in names.split(",")]
    return "*" in entries or command in entries


def run_command(app, script, params):
    """Runs one command; returns (accepted, reason, action to run after the answer)."""
    handler = COMMANDS.get(script, {}).get(params.get("type", ""))
    s = app.state
    with s.lock:
        s.last_command = params.get("type", "")
        try:
            if handler is None:
                raise Refused("unknown command %r on %s" % (params.get("type", ""), script))
            if listed(s.refuse, handler.__name__):
                raise Refused("refused on request")
            action = handler(app, params)
            if action is None and listed(s.down_after, handler.__name__):
                action = app.reboot
        except Refused as refusal:
            s.last_outcome = "refused: %s" % refusal
            s.commands_refused += 1
            return False, str(refusal), None
        s.last_outcome = "ok"
        s.commands_accepted += 1
        return True, "", action
