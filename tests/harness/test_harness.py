"""The harness on a machine without 32-bit execution, forced through
BRENNICK_NO_32BIT so that it is tried on every machine: what the probe says,
that an emulator does not count, that the runners end a test that could
not run as skipped (77) and say why, and that the closing report names it.
The last case builds a scratch tree with the variable set and runs one
32-bit test in it through ctest."""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

import machine
import skip_report

HERE = Path(__file__).resolve().parent


def run_harness(script: str, *args, cwd: Path, env: dict) -> subprocess.CompletedProcess:
    return subprocess.run([sys.executable, str(HERE / script), *map(str, args)], cwd=cwd, env=env,
                          capture_output=True, text=True, timeout=600)


class HarnessTestCase(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="brennick-harness-"))
        self.addCleanup(shutil.rmtree, self.folder, True)
        wine_dir = self.folder / "wine"
        wine_dir.mkdir()
        # A machine that has 32-bit execution, as far as the facts file goes:
        # only the variable takes it away.
        (wine_dir / "machine.json").write_text(json.dumps(
            {"x86_32": True, "reason": "", "forced": False, "wine64_loader": machine.WINE64_LOADER}))
        self.env = dict(os.environ, BRENNICK_WINE_DIR=str(wine_dir), BRENNICK_BUILD_DIR=str(self.folder),
                        PYTHONPATH=str(HERE), PYTHONDONTWRITEBYTECODE="1")
        self.env[machine.FORCE_VARIABLE] = "1"
        # The 32-bit program, which the variable keeps from running.
        self.env["BRENNICK_FLAVOUR"] = "x86"


class Probe(HarnessTestCase):
    def test_the_variable_takes_32_bit_execution_away_and_says_so(self):
        os.environ[machine.FORCE_VARIABLE] = "1"
        self.addCleanup(os.environ.pop, machine.FORCE_VARIABLE)
        # Where the machine has no 32-bit execution anyway, the probe says
        # so in its own words.
        self.assertFalse(machine.probe(self.folder)["x86_32"])
        facts = machine.load(self.folder / "wine" / "machine.json")
        self.assertFalse(facts["x86_32"])
        self.assertTrue(facts["forced"])
        self.assertIn(machine.FORCE_VARIABLE + "=1", facts["reason"])
        os.environ[machine.FORCE_VARIABLE] = "0"
        self.assertTrue(machine.load(self.folder / "wine" / "machine.json")["x86_32"])

    def test_an_emulator_registered_for_i386_does_not_count(self):
        binfmt = self.folder / "binfmt_misc"
        binfmt.mkdir()
        (binfmt / "status").write_text("enabled\n")
        (binfmt / "register").write_text("")
        # The entries as the kernel lists them: an x86-64 one that does not
        # match, a disabled i386 one, then an enabled i386 one.
        elf = "7f454c46%s01010000000000000000000200%s00"
        mask = "fffffffffffefe00fffffffffffffffffeffffff"
        entries = [("qemu-x86_64", "enabled", elf % ("02", "3e"), "/usr/bin/qemu-x86_64"),
                   ("qemu-i386-off", "disabled", elf % ("01", "03"), "/usr/bin/qemu-i386-off"),
                   ("qemu-i386", "enabled", elf % ("01", "03"), "/usr/bin/qemu-i386-static")]
        for name, state, magic, interpreter in entries[:2]:
            (binfmt / name).write_text("%s\ninterpreter %s\nflags: F\noffset 0\nmagic %s\nmask %s\n"
                                       % (state, interpreter, magic, mask))
        self.assertEqual(machine.binfmt_emulator(machine.tiny_i386_program(), binfmt), "")
        name, state, magic, interpreter = entries[2]
        (binfmt / name).write_text("%s\ninterpreter %s\nflags: F\noffset 0\nmagic %s\nmask %s\n"
                                   % (state, interpreter, magic, mask))
        self.assertEqual(machine.binfmt_emulator(machine.tiny_i386_program(), binfmt),
                         "/usr/bin/qemu-i386-static (binfmt_misc entry qemu-i386)")
        (binfmt / "status").write_text("disabled\n")
        self.assertEqual(machine.binfmt_emulator(machine.tiny_i386_program(), binfmt), "")


FAKE_MODULE = '''
import unittest
from wine_env import Prefix

class OnTheHost(unittest.TestCase):
    def test_passes(self):
        pass

class InAPrefix(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix("never-made")

    def test_one(self):
        pass

    def test_two(self):
        pass
'''


