#!/usr/bin/python3
"""The Disk Utility page of the real q70config binary on a private X display,
against a fake appliance, used from the keyboard as a user would: format
(cancelled, then confirmed), a refused and an accepted sleep time, a scan
whose report the window keeps reading while another page is shown, and the
reading that stops when the window closes.

Run inside tools/lab/with-appliances.sh:
    test_disk_tab.py PATH/TO/q70config
"""

import os
import subprocess
import time

from desktop import ApplianceFlowTest, run_flow

# The report is read again every 30 ticks of one second.
WATCH_S = 30


class DiskTabTest(ApplianceFlowTest):
    def prepare_appliance(self):
        self.nas.post("/state/scan_interval", "0.3")

    def box_gone(self, title):
        self.wait_until(lambda: title not in self.program.visible_windows(), "the box %r stayed" % title)

    def test_format_sleep_scan_and_watch(self):
        management = self.log_in()
        self.assertNotEqual(self.nas.get("/state/folders"), "")
        # The tab bar has the focus; backwards from the first page is the last one.
        self.program.keys(management, "ctrl+shift+Tab")
        time.sleep(0.5)

        # Format: Cancel sends nothing, OK empties the disk.
        self.program.keys(management, "Tab", "Return")
        box = self.program.wait_for_window("Disk Tools")
        self.program.keys(box, "Escape")
        self.box_gone("Disk Tools")
        self.assertEqual(self.sent("IDE_init"), 0)
        self.program.keys(management, "Return")
        self.program.answer_box("Disk Tools")
        self.wait_until(lambda: self.sent("IDE_init") == 1, "no format sent")
        self.assertEqual(self.nas.get("/state/folders"), "")

        # Sleep time: out of range is refused, no number is the program's error, "05" goes as typed.
        self.program.keys(management, "Tab", "Tab", "ctrl+a")
        self.program.type(management, "61")
        self.program.keys(management, "shift+Tab", "Return")
        self.program.answer_box("Disk Tools")
        self.program.keys(management, "Tab", "ctrl+a")
        self.program.type(management, "x")
        self.program.keys(management, "shift+Tab", "Return")
        self.program.answer_box("q70config")
        self.assertEqual(self.sent("ide_set"), 0)
        self.program.keys(management, "Tab", "ctrl+a")
        self.program.type(management, "05")
        self.program.keys(management, "shift+Tab", "Return")
        self.wait_until(lambda: self.sent("ide_set") == 1, "no sleep time sent")
        self.assertTrue(any("type=ide_set&idle=05 " in line for line in self.request_lines()))
        self.assertEqual(self.nas.get("/state/disk_idle_value"), "5")

        # Scan: Cancel first, then OK; the appliance's report grows.
        self.program.keys(management, "Tab", "Tab", "Return")
        box = self.program.wait_for_window("Scan Disk")
        self.program.keys(box, "Escape")
        self.box_gone("Scan Disk")
        self.assertEqual(self.sent("ide_scandisk_start"), 0)
        self.program.keys(management, "Return")
        self.program.answer_box("Scan Disk")
        self.wait_until(lambda: self.sent("ide_scandisk_start") == 1, "no scan started")
        lines = len(self.nas.get("/state/disk_scan").splitlines())
        self.wait_until(lambda: len(self.nas.get("/state/disk_scan").splitlines()) > lines, "the report stays")
        self.wait_until(lambda: "finished" in self.nas.get("/state/disk_scan"), "the scan never ends")

        # Another page shown: the report is still read every 30 ticks.
        self.program.keys(management, "ctrl+Tab")
        time.sleep(1)
        self.nas.post("/requests/clear")
        self.wait_until(lambda: self.status_reads() >= 1, "the report was not read again",
                        limit_s=WATCH_S + 5)

        # Back on the page, the finished report is shown; its picture when asked for.
        self.program.keys(management, "ctrl+shift+Tab")
        time.sleep(1)
        shot = os.environ.get("Q70_SCREENSHOT")
        if shot:
            subprocess.run(["import", "-window", str(management), shot], env=self.program.env, check=True,
                           timeout=20)

        # The error messages deleted from the report, after the question.
        self.program.click(management, 290, 340)  # into the report
        self.program.keys(management, "Tab", "Return")
        self.program.answer_box("Scan Disk")
        self.wait_until(lambda: self.sent("ide_fixdisk_start") == 1, "no deletion sent")
        self.assertEqual(self.nas.get("/state/disk_scan"), "")

        # Closed: no more reading.
        self.x11.request_close(management)
        self.program.wait_for_window(self.LOGIN)
        self.nas.post("/requests/clear")
        time.sleep(WATCH_S + 3)
        self.assertEqual(self.status_reads(), 0)
        self.assertTrue(self.program.running())


if __name__ == "__main__":
    run_flow(DiskTabTest)
