"""Start-up of the real program under Wine: the command line, the missing or
damaged package, the uninstall hand-over. Each case is typed as a user would
and read back from the real message box."""

import struct
import unittest

from program_fixture import WORK, ProgramTestCase
from startup_cases import NO_PACKAGE, corrupt, usage


class CommandLine(ProgramTestCase):
    def test_wrong_switches_show_the_usage(self):
        cases = [
            ("brennick.exe /x", usage("Illegal command line atom:\nx")),
            ("brennick.exe foo", usage("Unexpected command line parameter:\nfoo")),
            ("brennick.exe /a /d:\"C:\\Program Files\\My App\" /Bogus", usage("Illegal command line atom:\nBogus")),
            ("brennick.exe /u", usage("Product name required")),
            ("brennick.exe /u:\"\"", usage("Product name required")),
            ("brennick.exe -Uninstall", usage("Product name required")),
        ]
        for number, (command_line, text) in enumerate(cases):
            with self.subTest(command_line=command_line):
                caption, shown, code = self.run_to_message_box(command_line, shot="usage-%d" % number)
                self.assertEqual(caption, "Error")
                self.assertEqual(shown, text)
                self.assertEqual(code, 1)

    def test_atoms_after_the_nineteenth_are_not_examined(self):
        command_line = "brennick.exe" + " /a" * 19 + " /illegal"
        _, shown, code = self.run_to_message_box(command_line)
        self.assertEqual(shown, NO_PACKAGE)
        self.assertEqual(code, 1)


class MissingOrDamagedPackage(ProgramTestCase):
    def pe_offset(self) -> int:
        return struct.unpack_from("<H", (self.work / "brennick.exe").read_bytes(), 60)[0]

    def test_program_without_a_package(self):
        for command_line in ("brennick.exe", "brennick", "\"%s\\brennick.exe\" /a /min" % WORK):
            with self.subTest(command_line=command_line):
                caption, shown, code = self.run_to_message_box(command_line, shot="no-package")
                self.assertEqual((caption, shown, code), ("Error", NO_PACKAGE, 1))

    def test_damaged_headers_name_their_code(self):
        # The program reads the file that its command line names; Windows runs
        # the intact program (--app), so the damaged copy only has to be read.
        pe = self.pe_offset()
        cases = [
            ("pe63.exe", {60: struct.pack("<H", 63)}, corrupt(43)),
            ("pe4097.exe", {60: struct.pack("<H", 4097)}, corrupt(43)),
            ("three.exe", {pe + 6: struct.pack("<H", 3)}, corrupt(44)),
            ("hundred.exe", {pe + 6: struct.pack("<H", 100)}, corrupt(44)),
        ]
        for name, patches, text in cases:
            with self.subTest(name=name):
                self.copy_with(name, patches)
                caption, shown, code = self.run_to_message_box(
                    name + " /a", app=WORK + "\\brennick.exe", shot="corrupt-" + name)
                self.assertEqual((caption, shown, code), ("Error", text, 1))

    def test_unreadable_own_file_falls_back_to_the_module(self):
        # The command line names a file that does not exist: the program opens
        # its module file instead, which has no package.
        _, shown, code = self.run_to_message_box("missing.exe", app=WORK + "\\brennick.exe")
        self.assertEqual((shown, code), (NO_PACKAGE, 1))


class MissingOrDamagedPackage64(MissingOrDamagedPackage):
    """The same on a 64-bit Windows, where the program runs under WOW64."""
    arch = "win64"


class UninstallHandOver(ProgramTestCase):
    def test_unknown_product(self):
        caption, shown, code = self.run_to_message_box("brennick.exe /u:\"Nothing Here\"", shot="uninstall-unknown")
        self.assertEqual(shown, "No product named 'Nothing Here' is installed.")
        self.assertEqual(code, 0)


if __name__ == "__main__":
    unittest.main()
