#!/usr/bin/python3
"""The File Server page of the real q70config binary on a private X display,
against a fake appliance, used as a user would: create a folder, rename it,
share it, give it a password, stop sharing it and delete it, each refused
input first. Every change shows in the appliance and in the lists read
afresh; every refusal shows its box and sends nothing.

Run inside tools/lab/with-appliances.sh:
    test_file_server.py PATH/TO/q70config
"""

import os
import subprocess
import time

from desktop import ApplianceFlowTest, form_rect, run_flow

CREATE, RENAME, PASSWORD = "Create Folder", "SMB Rename Folder", "File Sharing Password"
# Below the tab bar the page begins; the lists are tall enough to take a rough guess.
TAB_BAR = 30
# Thirteen characters: listed, but too long to be shared.
LONG_NAME = "LongerThan12x"


class FileServerTest(ApplianceFlowTest):
    def prepare_appliance(self):
        self.nas.post("/state/folders", self.nas.get("/state/folders") + "|" + LONG_NAME)

    def names(self, key):
        return self.nas.get("/state/" + key).split("|")

    def refreshed_after(self, command_type):
        """The page was read again after the command; the lists are filled a moment later."""
        def read_again():
            lines = self.request_lines()
            sent = max(n for n, line in enumerate(lines) if "type=%s&" % command_type in line)
            return any("/utility_use.htm" in line for line in lines[sent + 1:])
        self.wait_until(read_again, "the lists were not read again after " + command_type)
        time.sleep(0.5)

    def click_list(self, list_name):
        """Into a list, below its entries: the focus, no selection."""
        x, y, width, height = form_rect("Menuform/FileServerTab.ui", list_name)
        self.program.click(self.management, x + width // 2, TAB_BAR + y + height - 20)

    def select(self, list_name, name):
        """Picks a list's entry by typing its name; the list keeps the focus."""
        self.click_list(list_name)
        self.program.type(self.management, name)
        time.sleep(0.3)

    def press(self, tabs):
        """From a list, the button that many steps on in the page's focus order."""
        self.program.keys(self.management, *(["Tab"] * tabs), "Return")

    def fill(self, dialog, form, field, text):
        x, y, width, height = form_rect(form, field)
        self.program.click(dialog, x + width // 2, y + height // 2)
        self.program.keys(dialog, "ctrl+a", "BackSpace")
        if text:
            self.program.type(dialog, text)

    def set(self, dialog, form, button):
        x, y, width, height = form_rect(form, button)
        self.program.click(dialog, x + width // 2, y + height // 2)

    def refused(self, box, command_type):
        self.program.answer_box(box)
        self.assertEqual(self.sent(command_type), 0, "a refused input was sent")

    def test_folder_life(self):
        self.management = self.log_in()
        # The tab bar has the focus: the fourth page. A change of tab also reads the
        # FTP Server page behind it, and keys pressed during a read are dropped.
        for _ in range(3):
            self.program.keys(self.management, "ctrl+Tab")
            time.sleep(0.5)

        # Create ("Create" is third from the folder list): blanks only, a blank inside, then a good name.
        form = "Smbcreatform/TForm6.ui"
        self.select("SMBFolderLB", "backup")
        self.press(2)
        dialog = self.program.wait_for_window(CREATE)
        # Closed, it sends nothing and "Create" takes a press again with nothing selected.
        self.x11.request_close(dialog)
        self.wait_until(lambda: CREATE not in self.program.visible_windows(), "the dialog stayed")
        self.click_list("SMBFolderLB")
        self.press(2)
        dialog = self.program.wait_for_window(CREATE)
        self.fill(dialog, form, "FoldernameEdit", "   ")
        self.set(dialog, form, "CreateFBtn")
        self.refused("File Server", "fm_mkdir_apply")
        self.fill(dialog, form, "FoldernameEdit", "my folder")
        self.set(dialog, form, "CreateFBtn")
        self.refused("File Server", "fm_mkdir_apply")
        self.fill(dialog, form, "FoldernameEdit", "  Reports ")
        self.picture_of_dialog(dialog, "create-folder")
        self.set(dialog, form, "CreateFBtn")
        self.wait_until(lambda: self.sent("fm_mkdir_apply") == 1, "no folder created")
        self.wait_until(lambda: CREATE not in self.program.visible_windows(), "the dialog stayed")
        self.assertEqual(self.names("folders")[-1], "Reports")
        self.refreshed_after("fm_mkdir_apply")

        # Rename the new folder, found in the refreshed list: a refused character first.
        form = "Smbrenameform/TForm7.ui"
        self.select("SMBFolderLB", "Reports")
        self.press(3)
        dialog = self.program.wait_for_window(RENAME)
        self.fill(dialog, form, "NewFoldernameEdit", "new name")
        self.set(dialog, form, "RenameFBtn")
        self.refused("SMB Server", "fm_rename_apply")
        self.fill(dialog, form, "NewFoldernameEdit", "Archive_2")
        self.picture_of_dialog(dialog, "rename-folder")
        shot = os.environ.get("Q70_SCREENSHOT")
        if shot:
            # The whole screen, cut to the management window: the dialog stands over it.
            place = dict(line.split("=") for line in subprocess.run(
                ["xdotool", "getwindowgeometry", "--shell", str(self.management)], env=self.program.env,
                capture_output=True, text=True, check=True, timeout=10).stdout.split())
            subprocess.run(["import", "-window", "root", "-crop",
                            "%(WIDTH)sx%(HEIGHT)s+%(X)s+%(Y)s" % place, "+repage", shot],
                           env=self.program.env, check=True, timeout=20)
        self.set(dialog, form, "RenameFBtn")
        self.wait_until(lambda: self.sent("fm_rename_apply") == 1, "no rename sent")
        self.assertTrue(any("folder=Archive%5F2&to_name=Reports " in line for line in self.request_lines()))
        self.assertIn("Archive_2", self.names("folders"))
        self.assertNotIn("Reports", self.names("folders"))
        self.refreshed_after("fm_rename_apply")

        # Share: a name over 12 characters is refused, the renamed folder is shared.
        self.select("SMBFolderLB", LONG_NAME)
        self.press(5)
        self.refused("File Server", "nas_apply")
        self.select("SMBFolderLB", "Archive_2")
        self.press(5)
        self.wait_until(lambda: self.sent("nas_apply") == 1, "no share sent")
        self.assertIn("Archive_2", self.names("shared_folders"))
        self.refreshed_after("nas_apply")

        # Its password, from the sharing list: entries that differ clear every field, the folder's too.
        form = "Smbpassform/TForm8.ui"
        self.select("SMBPublicFolderLB", "Archive_2")
        self.press(2)
        dialog = self.program.wait_for_window(PASSWORD)
        self.fill(dialog, form, "PublicPassEdit", "s3cret")
        self.fill(dialog, form, "VerifyPassEdit", "S3cret")
        self.set(dialog, form, "PublicPassBtn")
        self.refused("File Server", "nas_mod")
        self.fill(dialog, form, "PublicFolderEdit", "Archive_2")
        self.fill(dialog, form, "PublicPassEdit", "s3cret")
        self.fill(dialog, form, "VerifyPassEdit", "s3cret")
        self.picture_of_dialog(dialog, "share-password")
        self.set(dialog, form, "PublicPassBtn")
        self.wait_until(lambda: self.sent("nas_mod") == 1, "no password sent")
        self.assertEqual(self.nas.get("/state/share_password.Archive_2"), "s3cret")
        self.refreshed_after("nas_mod")

        # Stop sharing it ("<--" is next after the sharing list while a shared folder is selected).
        self.select("SMBPublicFolderLB", "Archive_2")
        self.press(1)
        self.wait_until(lambda: self.sent("nas_apply") == 2, "no stop sent")
        self.assertNotIn("Archive_2", self.names("shared_folders"))
        self.refreshed_after("nas_apply")

        # Delete: Cancel sends nothing, OK deletes.
        self.select("SMBFolderLB", "Archive_2")
        self.press(4)
        box = self.program.wait_for_window("File Server")
        self.program.keys(box, "Escape")
        self.wait_until(lambda: "File Server" not in self.program.visible_windows(), "the question stayed")
        self.assertEqual(self.sent("fm_rmdir_apply"), 0)
        self.select("SMBFolderLB", "Archive_2")
        self.press(4)
        self.program.answer_box("File Server")
        self.wait_until(lambda: self.sent("fm_rmdir_apply") == 1, "no delete sent")
        self.assertNotIn("Archive_2", self.names("folders"))
        self.refreshed_after("fm_rmdir_apply")
        self.assertEqual(self.nas.get("/state/commands_refused"), "0")
        self.assertTrue(self.program.running())


if __name__ == "__main__":
    run_flow(FileServerTest)
