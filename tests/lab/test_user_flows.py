#!/usr/bin/python3
"""The real q70config binary on a private X display in a lab with two fake
appliances (nas1 on the workstation's subnet, nas2 on another), used as a
user would: search, pick, log in, change settings, answer every box with
OK. Whatever box closes, the program keeps running with the right window in
front; only closing the discovery window ends it. A refused change is told,
the management window never acts on another appliance than its own, and a
wait on an appliance shows the busy cursor and swallows a second press.

Run inside tools/lab/with-appliances.sh:
    test_user_flows.py PATH/TO/q70config
"""

import sys
import time
import unittest

from desktop import WAIT_S, DesktopTest, Program, SimControl, form_rect

PROGRAM = None
DISCOVERY = "Vantrel Q70 Configuration Utility - Version 1.7.2"
LOGIN = "Remote Device Login"


class UserFlowTest(DesktopTest):
    def setUp(self):
        self.nas1, self.nas2 = SimControl("nas1"), SimControl("nas2")
        for sim in (self.nas1, self.nas2):
            sim.post("/reset-defaults")
        self.program = Program(PROGRAM, self.display, self.workdir)
        self.discovery = self.program.wait_for_window(DISCOVERY)

    def tearDown(self):
        self.program.stop()

    def assertInFront(self, title):
        self.assertTrue(self.program.running(), "the program ended")
        windows = self.program.visible_windows()
        self.assertTrue(windows and windows[0] == title, "in front: %r, wanted %r" % (windows, title))

    def pick_only(self, sim, silent):
        """Searches with only one appliance answering and picks it."""
        silent.post("/discovery/silent")
        sim.post("/discovery/normal")
        x, y, width, height = form_rect("Mainform/TForm1.ui", "ScanBtn")
        self.program.click(self.discovery, x + width // 2, y + height // 2)
        deadline = time.monotonic() + WAIT_S
        while int(sim.get("/discovery/count")) == 0:
            self.assertLess(time.monotonic(), deadline, "the appliance got no search")
            time.sleep(0.05)
        time.sleep(0.3)  # its reply on the way into the list
        x, y, width, _ = form_rect("Mainform/TForm1.ui", "HDListView")
        self.program.click(self.discovery, x + width // 4, y + 27)  # the first row, under the header
        return self.program.wait_for_window(LOGIN)

    def log_in(self, login, password):
        self.program.keys(login, "ctrl+a")
        self.program.type(login, password)
        self.program.keys(login, "Return")

    def test_boxes_never_end_the_program(self):
        # Another subnet: the warning comes over the login window.
        login = self.pick_only(self.nas2, silent=self.nas1)
        self.program.answer_box("Search for Remote Devices")
        self.assertInFront(LOGIN)

        self.log_in(login, "wrong")
        self.program.answer_box("Login")
        self.assertInFront(LOGIN)

        self.log_in(login, "admin")
        management = self.program.wait_for_window("Management 192.168.2.20")
        # The tab bar has the focus; the group name is the second field.
        self.program.keys(management, "Tab", "Tab", "ctrl+a", "BackSpace", "Tab", "Return")
        self.program.answer_box("Identification")
        self.assertInFront("Management 192.168.2.20")

        # Closing the other windows walks back; only the discovery window ends it.
        self.x11.request_close(management)
        self.program.wait_for_window(LOGIN)
        self.x11.request_close(login)
        self.program.wait_for_window(DISCOVERY)
        self.assertInFront(DISCOVERY)
        self.x11.request_close(self.discovery)
        self.assertEqual(self.program.process.wait(5), 0)


    def test_refusals_told_other_appliance_picked_waits_shown(self):
        login = self.pick_only(self.nas1, silent=self.nas2)
        self.log_in(login, "admin")
        title = "Management 192.168.1.20"
        management = self.program.wait_for_window(title)

        # A change the appliance refuses is told once, after the page is read again.
        self.nas1.post("/state/refuse", "cifs_config_apply")
        self.program.keys(management, "Tab", "Tab", "Tab", "Return")  # Identification's "Set"
        self.program.answer_box("Identification")
        self.assertInFront(title)
        self.nas1.post("/state/refuse", "")

        # While a command waits on a slow appliance the pointer is busy and a
        # second press sends nothing more.
        x, y, _, _ = form_rect("Menuform/TForm2.ui", "PageControl1")
        self.program.xdotool("mousemove", "--window", str(management), str(x + 200), str(y + 200))
        time.sleep(0.3)
        idle = self.x11.cursor_image()
        self.nas1.post("/fault/slow-accept", "seconds=2")
        self.program.keys(management, "Return")  # the focus stayed on "Set"
        time.sleep(0.5)
        self.assertNotEqual(self.x11.cursor_image(), idle, "no busy pointer during the wait")
        self.program.keys(management, "Return", "Return")
        deadline = time.monotonic() + WAIT_S
        while self.x11.cursor_image() != idle:
            self.assertLess(time.monotonic(), deadline, "the busy pointer stayed")
            time.sleep(0.1)
        self.nas1.post("/fault/none")
        self.assertEqual(self.nas1.get("/requests/count/cifs_config_apply"), "2")
        self.assertInFront(title)

        # A new password hands over to the login window over the management
        # window; back in the discovery list, picking another appliance closes
        # the management window first.
        self.program.keys(management, "Tab")
        self.program.type(management, "pw1")
        self.program.keys(management, "Tab")
        self.program.type(management, "pw1")
        self.program.keys(management, "Tab", "Return")
        login = self.program.wait_for_window(LOGIN)
        self.assertEqual(self.nas1.get("/state/password"), "pw1")
        self.x11.request_close(login)
        self.program.wait_for_window(DISCOVERY)
        self.assertIn(title, self.program.visible_windows())
        self.pick_only(self.nas2, silent=self.nas1)
        self.program.answer_box("Search for Remote Devices")
        self.assertNotIn(title, self.program.visible_windows())
        self.assertInFront(LOGIN)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit("usage: test_user_flows.py PATH/TO/q70config")
    PROGRAM = sys.argv.pop(1)
    unittest.main(verbosity=2)
