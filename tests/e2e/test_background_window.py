"""The full-screen background window as the screen shows it: installers made
by the builder are started without /a, and while their first question sits
in the middle of the screen a screenshot is sampled at known points - the
gradient's edges, the picture's corners, the title's pixels. The uninstaller
shows the same window from the values the installation stored.

The pixels are the point here, so the module's windows get an X server of
their own: on the one the other modules share, their windows could lie over
the sample points."""

import json
import os
import re
import struct
import subprocess
import time
import unittest
from unittest import mock

import wine_env
from install_fixture import STAMP, InstallTestCase
from program_fixture import WORK
from wine_env import dialogs, screenshot, wait_until
from wizard_pages import control, dialog_base_units, expected_rect
from wizard_templates import TEMPLATES

BACKGROUND_CLASS = "SEA Window Class"
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
IDOK, IDCANCEL, IDYES = 1, 2, 6
YELLOW = (255, 255, 0)
RED, GREEN, BLUE, WHITE = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)


class PrivateScreen:
    """An X server for this module alone, of the size the shared one has."""

    def __init__(self):
        read_fd, write_fd = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write_fd)
        with os.fdopen(read_fd) as reader:
            number = reader.readline().strip()
        if not number:
            self.server.kill()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number
        # Every prefix of the module, and its screenshots, use this server.
        self.patch = mock.patch.object(wine_env, "display", lambda: self.display)
        self.patch.start()

    def stop(self) -> None:
        self.patch.stop()
        self.server.terminate()
        try:
            self.server.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.server.kill()
            self.server.wait()


screen = None


def setUpModule():
    global screen
    screen = PrivateScreen()


def tearDownModule():
    screen.stop()


def bmp(rows: list) -> bytes:
    """A 24-bit BMP file of pixel rows (top row first) of (red, green, blue)."""
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) // 4 * 4
    pixels = b"".join(bytes(v for r, g, b in row for v in (b, g, r)).ljust(stride, b"\0") for row in reversed(rows))
    return (struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54) +
            struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0) + pixels)


