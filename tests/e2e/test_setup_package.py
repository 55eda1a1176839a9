"""A setup program made by the builder, started under Wine: it reads and
verifies its whole package before it changes anything; damaged copies end
with the corrupt-installer message and the code of what was damaged."""

import json
import os
import shutil
import subprocess
import unittest
from pathlib import Path

from program_fixture import WORK, ProgramTestCase
from startup_cases import corrupt
from wine_env import build_dir, program_file, screenshot

SOURCE = Path(os.environ["BRENNICK_SOURCE_DIR"])
VERSION_MESSAGE = ("The installer version (27.0.5) does not match the version of Brennick Setup (%s).  "
                   "Close all applications and reinstall Brennick Setup.")


def tool(name: str) -> str:
    return str(build_dir() / name)


class SetupPackage(ProgramTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.root = cls.prefix.root  # the test's own folder, outside the prefix
        cls.setup = cls.work / "setup.exe"
        subprocess.run([tool("brennick-build"), "build", str(SOURCE / "examples/demo/project.toml"),
                        "-o", str(cls.setup), "--stub", str(program_file())], check=True)
        report = subprocess.run([tool("brennick-build"), "inspect", str(cls.setup)], check=True,
                                capture_output=True, text=True).stdout
        cls.settings = json.loads(report)["settings"]

    def message(self, number: int) -> str:
        """A message of the package in its initial language (English here)."""
        return self.settings["Messages"][number][self.settings["LanguageNames"].index("English")]

    def damaged(self, name: str, *what: str) -> str:
        subprocess.run([tool("brennick-damage"), str(self.setup), str(self.work / name), *what], check=True)
        return name

    def test_asks_for_the_language_first_and_cancelling_changes_nothing(self):
        program_files = self.prefix.host_path("C:\\Program Files")
        before = sorted(program_files.rglob("*"))
        launched = self.prefix.start("setup.exe", cwd=WORK)
        try:
            windows = self.ui.windows(launched.pid, wait_class="#32770", wait_text=self.message(82))
            page = [w for w in windows if w["class"] == "#32770"][0]
            screenshot("package-read")
            self.assertEqual(page["caption"], self.message(65).replace("<product>", "Brennick Demo"))
            lists = [c for c in page["controls"] if c["id"] == 1017]
            self.assertEqual(lists[0]["items"], ["English", "Deutsch"])
            self.ui.click(launched.pid, 1003)
            self.assertEqual(launched.wait(), 1)
        finally:
            launched.kill()
        self.assertEqual(sorted(program_files.rglob("*")), before)

    def test_archive_read_from_the_file(self):
        # The same product with its archive read through the file, not the image.
        demo = self.root / "demo-from-file"
        shutil.copytree(SOURCE / "examples/demo", demo)
        project = demo / "project.toml"
        project.write_text(project.read_text().replace("[build]\n", "[build]\narchive_from_file = true\n", 1))
        subprocess.run([tool("brennick-build"), "build", str(project), "-o", str(self.work / "from-file.exe"),
                        "--stub", str(program_file())], check=True)
        launched = self.prefix.start("from-file.exe /a", cwd=WORK)
        self.assertEqual(launched.wait(), 1)
        # The 32-bit program-files folder, whichever program installs.
        programs = "C:\\Program Files (x86)" if self.arch == "win64" else "C:\\Program Files"
        installed = self.prefix.host_path(programs + "\\Brennick Demo")
        for name in ("demo.cmd", "docs\\guide.txt", "docs\\notes\\changes.txt"):
            self.assertTrue((installed / name.replace("\\", "/")).is_file(), name)

    def test_damage_names_its_code(self):
        # Before the language strings are read, the built-in texts speak; after
        # that, the package's own.
        builtin = lambda code: ("Error", corrupt(code))
        packaged = lambda code: (self.message(21), self.message(13).replace("%d", str(code)))
        cases = [
            (("magic",), builtin(20)),
            (("settings-size", "0"), builtin(22)),
            (("file-size", "0x40000001"), builtin(28)),
            (("settings-checksum",), builtin(25)),
            (("setting", "LicenseTexts", "21", "4"), builtin(24)),
            (("setting", "BitmapSize", "101", "4"), builtin(39)),
            (("setting", "EndMarker", "0", "4"), packaged(32)),  # after the strings
            (("archive-byte",), packaged(55)),
            (("chunk-size", "0"), packaged(61)),
            (("version", "27.0.6"), ("Error", VERSION_MESSAGE % "27.0.6")),
        ]
        for what, expected in cases:
            with self.subTest(damage=what):
                name = self.damaged("-".join(what).replace(" ", "") + ".exe", *what)
                caption, text, code = self.run_to_message_box(name, shot="damaged-" + name[:-4])
                self.assertEqual((caption, text), expected)
                self.assertEqual(code, 1)


if __name__ == "__main__":
    unittest.main()
