"""One behaviour on 64-bit Windows: the same products, installed and removed
by the 32-bit program and by the program for 64-bit Windows, each in a fresh
copy of the 64-bit prefix, change the machine in exactly the same way.

Compared after installation: the files that appeared or changed (bytes and
dates; the uninstaller's own bytes differ by nature), every registry line
that appeared or changed under HKLM, HKCU and HKCR in both views, Install.LOG
without its time stamp, and the environment each installation batch saw.
After both uninstalls nothing of either is left.

BRENNICK_EQUIVALENCE_REFERENCE=x64 runs both sides with the program for
64-bit Windows: a check of the comparison itself (the two runs must then be
alike in every line the comparison keeps) on a machine without 32-bit
execution."""

import hashlib
import os
import re
import time
import unittest

from install_fixture import STAMP, build_setup, export_registry, registry_value
from program_fixture import WORK
from wine_env import Prefix, program_file, wait_until

UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"

# (setup name, product name, bitness): a product for 32-bit Windows only
# (refused on 64-bit Windows by both, silently in automatic mode), one for any
# Windows (redirected as a 32-bit program is) and a 64-bit one (no redirection).
PRODUCTS = (("eq32", "Equal Narrow", 32), ("eqany", "Equal Any", 0), ("eq64", "Equal Wide", 64))

# Parts of the machine that are the test's own or change on their own: Wine's
# settings, and the display adapter that Wine's desktop registers under a new
# name in every session.
SKIPPED_FOLDERS = ("work/", "tools/", "windows/temp/")
SKIPPED_KEYS = ("\\software\\wine", "\\software\\wow6432node\\wine", "\\control\\video\\")


def project(name: str, bitness: int, tag: str) -> str:
    """A product with files in the installation folder (under Program Files),
    the Common Files folder, the system folder and the Windows folder; an
    uninstaller; and a batch that records its environment. The files reach
    the folders outside the installation folder through their targets: the
    shared and system kinds leave their files behind until their counts in
    the system's shared-file list are kept."""
    return ('[product]\nname = "%s"\nversion = "2.5"\npublisher = "Equal Publisher"\nbitness = %d\n'
            '[flags]\nno_background_window = true\nuninstaller = true\nkeep_install_log = true\n'
            '[uninstall]\nsubdir = "uninstall"\n'
            '[batches]\npost_install = "set > C:\\\\work\\\\env-%s.txt"\n'
            '[build]\nstamp = %s\n'
            '[[files]]\nsource = "files/app/**"\n'
            '[[files]]\nsource = "files/%s-common.txt"\ntarget = "%%CommonDir%%\\\\Equal Shared\\\\%s\\\\"\n'
            '[[files]]\nsource = "files/%s.dll"\ntarget = "%%SystemDir%%\\\\"\n'
            '[[files]]\nsource = "files/%s-win.txt"\ntarget = "%%WinDir%%\\\\"\n'
            % (name, bitness, tag, STAMP, tag, name, tag, tag))


def project_files(tag: str) -> dict:
    return {"files/app/%s.exe.txt" % tag: b"program\r\n" * 50, "files/app/docs/readme.txt": b"read me\r\n",
            "files/%s-common.txt" % tag: b"common\r\n", "files/%s.dll" % tag: b"MZ not really a library",
            "files/%s-win.txt" % tag: b"windows folder\r\n"}


