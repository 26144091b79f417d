#!/usr/bin/python3
"""The real q70config binary with the shipped German language file in its
working folder: the discovery, login and management windows come up in
German, and a search, a pick and a login work as in English. Leaves
pictures of the discovery window and the Status page when asked
(Q70_SCREENSHOT_DIR).

Run inside tools/lab/with-appliances.sh:
    test_german.py PATH/TO/q70config PATH/TO/translations/de/language
"""

import os
import shutil
import subprocess
import sys
import time
import unittest

from desktop import WAIT_S, DesktopTest, Program, SimControl, form_rect

PROGRAM = None
LANGUAGE = None
DISCOVERY = "Vantrel Q70 Konfigurationsprogramm - Version 1.7.2"
LOGIN = "Anmeldung am Gerät"
MANAGEMENT = "Verwaltung 192.168.1.20"


class GermanTest(DesktopTest):
    def setUp(self):
        shutil.copy(LANGUAGE, os.path.join(self.workdir, "language"))
        self.nas = SimControl("nas1")
        self.nas.post("/reset-defaults")
        self.program = Program(PROGRAM, self.display, self.workdir)

    def tearDown(self):
        self.program.stop()

    def picture(self, window, name):
        folder = os.environ.get("Q70_SCREENSHOT_DIR")
        if folder:
            subprocess.run(["import", "-window", str(window), os.path.join(folder, name)],
                           env=self.program.env, check=True, timeout=20)

    def test_search_login_and_status_page_in_german(self):
        discovery = self.program.wait_for_window(DISCOVERY)
        x, y, width, height = form_rect("Mainform/TForm1.ui", "ScanBtn")
        self.program.click(discovery, x + width // 2, y + height // 2)
        deadline = time.monotonic() + WAIT_S
        while int(self.nas.get("/discovery/count")) == 0:
            self.assertLess(time.monotonic(), deadline, "the appliance got no search")
            time.sleep(0.05)
        time.sleep(14)  # the search's progress bar runs out
        self.picture(discovery, "discovery-de.png")

        x, y, width, _ = form_rect("Mainform/TForm1.ui", "HDListView")
        self.program.click(discovery, x + width // 4, y + 27)
        login = self.program.wait_for_window(LOGIN)
        self.program.keys(login, "ctrl+a")
        self.program.type(login, "admin")
        self.program.keys(login, "Return")
        management = self.program.wait_for_window(MANAGEMENT)
        time.sleep(1.5)  # the Status page read and filled
        self.picture(management, "status-tab-de.png")
        self.assertTrue(self.program.running())


if __name__ == "__main__":
    PROGRAM, LANGUAGE = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1])
