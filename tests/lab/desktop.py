"""The real q70config binary on a private X display, driven from outside as
a user's desktop would drive it: windows found by their titles, keys typed
into the focused window, buttons clicked where their forms place them, and
windows asked to close as a window manager's close button does."""

import ctypes
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.request
import xml.etree.ElementTree

WAIT_S = 15
UI_FOLDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "ui")


class Display:
    """Xvfb on a display number of its own choosing."""

    def __init__(self):
        read, write = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-screen", "0", "1024x768x24"],
            pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as numbers:
            number = numbers.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number

    def close(self):
        self.server.terminate()
        self.server.wait(5)


class X11:
    """The one X call xdotool lacks: asking a window to close, as a window
    manager's close button does (WM_DELETE_WINDOW)."""

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                    ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                    ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        pass

    Event._fields_ = [("message", ClientMessage), ("pad", ctypes.c_long * 24)]

    def __init__(self, display_name):
        self.lib = ctypes.cdll.LoadLibrary("libX11.so.6")
        self.lib.XOpenDisplay.restype = ctypes.c_void_p
        self.lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.lib.XInternAtom.restype = ctypes.c_ulong
        self.lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.lib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                        ctypes.c_void_p]
        self.lib.XFlush.argtypes = [ctypes.c_void_p]
        self.lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.display = self.lib.XOpenDisplay(display_name.encode())
        if not self.display:
            raise RuntimeError("cannot open display " + display_name)

    def request_close(self, window):
        protocols = self.lib.XInternAtom(self.display, b"WM_PROTOCOLS", 0)
        delete = self.lib.XInternAtom(self.display, b"WM_DELETE_WINDOW", 0)
        event = X11.Event()
        event.message.type = 33  # ClientMessage
        event.message.window = window
        event.message.message_type = protocols
        event.message.format = 32
        event.message.data[0] = delete
        event.message.data[1] = 0  # CurrentTime
        self.lib.XSendEvent(self.display, window, 0, 0, ctypes.byref(event))
        self.lib.XFlush(self.display)

    def close(self):
        self.lib.XCloseDisplay(self.display)

    def cursor_image(self):
        """The pointer's current image, as bytes to compare."""
        class CursorImage(ctypes.Structure):
            _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                        ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                        ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                        ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]
        fixes = ctypes.cdll.LoadLibrary("libXfixes.so.3")
        fixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
        fixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
        image = fixes.XFixesGetCursorImage(self.display).contents
        return bytes(ctypes.string_at(image.pixels, image.width * image.height * ctypes.sizeof(ctypes.c_ulong)))


