#!/usr/bin/python3
"""The FTP Server and Modify FTP pages of the real q70config binary with their
three dialogs, on a private X display against a fake appliance, used from the
keyboard as a user would: the service on another port, a refused port, the
anonymous settings, an account created (and created again, which the
appliance refuses and the program sends 15 times), its password, right and
folders changed, folders created and renamed from the Modify FTP page, Back,
enable/disable and delete. Each change is checked in the appliance's state
and in the page read again after it.

Run inside tools/lab/with-appliances.sh:
    test_ftp_pages.py PATH/TO/q70config
"""

import json
import os
import subprocess
import time

from desktop import ApplianceFlowTest, run_flow



class FtpPagesTest(ApplianceFlowTest):
    def prepare_appliance(self):
        self.nas.post("/state/ftps_status", "DISABLE")
        self.nas.post("/state/ftp_anon_stu", "")

    def accounts(self):
        return {a["name"]: a for a in json.loads(self.nas.get("/state.json"))["ftp_accounts"]}

    def field_text(self, window):
        """The text of the focused edit field, through the clipboard."""
        self.program.keys(window, "ctrl+a", "ctrl+c")
        time.sleep(0.2)
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.program.env,
                              capture_output=True, text=True, timeout=10).stdout

    def after_command(self, command_type, count, reads_before):
        self.wait_until(lambda: self.sent(command_type) == count, "%s not sent %d times" % (command_type, count))
        self.wait_until(lambda: self.status_reads() > reads_before, "the page was not read again after " + command_type)
        time.sleep(0.3)

    def shoot(self, window, variable):
        shot = os.environ.get(variable)
        if shot:
            subprocess.run(["import", "-window", str(window), shot], env=self.program.env, check=True, timeout=20)

    def test_ftp_pages(self):
        window = self.log_in()
        # The tab bar has the focus; two tabs back, past the hidden Modify FTP tab, is FTP Server.
        time.sleep(0.8)
        self.program.keys(window, "ctrl+shift+Tab")
        time.sleep(0.5)  # what is typed while a page is read is dropped
        self.program.keys(window, "ctrl+shift+Tab")
        time.sleep(0.5)

        # The service on port 2121: the state list, the port, "Set".
        self.program.keys(window, "Tab", "Up", "Tab", "ctrl+a")
        self.program.type(window, "2121")
        reads = self.status_reads()
        self.program.keys(window, "Tab", "Return")
        self.after_command("ftps_state_apply", 1, reads)
        self.assertEqual((self.nas.get("/state/ftps_status"), self.nas.get("/state/ftps_port")), ("ENABLE", "2121"))

        # Out of range: the page's box; no number: the program's error report; nothing sent.
        self.nas.post("/state/ftps_port", "2222")  # what the next read shows
        self.program.keys(window, "shift+Tab", "ctrl+a")
        self.program.type(window, "1024")
        self.program.keys(window, "Tab", "Return")
        self.program.answer_box("FTP Configuration")
        self.program.keys(window, "shift+Tab", "ctrl+a")
        self.program.type(window, "21x")
        self.program.keys(window, "Tab", "Return")
        self.program.answer_box("q70config")
        self.assertEqual(self.sent("ftps_state_apply"), 1)

        # Anonymous access on, read/write, home the folder before the last (its name in the code page).
        self.program.keys(window, "Tab", "space", "Tab", "Right", "Tab", "End", "Up", "Tab")
        reads = self.status_reads()
        self.program.keys(window, "Return")
        self.after_command("ftps_anonymous_apply", 1, reads)
        folders = self.nas.get("/state/folders").split("|")
        self.assertEqual((self.nas.get("/state/ftp_anon_stu"), self.nas.get("/state/ftp_a_att"),
                          self.nas.get("/state/ftps_home_def")), ("checked", "", folders[-2]))
        # The refreshed page shows the port the appliance now holds.
        self.program.keys(window, "shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab")
        self.assertEqual(self.field_text(window), "2222")

        # A new account: Create makes the appliance's current account a new one, the dialog names it.
        self.program.keys(window, *["Tab"] * 7)
        reads = self.status_reads()
        self.program.keys(window, "Return")
        dialog = self.program.wait_for_window("FTPS Create Account")
        self.assertEqual(self.nas.get("/state/ftps_current"), "255")
        self.program.type(dialog, "  carol ")
        self.picture_of_dialog(dialog, "ftp-create-account")
        self.program.keys(dialog, "Tab", "Return")
        self.after_command("ftps_user_add", 1, reads)
        self.assertEqual(self.account("carol", "password", "access", "enabled", "folders"), ("", "R", True, []))
        # The same name again: the appliance refuses it, and it goes 15 times before the page is read.
        self.program.keys(window, "Return")
        dialog = self.program.wait_for_window("FTPS Create Account")
        self.program.type(dialog, "carol")
        self.program.keys(dialog, "Tab", "Return")
        self.wait_until(lambda: self.sent("ftps_user_add") == 16, "the refused account was not sent 15 times")
        self.assertEqual(list(self.accounts()), ["ann", "guest", "carol"])

        # Modify carol, the last row: its page shows what the appliance now calls current.
        self.program.keys(window, "shift+Tab", "Home", "Down", "Down", "Tab", "Tab")
        reads = self.status_reads()
        self.program.keys(window, "Return")
        self.after_command("ftps_userid_set", 3, reads)
        self.assertEqual(self.nas.get("/state/ftps_current"), str(self.account("carol", "id")[0]))
        time.sleep(0.5)  # the page switched under the keyboard's focus

        # Its password and right.
        self.program.keys(window, "Tab", "ctrl+a")
        self.program.type(window, "newpass1")
        reads = self.status_reads()
        self.program.keys(window, "Tab", "Right", "Tab", "Return")
        self.after_command("ftps_user_add", 17, reads)
        self.assertEqual(self.account("carol", "password", "access"), ("newpass1", "W"))

        # The first folder shared with it, then taken back.
        reads = self.status_reads()
        self.program.keys(window, "Tab", "Down", "Up", "Tab", "Return")
        self.after_command("ftps_add_share", 1, reads)
        self.assertEqual(self.account("carol", "folders"), ([folders[0]],))
        self.shoot(window, "Q70_SCREENSHOT_MODIFY")
        reads = self.status_reads()
        self.program.keys(window, "Home", "shift+Tab", "Return")
        self.after_command("ftps_del_share", 1, reads)
        self.assertEqual(self.account("carol", "folders"), ([],))

        # A folder created from this page, then renamed: first to its own name (refused), then anew.
        self.program.keys(window, "Tab", "Return")
        dialog = self.program.wait_for_window("FTPS Create Folder")
        reads = self.status_reads()
        self.program.type(dialog, "ftpnew")
        self.picture_of_dialog(dialog, "ftp-create-folder")
        self.program.keys(dialog, "Tab", "Return")
        self.after_command("fm_mkdir_apply", 1, reads)
        self.assertEqual(self.nas.get("/state/folders").split("|")[-1], "ftpnew")
        # Create gave way to Back while the dialog was open.
        self.program.keys(window, "shift+Tab", "shift+Tab", "shift+Tab", "Home", "End", "Tab", "Tab", "Tab", "Tab", "Return")
        dialog = self.program.wait_for_window("FTPS Rename Folder")
        self.program.type(dialog, "ftpnew")
        self.picture_of_dialog(dialog, "ftp-rename-folder")
        self.program.keys(dialog, "Tab", "Return")
        self.program.answer_box("Modify FTP Account Folder List")
        reads = self.status_reads()
        self.program.keys(dialog, "shift+Tab")
        self.program.type(dialog, "ftpren")
        self.program.keys(dialog, "Tab", "Return")
        self.after_command("fm_rename_apply", 1, reads)
        self.assertEqual(self.nas.get("/state/folders").split("|")[-1], "ftpren")
        self.assertEqual(self.sent("fm_rename_apply"), 1)

        # Back (Rename gave way to it): the FTP Server page, read as it comes to the front and once more.
        reads = self.status_reads()
        self.program.keys(window, "Return")
        self.wait_until(lambda: self.status_reads() >= reads + 2, "Back did not read the FTP Server page twice")
        time.sleep(0.5)

        # Carol off by its row (the third, counted from 0), then deleted after the question.
        reads = self.status_reads()
        self.program.keys(window, *["Tab"] * 8)
        self.program.keys(window, "Home", "Down", "Down", "Tab", "Tab", "Tab", "Return")
        self.after_command("ftps_user_enabled", 1, reads)
        self.assertEqual(self.account("carol", "enabled"), (False,))
        self.assertTrue(any("type=ftps_user_enabled&FTP_AC_LIST=2 " in line for line in self.request_lines()))
        self.program.keys(window, *["Tab"] * 8)
        self.program.keys(window, "Home", "Down", "Down", "Tab", "Tab", "Tab", "Tab", "Return")
        box = self.program.wait_for_window("Account List")
        self.program.keys(box, "Escape")
        time.sleep(0.5)
        self.assertEqual(self.sent("ftps_user_del"), 0)
        self.program.keys(window, *["Tab"] * 8)
        self.program.keys(window, "Home", "Down", "Down", "Tab", "Tab", "Tab", "Tab", "Return")
        reads = self.status_reads()
        self.program.answer_box("Account List")
        self.after_command("ftps_user_del", 1, reads)
        self.assertEqual(list(self.accounts()), ["ann", "guest"])
        self.shoot(window, "Q70_SCREENSHOT")

    def account(self, name, *fields):
        account = self.accounts()[name]
        return tuple(account[field] for field in fields)


if __name__ == "__main__":
    run_flow(FtpPagesTest)
