#!/usr/bin/python3
"""The fake appliance behind the management window's IP, maintenance, file
server, FTP and disk pages, checked through its sockets from the
workstation of a lab. Run under tools/lab/with-appliances.sh with nas1
(192.168.1.20, admin/admin, default lease) and nas2 (192.168.2.20, password
"secret", lease 192.168.2.77/16, sleep time on its own line, fast reboot and
scan, small upload limit); see appliance_sim.cmake."""

import errno
import json
import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_appliance_sim import (  # noqa: E402
    CONTROL, NAS1, NAS2, ApplianceCase, Control, command, discover, fetch, header, option_values,
    page_value, post_upload, reachable, status_of, upload_body, wait_until)

ENTRY = re.compile(r'value="([^"]*)">(.*?)</option>')
NBSP = "&nbsp;"


def account_rows(value):
    """The account list read by its fixed columns: name and padding fill 21
    positions, password and access are each followed by 11 paddings."""
    rows = []
    for ident, text in ENTRY.findall(value):
        name = text.split(NBSP, 1)[0]
        rest = text[(21 - len(name)) * 6 + len(name):]
        password = rest.split(NBSP, 1)[0]
        rest = rest[len(password) + 66:]
        access = rest.split(NBSP, 1)[0]
        rest = rest[len(access) + 66:]
        rows.append((name, password, access, rest.split(NBSP, 1)[0], ident))
    return rows


READERS = {
    "values": option_values,
    "texts": lambda v: [t.rstrip(" ") for _, t in ENTRY.findall(v)],
    "accounts": account_rows,
    "raw": lambda v: v,
}

SMB = "redirect=smb.htm&failure=fail.htm&type="
FTP = "redirect=ftp.htm&failure=fail.htm&type="
MOD = "redirect=ftp_mod.htm&failure=fail.htm&type="
STO = "redirect=sto.htm&failure=fail.htm&type="
SEEDED = ["public", "Documents", "Público", "backup", "Vidéos", "Фото"]


