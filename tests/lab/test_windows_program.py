#!/usr/bin/python3
"""The Windows program, q70config.exe, under wine on a private X display in
the workstation of a lab, driven from outside as a user would, against the
fake appliance NAS1: the discovery window appears, a search lists the
appliance, picking it opens the login window, and logging in opens the
management window on its Status tab, whose picture is saved.

Run it in a lab host with the appliance (tools/test-windows.sh does):
    tools/lab/with-appliances.sh --appliance nas1=192.168.1.20/24 -- \\
        test_windows_program.py PATH/TO/q70config.exe PICTURE.png
It also saves the discovery window with its list beside the picture
(PICTURE-discovery.png).
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.request

from desktop import Display

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, "..", "..", "tools", "wine-run")
PROGRAM = None
PICTURE = None
DISCOVERY_TITLE = "Vantrel Q70 Configuration Utility - Version 1.7.2"
LOGIN_TITLE = "Remote Device Login"
START_S = 90  # a wine prefix's first start in a namespace takes a while
WAIT_S = 20
# Places in the windows' fixed layouts (client coordinates).
SEARCH_BUTTON = (234, 267)
FIRST_ROW = (60, 56)


class Appliance:
    """The fake appliance's control channel (never through a proxy)."""

    def __init__(self, control):
        self.base = "http://" + control
        self.opener = urllib.request.build_opener(urllib.request.ProxyHandler({}))

    def get(self, path):
        with self.opener.open(self.base + path, timeout=3) as answer:
            return answer.read().decode("utf-8", "replace")

    def post(self, path, body=b""):
        with self.opener.open(urllib.request.Request(self.base + path, data=body, method="POST"),
                              timeout=3) as answer:
            return answer.read().decode("utf-8", "replace")

    def requests(self):
        return [self.get("/requests/%d" % i) for i in range(int(self.get("/requests/count")))]


class WindowsProgramTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.address = os.environ["SIM_NAS1_ADDRESS"]
        cls.appliance = Appliance(os.environ["SIM_NAS1_CONTROL"])
        cls.display = Display()
        cls.workdir = tempfile.mkdtemp()  # no language file: English texts
        cls.log = open(os.path.join(cls.workdir, "program.log"), "w+")
        cls.env = dict(os.environ, DISPLAY=cls.display.name, LC_ALL="C.UTF-8")
        cls.env.pop("WAYLAND_DISPLAY", None)
        cls.wine(["--server", "-p"])
        cls.wine(["wineboot"])
        # No Windows fonts under wine: dialogs take DejaVu Sans, not a serif fallback.
        for face in ("Tahoma", "MS Shell Dlg", "MS Shell Dlg 2"):
            cls.wine(["reg", "add", r"HKCU\Software\Wine\Fonts\Replacements", "/v", face,
                      "/d", "DejaVu Sans", "/f"])

    @classmethod
    def tearDownClass(cls):
        cls.wine(["--server", "-k"])
        cls.display.close()
        cls.log.close()
        shutil.rmtree(cls.workdir, ignore_errors=True)

    @classmethod
    def wine(cls, arguments):
        subprocess.run([WINE_RUN, *arguments], env=cls.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)

    def xdotool(self, *arguments):
        done = subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True, text=True,
                              timeout=10)
        return done.stdout.split()

    def program_output(self):
        self.log.seek(0)
        return self.log.read()[-2000:]

    def wait_for_window(self, title, limit_s=WAIT_S):
        deadline = time.monotonic() + limit_s
        while time.monotonic() < deadline:
            self.assertIsNone(self.program.poll(),
                              "the program ended before showing %r:\n%s" % (title, self.program_output()))
            for window in self.xdotool("search", "--onlyvisible", "--name", "^%s$" % title):
                return window
            time.sleep(0.2)
        self.fail("no window titled %r within %s s:\n%s" % (title, limit_s, self.program_output()))

    def wait_until(self, what, check, limit_s=WAIT_S):
        deadline = time.monotonic() + limit_s
        while time.monotonic() < deadline:
            if check():
                return
            time.sleep(0.1)
        self.fail(what)

    def click(self, window, place):
        self.xdotool("mousemove", "--window", window, str(place[0]), str(place[1]), "click", "1")

    def picture(self, window, path):
        subprocess.run(["/usr/bin/import", "-window", window, path], env=self.env, check=True, timeout=30)
        colours = subprocess.run(["/usr/bin/identify", "-format", "%k", path], capture_output=True,
                                 text=True, check=True, timeout=30).stdout
        # A window that drew nothing (or only its background) has a handful.
        self.assertGreater(int(colours), 16, "%s looks blank" % path)

    def test_search_login_and_management(self):
        self.appliance.post("/requests/clear")
        self.appliance.post("/discovery/clear")
        self.program = subprocess.Popen([WINE_RUN, PROGRAM], cwd=self.workdir, env=self.env,
                                        stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log)
        try:
            discovery = self.wait_for_window(DISCOVERY_TITLE, START_S)
            time.sleep(0.5)
            self.click(discovery, SEARCH_BUTTON)
            self.wait_until("the appliance got no discovery request",
                            lambda: int(self.appliance.get("/discovery/count")) > 0)
            time.sleep(1.5)  # the answer, and the list drawn
            self.picture(discovery, PICTURE.replace(".png", "-discovery.png"))

            # The list's first row is the appliance: picking it asks for the login.
            self.click(discovery, FIRST_ROW)
            login = self.wait_for_window(LOGIN_TITLE)
            time.sleep(0.5)
            self.xdotool("windowfocus", "--sync", login)
            # The user name is filled in and the password field has the focus.
            self.xdotool("type", "--delay", "50", "admin")
            self.xdotool("key", "Return")

            # The title names the address taken from the picked row.
            management = self.wait_for_window("Management %s" % self.address.replace(".", r"\."))
            self.wait_until("the Status tab did not read the status page",
                            lambda: any(r.startswith("GET /utility_use.htm") for r in self.appliance.requests()))
            logins = [r for r in self.appliance.requests() if r.startswith("GET /utility_use.htm")]
            self.assertIn("Authorization: Basic YWRtaW46YWRtaW4=", logins[-1])  # admin:admin
            time.sleep(2)  # the tab filled in and drawn
            self.picture(management, PICTURE)
        finally:
            if self.program.poll() is None:
                self.wine(["--server", "-k"])
                self.program.wait(20)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: test_windows_program.py PATH/TO/q70config.exe PICTURE.png")
    PICTURE = os.path.abspath(sys.argv.pop(2))
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
