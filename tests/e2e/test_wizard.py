"""The wizard as a person meets it: installers made by the builder, started
without /a, their pages read and worked through the UI driver in each of
the three looks, and what they leave on the machine."""

import json
import subprocess
import time

from install_fixture import STAMP, InstallTestCase
from program_fixture import WORK
from wine_env import build_dir, dialogs, screenshot
from wizard_pages import PageChecks, check, close, control, dialog_base_units, expected_rect
from wizard_templates import TEMPLATES, template_name

LICENSE = "Lizenz f\u00fcr die Stra\u00dfe: 5 \u20ac\r\nZweite Zeile\r\n"
STYLE_NAMES = {0: "plain", 1: "picture", 2: "banner"}


def project(name: str, style: int, extra: str = "", flags: str = "") -> str:
    return ('[product]\nname = "%s"\nversion = "1.0"\n%s\n'
            '[folders]\ninstall = "%%ProgramsDir%%\\\\%s"\nstart_menu = "%s"\n'
            '[flags]\nno_background_window = true\nuninstaller = true\nask_install_dir = true\n'
            'ask_start_menu = true\nshow_progress = true\nkeep_install_log = true\noffer_view_log = true\n%s\n'
            '[wizard]\nstyle = %d\n'
            '[languages]\nuse = ["English", "Deutsch"]\n'
            '[[license]]\nfile = "license.txt"\n'
            '[[readme]]\ntext = "Read me first."\n'
            '[[files]]\nsource = "files/**"\n'
            '[build]\nstamp = %s\n' % (name, extra, name, name, flags, style, STAMP))


FILES = {"license.txt": b"\xef\xbb\xbf" + LICENSE.encode("utf-8"), "files/tool.txt": b"tool\r\n"}