class Shot:
    """The pixels of a screenshot."""

    def __init__(self, png):
        data = subprocess.run(["convert", str(png), "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        self.width, self.height = int(header.group(1)), int(header.group(2))
        self.pixels = data[header.end():]

    def __call__(self, x: int, y: int) -> tuple:
        at = (y * self.width + x) * 3
        return tuple(self.pixels[at:at + 3])

    def box_of(self, colour: tuple, area: tuple, tolerance: int = 40) -> tuple:
        """The bounding box (left, top, right, bottom; right and bottom
        inclusive) of the pixels near `colour` in `area` (left, top, right,
        bottom, exclusive); None when there are none."""
        left, top, right, bottom = area
        xs, ys = [], []
        for y in range(top, bottom):
            row = self.pixels[(y * self.width + left) * 3:(y * self.width + right) * 3]
            for i in range(0, len(row), 3):
                if all(abs(row[i + c] - colour[c]) <= tolerance for c in range(3)):
                    xs.append(left + i // 3)
                    ys.append(y)
        return (min(xs), min(ys), max(xs), max(ys)) if xs else None


def rgb(text: str) -> tuple:
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def gradient_at(top: tuple, bottom: tuple, y: int, height: int) -> tuple:
    return tuple(t + (b - t) * y / height for t, b in zip(top, bottom))


def product(name: str, background: str, flags: str = "") -> str:
    return ('[product]\nname = "%s"\nversion = "1.0"\n'
            '[folders]\ninstall = "C:\\\\%s"\n'
            '[flags]\n%s\n'
            '[background]\ntaskbar_text = "%s taskbar"\n%s\n'
            '[[files]]\nsource = "files/**"\n'
            '[build]\nstamp = %s\n' % (name, name, flags, name, background, STAMP))


TOP, BOTTOM = "#1030A0", "#A03010"
GRADIENT = 'top_color = "%s"\nbottom_color = "%s"\n' % (TOP, BOTTOM)


def title(text: str, position: str) -> str:
    return ('title = "%s"\ntitle_position = "%s"\ntitle_size = 2\ntitle_color = "#FFFF00"\n' % (text, position))


# Two by two pixels, stretched over the middle half of the window.
PICTURE = bmp([[RED, GREEN], [BLUE, WHITE]])
SHORT_TITLE = "Short"
LONG_TITLE = " ".join([SHORT_TITLE] * 15)


class BackgroundWindow(InstallTestCase):
    arch = "win64"

    def assert_near(self, actual: tuple, expected: tuple, what: str, tolerance: int = 3) -> None:
        self.assertTrue(all(abs(a - e) <= tolerance for a, e in zip(actual, expected)),
                        "%s: %r, expected %r" % (what, actual, tuple(round(e) for e in expected)))

    def background(self, windows: list) -> dict:
        found = [w for w in windows if w["class"] == BACKGROUND_CLASS]
        self.assertEqual(len(found), 1, windows)
        return found[0]

    def shot(self, name: str, ready) -> Shot:
        """A screenshot once `ready(shot)` holds (the window may still be
        painting when its question shows), else the last one."""
        deadline = time.monotonic() + 10
        while True:
            taken = Shot(screenshot(name))
            if ready(taken) or time.monotonic() > deadline:
                return taken
            time.sleep(0.2)

    def first_question(self, name: str, background: str, files: dict = None, flags: str = "", ready=None) -> tuple:
        """Starts an installer of that background, lists its windows while its
        greeting box waits in the middle of the screen, takes a screenshot
        once `ready(shot)` holds (without `ready`, none), and cancels it.
        Returns (the windows as the UI driver lists them, the shot)."""
        setup = self.build(name.lower().replace(" ", "-"), product(name, background, flags),
                           dict(files or {}, **{"files/tool.txt": b"tool\r\n"}))
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            windows = self.ui.windows(launched.pid, wait_class="#32770")
            self.assertEqual(len(dialogs(windows)), 1, windows)
            shot = self.shot("background-" + name.lower().replace(" ", "-"), ready) if ready else None
            self.ui.click(launched.pid, IDCANCEL)
            self.assertEqual(launched.wait(), 1)
        finally:
            launched.kill()
        return windows, shot

    def test_window_title_and_the_flag_that_leaves_the_window_out(self):
        windows, _ = self.first_question("Titled Tool", GRADIENT)
        self.assertEqual(self.background(windows)["caption"], "Titled Tool taskbar")
        windows, _ = self.first_question("Windowless Tool", GRADIENT, flags="no_background_window = true")
        self.assertEqual([w["class"] for w in windows], ["#32770"])

    def test_gradient_picture_and_title_top_left(self):
        top, bottom = rgb(TOP), rgb(BOTTOM)
        background = GRADIENT + title(SHORT_TITLE, "top_left") + (
            'bitmap = "picture.bmp"\nbitmap_size = 50\nbitmap_stretch = "stretch"\n')
        windows, shot = self.first_question("Gradient Tool", background, {"picture.bmp": PICTURE},
                                            ready=lambda s: s(s.width - 10, 0) != (0, 0, 0))
        window = self.background(windows)
        left, top_edge, right, bottom_edge = window["rect"]
        width, height = right - left, bottom_edge - top_edge
        self.assertEqual(window["client"], [width, height])
        self.assertEqual((width, height), (shot.width, shot.height), "the window covers the work area")

        # The gradient, away from the title and the picture: the top colour
        # on the first row, the bottom colour on the last, between them halfway.
        for x in (right - 10, left + width // 2):
            self.assert_near(shot(x, top_edge), top, "top edge at x %d" % x)
            self.assert_near(shot(x, bottom_edge - 1), bottom, "bottom edge at x %d" % x)
        self.assert_near(shot(right - 10, top_edge + height // 2), gradient_at(top, bottom, height // 2, height),
                         "middle row")

        # The picture over the middle half, the right way up; the gradient just outside.
        x0, y0, x1, y1 = left + width // 4, top_edge + height // 4, left + width * 3 // 4, top_edge + height * 3 // 4
        inside = {(x0 + 3, y0 + 3): RED, (x1 - 4, y0 + 3): GREEN, (x0 + 3, y1 - 4): BLUE, (x1 - 4, y1 - 4): WHITE}
        for (x, y), colour in inside.items():
            self.assertEqual(shot(x, y), colour, "picture at %d, %d" % (x, y))
        for x, y in ((x0 - 4, y0 + 3), (x0 + 3, y0 - 4), (x1 + 3, y1 - 4), (x1 - 4, y1 + 3)):
            self.assert_near(shot(x, y), gradient_at(top, bottom, y - top_edge, height), "outside at %d, %d" % (x, y))

        # The title at the top left, from the margins (a 200th of the width,
        # a 400th of the height) on.
        box = shot.box_of(YELLOW, (left, top_edge, right, top_edge + height // 4))
        self.assertIsNotNone(box, "no title")
        self.assertEqual(box, shot.box_of(YELLOW, (left, top_edge, right, bottom_edge)), "title pixels elsewhere")
        mx, my = width // 200, height // 400
        self.assertTrue(left + mx <= box[0] <= left + mx + 10, box)
        self.assertTrue(top_edge + my <= box[1] <= top_edge + my + 30, box)
        self.assertLess(box[2], left + width // 2, box)

    def test_plain_fill_and_long_titles_drawn_smaller(self):
        colour = rgb("#336699")
        plain = 'top_color = "#336699"\nbottom_color = "#336699"\n'
        boxes = {}
        for name, text in (("Short Title", SHORT_TITLE), ("Long Title", LONG_TITLE)):
            windows, shot = self.first_question(name, plain + title(text, "bottom_right"),
                                                ready=lambda s: s(10, 10) == colour)
            window = self.background(windows)
            left, top_edge, right, bottom_edge = window["rect"]
            width, height = right - left, bottom_edge - top_edge
            # One colour everywhere away from the box in the middle and the title.
            for x in (left, left + width // 8, left + width // 2, right - width // 8, right - 1):
                for y in (top_edge, top_edge + height // 8, bottom_edge - height // 8 - 40):
                    self.assertEqual(shot(x, y), colour, "%s at %d, %d" % (name, x, y))
            self.assertEqual(shot(left, bottom_edge - 1), colour)
            box = shot.box_of(YELLOW, (left, top_edge + height * 3 // 4, right, bottom_edge))
            self.assertIsNotNone(box, "no title")
            self.assertEqual(box, shot.box_of(YELLOW, (left, top_edge, right, bottom_edge)), "title pixels elsewhere")
            # Right-aligned to the right margin, above the bottom margin.
            mx, my = width // 200, height // 400
            self.assertTrue(right - mx - 10 <= box[2] < right - mx, "%s %r" % (name, box))
            self.assertTrue(bottom_edge - my - 30 <= box[3] < bottom_edge - my, "%s %r" % (name, box))
            boxes[name] = box

        short, long = boxes["Short Title"], boxes["Long Title"]
        short_height, long_height = short[3] - short[1] + 1, long[3] - long[1] + 1
        # Fifteen words do not fit at 52 points: the font shrinks until they
        # do, so the same letters come out smaller, and the line uses the width.
        self.assertLess(long_height, short_height * 0.75, (short, long))
        self.assertGreater(long_height, 8, long)
        self.assertGreater(long[2] - long[0], width // 2, long)
        self.assertGreater(long[0], left + mx, long)

    def box(self, launched, text: str) -> dict:
        """The one dialog that shows `text`."""
        windows = self.ui.windows(launched.pid, wait_class="#32770", wait_text=text)
        found = [w for w in dialogs(windows) if any(c["text"] == text for c in w["controls"])]
        self.assertEqual(len(found), 1, windows)
        return found[0]

    def assert_layout(self, window: dict, template: str) -> None:
        table = TEMPLATES[template]
        units = dialog_base_units(window, table["size"])
        for control_id, rect in table["controls"].items():
            self.assertEqual(control(window, control_id)["rect"], expected_rect(rect, units),
                             "%s control %d" % (template, control_id))

    def test_interactive_uninstall_shows_background_and_progress(self):
        name = "Shown Uninstall"
        project = product(name, GRADIENT + title("Removing", "top_left"),
                          flags="uninstaller = true\nshow_progress = true") + (
            '[uninstall]\nsubdir = "uninstall"\n')
        files = {"files/docs/guide.txt": b"guide\r\n", "files/tool.exe.txt": b"tool\r\n"}
        setup = self.build("shown-uninstall", project, files)
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        messages = self.messages(setup)
        folder = "C:\\" + name
        self.assertTrue(self.path(folder + "\\docs\\guide.txt").exists())
        command = self.registry_value(UNINSTALL_KEY + name, "UninstallString")
        self.assertNotIn("/a", command)

        launched = self.prefix.start(command, cwd=WORK)
        try:
            # The confirmation, over the background window drawn from the stored values.
            windows = self.ui.windows(launched.pid, wait_class="#32770")
            question = dialogs(windows)
            self.assertEqual(len(question), 1, windows)
            self.assertEqual((question[0]["caption"], self.box_text(question[0])), (messages[55], messages[53]))
            window = self.background(windows)
            self.assertEqual(window["caption"], name + " taskbar")  # the stored TaskbarText
            left, top_edge, right, bottom_edge = window["rect"]
            shot = self.shot("uninstall-background", lambda s: s(right - 10, top_edge) != (0, 0, 0))
            self.assert_near(shot(right - 10, top_edge), rgb(TOP), "top edge")
            self.assert_near(shot(right - 10, bottom_edge - 1), rgb(BOTTOM), "bottom edge")
            self.assertIsNotNone(shot.box_of(YELLOW, (left, top_edge, left + (right - left) // 2, top_edge + 100)))

            # The progress page comes and goes within a second or two: the
            # driver is up and waiting for it before Yes is pressed.
            progress = subprocess.Popen(
                [self.prefix.loader, "C:\\tools\\uidriver.exe", "windows", str(launched.pid), "--wait-text",
                 messages[71], "--timeout", "30000"],
                env=self.prefix.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
            time.sleep(1)
            self.ui.click(launched.pid, IDYES)
            out, err = progress.communicate(timeout=60)
            self.assertEqual(progress.returncode, 0, err)
            windows = json.loads(out)
            pages = [w for w in dialogs(windows) if any(c["text"] == messages[71] for c in w["controls"])]
            self.assertEqual(len(pages), 1, windows)
            page = pages[0]
            self.background(windows)
            self.assert_layout(page, "ProgressDlg3")
            self.assertEqual(page["caption"], messages[55])
            self.assertEqual(control(page, 1009)["text"], messages[71])
            self.assertEqual(control(page, 1035)["text"], messages[55])
            self.assertFalse(control(page, 1003)["enabled"])
            self.assertEqual(control(page, 1007)["range"], [0, 100])

            done = self.box(launched, messages[15])
            self.assertEqual((done["caption"], self.box_text(done)), (messages[34], messages[15]))
            self.ui.click(launched.pid, IDOK)
            self.assertEqual(launched.wait(), 0)
        finally:
            launched.kill()
        self.assertIsNone(self.registry_value(UNINSTALL_KEY + name, "DisplayName"))
        self.assertFalse(self.path(folder + "\\docs").exists())
        self.assertFalse(self.path(folder + "\\tool.exe.txt").exists())
        # The self-deleting batch takes the uninstaller and the folder a few seconds later.
        self.assertTrue(wait_until(lambda: not self.path(folder).exists(), timeout=40), folder + " is still there")
        self.assertTrue(wait_until(lambda: not list((self.prefix.drive_c / "users").rglob("delunins.bat")),
                                   timeout=20))


if __name__ == "__main__":
    unittest.main()
