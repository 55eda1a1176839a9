"""What the wizard pages do when a person works them: the password page's
wrong entries, declining the licence, the folder page's drive check and
space lines, the summary page's end choices, a walk with the keyboard alone,
and the pages at 144 dots per inch. Installers made by the builder, started
without /a and driven through the UI driver."""

import json
import re
import subprocess
import threading
import time

from install_fixture import STAMP, InstallTestCase
from program_fixture import WORK
from wine_env import build_dir, dialogs, message_box_text, screenshot, wait_until
from wizard_pages import PageChecks, check, close, control, dialog_base_units, expected_rect, key, wait_gone
from wizard_templates import TEMPLATES

IDOK = 1
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
TOOL = {"files/tool.txt": b"tool\r\n"}
BYTE_SIZE = re.compile(r"^(\d+ bytes|\d+\.\d\d (KB|MB|GB|TB))$")


def project(name: str, flags: str = "", more: str = "", product: str = "") -> str:
    """A product installed into C:\\<name>, without the background window;
    `more` holds further tables."""
    return ('[product]\nname = "%s"\nversion = "1.0"\n%s\n'
            '[folders]\ninstall = "C:\\\\%s"\n'
            '[flags]\nno_background_window = true\n%s\n%s\n'
            '[[files]]\nsource = "files/**"\n'
            '[build]\nstamp = %s\n' % (name, product, name, flags, more, STAMP))


def language_rows(setup_path) -> dict:
    """The language strings of a setup by language name, "<product>" replaced."""
    report = json.loads(subprocess.run([str(build_dir() / "brennick-build"), "inspect", str(setup_path)],
                                       check=True, capture_output=True, text=True).stdout)
    settings = report["settings"]
    name = settings["ProductName"]
    return {language: [row[index].replace("<product>", name) for row in settings["Messages"]]
            for index, language in enumerate(settings["LanguageNames"])}


def byte_size(n: int) -> str:
    """The program's wording of a byte count."""
    if n < 1024:
        return "%d bytes" % n
    for power, unit in ((2, "KB"), (3, "MB"), (4, "GB")):
        if n < 1024 ** power:
            return "%.2f %s" % (n / 1024 ** (power - 1), unit)
    return "%.2f TB" % (n / 1024 ** 4)