class PageCommandTest(ApplianceCase):
    # (commands before, the command, accepted, setting, reader, value the page then shows)
    CASES = [
        ([], SMB + "fm_mkdir_apply&folder=Vid%E9os&to_name=", False, "share_list", "values", SEEDED),
        ([], SMB + "fm_rename_apply&folder=Films&to_name=Vid%E9os", True, "share_list", "values",
         ["public", "Documents", "Público", "backup", "Films", "Фото"]),
        ([], SMB + "fm_rename_apply&folder=Vid%E9os&to_name=Films", False, "share_list", "values", SEEDED),
        # The client shows the Cyrillic name as "????" and can only send that.
        ([], SMB + "fm_rmdir_apply&folder=%3F%3F%3F%3F&to_name=", False, "share_list", "values", SEEDED),
        ([SMB + "nas_apply&share_list=Vid%E9os&add=New"], SMB + "fm_rename_apply&folder=Clips&to_name=Vid%E9os",
         True, "allow_share", "values", ["public", "Público", "Clips"]),
        ([], SMB + "fm_rmdir_apply&folder=public&to_name=", True, "ftps_home_def", "raw", "Documents"),
        ([], SMB + "nas_mod&folder=backup&password1=x&password2=x", False, "allow_share", "values",
         ["public", "Público"]),
        ([], FTP + "ftps_state_apply&ftps_set=DISABLE&ftps_port=2121", True, "ftps_status", "raw", "DISABLE"),
        ([], FTP + "ftps_state_apply&ftps_set=ENABLE&ftps_port=65501", False, "ftps_port", "raw", "21"),
        # The home folder arrives unencoded: the byte 0xE9 itself.
        ([], FTP + "ftps_anonymous_apply&ftp_anon_stu=DISABLE&ftp_a_att=RW&home=Vid\xe9os&anony_Apply=Apply", True,
         "ftps_home_def", "raw", "Vidéos"),
        ([], FTP + "ftps_anonymous_apply&ftp_anon_stu=ENABLE&ftp_a_att=RO&home=public&anony_Apply=Apply", True,
         "ftp_a_att", "raw", "checked"),
        ([], "redirect=ftp_add.htm&failure=fail.htm&type=ftps_userid_set&ftps_user_id=255", True,
         "ftps_account", "raw", ""),
        ([], MOD + "ftps_userid_set&ftps_user_id=2", True, "ftps_account", "raw",
         "guest"),
        ([], FTP + "ftps_user_add&Account=carl&ftp_att=R", True, "ftp_ac_list", "accounts",
         [("ann", "annpass", "RW", "Enable", "1"), ("guest", "guest", "RO", "Disable", "2"),
          ("carl", "", "RO", "Enable", "3")]),
        ([], FTP + "ftps_user_add&Account=guest&ftp_att=R", False, "ftp_ac_list", "accounts",
         [("ann", "annpass", "RW", "Enable", "1"), ("guest", "guest", "RO", "Disable", "2")]),
        ([], FTP + "ftps_user_enabled&FTP_AC_LIST=0", True, "ftp_ac_list", "accounts",
         [("ann", "annpass", "RW", "Disable", "1"), ("guest", "guest", "RO", "Disable", "2")]),
        ([], FTP + "ftps_user_del&FTP_AC_LIST=1", True, "ftp_ac_list", "accounts",
         [("guest", "guest", "RO", "Disable", "2")]),
        ([FTP + "ftps_userid_set&ftps_user_id=1"], MOD + "ftps_user_add&Account=ann&Account_passwd=p%40ss&ftp_att=R",
         True, "ftps_account_passwd", "raw", "p@ss"),
        ([FTP + "ftps_userid_set&ftps_user_id=1"], MOD + "ftps_user_add&Account=ann&Account_passwd=&ftp_att=R",
         True, "ftps_att", "raw", "checked"),
        ([FTP + "ftps_userid_set&ftps_user_id=1"],
         MOD + "ftps_user_add&Account=ann&Account_passwd=1234567890123&ftp_att=R", False,
         "ftps_account_passwd", "raw", "annpass"),
        ([FTP + "ftps_userid_set&ftps_user_id=1"], MOD + "ftps_add_share&account=ann&account_List=Vid%E9os&op_add=Add",
         True, "ftps_share_list", "texts", ["public", "Documents", "Vidéos"]),
        ([FTP + "ftps_userid_set&ftps_user_id=1"], MOD + "ftps_del_share&account=ann&account_List=public&op_del=Delete",
         True, "ftps_share_list", "texts", ["Documents"]),
        ([FTP + "ftps_userid_set&ftps_user_id=1"], SMB + "fm_rmdir_apply&folder=Documents&to_name=", True,
         "ftps_share_list", "texts", ["public"]),
        ([], STO + "ide_set&idle=60", True, "disk_idle_value", "raw", '60";var disk_fix_enable="ENABLE'),
        ([], "redirect=sto_ok.htm&failure=fail.htm&type=IDE_init", True, "ftps_dir_list", "values", []),
    ]

    def test_commands_show_on_the_page(self):
        for before, text, accepted, setting, reader, expected in self.CASES:
            with self.subTest(command=text):
                CONTROL[NAS1].post("/reset-defaults")
                for query in before:
                    self.assertEqual(header(command(NAS1, "nas.cgi", query), "Location"), query[9:].split("&")[0])
                answer = command(NAS1, "nas.cgi", text)
                wanted = text[9:].split("&")[0] if accepted else "fail.htm"
                self.assertEqual((status_of(answer), header(answer, "Location")), (302, wanted))
                self.assertEqual(READERS[reader](page_value(fetch(NAS1), setting)), expected)

    def test_refused_sends_are_counted_by_type(self):
        refused = FTP + "ftps_user_add&Account=ann&ftp_att=R"
        for _ in range(3):
            self.assertEqual(header(command(NAS1, "nas.cgi", refused), "Location"), "fail.htm")
            # The failure page names itself in the header the client looks at.
            self.assertEqual(header(fetch(NAS1, "/fail.htm"), "Content-Location"), "fail.htm")
        command(NAS1, "nas.cgi", FTP + "ftps_user_del&FTP_AC_LIST=2")
        counts = {kind: CONTROL[NAS1].get("/requests/count/" + kind).strip()
                  for kind in ("ftps_user_add", "ftps_user_del", "ftps_user", "IDE_init")}
        self.assertEqual(counts, {"ftps_user_add": "3", "ftps_user_del": "1", "ftps_user": "0", "IDE_init": "0"})

    def test_json_state(self):
        command(NAS1, "nas.cgi", SMB + "nas_mod&folder=public&password1=pw&password2=pw")
        state = json.loads(CONTROL[NAS1].get("/state.json"))
        self.assertEqual(state["folders"], SEEDED)
        self.assertEqual(state["shared_folders"], ["public", "Público"])
        self.assertEqual(state["share_passwords"], {"public": "pw"})
        self.assertEqual([(a["name"], a["id"], a["enabled"], a["folders"]) for a in state["ftp_accounts"]],
                         [("ann", 1, True, ["public", "Documents"]), ("guest", 2, False, ["public"])])
        self.assertEqual((state["ip_type"], state["ftps_current"], state["move"]), ("FIXED IP", "255", "1"))


