"""The appliance's settings: defaults, factory reset, and the flat key view
the control channel reads and writes."""

import calendar
import hashlib
import threading
import time

# The appliance's own languages; shown by the client exactly as written.
DEFAULT_LANGUAGES = "English#Deutsch#Francais#Espanol#Italiano"

# Names outside ASCII make the UTF-8 page text matter: "P\u00fablico" and
# "Vid\u00e9os" exist in the Western code page, "\u0424\u043e\u0442\u043e" does not.
DEFAULT_FOLDERS = ["public", "Documents", "P\u00fablico", "backup", "Vid\u00e9os",
                   "\u0424\u043e\u0442\u043e"]
DEFAULT_SHARED = ["public", "P\u00fablico"]


class FtpAccount:
    def __init__(self, account_id, name, password="", access="R", enabled=True, folders=None):
        self.id = account_id
        self.name = name
        self.password = password
        self.access = access          # "R" read only, "W" read and write
        self.enabled = enabled
        self.folders = list(folders or [])


class ApplianceState:
    """Everything the appliance keeps. Callers hold `lock` while they read a
    consistent picture or change several things at once."""

    def __init__(self, address, disk_name, group, firmware, user, password,
                 prefix=24, reboot_seconds=3.0, upload_limit=4 * 1024 * 1024,
                 scan_interval=2.0, dhcp_address="", move_delay=0.3, reboot_delay=0.3,
                 move=True, disk_idle_own_line=False):
        self.lock = threading.RLock()
        self.start_address = address
        self.start_prefix = prefix
        self.default_host = disk_name
        self.default_group = group
        self.default_firmware = firmware
        self.default_user = user
        self.default_password = password
        self.reboot_seconds = reboot_seconds
        self.upload_limit = upload_limit
        self.scan_interval = scan_interval
        self.move_delay = move_delay
        self.reboot_delay = reboot_delay
        self.default_move = "1" if move else "0"
        self.default_idle_own_line = "1" if disk_idle_own_line else "0"
        self.dhcp_address = dhcp_address or default_dhcp_address(address, prefix)
        # After a factory reset the running web server still takes the old
        # password until the reboot that the client sends next.
        self.grace_password = None
        self.rebooting = False
        self.address = address
        self.prefix = prefix
        self.move_error = ""
        self.session_cookie = ""
        self.last_cookie = ""
        self.last_command = ""
        self.last_outcome = ""
        self.commands_accepted = 0
        self.commands_refused = 0
        self.upload_count = 0
        self.upload_last_filename = ""
        self.upload_last_size = ""
        self.upload_last_sha256 = ""
        self.upload_last_content_type = ""
        self.upload_last_outcome = ""
        self.pending_firmware = ""
        self.new_session()
        self.factory_reset(keep_network=False)
        self.clear_test_settings()

    def clear_test_settings(self):
        """What tests set to bend the appliance; the appliance's own factory
        reset leaves these alone."""
        with self.lock:
            self.raw_overrides = {}
            self.omitted = set()
            self.disk_idle_own_line = self.default_idle_own_line
            self.move = self.default_move
            self.upload_answer = "redirect"
            self.refuse = ""
            self.down_after = ""
            self.grace_password = None

    def new_session(self):
        self.session_cookie = "SESSION=%s" % hashlib.sha1(
            ("%f%s" % (time.time(), self.address)).encode()).hexdigest()[:16]

    # ----- defaults -------------------------------------------------------
    def factory_reset(self, keep_network=True):
        with self.lock:
            self.host_name = self.default_host
            self.group_name = self.default_group
            self.user = self.default_user
            self.password = self.default_password
            self.clock_offset = 0.0
            self.sntp_auto = "checked"
            self.sntp_timeserver = "1"
            self.sntp_server = "time.example.net"
            self.sntp_zone = "0"
            self.dhcps_option = ""
            self.dhcps_pool = ("2", "254")
            self.dhcps_lease = ("1", "0", "0")
            self.dhcps_wins = ""
            octets = self.start_address.split(".")
            self.mac_addr = "02:70:00:%02X:%02X:%02X" % (
                int(octets[1]) & 0xFF, int(octets[2]) & 0xFF, int(octets[3]) & 0xFF)
            self.firm_ver = self.default_firmware
            self.pending_firmware = ""
            self.disk_id = "HD080-A 3.06"
            self.total_size = "76319 MB"
            self.free_size = "   52104 MB  "
            self.default_lang = "0"
            self.lang_list = DEFAULT_LANGUAGES
            if not keep_network:
                self.network_defaults(self.start_address, self.start_prefix)
            self.folders = list(DEFAULT_FOLDERS)
            self.shared = list(DEFAULT_SHARED)
            self.share_passwords = {}
            self.ftps_status = "ENABLE"
            self.ftps_port = "21"
            self.ftp_anon_stu = "checked"
            self.ftp_a_att = "checked"
            self.ftps_home_def = "public"
            self.accounts = [
                FtpAccount(1, "ann", "annpass", "W", True, ["public", "Documents"]),
                FtpAccount(2, "guest", "guest", "R", False, ["public"]),
            ]
            self.next_account_id = 3
            self.current_account = None
            self.disk_idle_value = "10"
            self.disk_fix_enable = "ENABLE"
            self.disk_scan = ""
            self.scan_running = False
            # A new generation, never an old one again: a scan that was running
            # must not take up a later scan's report.
            self.scan_generation = getattr(self, "scan_generation", 0) + 1

    def network_defaults(self, address, prefix):
        """A static address with the gateway and name server at host 1."""
        with self.lock:
            base = address.rsplit(".", 1)[0]
            self.ip_type, self.ip, self.submask = "FIXED IP", address, prefix_to_mask(prefix)
            self.gateway = self.pdns = base + ".1"
            self.sdns = ""

    # ----- clock ----------------------------------------------------------
    def now(self):
        """The appliance's local time: the machine's UTC clock, the time zone
        and whatever offset the last manual setting left."""
        zone = to_int(self.sntp_zone, 0)
        return time.gmtime(time.time() + self.clock_offset + zone * 3600)

    def set_clock(self, year, month, day, hour, minute, second):
        zone = to_int(self.sntp_zone, 0)
        wanted = calendar.timegm((year, month, day, hour, minute, second, 0, 0, 0))
        self.clock_offset = wanted - zone * 3600 - time.time()

    # ----- FTP accounts ---------------------------------------------------
    def account_by_id(self, account_id):
        for account in self.accounts:
            if account.id == account_id:
                return account
        return None

    def account_by_name(self, name):
        for account in self.accounts:
            if account.name == name:
                return account
        return None

    # ----- flat key view for the control channel --------------------------
    SCALARS = (
        "host_name", "group_name", "user", "password", "sntp_auto", "sntp_timeserver",
        "sntp_server", "sntp_zone", "dhcps_option", "mac_addr", "firm_ver", "disk_id",
        "free_size", "total_size", "default_lang", "lang_list", "ip_type", "ip", "submask",
        "gateway", "pdns", "sdns", "ftps_status", "ftps_port", "ftp_anon_stu", "ftp_a_att",
        "ftps_home_def", "disk_idle_value", "disk_fix_enable", "disk_scan",
        "last_cookie", "last_command", "last_outcome", "move_error",
        "upload_last_filename", "upload_last_size", "upload_last_sha256",
        "upload_last_content_type", "upload_last_outcome",
        "disk_idle_own_line", "upload_answer", "refuse", "down_after", "pending_firmware",
        "dhcp_address", "move",
    )
    NUMBERS = ("reboot_seconds", "upload_limit", "scan_interval", "clock_offset",
               "move_delay", "reboot_delay")
    COUNTERS = ("commands_accepted", "commands_refused", "upload_count")
    LISTS = {"folders": "folders", "shared_folders": "shared"}
    ACCOUNT_FIELDS = ("id", "password", "access", "enabled", "folders")

    def keys(self):
        with self.lock:
            names = list(self.SCALARS) + list(self.NUMBERS) + list(self.COUNTERS)
            names += list(self.LISTS) + ["ftp_users", "ftps_current", "scan_running",
                                         "rebooting", "address", "omit"]
            for account in self.accounts:
                names += ["ftp_user.%s.%s" % (account.name, f) for f in self.ACCOUNT_FIELDS]
            names += ["share_password.%s" % f for f in sorted(self.share_passwords)]
            names += ["raw.%s" % k for k in sorted(self.raw_overrides)]
            return names

    def snapshot(self):
        """Every key with its value, lists as lists, and the FTP accounts and
        shared-folder passwords as structures: the JSON view."""
        with self.lock:
            view = {}
            for key in self.keys():
                if key.startswith(("ftp_user.", "share_password.")):
                    continue
                value = self.get(key)
                view[key] = value.split("|") if key in self.LISTS or key == "ftp_users" else value
                if view[key] == [""]:
                    view[key] = []
            view["ftp_accounts"] = [
                {"id": a.id, "name": a.name, "password": a.password, "access": a.access,
                 "enabled": a.enabled, "folders": list(a.folders)} for a in self.accounts]
            view["share_passwords"] = dict(self.share_passwords)
            view["grace_password"] = self.grace_password
            return view

    def get(self, key):
        """The value of a key as text, or None when there is no such key."""
        with self.lock:
            if key in self.SCALARS:
                return getattr(self, key)
            if key in self.NUMBERS:
                return format_number(getattr(self, key))
            if key in self.COUNTERS:
                return str(getattr(self, key))
            if key in self.LISTS:
                return "|".join(getattr(self, self.LISTS[key]))
            if key == "ftp_users":
                return "|".join(a.name for a in self.accounts)
            if key == "ftps_current":
                return "255" if self.current_account is None else str(self.current_account)
            if key == "scan_running":
                return "1" if self.scan_running else "0"
            if key == "rebooting":
                return "1" if self.rebooting else "0"
            if key == "address":
                return self.address
            if key == "omit":
                return ",".join(sorted(self.omitted))
            if key.startswith("raw."):
                return self.raw_overrides.get(key[4:])
            if key.startswith("share_password."):
                return self.share_passwords.get(key[len("share_password."):])
            if key.startswith("ftp_user."):
                name, _, field = key[len("ftp_user."):].rpartition(".")
                account = self.account_by_name(name)
                if account is None or field not in self.ACCOUNT_FIELDS:
                    return None
                if field == "id":
                    return str(account.id)
                if field == "enabled":
                    return "1" if account.enabled else "0"
                if field == "folders":
                    return "|".join(account.folders)
                return getattr(account, field)
            return None

    def set(self, key, value):
        """Sets a key from text; returns False when the key cannot be set."""
        with self.lock:
            if key in self.SCALARS:
                setattr(self, key, value)
                return True
            if key in self.NUMBERS:
                try:
                    number = float(value)
                except ValueError:
                    return False
                setattr(self, key, int(number) if key == "upload_limit" else number)
                return True
            if key in self.LISTS:
                setattr(self, self.LISTS[key], split_list(value))
                return True
            if key == "ftp_users":
                names = split_list(value)
                kept = [a for a in self.accounts if a.name in names]
                for name in names:
                    if not any(a.name == name for a in kept):
                        kept.append(FtpAccount(self.next_account_id, name))
                        self.next_account_id += 1
                self.accounts = kept
                if self.current_account is not None and self.account_by_id(self.current_account) is None:
                    self.current_account = None
                return True
            if key == "ftps_current":
                number = to_int(value, None)
                if number is None:
                    return False
                self.current_account = None if number == 255 else number
                return True
            if key == "omit":
                self.omitted = set(n.strip() for n in value.split(",") if n.strip())
                return True
            if key.startswith("raw."):
                self.raw_overrides[key[4:]] = value
                return True
            if key.startswith("share_password."):
                self.share_passwords[key[len("share_password."):]] = value
                return True
            if key.startswith("ftp_user."):
                name, _, field = key[len("ftp_user."):].rpartition(".")
                account = self.account_by_name(name)
                if account is None or field not in self.ACCOUNT_FIELDS:
                    return False
                if field == "id":
                    number = to_int(value, None)
                    if number is None:
                        return False
                    account.id = number
                    self.next_account_id = max(self.next_account_id, number + 1)
                elif field == "enabled":
                    account.enabled = value.strip() in ("1", "true", "Enable", "yes")
                elif field == "folders":
                    account.folders = split_list(value)
                else:
                    setattr(account, field, value)
                return True
            return False


