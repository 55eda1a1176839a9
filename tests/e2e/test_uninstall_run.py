"""The uninstall round trip end to end: products installed by installers made
by the builder, removed through the command lines their Uninstall key
registers, and the machine compared with how it was before."""

import hashlib
import subprocess
import unittest

from install_fixture import STAMP, InstallTestCase, export_registry, noise
from program_fixture import WORK
from wine_env import screenshot, wait_until, windows_dir

UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"


def product(name: str, flags: str = "", extra: str = "", files: str = '[[files]]\nsource = "files/**"\n') -> str:
    return ('[product]\nname = "%s"\nversion = "1.0"\npublisher = "Example Publisher"\n%s\n'
            '[flags]\nno_background_window = true\nuninstaller = true\n%s\n'
            '[uninstall]\nsubdir = "uninstall"\n'
            '[build]\nstamp = %s\n%s' % (name, extra, flags, STAMP, files))


def product_files() -> dict:
    return {"files/tool.exe.txt": b"tool\r\n" * 100, "files/docs/readme.txt": b"read me\r\n",
            "files/docs/en/guide.txt": b"guide\r\n" * 20, "files/data/blob.bin": noise(3000, seed=1)}


class UninstallTestCase(InstallTestCase):
    def folder(self, name: str) -> str:
        return self.program_files + "\\" + name

    def registry_export(self, key: str) -> list:
        """The lines of `reg export` of a key; empty when it does not exist."""
        text = export_registry(self.prefix, key)
        return text.splitlines() if text is not None else []

    def machine_state(self) -> tuple:
        """What an installation may change: the files outside the Windows
        folder, the temporary folders and our own work and tool folders, and the
        software keys of the machine and the user."""
        drive = self.prefix.drive_c
        files = set()
        for path in drive.rglob("*"):
            relative = path.relative_to(drive).as_posix().lower()
            if relative.startswith(("windows/", "work/", "tools/")) or "/temp/" in relative + "/":
                continue
            files.add(relative)
        keys = []
        wine_section = False
        for line in self.registry_export("HKLM\\Software") + self.registry_export("HKCU\\Software"):
            if line.startswith("["):
                # Wine keeps its own settings under Software\Wine; they are not ours.
                wine_section = "\\Software\\Wine" in line
            if line and not wine_section:
                keys.append(line)
        return files, keys

    def assert_same_state(self, before: tuple, after: tuple) -> None:
        self.assertEqual(sorted(after[0] - before[0]), [], "files left behind")
        self.assertEqual(sorted(before[0] - after[0]), [], "files lost")
        self.assertEqual([line for line in after[1] if line not in before[1]], [], "registry lines left behind")

    def uninstall_command(self, name: str, quiet: bool) -> str:
        return self.registry_value(UNINSTALL_KEY + name, "QuietUninstallString" if quiet else "UninstallString")

    def wait_for_removal(self, windows_path: str) -> None:
        """The self-deleting batch removes the uninstaller and its folders a
        few seconds after the uninstaller has ended, and then itself; the
        next test starts once it is done."""
        self.assertTrue(wait_until(lambda: not self.path(windows_path).exists(), timeout=40),
                        windows_path + " is still there")
        users = self.prefix.drive_c / "users"
        self.assertTrue(wait_until(lambda: not list(users.rglob("delunins.bat")), timeout=20))