class Program:
    """One running copy of the program on a display, with the xdotool calls
    a test needs."""

    def __init__(self, path, display, workdir):
        self.display = display
        self.env = dict(os.environ, DISPLAY=display.name, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.process = subprocess.Popen([path], cwd=workdir, env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(5)

    def running(self):
        return self.process.poll() is None

    def xdotool(self, *arguments):
        done = subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True, text=True,
                              timeout=10)
        return done.stdout.split()

    def visible_windows(self):
        """Titles of the program's visible windows, the front one first."""
        shown = set(self.xdotool("search", "--all", "--onlyvisible", "--pid", str(self.process.pid),
                                 "--name", "."))
        tree = subprocess.run(["xwininfo", "-root", "-children"], env=self.env, capture_output=True,
                              text=True, timeout=10).stdout
        titles = []
        for line in tree.splitlines():  # listed from the top of the stack down
            parts = line.split('"')
            if len(parts) >= 2 and line.strip().startswith("0x") and str(int(parts[0].split()[0], 16)) in shown:
                titles.append(parts[1])
        return titles

    def wait_for_window(self, title, limit_s=WAIT_S):
        """The visible window with exactly that title."""
        deadline = time.monotonic() + limit_s
        while time.monotonic() < deadline:
            if not self.running():
                raise AssertionError("the program ended before showing " + title)
            for window in self.xdotool("search", "--all", "--onlyvisible", "--pid", str(self.process.pid),
                                       "--name", "^%s$" % title):
                return int(window)
            time.sleep(0.1)
        raise AssertionError("no window titled %r; visible: %r" % (title, self.visible_windows()))

    def keys(self, window, *keys):
        self.xdotool("windowfocus", "--sync", str(window))
        self.xdotool("key", "--delay", "30", *keys)

    def type(self, window, text):
        self.xdotool("windowfocus", "--sync", str(window))
        self.xdotool("type", "--delay", "30", text)

    def click(self, window, x, y):
        self.xdotool("mousemove", "--window", str(window), str(x), str(y), "click", "1")

    def answer_box(self, title):
        """Presses OK on the box with that title; returns once it is gone."""
        box = self.wait_for_window(title)
        self.keys(box, "Return")
        deadline = time.monotonic() + WAIT_S
        while str(box) in self.xdotool("search", "--all", "--onlyvisible", "--pid", str(self.process.pid),
                                       "--name", "^%s$" % title):
            if time.monotonic() > deadline:
                raise AssertionError("the box %r stayed" % title)
            time.sleep(0.05)


def form_rect(form, name):
    """Where a form places a control: (x, y, width, height) in its window,
    the offsets of the boxes it sits in added."""
    root = xml.etree.ElementTree.parse(os.path.join(UI_FOLDER, form)).getroot()

    def find(widget, x, y):
        rect = widget.find("property[@name='geometry']/rect")
        if rect is not None and widget is not top:
            x += int(rect.find("x").text)
            y += int(rect.find("y").text)
        if widget.get("name") == name:
            return (x, y, int(rect.find("width").text), int(rect.find("height").text))
        for child in widget.findall("widget"):
            found = find(child, x, y)
            if found:
                return found
        return None

    top = root.find("widget")
    found = find(top, 0, 0)
    if not found:
        raise KeyError("%s has no control %s" % (form, name))
    return found


class SimControl:
    """The control channel of a fake appliance in the lab, by its name."""

    def __init__(self, name):
        self.base = "http://" + os.environ["SIM_%s_CONTROL" % name.upper()]

    def get(self, path):
        with urllib.request.urlopen(self.base + path, timeout=5) as answer:
            return answer.read().decode().strip()

    def post(self, path, body=""):
        with urllib.request.urlopen(self.base + path, data=body.encode(), timeout=5) as answer:
            return answer.read().decode().strip()


class DesktopTest(unittest.TestCase):
    """A private X display for the whole test class, and a working folder
    without a language file (English texts)."""

    @classmethod
    def setUpClass(cls):
        cls.display = Display()
        cls.x11 = X11(cls.display.name)
        cls.workdir = tempfile.mkdtemp()

    @classmethod
    def tearDownClass(cls):
        cls.x11.close()
        cls.display.close()
        shutil.rmtree(cls.workdir, ignore_errors=True)


class ApplianceFlowTest(DesktopTest):
    """A page's flow against the lab's one appliance, nas1: reset to its
    defaults (then `prepare_appliance`), the program started, and the moves
    and counts every such flow needs. The test's main sets `program_path`."""

    program_path = None
    DISCOVERY = "Vantrel Q70 Configuration Utility - Version 1.7.2"
    LOGIN = "Remote Device Login"
    MANAGEMENT = "Management 192.168.1.20"

    def setUp(self):
        self.nas = SimControl("nas1")
        self.nas.post("/reset-defaults")
        self.prepare_appliance()
        self.program = Program(self.program_path, self.display, self.workdir)
        self.discovery = self.program.wait_for_window(self.DISCOVERY)

    def prepare_appliance(self):
        pass

    def tearDown(self):
        self.program.stop()

    def log_in(self):
        """Searches, picks nas1 and logs in; returns the management window."""
        x, y, width, height = form_rect("Mainform/TForm1.ui", "ScanBtn")
        self.program.click(self.discovery, x + width // 2, y + height // 2)
        self.wait_until(lambda: int(self.nas.get("/discovery/count")) > 0, "the appliance got no search")
        time.sleep(0.3)  # its reply on the way into the list
        x, y, width, _ = form_rect("Mainform/TForm1.ui", "HDListView")
        self.program.click(self.discovery, x + width // 4, y + 27)
        login = self.program.wait_for_window(self.LOGIN)
        self.program.keys(login, "ctrl+a")
        self.program.type(login, "admin")
        self.program.keys(login, "Return")
        return self.program.wait_for_window(self.MANAGEMENT)

    def wait_until(self, condition, why, limit_s=WAIT_S):
        deadline = time.monotonic() + limit_s
        while not condition():
            self.assertLess(time.monotonic(), deadline, why)
            time.sleep(0.1)

    def sent(self, command_type):
        return int(self.nas.get("/requests/count/" + command_type))

    def request_lines(self, most=400):
        count = int(self.nas.get("/requests/count"))
        return [self.nas.get("/requests/%d" % n).split("\n")[0] for n in range(min(count, most))]

    def status_reads(self):
        return sum("/utility_use.htm" in line for line in self.request_lines())

    def picture_of_dialog(self, dialog, name):
        """A picture of a small dialog for the user guide, when asked for
        (Q70_DIALOG_PICTURES names the folder)."""
        folder = os.environ.get("Q70_DIALOG_PICTURES")
        if folder:
            subprocess.run(["import", "-window", str(dialog), os.path.join(folder, "dialog-%s.png" % name)],
                           env=self.program.env, check=True, timeout=20)


def run_flow(test_class):
    """The main of a page's flow: `test.py PATH/TO/q70config`."""
    if len(sys.argv) < 2:
        sys.exit("usage: %s PATH/TO/q70config" % os.path.basename(sys.argv[0]))
    test_class.program_path = sys.argv.pop(1)
    unittest.main(verbosity=2)