class Runners(HarnessTestCase):
    def test_an_e2e_module_in_part_ends_as_skipped_with_counts_and_reason(self):
        (self.folder / "test_fake.py").write_text(FAKE_MODULE)
        done = run_harness("run_e2e.py", "test_fake", cwd=self.folder, env=self.env)
        self.assertEqual(done.returncode, machine.SKIP_EXIT_CODE, done.stdout + done.stderr)
        self.assertIn("not run on this machine: 2 of 3 tests; 1 ran and passed", done.stdout)
        self.assertIn("skipped, because the win32 prefix with the 32-bit test tools needs 32-bit execution, and "
                      "BRENNICK_NO_32BIT=1 makes", done.stdout)
        self.assertFalse((self.folder / "test-work").exists())

    def test_a_failure_is_a_failure_even_beside_skips(self):
        (self.folder / "test_fake.py").write_text(FAKE_MODULE.replace("def test_passes(self):\n        pass",
                                                                      "def test_passes(self):\n        self.fail()"))
        done = run_harness("run_e2e.py", "test_fake", cwd=self.folder, env=self.env)
        self.assertEqual(done.returncode, 1, done.stdout + done.stderr)

    def test_the_win_tests_end_as_skipped_before_a_prefix_is_made(self):
        done = run_harness("run_win_tests.py", "win64", self.folder / "brennick_win_tests.exe",
                           cwd=self.folder, env=self.env)
        self.assertEqual(done.returncode, machine.SKIP_EXIT_CODE, done.stdout + done.stderr)
        self.assertTrue(done.stdout.startswith("not run on this machine: the win64 prefix with the 32-bit test tools"),
                        done.stdout)
        self.assertFalse((self.folder / "test-work").exists())


JUNIT = '''<testsuite>
  <testcase name="unit_a" status="run"/>
  <testcase name="e2e_test_mixed" status="notrun"><system-out>
not run on this machine: 4 of 6 tests; 2 ran and passed
</system-out></testcase>
  <testcase name="win_tests_win32" status="notrun"><system-out>not run on this machine: x</system-out></testcase>
</testsuite>'''


class Report(unittest.TestCase):
    NO_32 = {"x86_32": False, "reason": "the kernel does not start 32-bit x86 programs", "forced": False}

    def test_names_each_skipped_test_with_its_counts_and_why(self):
        text = " ".join(skip_report.paragraph(JUNIT, self.NO_32).split())
        self.assertTrue(text.startswith("NOT A FULL RUN: 2 tests did not run on this machine: "
                                        "e2e_test_mixed (4 of 6 tests; 2 ran), win_tests_win32."), text)
        self.assertIn("the kernel does not start 32-bit x86 programs", text)
        self.assertTrue(text.endswith("The other 1 tests ran."), text)

    def test_a_full_run_says_so(self):
        junit = '<testsuite><testcase name="a" status="run"/><testcase name="b" status="run"/></testsuite>'
        self.assertEqual(skip_report.paragraph(junit, dict(self.NO_32, x86_32=True)),
                         "All 2 tests ran; none was skipped on this machine.")


@unittest.skipUnless(os.environ.get("BRENNICK_SOURCE_DIR"), "needs the source tree (run through ctest)")
class ScratchTree(HarnessTestCase):
    """The build passes with the variable set, and a 32-bit test in it is
    reported as skipped."""

    def test_builds_without_the_32_bit_prefix_and_reports_the_skip(self):
        tree = self.folder / "tree"
        env = dict(os.environ, **{machine.FORCE_VARIABLE: "1"})
        configure = subprocess.run(["cmake", "-S", os.environ["BRENNICK_SOURCE_DIR"], "-B", str(tree), "-G", "Ninja",
                                    "-DCMAKE_BUILD_TYPE=Release", "-DBRENNICK_SANITIZE=OFF"],
                                   env=env, capture_output=True, text=True, timeout=300)
        self.assertEqual(configure.returncode, 0, configure.stdout + configure.stderr)
        self.assertIn("Wine tests: this machine does not execute 32-bit x86 code: ", configure.stdout)
        build = subprocess.run(["cmake", "--build", str(tree), "--target", "wine_prefixes"], env=env,
                               capture_output=True, text=True, timeout=600)
        self.assertEqual(build.returncode, 0, build.stdout + build.stderr)
        self.assertEqual(sorted(p.name for p in (tree / "wine").glob("*.ready")), ["win64.ready"])
        junit = tree / "results.xml"
        ctest = subprocess.run(["ctest", "--test-dir", str(tree), "-R", "^win_tests_win32$", "--output-junit",
                                str(junit)], env=env, capture_output=True, text=True, timeout=600)
        self.assertEqual(ctest.returncode, 0, ctest.stdout + ctest.stderr)
        self.assertRegex(ctest.stdout, r"win_tests_win32 \.+\s*\*+Skipped")
        facts = machine.load(tree / "wine" / "machine.json")
        self.assertIn("NOT A FULL RUN: 1 tests did not run on this machine: win_tests_win32.",
                      " ".join(skip_report.paragraph(junit.read_text(), facts).split()))


if __name__ == "__main__":
    unittest.main()