def default_dhcp_address(address, prefix):
    """What the lab's DHCP server hands out: host 50 of the appliance's own
    /24, with the appliance's prefix."""
    return "%s.50/%d" % (address.rsplit(".", 1)[0], prefix)


def split_list(text):
    return [item for item in text.split("|") if item != ""]


def format_number(value):
    return str(int(value)) if float(value).is_integer() else repr(float(value))


def to_int(text, fallback):
    try:
        return int(str(text).strip())
    except ValueError:
        return fallback


def prefix_to_mask(prefix):
    bits = (0xFFFFFFFF << (32 - prefix)) & 0xFFFFFFFF if prefix else 0
    return ".".join(str((bits >> shift) & 0xFF) for shift in (24, 16, 8, 0))


def mask_to_prefix(mask):
    """The prefix length of a dotted subnet mask, or None when it is not one."""
    number = dotted_to_int(mask)
    if number is None:
        return None
    prefix = bin(number).count("1")
    return prefix if prefix_to_mask(prefix) == mask else None


def dotted_to_int(text):
    parts = text.split(".")
    # isascii: "²" and its kin count as digits to isdigit but not to int.
    if len(parts) != 4 or not all(p.isascii() and p.isdigit() and len(p) <= 3 for p in parts):
        return None
    values = [int(p) for p in parts]
    if any(v > 255 for v in values):
        return None
    return (values[0] << 24) | (values[1] << 16) | (values[2] << 8) | values[3]