class UninstallRoundTrip(UninstallTestCase):
    def test_quiet_uninstall_leaves_nothing_behind(self):
        name = "Round Tool"
        setup = self.build("round", product(name, flags="keep_install_log = true"), product_files())
        before = self.machine_state()
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        folder = self.folder(name)
        self.assertEqual(self.path(folder + "\\docs\\en\\guide.txt").read_bytes(), b"guide\r\n" * 20)

        key = UNINSTALL_KEY + name
        value = lambda n: self.registry_value(key, n)
        uninstaller = folder + "\\uninstall\\uninstall.exe"
        self.assertEqual(value("UninstallString"), '"%s" /u:"%s"' % (uninstaller, name))
        self.assertEqual(value("QuietUninstallString"), '"%s" /a /u:"%s"' % (uninstaller, name))
        self.assertEqual((value("DisplayName"), value("DisplayVersion"), value("Publisher"), value("InstallLocation")),
                         (name, "1.0", "Example Publisher", folder))
        self.assertRegex(value("EstimatedSize"), r"^0x[0-9a-f]+$")
        self.assertRegex(value("ProductFlags"), r"^-?\d+$")
        self.assertRegex(value("InstallDate"), r"^\d{1,2}/\d{1,2}/\d\d \d{1,2}:\d\d:\d\d[ap]$")

        self.assertEqual(self.run_silently(self.uninstall_command(name, quiet=True)), 0)
        self.wait_for_removal(folder)
        self.assertIsNone(value("DisplayName"))
        self.assert_same_state(before, self.machine_state())

    def test_uninstall_confirmed_through_its_questions(self):
        name = "Asked Round Tool"
        setup = self.build("asked-round", product(name), product_files())
        before = self.machine_state()
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        messages = self.messages(setup)

        launched = self.prefix.start(self.uninstall_command(name, quiet=False), cwd=WORK)
        question = self.next_box(launched)
        screenshot("uninstall-confirmation")
        self.assertEqual((question["caption"], self.box_text(question)), (messages[55], messages[53]))
        self.ui.click(launched.pid, messages[79].replace("&", ""))
        done = self.next_box(launched)
        self.assertEqual((done["caption"], self.box_text(done)), (messages[34], messages[15]))
        self.ui.click(launched.pid, "OK")
        self.assertEqual(launched.wait(), 0)
        self.wait_for_removal(self.folder(name))
        self.assert_same_state(before, self.machine_state())

    def test_no_at_the_confirmation_changes_nothing(self):
        name = "Kept Tool"
        setup = self.build("kept", product(name), product_files())
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        messages = self.messages(setup)
        launched = self.prefix.start(self.uninstall_command(name, quiet=False), cwd=WORK)
        self.next_box(launched)
        self.ui.click(launched.pid, messages[80].replace("&", ""))
        self.assertEqual(launched.wait(), 1)
        self.assertTrue(self.path(self.folder(name) + "\\tool.exe.txt").exists())
        self.assertEqual(self.registry_value(UNINSTALL_KEY + name, "DisplayName"), name)

    def test_second_installation_over_the_first_is_still_removed(self):
        name = "Twice Tool"
        # Each batch leaves a line in a file of C:\\work, which the state
        # comparison leaves out.
        batches = "".join('%s = "echo %s %%InstallDir%%>> C:\\\\work\\\\batches.txt"\n' % (key, key)
                          for key in ("pre_install", "post_install", "exit", "reinstall", "upgrade",
                                      "uninstall_before", "uninstall_after"))
        project = product(name, flags="keep_install_log = true") + "[batches]\n" + batches
        setup = self.build("twice", project, product_files())
        before = self.machine_state()
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        log = self.path(self.folder(name) + "\\uninstall\\Install.LOG").read_bytes().decode("cp1252")
        self.assertEqual(log.count("Overwriting version: 1.0\r\n"), 1)
        self.assertEqual(self.run_silently(self.uninstall_command(name, quiet=True)), 0)
        self.wait_for_removal(self.folder(name))
        self.assert_same_state(before, self.machine_state())
        ran = [line.split(" ", 1)[0] for line in (self.work / "batches.txt").read_text().splitlines()]
        self.assertEqual(ran, ["pre_install", "post_install", "exit",
                               "pre_install", "reinstall", "post_install", "exit",
                               "uninstall_before", "uninstall_after"])
        self.assertIn(" " + self.folder(name), (self.work / "batches.txt").read_text())

    def test_unknown_product(self):
        caption, text, code = self.run_to_message_box('brennick.exe /u:"NoSuchProduct"')
        self.assertEqual((text, code), ("No product named 'NoSuchProduct' is installed.", 0))

    def test_file_the_installer_kept_is_removed(self):
        name = "Skipping Tool"
        project = product(name, files='[[files]]\nsource = "files/kept.txt"\noverwrite = "only_if_missing"\n'
                                      '[[files]]\nsource = "files/new.txt"\n')
        setup = self.build("skipping", project, {"files/kept.txt": b"new", "files/new.txt": b"new"})
        kept = self.path(self.folder(name) + "\\kept.txt")
        kept.parent.mkdir(parents=True)
        kept.write_bytes(b"there before")
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        self.assertEqual(kept.read_bytes(), b"there before")
        self.assertEqual(self.run_silently(self.uninstall_command(name, quiet=True)), 0)
        self.wait_for_removal(self.folder(name))


