#!/usr/bin/python3
"""The real q70config binary on a private X display, driven from outside as
a user's desktop would: a second copy finds the discovery port taken, shows
its error box and, once the box is answered, ends with exit code 0; with no
network interface up a search shows an error box and the program goes on;
closing the discovery window ends the first copy with 0 at once. (What the
boxes say is checked on the window itself, in the GUI tests.)

Run inside tools/lab/isolated (the program binds UDP 14675):
    test_program_exits.py PATH/TO/q70config
"""

import os
import subprocess
import sys
import time
import unittest

from desktop import DesktopTest

PROGRAM = None
DISCOVERY_TITLE = "Vantrel Q70 Configuration Utility - Version 1.7.2"
ERROR_BOX_TITLE = "q70config"
SEARCH_BUTTON_CENTRE = (234, 267)  # in the discovery window
WAIT_S = 15


class ProgramExitTest(DesktopTest):
    def setUp(self):
        self.started = []

    def tearDown(self):
        for process in self.started:
            if process.poll() is None:
                process.kill()
                process.wait(5)

    def environment(self):
        env = dict(os.environ, DISPLAY=self.display.name, QT_QPA_PLATFORM="xcb")
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def start_program(self, *wrapper):
        process = subprocess.Popen([*wrapper, PROGRAM], cwd=self.workdir, env=self.environment(),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.started.append(process)
        return process

    def xdotool(self, *arguments):
        done = subprocess.run(["xdotool", *arguments], env=self.environment(),
                              capture_output=True, text=True, timeout=10)
        return done.stdout.split()

    def wait_for_window(self, process, title):
        """The visible window of that process with exactly that title."""
        deadline = time.monotonic() + WAIT_S
        while time.monotonic() < deadline:
            self.assertIsNone(process.poll(), "the program ended before showing " + title)
            for window in self.xdotool("search", "--all", "--onlyvisible", "--pid", str(process.pid),
                                       "--name", "^%s$" % title):
                return int(window)
            time.sleep(0.1)
        self.fail("no window titled %r" % title)

    def answer(self, box):
        self.xdotool("windowfocus", "--sync", str(box))
        self.xdotool("key", "Return")

    def wait_for_exit(self, process, limit_s):
        try:
            return process.wait(limit_s)
        except subprocess.TimeoutExpired:
            self.fail("the program did not end within %s s" % limit_s)

    def test_second_copy_reports_the_taken_port_and_exits_with_zero(self):
        first = self.start_program()
        self.wait_for_window(first, DISCOVERY_TITLE)

        second = self.start_program()
        box = self.wait_for_window(second, ERROR_BOX_TITLE)
        # The second copy waits on its box and shows no discovery window.
        time.sleep(0.3)
        self.assertIsNone(second.poll())
        self.assertEqual(self.xdotool("search", "--all", "--onlyvisible", "--pid", str(second.pid),
                                      "--name", "Configuration Utility"), [])
        self.answer(box)
        self.assertEqual(self.wait_for_exit(second, WAIT_S), 0)
        self.assertIsNone(first.poll(), "the first copy keeps running")

    def test_search_with_no_network_up_shows_a_box_and_the_program_goes_on(self):
        # A namespace of its own with no interface up, not even loopback.
        program = self.start_program("unshare", "--net")
        window = self.wait_for_window(program, DISCOVERY_TITLE)
        self.xdotool("mousemove", "--window", str(window), *map(str, SEARCH_BUTTON_CENTRE), "click", "1")
        self.answer(self.wait_for_window(program, ERROR_BOX_TITLE))
        time.sleep(0.3)
        self.assertIsNone(program.poll(), "the program goes on after the box")
        self.x11.request_close(window)
        self.assertEqual(self.wait_for_exit(program, 3), 0)

    def test_closing_the_discovery_window_ends_the_program_with_zero(self):
        program = self.start_program()
        window = self.wait_for_window(program, DISCOVERY_TITLE)
        self.x11.request_close(window)
        # At once: nothing else is asked to close first.
        self.assertEqual(self.wait_for_exit(program, 3), 0)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit("usage: test_program_exits.py PATH/TO/q70config")
    PROGRAM = sys.argv.pop(1)
    unittest.main(verbosity=2)
