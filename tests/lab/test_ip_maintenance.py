#!/usr/bin/python3
"""The IP Config and Maintenance pages of the real q70config on a private X
display, used as a user would against fake appliances that really move,
reboot and take firmware: a static address in the same subnet and in
another one, the automatic choice; uploads accepted, too large and refused;
reboot; factory reset.

Run inside tools/lab/with-appliances.sh with nas1=192.168.1.20/24 and
nas2=192.168.2.20/24:
    test_ip_maintenance.py PATH/TO/q70config [ip|maintenance] [SHOTS_DIR]
"""

import os
import sys
import tempfile
import time
import unittest

from desktop import WAIT_S, DesktopTest, Program, SimControl, form_rect

PROGRAM = None
SHOTS = None
DISCOVERY = "Vantrel Q70 Configuration Utility - Version 1.7.2"
LOGIN = "Remote Device Login"


class SimAt(SimControl):
    """The control channel at the address the appliance moved to."""

    def __init__(self, address):
        self.base = "http://%s:8080" % address


class PageFlowTest(DesktopTest):
    def setUp(self):
        self.nas1, self.nas2 = SimControl("nas1"), SimControl("nas2")
        self.program = Program(PROGRAM, self.display, self.workdir)
        self.discovery = self.program.wait_for_window(DISCOVERY)

    def tearDown(self):
        self.program.stop()

    def wait_until(self, check, what, limit_s=WAIT_S):
        deadline = time.monotonic() + limit_s
        while not self.holds(check):
            self.assertLess(time.monotonic(), deadline, what)
            time.sleep(0.1)

    @staticmethod
    def holds(check):
        try:
            return check()
        except OSError:  # an appliance on its way to another address
            return False

    def assertInFront(self, title):
        windows = self.program.visible_windows()
        self.assertTrue(windows and windows[0] == title, "in front: %r, wanted %r" % (windows, title))

    def search_and_log_in(self, sim, silent, other_subnet=False):
        silent.post("/discovery/silent")
        sim.post("/discovery/normal")
        sim.post("/discovery/clear")
        x, y, width, height = form_rect("Mainform/TForm1.ui", "ScanBtn")
        self.program.click(self.discovery, x + width // 2, y + height // 2)
        self.wait_until(lambda: int(sim.get("/discovery/count")) > 0, "the appliance got no search")
        time.sleep(0.3)
        x, y, width, _ = form_rect("Mainform/TForm1.ui", "HDListView")
        self.program.click(self.discovery, x + width // 4, y + 27)
        login = self.program.wait_for_window(LOGIN)
        if other_subnet:
            self.program.answer_box("Search for Remote Devices")
        self.program.keys(login, "ctrl+a")
        self.program.type(login, "admin")
        self.program.keys(login, "Return")

    def shoot(self, window, name):
        if SHOTS:
            os.system("import -display %s -window %d %s" % (self.display.name, window, os.path.join(SHOTS, name)))


class IPConfigFlow(PageFlowTest):
    def set_static(self, management, address):
        """On the IP page, with the tab bar focused: the static choice, a new address, "Set"."""
        self.program.keys(management, "Tab", "Tab", "ctrl+a")  # the checked choice, then IPAddressEdit
        self.program.type(management, address)
        self.program.keys(management, "Tab", "Tab", "Tab", "Tab", "Tab", "Return")

    def test_2_same_subnet_then_automatic(self):
        # The other appliance moved in the other test.
        self.search_and_log_in(self.nas1, silent=SimAt("192.168.2.30"))
        management = self.program.wait_for_window("Management 192.168.1.20")
        self.program.keys(management, "ctrl+Tab")
        time.sleep(0.5)
        self.shoot(management, "ipconfig-tab.png")

        self.set_static(management, "192.168.1.30")
        self.program.answer_box("IP Infomation")
        management = self.program.wait_for_window("Management 192.168.1.30")
        moved = SimAt("192.168.1.30")
        self.assertEqual(moved.get("/state/address"), "192.168.1.30")
        self.assertEqual(moved.get("/requests/count/wan_fixip_apply"), "1")
        # The pages go on working at the new address.
        moved.post("/requests/clear")
        self.program.keys(management, "ctrl+shift+Tab")
        self.wait_until(lambda: int(moved.get("/requests/count")) > 0, "the Status page was not read again")
        self.assertInFront("Management 192.168.1.30")

        # Automatic: the appliance leases an address and is searched for anew.
        self.program.keys(management, "ctrl+Tab")
        time.sleep(0.5)
        self.program.keys(management, "Tab", "Up", "space", "Tab", "Return")  # "Automatic IP", "Set"
        self.program.answer_box("IP Infomation")
        self.program.wait_for_window(DISCOVERY)
        leased = SimAt("192.168.1.50")
        self.wait_until(lambda: leased.get("/state/ip_type") == "DHCP CLIENT", "no lease")
        self.assertEqual(leased.get("/requests/count/dhcpc_apply"), "1")
        self.wait_until(lambda: int(leased.get("/discovery/count")) > 0, "no new search")
        self.assertNotIn("Management 192.168.1.30", self.program.visible_windows())

    def test_1_other_subnet(self):
        self.search_and_log_in(self.nas2, silent=self.nas1, other_subnet=True)
        management = self.program.wait_for_window("Management 192.168.2.20")
        self.program.keys(management, "ctrl+Tab")
        time.sleep(0.5)
        self.set_static(management, "192.168.2.30")
        self.program.answer_box("IP Infomation")
        moved = SimAt("192.168.2.30")
        self.wait_until(lambda: moved.get("/state/address") == "192.168.2.30", "the appliance did not move")
        moved.post("/discovery/clear")
        self.program.answer_box("Search for Remote Devices")
        self.program.wait_for_window(DISCOVERY)
        self.wait_until(lambda: int(moved.get("/discovery/count")) > 0, "no new search")
        visible = self.program.visible_windows()
        self.assertNotIn(LOGIN, visible)
        self.assertFalse([title for title in visible if title.startswith("Management")], visible)
        self.assertInFront(DISCOVERY)


class MaintenanceFlow(PageFlowTest):
    def open_page(self):
        self.search_and_log_in(self.nas1, silent=self.nas2)
        management = self.program.wait_for_window("Management 192.168.1.20")
        # Each change of tab reads the FTP Server page behind it too; keys pressed meanwhile are dropped.
        self.program.keys(management, "ctrl+Tab")
        time.sleep(0.5)
        self.program.keys(management, "ctrl+Tab")
        time.sleep(0.5)
        return management

    def choose_and_upload(self, management, path):
        self.program.keys(management, "Tab", "Return")  # "Browse..."
        time.sleep(1)
        dialog = self.program.wait_for_window("Open")
        self.program.type(dialog, path)
        self.program.keys(dialog, "Return")
        time.sleep(0.5)
        self.program.keys(management, "Tab", "Return")  # "Upload"
        self.program.answer_box("Firmware Upload")  # the question

    def image(self, size):
        handle, path = tempfile.mkstemp(suffix=".bin", dir=self.workdir)
        os.write(handle, b"Q70FW 9.9.9\n" + b"\xa5" * (size - 12))
        os.close(handle)
        return path

    def reshow(self, management):
        self.program.keys(management, "ctrl+shift+Tab")
        time.sleep(0.3)
        self.program.keys(management, "ctrl+Tab")
        time.sleep(0.5)

    def test_uploads_reboot_reset(self):
        self.nas1.post("/state/upload_limit", "65536")
        management = self.open_page()

        # A file gone before the upload: told by name, nothing sent, the page usable.
        gone = self.image(1000)
        self.program.keys(management, "Tab", "Return")  # "Browse..."
        dialog = self.program.wait_for_window("Open")
        self.program.type(dialog, gone)
        self.program.keys(dialog, "Return")
        time.sleep(0.5)
        os.remove(gone)
        self.program.keys(management, "Tab", "Return")  # "Upload"
        self.program.answer_box("Firmware Upload")  # the question
        self.program.answer_box("Firmware Upload")  # cannot open it
        self.assertEqual(self.nas1.get("/state/upload_count"), "0")
        self.reshow(management)
        self.program.keys(management, "Tab", "Tab", "Return")  # "Upload" again: asks again
        box = self.program.wait_for_window("Firmware Upload")
        self.program.keys(box, "Escape")
        self.program.keys(management, "shift+Tab", "shift+Tab")  # back on the tab bar

        self.choose_and_upload(management, self.image(200000))
        self.program.answer_box("Firmware Upload")  # "Kernel Size is too large."
        self.assertEqual(self.nas1.get("/state/upload_last_outcome"), "dropped")

        self.reshow(management)
        self.nas1.post("/upload/error")
        small = self.image(30000)
        self.choose_and_upload(management, small)
        self.program.answer_box("Firmware Upload")  # "Upload fail!"

        self.reshow(management)
        self.nas1.post("/upload/redirect")
        self.nas1.post("/requests/clear")
        self.choose_and_upload(management, small)
        self.assertEqual(self.nas1.get("/state/upload_last_outcome"), "accepted")
        self.assertEqual(self.nas1.get("/state/upload_last_filename"), small)
        self.program.answer_box("Firmware Upload")  # successful: reboot?
        self.wait_until(lambda: self.nas1.get("/requests/count/reboot") == "1", "no reboot command")
        time.sleep(2.5)
        self.shoot(management, "maintenance-tab.png")
        # The bar fills in about 31 s; then the appliance is searched for anew.
        self.nas1.post("/discovery/clear")
        self.program.wait_for_window(DISCOVERY, limit_s=45)
        self.wait_until(lambda: "Management 192.168.1.20" not in self.program.visible_windows(), "still managing")
        self.wait_until(lambda: int(self.nas1.get("/discovery/count")) > 0, "no new search")
        self.assertEqual(self.nas1.get("/state/firm_ver"), "9.9.9")

        # Reboot: the appliance goes down for a while, the progress runs to the search.
        management = self.open_page()
        self.nas1.post("/requests/clear")
        self.program.keys(management, "Tab", "Tab", "Return")  # "Reboot" (Upload is disabled)
        self.program.answer_box("System Reboot")
        self.wait_until(lambda: self.nas1.get("/state/rebooting") == "1", "no reboot")
        self.program.wait_for_window(DISCOVERY, limit_s=45)
        self.wait_until(lambda: "Management 192.168.1.20" not in self.program.visible_windows(), "still managing")

        # Factory reset: defaults first, then the reboot.
        self.nas1.post("/state/host_name", "CHANGED")
        management = self.open_page()
        self.nas1.post("/requests/clear")
        self.program.keys(management, "Tab", "Tab", "Tab", "Return")  # "Reset"
        self.program.answer_box("Factory Defaults")
        def commands():
            lines = [self.nas1.get("/requests/%d" % n).splitlines()[0]
                     for n in range(int(self.nas1.get("/requests/count")))]
            return [line.split("type=")[1].split()[0] for line in lines if "/man.cgi?" in line]
        self.wait_until(lambda: len(commands()) >= 2, "the commands did not come")
        self.assertEqual(commands(), ["default_setting", "reboot"])
        self.assertEqual(self.nas1.get("/state/host_name"), "Q70-NAS")


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: test_ip_maintenance.py PATH/TO/q70config ip|maintenance [SHOTS_DIR]")
    PROGRAM = sys.argv.pop(1)
    flow = sys.argv.pop(1)
    if len(sys.argv) > 1:
        SHOTS = sys.argv.pop(1)
    chosen = IPConfigFlow if flow == "ip" else MaintenanceFlow
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(chosen)
    sys.exit(0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1)