# ----- address changes -----------------------------------------------------
FIXIP = ("redirect=if_cfg.htm&failure=fail.htm&type=wan_fixip_apply&ip=%s&submask=255.255.255.0"
         "&gateway=192.168.1.1&pdns=192.168.1.1&sdns=")


class AddressTest(ApplianceCase):
    def test_automatic_address_moves_to_the_lease(self):
        leased = "192.168.1.50"
        answer = command(NAS1, "dhcpc.cgi", "redirect=if_cfg.htm&failure=fail.htm&type=dhcpc_apply&ifname=")
        self.assertEqual(header(answer, "Location"), "if_cfg.htm")
        # Still there for the client's connection test right after the answer.
        self.assertTrue(reachable(NAS1))
        try:
            self.assertTrue(wait_until(lambda: reachable(leased), 3.0))
            self.assertFalse(reachable(NAS1))
            page = fetch(leased, password="admin")
            self.assertEqual([page_value(page, n) for n in ("ip_type", "ip", "ip_addr", "submask")],
                             ["DHCP CLIENT", leased, leased, "255.255.255.0"])
            self.assertEqual(sorted(s for s, _ in discover()), [(leased, 14675), (NAS2, 14675)])
        finally:
            fetch(leased, "/if.cgi?" + FIXIP % NAS1, password="admin")
            self.assertTrue(wait_until(lambda: reachable(NAS1), 3.0))
        page = fetch(NAS1)
        self.assertEqual((page_value(page, "ip_type"), page_value(page, "ip")), ("FIXED IP", NAS1))
        self.assertFalse(reachable(leased))

    def test_staying_put_still_reports_the_change(self):
        nas2 = CONTROL[NAS2]
        self.assertEqual(nas2.get("/state/dhcp_address"), "192.168.2.77/16")
        nas2.post("/state/move", "0")
        command(NAS2, "dhcpc.cgi", "redirect=if_cfg.htm&failure=fail.htm&type=dhcpc_apply&ifname=")
        time.sleep(0.6)
        page = fetch(NAS2)
        self.assertEqual([page_value(page, n) for n in ("ip_type", "ip", "submask")],
                         ["DHCP CLIENT", "192.168.2.77", "255.255.0.0"])
        self.assertEqual(nas2.get("/state/address"), NAS2)
        self.assertFalse(reachable("192.168.2.77"))


# ----- maintenance ---------------------------------------------------------
REBOOT = "redirect=reboot.htm&failure=fail.htm&type=reboot"