class Side:
    """One flavour's run: its prefix, and what the machine looked like."""

    def __init__(self, of_flavour: str, label: str):
        self.flavour = of_flavour
        self.prefix = Prefix("FlavourEquivalence_" + label, "win64", of_flavour=of_flavour)
        self.work = self.prefix.host_path(WORK)
        self.work.mkdir()
        self.started = time.time()
        self.ended = 0.0

    def build(self, tag: str, name: str, bitness: int) -> str:
        return build_setup(self.prefix, tag, project(name, bitness, tag), project_files(tag),
                           program_file(self.flavour))

    def run(self, command_line: str) -> int:
        return self.prefix.start(command_line, cwd=WORK).wait(timeout=120)

    def environment(self, listing: bytes) -> list:
        """The lines of `set`, with the test's own folder (which Wine hands
        on from the Unix environment) named alike for both sides, and the
        harness's choice of Wine loader left out."""
        root = str(self.prefix.root)
        lines = []
        for line in listing.decode("cp1252").splitlines():
            if line.upper().startswith("WINELOADER="):
                continue
            lines.append(line.replace(root.replace("/", "\\"), "<test folder>").replace(root, "<test folder>"))
        return lines

    def uninstall_value(self, product: str, name: str) -> str:
        """A value of a product's Uninstall key; None when it is missing."""
        return registry_value(self.prefix, UNINSTALL_KEY + product, name)

    def registry_lines(self) -> set:
        """(view, key, value line) of HKLM, HKCU and HKCR in both views,
        with Wine's own settings left out."""
        lines = set()
        for view in ("/reg:32", "/reg:64"):
            for root in ("HKLM", "HKCU", "HKCR"):
                text = export_registry(self.prefix, root, view)
                if text is None:
                    raise AssertionError("reg export %s %s failed" % (root, view))
                text = text.replace("\\\r\n  ", "")
                key = None
                for line in text.splitlines():
                    if line.startswith("["):
                        key = line.lower()
                        if not any(skip in key for skip in SKIPPED_KEYS):
                            lines.add((view, key, ""))
                    elif line and key and not any(skip in key for skip in SKIPPED_KEYS):
                        lines.add((view, key, line))
        return lines

    def files(self) -> dict:
        """Every file of drive C: (outside the test's own folders and the
        temporary ones) -> (SHA-256, modification time)."""
        drive = self.prefix.drive_c
        found = {}
        for path in drive.rglob("*"):
            relative = path.relative_to(drive).as_posix().lower()
            if relative.startswith(SKIPPED_FOLDERS) or "/temp/" in relative or path.is_dir():
                continue
            found[relative] = (hashlib.sha256(path.read_bytes()).hexdigest(), path.stat().st_mtime)
        return found

    def snapshot(self) -> tuple:
        return self.files(), self.registry_lines()


def file_changes(before: dict, after: dict, started: float, ended: float) -> dict:
    """Files that appeared or changed -> (bytes, date), where a date within
    the side's run (from the building of its setups on) reads "of the run";
    the uninstaller's bytes, and Install.LOG's (compared without its time
    stamp on its own), are left out. Files that went away -> None."""
    changes = {}
    for path, (digest, mtime) in after.items():
        if before.get(path) == (digest, mtime):
            continue
        during = started - 2 <= mtime <= ended + 2
        date = "of the run" if during else time.strftime("%Y-%m-%d %H:%M:%S", time.gmtime(mtime))
        name = path.rsplit("/", 1)[-1]
        changes[path] = (name if name in ("uninstall.exe", "install.log") else digest, date)
    for path in before.keys() - after.keys():
        changes[path] = None
    return changes


INSTALL_DATE = re.compile(r'^("InstallDate"=")[^"]*(")$')


def registry_changes(before: set, after: set) -> tuple:
    normal = lambda lines: {(view, key, INSTALL_DATE.sub(r"\1<time>\2", line)) for view, key, line in lines}
    return sorted(normal(after - before)), sorted(normal(before - after))


def install_log(side: Side, folder: str) -> str:
    text = side.prefix.host_path(folder + "\\uninstall\\Install.LOG").read_bytes().decode("cp1252")
    return re.sub(r"^Install date: .*$", "Install date: <time>", text, flags=re.M)


