"""A setup program is started from a Downloads folder, where somebody may have
planted DLLs named like system DLLs. The program must not load them."""

import shutil
import unittest

from program_fixture import WORK, ProgramTestCase
from startup_cases import usage
from wine_env import windows_dir

# DLLs that Windows (and Wine) load only after a program has started, while it
# shows its first window: the ones a planted copy could slip in as.
PLANTED = ("uxtheme.dll", "msimg32.dll")


class PlantedDlls(ProgramTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # Wine prefers its own built-in DLLs; let it take a DLL from a folder
        # first, as Windows does, so that planting can work at all.
        names = ",".join(name[:-4] for name in PLANTED)
        cls.prefix.env["WINEDLLOVERRIDES"] += ";%s=n,b" % names
        shutil.copy2(windows_dir() / "loadlib.exe", cls.work / "loadlib.exe")
        for name in PLANTED:
            shutil.copy2(windows_dir() / "planted.dll", cls.work / name)

    def markers(self):
        return sorted(p.name for p in self.work.glob("*.loaded"))

    def clear_markers(self):
        for marker in self.work.glob("*.loaded"):
            marker.unlink()

    def test_planting_works_against_a_program_without_protection(self):
        for name in PLANTED:
            with self.subTest(name=name):
                self.clear_markers()
                code = self.prefix.start("loadlib.exe " + name, cwd=WORK).wait()
                self.assertEqual(code, 0)
                self.assertEqual(self.markers(), [name + ".loaded"])
        self.clear_markers()

    def test_program_loads_no_planted_dll(self):
        self.clear_markers()
        caption, shown, code = self.run_to_message_box("brennick.exe /x", shot="planted-dlls")
        self.assertEqual((caption, shown, code), ("Error", usage("Illegal command line atom:\nx"), 1))
        self.assertEqual(self.markers(), [])


if __name__ == "__main__":
    unittest.main()