class UninstallRoundTrip64(UninstallRoundTrip):
    """The same round trips in a 64-bit prefix, and a 64-bit product."""
    arch = "win64"

    def test_64_bit_product_round_trip(self):
        name = "Wide Tool"
        setup = self.build("wide", product(name, extra="bitness = 64"), product_files())
        before = self.machine_state()
        self.assertEqual(self.run_silently(setup + ' /a /d:"C:\\Program Files\\Wide Tool"'), 1)
        # Redirection is off for a 64-bit product: the files are where the
        # 64-bit programs see them.
        self.assertTrue(self.path("C:\\Program Files\\Wide Tool\\docs\\readme.txt").exists())
        self.assertEqual(self.registry_value(UNINSTALL_KEY + name, "Bitness"), "0x1")
        # The product's own registry key lies in the 64-bit view of a 64-bit product.
        self.prefix.wine("reg", "add", "HKLM\\Software\\Example Vendor\\Wide Tool", "/v", "V", "/d", "x",
                         "/reg:64", "/f", check=True)
        self.prefix.wine("reg", "add", UNINSTALL_KEY + name, "/v", "ProductRegistry", "/d",
                         "Example Vendor\\Wide Tool", "/f", check=True)
        self.assertEqual(self.run_silently(self.uninstall_command(name, quiet=True)), 0)
        self.assertNotEqual(self.prefix.wine("reg", "query", "HKLM\\Software\\Example Vendor", "/reg:64").returncode, 0)
        self.wait_for_removal("C:\\Program Files\\Wide Tool")
        self.assert_same_state(before, self.machine_state())


