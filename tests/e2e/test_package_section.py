"""The real program with a package section added by the builder's PE code
(through brennick-pe-append): Windows still loads it, and the program finds
the section by its exact name."""

import json
import os
import shutil
import struct
import subprocess
import unittest
from pathlib import Path

from program_fixture import ProgramTestCase
from startup_cases import NO_PACKAGE, corrupt
from wine_env import build_dir, program_file

# Not a valid package: these tests stop at finding the section.
PACKAGE = b"not a package " * 300

# What the program says when the header walk fails; a program that found its
# package says something else.
HEADER_WALK_FAILURES = [NO_PACKAGE] + [corrupt(code) for code in (9, 10, 34, 43, 44, 49)]


def append_section(program: Path, name: str, data: bytes, output: Path) -> subprocess.CompletedProcess:
    data_file = output.with_suffix(".section")
    data_file.write_bytes(data)
    return subprocess.run([str(build_dir() / "brennick-pe-append"), str(program), name, str(data_file), str(output)],
                          capture_output=True, text=True, timeout=60)


def pe_checksum(data: bytes, field: int) -> int:
    """The PE checksum, written out here on its own to check the builder's."""
    padded = data[:field] + bytes(4) + data[field + 4:] + bytes(len(data) % 2)
    total = 0
    for (word,) in struct.iter_unpack("<H", padded):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


class Headers:
    def __init__(self, data: bytes):
        self.pe = struct.unpack_from("<I", data, 60)[0]
        self.count, = struct.unpack_from("<H", data, self.pe + 6)
        optional_size, = struct.unpack_from("<H", data, self.pe + 20)
        self.initialized_data, = struct.unpack_from("<I", data, self.pe + 32)
        self.section_alignment, self.file_alignment = struct.unpack_from("<II", data, self.pe + 56)
        self.image_size, self.headers_size, self.checksum = struct.unpack_from("<III", data, self.pe + 80)
        self.checksum_field = self.pe + 88
        table = self.pe + 24 + optional_size
        self.sections = [struct.unpack_from("<8sIIII12xI", data, table + 40 * i) for i in range(self.count)]
        self.table_end = table + 40 * self.count


class AppendedOnTheHost(unittest.TestCase):
    """What the tool writes into the real program's headers."""

    def setUp(self):
        self.folder = build_dir() / "test-work" / "package_section_host"
        self.folder.mkdir(parents=True, exist_ok=True)
        self.program = program_file()

    def test_headers_of_the_result(self):
        original = self.program.read_bytes()
        before = Headers(original)
        # The linker's checksum, summed again here: the two algorithms agree.
        self.assertEqual(pe_checksum(original, before.checksum_field), before.checksum)

        output = self.folder / "setup.exe"
        done = append_section(self.program, ".setup", PACKAGE, output)
        self.assertEqual(done.returncode, 0, done.stderr)
        built = output.read_bytes()
        after = Headers(built)

        raw_size = -(-len(PACKAGE) // before.section_alignment) * before.section_alignment
        self.assertEqual(after.count, before.count + 1)
        self.assertEqual(after.sections[-1],
                         (b".setup\0\0", len(PACKAGE), before.image_size, raw_size, len(original), 0x40000040))
        self.assertEqual(after.image_size, before.image_size + raw_size)
        self.assertEqual(after.initialized_data, before.initialized_data + raw_size)
        self.assertEqual(after.checksum, pe_checksum(built, after.checksum_field))
        self.assertEqual(built[len(original):len(original) + len(PACKAGE)], PACKAGE)
        self.assertEqual(len(built), len(original) + raw_size)
        # Only the headers changed in front of the package.
        self.assertEqual(built[before.headers_size:len(original)], original[before.headers_size:])

    def test_refusals_name_the_reason(self):
        setup = self.folder / "twice.exe"
        self.assertEqual(append_section(self.program, ".setup", PACKAGE, setup).returncode, 0)
        signed = self.folder / "signed.exe"
        signed.write_bytes(self.program.read_bytes() + b"\x30\x82 a signature")
        cases = [
            (setup, "already has a section named \".setup\""),
            (signed, "data after its last section"),
        ]
        for program, reason in cases:
            with self.subTest(program=program.name):
                done = append_section(program, ".setup", PACKAGE, self.folder / "refused.exe")
                self.assertEqual(done.returncode, 1)
                self.assertIn(reason, done.stderr)

    def test_the_builder_puts_the_package_into_either_program(self):
        builder = str(build_dir() / "brennick-build")
        demo = Path(os.environ["BRENNICK_SOURCE_DIR"]) / "examples" / "demo" / "project.toml"
        for kind in ("x86", "x64"):
            with self.subTest(kind=kind):
                setup = self.folder / ("demo-%s.exe" % kind)
                subprocess.run([builder, "build", str(demo), "-o", str(setup), "--stub", str(program_file(kind))],
                               check=True)
                report = json.loads(subprocess.run([builder, "inspect", str(setup)], check=True,
                                                   capture_output=True, text=True).stdout)
                self.assertEqual(report["program"], kind)
        # A project that names its program gets that one or an error.
        copy = self.folder / "demo"
        shutil.rmtree(copy, ignore_errors=True)
        shutil.copytree(demo.parent, copy)
        project = copy / "project.toml"
        project.write_text(demo.read_text().replace("[build]\n", "[build]\nprogram = \"x64\"\n", 1))
        refused = self.folder / "refused.exe"
        done = subprocess.run([builder, "build", str(project), "-o", str(refused), "--stub", str(program_file("x86"))],
                              capture_output=True, text=True)
        self.assertEqual(done.returncode, 1, done.stderr)
        self.assertIn('[build] program is "x64", but %s is the x86 program' % program_file("x86"), done.stderr)
        self.assertFalse(refused.exists())


class PackageSection(ProgramTestCase):
    def append(self, name: str, section: str) -> str:
        done = append_section(self.work / "brennick.exe", section, PACKAGE, self.work / name)
        self.assertEqual(done.returncode, 0, done.stderr)
        return name

    def test_program_with_a_package_section_starts_and_finds_it(self):
        # Windows loads the program from this very file, section and all.
        name = self.append("setup.exe", ".setup")
        _, shown, code = self.run_to_message_box(name, shot="package-section")
        self.assertNotIn(shown, HEADER_WALK_FAILURES)
        self.assertEqual(code, 1)

    def test_a_section_named_in_other_letters_is_not_the_package(self):
        name = self.append("upper.exe", ".SETUP")
        _, shown, code = self.run_to_message_box(name)
        self.assertEqual((shown, code), (NO_PACKAGE, 1))


class PackageSection64(PackageSection):
    """The same on a 64-bit Windows, where the program runs under WOW64."""
    arch = "win64"


if __name__ == "__main__":
    unittest.main()