class Wizard(PageChecks, InstallTestCase):
    arch = "win64"
    dpi = 96

    def shot(self, style: int, page: str) -> None:
        """A picture of the screen for people: wizard-<look>-<page>, with the DPI
        in front where it is not 96."""
        prefix = "wizard-" if self.dpi == 96 else "wizard-%d-" % self.dpi
        screenshot(prefix + STYLE_NAMES[style] + "-" + page)

    def language_rows(self, setup: str) -> dict:
        """The language strings of a setup by language name, "<product>" replaced."""
        report = json.loads(subprocess.run([str(build_dir() / "brennick-build"), "inspect", str(self.work / setup)],
                                           check=True, capture_output=True, text=True).stdout)
        settings = report["settings"]
        name = settings["ProductName"]
        return {language: [row[index].replace("<product>", name) for row in settings["Messages"]]
                for index, language in enumerate(settings["LanguageNames"])}

    def page(self, launched, text: str, timeout_ms: int = 30000) -> dict:
        """The one dialog of the process that shows `text`."""
        windows = self.ui.windows(launched.pid, wait_class="#32770", wait_text=text, timeout_ms=timeout_ms)
        found = dialogs(windows)
        self.assertEqual(len(found), 1, "not one dialog: %r" % windows)
        return found[0]

    def text(self, window: dict, control_id: int) -> str:
        return control(window, control_id)["text"]

    def walk(self, style: int) -> None:
        name = "Wizard " + STYLE_NAMES[style].title()
        setup = self.build("wizard%d" % style, project(name, style), FILES)
        rows = self.language_rows(setup)
        en, de = rows["English"], rows["Deutsch"]
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            # Language: preselected English, and German once chosen.
            page = self.page(launched, en[82])
            self.assertEqual(page["dpi"], self.dpi)
            self.assert_layout(page, template_name("LanguageDlg", style))
            self.assertEqual(control(page, 1017)["items"], ["English", "Deutsch"])
            self.ui.select(launched.pid, 1017, "Deutsch")
            page = self.page(launched, de[82])
            self.assertEqual(self.text(page, 1001).strip(), de[48])
            self.assertEqual(self.text(page, 1003).strip(), de[49])
            self.shot(style, "language")
            self.ui.click(launched.pid, 1001)

            # Greeting: a message box in the plain look, a page in the others.
            if style == 0:
                box = self.page(launched, de[1])
                self.assertEqual(box["caption"], de[65])
                self.ui.click(launched.pid, 1)
            else:
                page = self.page(launched, de[1])
                self.assert_layout(page, template_name("GreetingDlg", style))
                self.assertEqual(self.text(page, 1009), ("\r\n\r\n" if style == 2 else "") + de[1])
                self.shot(style, "greeting")
                self.ui.click(launched.pid, 1001)

            # Licence: the UTF-8 text with its letters.
            page = self.page(launched, de[47])
            self.assert_layout(page, template_name("LicenseDlg", style))
            self.assertEqual(self.text(page, 1005), LICENSE)
            self.assertEqual(self.text(page, 1001).strip(), de[45])
            self.assertEqual(self.text(page, 1003).strip(), de[46])
            self.shot(style, "license")
            self.ui.click(launched.pid, 1001)

            page = self.page(launched, de[51])
            self.assert_layout(page, template_name("ReadmeDlg", style))
            self.assertEqual(self.text(page, 1005), "Read me first.")
            self.ui.click(launched.pid, 1001)

            # Folder: the space lines, then a folder of our choice.
            page = self.page(launched, de[11])
            self.assert_layout(page, template_name("ChooseDirDlg", style))
            self.assertTrue(self.text(page, 1036).startswith(de[92] + " "), self.text(page, 1036))
            self.assertTrue(self.text(page, 1037).startswith(de[93] + " "), self.text(page, 1037))
            self.assertEqual(self.text(page, 1001).strip(), de[48])
            self.shot(style, "folder")
            self.ui.type(launched.pid, 1015, "C:\\" + name)
            self.ui.click(launched.pid, 1001)

            # Start menu: Next only for a folder text that can be one.
            page = self.page(launched, de[88])
            self.assert_layout(page, template_name("StartMenuDlg", style))
            self.assertEqual(self.text(page, 1015), name)
            self.ui.type(launched.pid, 1015, "Wizard: Tool")
            self.assertFalse(control(self.page(launched, de[88]), 1001)["enabled"])
            self.ui.type(launched.pid, 1015, "Wizard Tools\\Tool")
            self.assertTrue(control(self.page(launched, de[88]), 1001)["enabled"])
            self.shot(style, "start-menu")
            self.ui.click(launched.pid, 1001)

            # Summary: only "view log" is offered, one box, clear.
            page = self.page(launched, de[42], timeout_ms=60000)
            summary = template_name("SummaryDlg", style)
            self.assert_layout(page, summary)
            units = dialog_base_units(page, TEMPLATES[summary]["size"])
            place = {0: (4, 53), 1: (102, 52)}.get(style, (20, 78))
            view_log = control(page, 1027)
            self.assertTrue(view_log["visible"])
            self.assertFalse(view_log["checked"])
            self.assertEqual(view_log["text"], de[85])
            self.assertEqual(view_log["rect"], expected_rect(place + (275, 9), units))
            self.assertEqual([c["id"] for c in page["controls"] if c["id"] in (1023, 1025, 1029) and c["visible"]],
                             [])
            self.shot(style, "summary")
            self.ui.click(launched.pid, 1001)
            self.assertEqual(launched.wait(), 1)
        finally:
            launched.kill()

        self.assertEqual(self.path("C:\\%s\\tool.txt" % name).read_bytes(), b"tool\r\n")
        log = self.path("C:\\%s\\Install.LOG" % name).read_bytes().decode("cp1252")
        self.assertTrue(log.startswith("Installation log for: " + name), log[:80])
        self.assertEqual(self.registry_value(
            "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name, "ProductStartMenu"),
            "Wizard Tools\\Tool")

    def test_plain_look(self):
        self.walk(0)

    def test_picture_look(self):
        self.walk(1)

    def test_banner_look(self):
        self.walk(2)


class Wizard144(Wizard):
    """The same walks with the system at 144 DPI: the pages scale with their
    font and every control stays where its template puts it."""
    dpi = 144

    @classmethod
    def repeats_its_parent(cls) -> bool:
        return False  # another DPI, not the parent's tests in the other prefix

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.prefix.wine("reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                        "/d", "144", "/f", check=True)