class MaintenanceTest(ApplianceCase):
    def test_reboot_answers_goes_down_and_comes_back(self):
        nas2 = CONTROL[NAS2]
        self.addCleanup(nas2.post, "/state/reboot_delay", nas2.get("/state/reboot_delay"))
        for delay in ("0.3", "0"):
            with self.subTest(reboot_delay=delay):
                nas2.post("/state/reboot_delay", delay)
                self.assertEqual(header(command(NAS2, "man.cgi", REBOOT), "Location"), "reboot.htm")
                if delay != "0":
                    # The client's connection test right after the answer still connects.
                    self.assertTrue(reachable(NAS2))
                self.assertTrue(wait_until(lambda: not reachable(NAS2), 1.5))
                self.assertEqual(discover(target=NAS2, quiet=0.3), [])
                self.assertTrue(wait_until(lambda: reachable(NAS2), 5.0))
                self.assertEqual(len(discover(target=NAS2)), 1)

    def test_factory_reset_then_reboot_with_the_old_password(self):
        setup = ["redirect=id.htm&failure=fail.htm&type=cifs_config_apply&enable=1&hostname=Shelf&group_name=HOME",
                 SMB + "nas_apply&allow_share=public&del=Remove", SMB + "fm_mkdir_apply&folder=Extra&to_name=",
                 FTP + "ftps_state_apply&ftps_set=DISABLE&ftps_port=2121", FTP + "ftps_user_del&FTP_AC_LIST=1"]
        for query in setup:
            self.assertNotEqual(header(command(NAS2, "nas.cgi", query), "Location"), "fail.htm")
        command(NAS2, "man.cgi", "redirect=sys_auth.htm&failure=fail.htm&type=auth_apply&TF_password=new&TF_passwordl=new")
        reset = "/man.cgi?redirect=reboot.htm&failure=fail.htm&type=default_setting"
        self.assertEqual(header(fetch(NAS2, reset, password="new"), "Location"), "reboot.htm")
        page = fetch(NAS2)
        self.assertEqual([page_value(page, n) for n in ("host_name", "group_name", "ftps_status", "ftps_port")],
                         ["Q70-NAS", "WORKGROUP", "ENABLE", "21"])
        self.assertEqual(option_values(page_value(page, "share_list")), SEEDED)
        self.assertEqual(option_values(page_value(page, "allow_share")), ["public", "Público"])
        self.assertEqual(option_values(page_value(page, "ftp_ac_list")), ["1", "2"])
        # The client sends the reboot with the password it knows.
        self.assertEqual(header(fetch(NAS2, "/man.cgi?" + REBOOT, password="new"), "Location"), "reboot.htm")
        self.assertTrue(wait_until(lambda: not reachable(NAS2), 1.5))
        self.assertTrue(wait_until(lambda: reachable(NAS2), 5.0))
        self.assertEqual(status_of(fetch(NAS2, password="new")), 401)
        self.assertEqual(status_of(fetch(NAS2)), 200)

    def test_upload_answers(self):
        nas2 = CONTROL[NAS2]
        cases = [("redirect", 302, "man_firm.htm", "accepted"), ("error", 500, None, "accepted"),
                 ("404", 404, None, "accepted")]
        for mode, status, location, outcome in cases:
            with self.subTest(mode=mode):
                nas2.post("/upload/" + mode)
                answer, error = post_upload(NAS2, upload_body(b"image"))
                self.assertIsNone(error)
                self.assertEqual((status_of(answer), header(answer, "Location")), (status, location))
                self.assertEqual(nas2.get("/state/upload_last_outcome"), outcome)
        nas2.post("/upload/drop")
        self.assertEqual(nas2.get("/upload"), "drop")
        answer, error = post_upload(NAS2, upload_body(b"small image"))
        self.assertIn(error.errno, (errno.ECONNRESET, errno.EPIPE))
        self.assertEqual(nas2.get("/state/upload_last_outcome"), "dropped")
        self.assertEqual(nas2.request("POST", "/upload/maybe")[0], 400)
        nas2.post("/upload/redirect")
        # The limit of 64 KiB holds for the image, not the form around it.
        for size, taken in ((65536, True), (65537, False)):
            with self.subTest(image=size):
                answer, error = post_upload(NAS2, upload_body(b"\0" * size))
                self.assertEqual(error is None, taken)
                self.assertEqual(nas2.get("/state/upload_last_size"), str(size))
        self.assertEqual(nas2.get("/state/upload_count"), "4")


# ----- disk ----------------------------------------------------------------
class DiskTest(ApplianceCase):
    def test_scan_report_grows_and_ends_with_a_summary(self):
        nas2 = CONTROL[NAS2]
        command(NAS2, "nas.cgi", STO + "ide_scandisk_start")
        self.assertEqual(header(command(NAS2, "nas.cgi", "redirect=sto_ok.htm&failure=fail.htm&type=IDE_init"),
                                "Location"), "fail.htm")
        seen = []
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and nas2.get("/state/scan_running") == "1":
            page = fetch(NAS2)
            seen.append((page_value(page, "disk_scan").count("\n"), page_value(page, "disk_fix_enable")))
            time.sleep(0.1)
        self.assertEqual(nas2.get("/state/scan_running"), "0")
        self.assertEqual([n for n, _ in seen], sorted(n for n, _ in seen))
        self.assertGreater(len(set(n for n, _ in seen)), 3)
        self.assertEqual(set(f for n, f in seen if n < 9), {"DISABLE"})
        page = fetch(NAS2)
        self.assertEqual(page_value(page, "disk_scan").split("\n")[-3:], ["Summary: 1 error found",
                                                                         "Scan disk finished", ""])
        self.assertEqual(page_value(page, "disk_fix_enable"), "ENABLE")

    def test_reset_during_a_scan_leaves_no_stray_lines(self):
        nas2 = CONTROL[NAS2]
        command(NAS2, "nas.cgi", STO + "ide_scandisk_start")
        time.sleep(0.1)
        nas2.post("/reset-defaults")
        command(NAS2, "nas.cgi", STO + "ide_scandisk_start")
        self.assertTrue(wait_until(lambda: nas2.get("/state/scan_running") == "0", 10.0))
        report = nas2.get("/state/disk_scan").splitlines()
        self.assertEqual(len(report), len(set(report)), report)

    def test_sleep_time_line(self):
        # nas2 was started with the sleep time on its own line; nas1 shares it.
        self.assertEqual(page_value(fetch(NAS2), "disk_idle_value"), "10")
        self.assertTrue(page_value(fetch(NAS1), "disk_idle_value").startswith('10";'))
        CONTROL[NAS2].post("/state/disk_idle_own_line", "0")
        self.assertTrue(page_value(fetch(NAS2), "disk_idle_value").startswith('10";'))


if __name__ == "__main__":
    unittest.main(verbosity=2)