class FlavourEquivalence(unittest.TestCase):
    maxDiff = None

    def test_both_programs_change_the_machine_alike(self):
        reference = os.environ.get("BRENNICK_EQUIVALENCE_REFERENCE", "x86")
        sides = []
        try:
            for label, of_flavour in (("reference", reference), ("x64", "x64")):
                side = Side(of_flavour, label)
                sides.append(side)
                self.install_and_remove(side)
            ref, x64 = sides
            self.assertEqual(ref.codes, x64.codes, "exit codes")
            self.assertEqual(ref.environments, x64.environments, "the batches' environments")
            self.assertEqual(ref.logs, x64.logs, "Install.LOG")
            ref_files, x64_files = (file_changes(s.before[0], s.installed[0], s.started, s.ended) for s in sides)
            self.assertEqual(sorted(ref_files.items()), sorted(x64_files.items()), "files")
            # Not alike by doing nothing: the any product is redirected as a
            # 32-bit program is, the 64-bit product is not; %CommonDir% is the
            # 32-bit program's Common Files folder for both.
            self.assertLessEqual({"program files (x86)/equal any/eqany.exe.txt", "windows/syswow64/eqany.dll",
                                  "program files (x86)/common files/equal shared/equal any/eqany-common.txt",
                                  "windows/eqany-win.txt", "program files/equal wide/eq64.exe.txt",
                                  "windows/system32/eq64.dll", "windows/eq64-win.txt",
                                  "program files (x86)/common files/equal shared/equal wide/eq64-common.txt"},
                                 set(x64_files))
            ref_keys, x64_keys = (registry_changes(s.before[1], s.installed[1]) for s in sides)
            for what, ref_part, x64_part in (("added or changed", ref_keys[0], x64_keys[0]),
                                             ("removed or changed", ref_keys[1], x64_keys[1])):
                self.assertEqual((sorted(set(ref_part) - set(x64_part)), sorted(set(x64_part) - set(ref_part))),
                                 ([], []), "registry lines %s by one side only (%s, x64)" % (what, reference))
            for side in sides:
                left_files = file_changes(side.before[0], side.removed[0], 0, 0)
                self.assertEqual(left_files, {}, "%s: files left after uninstalling" % side.flavour)
                self.assertEqual(registry_changes(side.before[1], side.removed[1]), ([], []),
                                 "%s: registry lines left after uninstalling" % side.flavour)
        finally:
            for side in sides:
                side.prefix.close()

    def install_and_remove(self, side: Side) -> None:
        setups = [(side.build(tag, name, bitness), tag, name) for tag, name, bitness in PRODUCTS]
        side.before = side.snapshot()
        side.codes = [side.run(setup + " /a") for setup, _, _ in setups]
        side.ended = time.time()
        side.installed = side.snapshot()
        side.environments, side.logs = {}, {}
        uninstall = []
        for setup, tag, name in setups:
            env = side.work / ("env-%s.txt" % tag)
            side.environments[tag] = side.environment(env.read_bytes()) if env.exists() else None
            folder = side.uninstall_value(name, "InstallLocation")
            if folder is None:
                continue
            side.logs[tag] = install_log(side, folder)
            uninstall.append((side.uninstall_value(name, "QuietUninstallString"), folder))
        # The product for 32-bit Windows only is refused on 64-bit Windows.
        self.assertEqual(sorted(side.logs), ["eq64", "eqany"], side.flavour)
        for command, folder in uninstall:
            self.assertEqual(side.run(command), 0, "%s: %s" % (side.flavour, command))
            # The uninstaller's folder goes a few seconds later, with the
            # batch that deletes it.
            self.assertTrue(wait_until(lambda: not side.prefix.host_path(folder).exists(), timeout=40),
                            "%s: %s is still there" % (side.flavour, folder))
        users = side.prefix.drive_c / "users"
        self.assertTrue(wait_until(lambda: not list(users.rglob("delunins.bat")), timeout=20))
        side.removed = side.snapshot()


if __name__ == "__main__":
    unittest.main()