class UninstallFailures(UninstallTestCase):
    def hold(self, windows_path: str):
        tool = self.prefix.drive_c / "tools" / "holdfile.exe"
        if not tool.exists():
            tool.write_bytes((windows_dir() / "holdfile.exe").read_bytes())
        holder = subprocess.Popen([self.prefix.loader, "C:\\tools\\holdfile.exe", windows_path], env=self.prefix.env,
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.assertEqual(holder.stdout.readline().strip(), "held")
        return holder

    def test_file_in_use_keeps_the_product_registered_until_a_second_run(self):
        name = "Held Tool"
        setup = self.build("held", product(name), product_files())
        before = self.machine_state()
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        messages = self.messages(setup)
        folder = self.folder(name)
        held = folder + "\\docs\\readme.txt"
        holder = self.hold(held)
        try:
            launched = self.prefix.start(self.uninstall_command(name, quiet=False), cwd=WORK)
            self.next_box(launched)
            self.ui.click(launched.pid, messages[79].replace("&", ""))
            failure = self.next_box(launched)
            screenshot("uninstall-failure")
            self.assertEqual(failure["caption"], messages[20])
            self.assertIn(messages[58] + " " + held, self.box_text(failure))
            self.ui.click(launched.pid, "OK")
            self.assertEqual(launched.wait(), 0)
        finally:
            holder.stdin.close()
            holder.wait(timeout=60)
            holder.stdout.close()

        # Everything else is gone; the held file, the uninstaller and the key stay.
        self.assertTrue(self.path(held).exists())
        self.assertFalse(self.path(folder + "\\tool.exe.txt").exists())
        self.assertFalse(self.path(folder + "\\docs\\en").exists())
        self.assertEqual(self.registry_value(UNINSTALL_KEY + name, "DisplayName"), name)
        data = self.path(folder + "\\uninstall\\Uninstall.DAT").read_bytes().decode("cp1252")
        # The held file and the folder it kept from being removed, nothing else.
        self.assertEqual(data[:data.index("\r\n\r\n\r\n[Strings]\r\n")].split("\r\n"),
                         [held, "~" + folder + "\\docs"])

        self.assertEqual(self.run_silently(self.uninstall_command(name, quiet=True)), 0)
        self.wait_for_removal(folder)
        self.assert_same_state(before, self.machine_state())


class UndoSteps(UninstallTestCase):
    """The undo steps for what later parts of the installation create,
    driven by a data file and key values written for the test."""

    def test_registry_associations_shared_files_and_pending_moves(self):
        name = "Undo Tool"
        setup = self.build("undo", product(name), {"files/a.txt": b"a"})
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        folder = self.folder(name)
        key = UNINSTALL_KEY + name
        reg = lambda *args: self.prefix.wine("reg", *args, check=True)

        # Registry: a plain value, two entry values (one to keep), the
        # product key in the machine and in the user's profile.
        reg("add", "HKCU\\Software\\Example Undo", "/v", "Plain", "/d", "x", "/f")
        reg("add", "HKCU\\Software\\Example Undo", "/v", "Gone", "/d", "x", "/f")
        reg("add", "HKCU\\Software\\Example Undo", "/v", "Kept", "/d", "x", "/f")
        reg("add", "HKLM\\Software\\Example Vendor\\Undo Tool\\Sub", "/v", "V", "/d", "x", "/f")
        reg("add", "HKCU\\Software\\Example Vendor\\Undo Tool", "/v", "V", "/d", "x", "/f")
        reg("add", key, "/v", "ProductRegistry", "/d", "Example Vendor\\Undo Tool", "/f")
        # Associations: one made by the product alone, one that took over an
        # extension whose earlier type is kept in the backup value.
        reg("add", "HKCR\\.exundo", "/ve", "/d", "ExUndo.File", "/f")
        reg("add", "HKCR\\ExUndo.File\\shell\\open\\command", "/ve", "/d", "notepad.exe %1", "/f")
        reg("add", "HKCR\\.exolder", "/ve", "/d", "ExUndo.File", "/f")
        reg("add", "HKCR\\.exolder", "/v", name + " Backup", "/d", "Older.Type", "/f")
        # Shared files with counts 1 and 3.
        shared = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs"
        one, three = "C:\\Shared Example\\shared1.txt", "C:\\Shared Example\\shared3.txt"
        for path in (one, three):
            self.path(path).parent.mkdir(exist_ok=True)
            self.path(path).write_bytes(b"shared")
        reg("add", shared, "/v", one, "/t", "REG_DWORD", "/d", "1", "/f")
        reg("add", shared, "/v", three, "/t", "REG_DWORD", "/d", "3", "/f")
        reg("add", key, "/v", "SharedFiles", "/d", '"%s";"%s"' % (one, three), "/f")
        # A pending move onto a file of the product, and one of another program.
        ours = self.path(folder + "\\CVX1.tmp")
        ours.write_bytes(b"waiting")
        session = "HKLM\\System\\CurrentControlSet\\Control\\Session Manager"
        reg("add", session, "/v", "PendingFileRenameOperations", "/t", "REG_MULTI_SZ", "/d",
            "\\??\\%s\\CVX1.tmp\\0!\\??\\%s\\a.txt\\0\\??\\C:\\other.tmp\\0!\\??\\C:\\other.txt" % (folder, folder),
            "/f")

        # A font of the product.
        fonts = "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"
        font = self.path("C:\\windows\\Fonts\\exundo.ttf")
        font.write_bytes(b"not really a font")
        reg("add", fonts, "/v", "Example Undo (TrueType)", "/d", "exundo.ttf", "/f")
        reg("add", key, "/v", "ProductFonts", "/d", '"Example Undo (TrueType)" "exundo.ttf" ', "/f")

        data_path = self.path(folder + "\\uninstall\\Uninstall.DAT")
        data = data_path.read_bytes().decode("cp1252")
        data += ("\r\n\r\n[Associations]\r\n.exundo~!~ExUndo.File~!~open\r\n.exolder~!~ExUndo.File~!~open\r\n"
                 "\r\n\r\n[Registry]\r\n\\HKCU\\Software\\Example Undo\\Plain\r\n"
                 "\r\n\r\n[Registry2]\r\n\\HKCU\\Software\\Example Undo,Gone,,x,,0\r\n"
                 "\\HKCU\\Software\\Example Undo,Kept,,x,,1\r\n")
        data_path.write_bytes(data.encode("cp1252"))
        # Written here as an installation that made these would have written
        # it: with its seal in the product's key.
        reg("add", key, "/v", "UninstallDataSHA256", "/d", hashlib.sha256(data.encode("cp1252")).hexdigest(), "/f")

        self.assertEqual(self.run_silently(self.uninstall_command(name, quiet=True)), 0)

        value = lambda k, n: self.registry_value(k, n)
        self.assertEqual((value("HKCU\\Software\\Example Undo", "Plain"), value("HKCU\\Software\\Example Undo", "Gone"),
                          value("HKCU\\Software\\Example Undo", "Kept")), (None, None, "x"))
        self.assertEqual(self.registry_export("HKLM\\Software\\Example Vendor"), [])
        self.assertEqual(self.registry_export("HKCU\\Software\\Example Vendor"), [])
        self.assertEqual(self.registry_export("HKCR\\.exundo"), [])
        self.assertEqual(self.registry_export("HKCR\\ExUndo.File"), [])
        self.assertEqual(self.default_value("HKCR\\.exolder"), "Older.Type")
        self.assertIsNone(value("HKCR\\.exolder", name + " Backup"))
        self.assertEqual((value(shared, three), value(shared, one)), ("0x2", "0x0"))
        self.assertTrue(self.path(three).exists())
        self.assertFalse(self.path(one).exists())
        self.assertIsNone(value(fonts, "Example Undo (TrueType)"))
        self.assertFalse(font.exists())
        pending = [line for line in self.registry_export(session) if "PendingFileRenameOperations" in line]
        self.assertEqual(len(pending), 1)
        self.assertFalse(ours.exists())

    def default_value(self, key: str) -> str:
        done = self.prefix.wine("reg", "query", key, "/ve", text=True)
        for line in done.stdout.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) == 3 and parts[1].startswith("REG_"):
                return parts[2]
        return None

    def test_conditional_deletions_at_install_and_at_uninstall(self):
        name = "Conditional Tool"
        project = product(name, flags="keep_install_log = true") + (
            '[[file_deletion]]\nname = "*.log"\ncondition = "size_at_least"\nvalue = 1000\nat_uninstall = true\n'
            '[[file_deletion]]\nname = "%InstallDir%\\\\stale.txt"\nat_install = true\n')
        setup = self.build("conditional", project, {"files/a.txt": b"a"})
        folder = self.folder(name)
        stale = self.path(folder + "\\stale.txt")
        stale.parent.mkdir(parents=True)
        stale.write_bytes(b"from an old version")
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        self.assertFalse(stale.exists())
        log = self.path(folder + "\\uninstall\\Install.LOG").read_bytes().decode("cp1252")
        self.assertIn("Deleted file: %s\\stale.txt\r\n" % folder, log)
        self.path(folder + "\\big.log").write_bytes(b"x" * 1000)
        self.path(folder + "\\small.log").write_bytes(b"x" * 999)
        self.assertEqual(self.run_silently(self.uninstall_command(name, quiet=True)), 0)
        self.assertFalse(self.path(folder + "\\big.log").exists())
        self.assertTrue(self.path(folder + "\\small.log").exists())
        self.assertFalse(self.path(folder + "\\a.txt").exists())
        self.assertIsNone(self.registry_value(UNINSTALL_KEY + name, "DisplayName"))

    def test_deletion_at_restart_restarts_an_automatic_uninstall(self):
        name = "Restart Tool"
        project = product(name) + ('[[file_deletion]]\nname = "later.dat"\nrestart_only = true\n'
                                   'at_uninstall = true\n')
        setup = self.build("restart", project, {"files/a.txt": b"a"})
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        later = self.path(self.folder(name) + "\\later.dat")
        later.write_bytes(b"deleted at the next restart")
        self.assertEqual(self.run_silently(self.uninstall_command(name, quiet=True)), 0)
        # The uninstaller asked Wine to restart, which carries out the deletion.
        self.prefix.wine("cmd", "/c", "echo", check=True)
        self.assertTrue(wait_until(lambda: not later.exists(), timeout=30))
        self.assertIsNone(self.registry_value(UNINSTALL_KEY + name, "DisplayName"))

    def test_path_variable_is_added_and_taken_out_again(self):
        name = "Path Tool"
        setup = self.build("path", product(name, flags="add_to_path = true"), {"files/a.txt": b"a"})
        environment = "HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Environment"
        before = self.registry_value(environment, "Path")
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        self.assertEqual(self.registry_value(environment, "Path"), before + ";" + self.folder(name))
        self.assertEqual(self.run_silently(setup + " /a"), 1)  # a second installation adds nothing
        self.assertEqual(self.registry_value(environment, "Path"), before + ";" + self.folder(name))
        self.assertEqual(self.run_silently(self.uninstall_command(name, quiet=True)), 0)
        self.assertEqual(self.registry_value(environment, "Path"), before)


if __name__ == "__main__":
    unittest.main()