def required_space(sizes: list, unit: int) -> int:
    """Each file rounded up to whole clusters, summed."""
    return sum(-(-size // unit) * unit for size in sizes if size > 0)


class PageTestCase(PageChecks, InstallTestCase):
    arch = "win64"

    def page(self, launched, text: str, timeout_ms: int = 30000) -> dict:
        """The one dialog of the process that shows `text`."""
        found = [w for w in dialogs(self.ui.windows(launched.pid, wait_class="#32770", wait_text=text,
                                                    timeout_ms=timeout_ms))
                 if text in w["caption"] or any(text in c["text"] for c in w["controls"])]
        self.assertEqual(len(found), 1, "not one dialog with %r: %r" % (text, found))
        return found[0]

    def assert_focus(self, launched, text: str, expected: int) -> None:
        """The control `expected` of the page with `text` has the keyboard
        focus, within a few seconds: a page that has just opened, or come
        back from a message box, may not be active yet."""
        seen = {}

        def settled():
            seen["ids"] = [c["id"] for c in self.page(launched, text)["controls"] if c["focused"]]
            return seen["ids"] == [expected]

        wait_until(settled, timeout=10)
        self.assertEqual(seen["ids"], [expected], "focus on the page with %r" % text)

    def assert_box(self, launched, caption: str, text: str) -> None:
        """The message box with `text` is up, titled `caption`; OK closes it."""
        box = self.page(launched, text)
        self.assertEqual((box["caption"], message_box_text(box)), (caption, text))
        self.ui.click(launched.pid, IDOK)


class WizardPages(PageTestCase):
    def test_password_page(self):
        setup = self.build("locked", project("Locked", "no_greeting = true\nask_install_dir = true",
                                             product='password = "Open Sesame"'), TOOL)
        en = self.messages(setup)
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            page = self.page(launched, en[76])
            self.assert_layout(page, "EnterPassword")
            self.assertEqual(page["caption"], en[75])
            self.assertEqual(control(page, 1001)["text"], "OK")

            # A wrong entry (the letter case counts): half a second, then the
            # error box over the page, which is out of reach while it is up.
            self.ui.type(launched.pid, 1019, "open sesame")
            seen = {}

            def wait_for_box():
                seen["windows"] = self.ui.windows(launched.pid, wait_class="#32770", wait_text=en[102])
                seen["at"] = time.monotonic()

            waiter = threading.Thread(target=wait_for_box)
            waiter.start()
            clicked = time.monotonic()
            self.ui.click(launched.pid, 1001)
            waiter.join()
            self.assertGreaterEqual(seen["at"] - clicked, 0.5)
            box = [w for w in dialogs(seen["windows"]) if w["caption"] == en[21]]
            self.assertEqual([message_box_text(w) for w in box], [en[102]])
            self.assertFalse(self.page(launched, en[76])["enabled"])
            self.ui.click(launched.pid, IDOK)
            self.assert_focus(launched, en[76], 1019)

            # The right entry goes on to the next page.
            self.ui.type(launched.pid, 1019, "Open Sesame")
            self.ui.click(launched.pid, 1001)
            self.page(launched, en[11])
            self.ui.click(launched.pid, 1003)
            self.assert_box(launched, en[65], en[98])
            self.assertEqual(launched.wait(), 1)
        finally:
            launched.kill()

        # Cancel on the password page ends the run at once, without a message.
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            self.page(launched, en[76])
            self.ui.click(launched.pid, 1003)
            self.assertEqual(launched.wait(timeout=30), 1)
        finally:
            launched.kill()
        self.assertFalse(self.path("C:\\Locked").exists())

    def temp_files(self) -> set:
        temp = self.prefix.wine("cmd", "/c", "echo %TEMP%", text=True, check=True).stdout.strip()
        folder = self.path(temp)
        self.assertTrue(folder.is_dir(), temp)
        return {str(p.relative_to(folder)) for p in folder.rglob("*")}

    def key_exists(self, key_path: str) -> bool:
        return any(self.prefix.wine("reg", "query", key_path, view).returncode == 0 for view in ("/reg:32", "/reg:64"))

    def test_declining_the_license_cancels(self):
        setup = self.build("declined", project(
            "Declined", "no_greeting = true\nuninstaller = true\nkeep_install_log = true",
            '[[license]]\ntext = "Terms."\n'), TOOL)
        en = self.messages(setup)
        temp_before = self.temp_files()
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            page = self.page(launched, en[47])
            self.assertEqual(control(page, 1003)["text"], en[46])
            self.ui.click(launched.pid, 1003)
            box = self.page(launched, en[98])
            self.assertEqual(self.buttons(box), ["OK"])
            self.assert_box(launched, en[65], en[98])
            self.assertEqual(launched.wait(), 1)
        finally:
            launched.kill()
        self.assertFalse(self.path("C:\\Declined").exists())
        self.assertFalse(self.key_exists(UNINSTALL_KEY + "Declined"))
        self.assertEqual(self.temp_files(), temp_before)

    def test_folder_page_drive_check_and_space_lines(self):
        size = 3000000
        setup = self.build("sized", project("Sized", "no_greeting = true\nask_install_dir = true"),
                           {"files/big.bin": b"\0" * size})
        en = self.messages(setup)
        # Wine reports clusters of 8 sectors of 512 bytes; a drive that does
        # not exist reports none, and the program takes 4096 bytes then.
        required = en[92] + " " + byte_size(required_space([size], 4096))
        self.assertEqual(required, en[92] + " 2.86 MB")
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            page = self.page(launched, en[11])
            self.assertEqual(control(page, 1015)["text"], "C:\\Sized")
            self.assertEqual(control(page, 1036)["text"], required)
            available = control(page, 1037)["text"]
            self.assertTrue(available.startswith(en[93] + " "), available)
            self.assertRegex(available[len(en[93]) + 1:], BYTE_SIZE)

            # The lines follow the text: no drive Q:, no space available.
            self.ui.type(launched.pid, 1015, "Q:\\Nowhere")
            page = self.page(launched, en[11])
            self.assertEqual((control(page, 1036)["text"], control(page, 1037)["text"]), (required, ""))

            # Next: the folder check's message, then the page again.
            self.ui.click(launched.pid, 1001)
            self.assert_box(launched, en[21], en[16].replace("%c", "Q"))
            page = self.page(launched, en[11])
            self.assertEqual(control(page, 1015)["text"], "Q:\\Nowhere")
            self.assertEqual(control(page, 1037)["text"], "")
            self.ui.click(launched.pid, 1003)
            self.assert_box(launched, en[65], en[98])
            self.assertEqual(launched.wait(), 1)
        finally:
            launched.kill()
        self.assertFalse(self.path("C:\\Sized").exists())

    def notepads(self) -> list:
        """The process ids of the log viewers running in the prefix."""
        listing = self.prefix.wine("wmic", "process", "get", "name,processid").stdout.decode("utf-16")
        return [int(line.split()[1]) for line in listing.splitlines() if line.lower().startswith("notepad.exe ")]

    def test_summary_choices(self):
        marks = {name: ('@echo %s> "%%~dp0%s.txt"\r\n' % (name, name)).encode() for name in ("launched", "run", "doc")}
        files = {"files/mark.cmd": marks["launched"], "files/run.cmd": marks["run"], "files/doc.cmd": marks["doc"]}
        setup = self.build("finisher", project(
            "Finisher", "no_greeting = true\nkeep_install_log = true\noffer_view_log = true\n"
            "run_checked = true\ndocument_checked = true",
            '[finish]\nlaunch = "%InstallDir%\\\\mark.cmd"\nrun = "run.cmd"\ndocument = "doc.cmd"\n'), files)
        en = self.messages(setup)
        folder = self.path("C:\\Finisher")
        markers = [folder / (name + ".txt") for name in marks]

        # The boxes in their order and places, ticked as the flags say; the
        # user ticks the rest, and OK carries out every choice.
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            page = self.page(launched, en[42], timeout_ms=60000)
            units = dialog_base_units(page, TEMPLATES["SummaryDlg2"]["size"])
            boxes = [(1025, 84, False), (1023, 83, True), (1029, 87, True), (1027, 85, False)]
            for row, (box_id, label, ticked) in enumerate(boxes):
                box = control(page, box_id)
                self.assertEqual((box["visible"], box["text"], box["checked"]), (True, en[label], ticked), box_id)
                self.assertEqual(box["rect"], expected_rect((4, 32 + row * 14, 275, 9), units), box_id)
            self.assertTrue(check(self.ui, launched.pid, 1025, True)["checked"])
            self.assertTrue(check(self.ui, launched.pid, 1027, True)["checked"])
            self.ui.click(launched.pid, 1001)
            for marker in markers:
                self.assertTrue(wait_until(marker.exists, timeout=30), marker.name)
            self.assertEqual(markers[0].read_bytes(), b"launched\r\n")
            viewers = wait_until(self.notepads, timeout=30)
            self.assertEqual(len(viewers), 1)
            # The viewer holds the standard handles the program passed on:
            # the launcher's report of the exit code ends with it.
            self.prefix.wine("taskkill", "/pid", str(viewers[0]), "/f")
            self.assertEqual(launched.wait(), 1)
        finally:
            launched.kill()
        for marker in markers:
            marker.unlink()

        # Closed by its Close command, the page leaves every choice off,
        # though all were ticked.
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            self.page(launched, en[42], timeout_ms=60000)
            for box_id in (1025, 1027):
                check(self.ui, launched.pid, box_id, True)
            close(self.ui, launched.pid, wait_text=en[42])
            wait_gone(self.ui, launched.pid, en[42])
            time.sleep(2)  # what OK starts shows within a second
            self.assertEqual([m.name for m in markers if m.exists()], [])
            self.assertEqual(self.notepads(), [])
            self.assertEqual(launched.wait(), 1)
        finally:
            launched.kill()

    def test_keyboard_walk(self):
        setup = self.build("keys", project(
            "Keys", "ask_install_dir = true\nask_start_menu = true",
            '[wizard]\nstyle = "picture"\n[languages]\nuse = ["English", "Deutsch"]\n'
            '[[license]]\ntext = "Terms."\n[[readme]]\ntext = "Read me."\n'), TOOL)
        rows = language_rows(self.work / setup)
        en, de = rows["English"], rows["Deutsch"]
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            # Language: DOWN chooses German, and the page speaks it at once.
            self.assert_focus(launched, en[82], 1017)
            key(self.ui, launched.pid, "DOWN", wait_text=en[82])
            page = self.page(launched, de[82])
            self.assertEqual(control(page, 1017)["selected"], 1)
            self.assertEqual(control(page, 1001)["text"], de[48])
            key(self.ui, launched.pid, "ENTER", wait_text=de[82])
            key(self.ui, launched.pid, "ENTER", wait_text=de[1])

            # Licence: no default button; TAB leaves the text for Accept.
            self.assert_focus(launched, de[47], 1005)
            key(self.ui, launched.pid, "TAB", wait_text=de[47])
            self.assert_focus(launched, de[47], 1001)
            key(self.ui, launched.pid, "ENTER", wait_text=de[47])
            key(self.ui, launched.pid, "ENTER", wait_text=de[51])

            # Folder: the focus goes round in the template's order, from the
            # folder text to Browse, Next, Cancel and back.
            self.assert_focus(launched, de[11], 1015)
            for control_id in (1013, 1001, 1003, 1015):
                key(self.ui, launched.pid, "TAB", wait_text=de[11])
                self.assert_focus(launched, de[11], control_id)
            key(self.ui, launched.pid, "C:\\KeyWalk", wait_text=de[11])
            self.assertEqual(control(self.page(launched, de[11]), 1015)["text"], "C:\\KeyWalk")
            key(self.ui, launched.pid, "ENTER", wait_text=de[11])

            key(self.ui, launched.pid, "ENTER", wait_text=de[88])
            self.page(launched, de[42], timeout_ms=60000)
            key(self.ui, launched.pid, "ENTER", wait_text=de[42])
            self.assertEqual(launched.wait(), 1)
        finally:
            launched.kill()
        self.assertEqual(self.path("C:\\KeyWalk\\tool.txt").read_bytes(), b"tool\r\n")

        # ESC on a page cancels as its Cancel button does.
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            key(self.ui, launched.pid, "ENTER", wait_text=en[82])
            key(self.ui, launched.pid, "ENTER", wait_text=en[1])
            key(self.ui, launched.pid, "ALT+A", wait_text=en[47])
            key(self.ui, launched.pid, "ESC", wait_text=en[51])
            box = self.page(launched, en[98])
            self.assertEqual((box["caption"], message_box_text(box)), (en[65], en[98]))
            key(self.ui, launched.pid, "ENTER", wait_text=en[98])
            self.assertEqual(launched.wait(), 1)
        finally:
            launched.kill()


class WizardPages144(PageTestCase):
    """One walk through the pages in the picture look at 144 dots per inch."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.prefix.wine("reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                        "/d", "144", "/f", check=True)

    def test_pages_at_144_dpi(self):
        setup = self.build("dpi", project(
            "Scaled", "uninstaller = true\nask_install_dir = true\nask_start_menu = true\n"
            "keep_install_log = true\noffer_view_log = true\nbutton_pictures = true",
            '[wizard]\nstyle = "picture"\n[languages]\nuse = ["English", "Deutsch"]\n'
            '[[license]]\ntext = "Terms."\n[[readme]]\ntext = "Read me."\n',
            product='password = "pw"'), TOOL)
        en = language_rows(self.work / setup)["English"]
        # Each page: a text it shows, its template, and how it is left.
        walk = [("language", en[82], "LanguageDlg", None), ("greeting", en[1], "GreetingDlg", None),
                ("password", en[76], "EnterPassword", "pw"), ("license", en[47], "LicenseDlg", None),
                ("readme", en[51], "ReadmeDlg", None), ("folder", en[11], "ChooseDirDlg", None),
                ("start-menu", en[88], "StartMenuDlg", None), ("summary", en[42], "SummaryDlg", None)]
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            for name, text, template, password in walk:
                page = self.page(launched, text, timeout_ms=60000)
                self.assertEqual(page["dpi"], 144, name)
                screenshot("wizard-144-" + name)
                self.assert_layout(page, template)
                if name == "summary":
                    units = dialog_base_units(page, TEMPLATES[template]["size"])
                    self.assertEqual(control(page, 1027)["rect"], expected_rect((102, 52, 275, 9), units))
                if password:
                    self.ui.type(launched.pid, 1019, password)
                self.ui.click(launched.pid, 1001)
            self.assertEqual(launched.wait(), 1)
        finally:
            launched.kill()
        self.assertEqual(self.path("C:\\Scaled\\tool.txt").read_bytes(), b"tool\r\n")
