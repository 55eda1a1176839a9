"""The install run end to end: installers made by the builder, started with
the command lines a user types, checked through the files, the registry, the
install log and the message boxes they show."""

import os
import subprocess
import unittest

from install_fixture import STAMP, STAMP_EPOCH, InstallTestCase, noise
from program_fixture import WORK
from wine_env import screenshot, windows_dir



def product(name: str, extra: str = "", flags: str = "") -> str:
    return ('[product]\nname = "%s"\nversion = "1.0"\n%s\n'
            '[flags]\nno_background_window = true\n%s\n'
            '[build]\nstamp = %s\n' % (name, extra, flags, STAMP))


def twenty_files() -> dict:
    """Three folders, twenty files."""
    files = {}
    for i in range(7):
        files["files/bin/tool%d.txt" % i] = ("tool %d\r\n" % i).encode() * (i + 1)
    for i in range(7):
        files["files/docs/en/page%d.txt" % i] = ("page %d\r\n" % i).encode() * 50
    for i in range(6):
        files["files/data/blob%d.bin" % i] = noise(1000 * (i + 1), seed=i)
    return files


def log_lines(path) -> list:
    return path.read_bytes().decode("cp1252").split("\r\n")


class InstallRun(InstallTestCase):
    def test_installs_folders_and_files_with_dates_attributes_and_log(self):
        files = twenty_files()
        project = product("Example Tool", flags="keep_install_log = true\nlog_files_and_shortcuts = true") + (
            '[[files]]\nsource = "files/bin/tool0.txt"\ndestination = "bin"\nattributes = ["readonly", "hidden"]\n'
            '[[files]]\nsource = "files/**"\nexclude = ["bin/tool0.txt"]\n')
        setup = self.build("example", project, files)
        self.assertEqual(self.run_silently(setup + " /a"), 1)

        root = self.path(self.program_files + "\\Example Tool")
        for relative, data in files.items():
            installed = root / relative[len("files/"):]
            self.assertEqual(installed.read_bytes(), data, relative)
            self.assertEqual(int(installed.stat().st_mtime), STAMP_EPOCH, relative)
        attrib = self.prefix.wine("cmd", "/c", "attrib", self.program_files + "\\Example Tool\\bin\\tool0.txt",
                                  text=True).stdout
        self.assertRegex(attrib.split("C:")[0], r"H.*R|R.*H")

        lines = log_lines(root / "Install.LOG")
        self.assertEqual(lines[0], "Installation log for: Example Tool")
        self.assertRegex(lines[1], r"^Install date: \d{1,2}-[A-Z][a-z]{2}-\d{4} \d{1,2}:\d\d:\d\d[ap]$")
        self.assertEqual(lines[2:5], ["Install location: " + self.program_files + "\\Example Tool",
                                      "Installer version: 27.0.5", "Product version: 1.0"])
        self.assertTrue(lines[5].startswith("Operating system: Windows "), lines[5])
        self.assertEqual(lines[6], "")
        self.assertIn("tool0.txt >>> " + self.program_files + "\\Example Tool\\bin\\tool0.txt", lines)
        self.assertIn("page6.txt >>> " + self.program_files + "\\Example Tool\\docs\\en\\page6.txt", lines)
        self.assertEqual(sum(" >>> " in line for line in lines), 20)
        self.assertEqual(lines[-2:], [self.messages(setup)[43], ""])

        # A second installation into the same folder adds a record after the separator.
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        text = (root / "Install.LOG").read_bytes().decode("cp1252")
        self.assertEqual(text.count("\r\n\r\n" + "*" * 46 + "\r\nInstallation log for: Example Tool\r\n"), 1)

    def test_folder_from_the_command_line(self):
        setup = self.build("placed", product("Placed Tool") + '[[files]]\nsource = "files/**"\n', {"files/a.txt": b"a"} | {"files/sub/b.txt": b"b"})
        self.assertEqual(self.run_silently(setup + ' /a /d:"C:\\Some Folder\\App"'), 1)
        self.assertEqual(self.path("C:\\Some Folder\\App\\a.txt").read_bytes(), b"a")
        self.assertEqual(self.path("C:\\Some Folder\\App\\sub\\b.txt").read_bytes(), b"b")
        self.assertFalse(self.path(self.program_files + "\\Placed Tool").exists())
        # Nothing failed and the log is not kept: no Install.LOG.
        self.assertFalse(self.path("C:\\Some Folder\\App\\Install.LOG").exists())

    def test_interactive_product_asks_even_with_a_and_relabels_buttons(self):
        project = product("Asking Tool", extra='run_mode = "interactive"') + (
            '[languages.English]\n49 = "Stop here"\n'
            '[[files]]\nsource = "files/*"\n')
        setup = self.build("asking", project, {"files/a.txt": b"a"})
        messages = self.messages(setup)
        launched = self.prefix.start(setup + " /a", cwd=WORK)
        greeting = self.next_box(launched)
        screenshot("install-greeting")
        self.assertEqual(greeting["caption"], messages[65])
        self.assertEqual(self.box_text(greeting), messages[1])
        self.assertIn("Stop here", self.buttons(greeting))
        self.ui.click(launched.pid, "OK")
        done = self.next_box(launched)
        self.assertEqual((done["caption"], self.box_text(done)), (messages[43], messages[42]))
        self.ui.click(launched.pid, "OK")
        self.assertEqual(launched.wait(), 1)
        self.assertEqual(self.path(self.program_files + "\\Asking Tool\\a.txt").read_bytes(), b"a")

    def test_overwrite_rules(self):
        shared = self.program_files + "\\Common Files\\Example\\Shared"
        system = "C:\\windows\\system32"
        project = product("Rules Tool", flags="uninstaller = true\nkeep_install_log = true") + (
            '[folders]\nshared = "Example\\\\Shared"\n'
            '[[files]]\nsource = "files/kept.txt"\noverwrite = "only_if_missing"\n'
            '[[files]]\nsource = "files/version200.dll"\nkind = "system"\nversion = "2.0"\n'
            '[[files]]\nsource = "files/same.txt"\nkind = "shared"\n')
        setup = self.build("rules", project, {"files/kept.txt": b"new", "files/version200.dll": b"new dll",
                                              "files/same.txt": b"new shared"})
        kept = self.path(self.program_files + "\\Rules Tool\\kept.txt")
        kept.parent.mkdir(parents=True)
        kept.write_bytes(b"old")
        # A 32-bit program's system folder is SysWOW64 on a 64-bit Windows.
        versioned = self.path(("C:\\windows\\syswow64" if self.arch == "win64" else system) + "\\version200.dll")
        versioned.write_bytes((windows_dir() / "version200.dll").read_bytes())
        same = self.path(shared + "\\same.txt")
        same.parent.mkdir(parents=True)
        same.write_bytes(b"old shared")
        os.utime(same, (STAMP_EPOCH, STAMP_EPOCH))
        old_stamp = "%d/%d/%02d %d:%02d:%02d" % (2024, 1, 2, 3, 4, 5)
        os.utime(versioned, (1704164645, 1704164645))  # 2 January 2024, 3:04:05 UTC

        self.assertEqual(self.run_silently(setup + " /a"), 1)
        self.assertEqual(kept.read_bytes(), b"old")
        self.assertEqual(same.read_bytes(), b"old shared")
        self.assertEqual(versioned.read_bytes(), (windows_dir() / "version200.dll").read_bytes())
        log = (kept.parent / "Install.LOG").read_bytes().decode("cp1252")
        self.assertIn(self.program_files + "\\Rules Tool\\kept.txt was not installed because it already exists.\r\n", log)
        self.assertIn(system + "\\version200.dll was not installed because its version (2.0) is not newer than "
                      "2.0.0.0\r\n", log)
        self.assertIn(shared + "\\same.txt is up to date.\r\n", log)
        self.assertNotIn(old_stamp, log)

    def test_registers_its_uninstaller(self):
        project = product("Registered Tool", extra='publisher = "Example Publisher"',
                          flags="uninstaller = true") + '[uninstall]\nsubdir = "uninstall"\n[[files]]\nsource = "files/*"\n'
        setup = self.build("registered", project, {"files/a.txt": b"a" * 5000})
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        folder = self.program_files + "\\Registered Tool"
        uninstaller = folder + "\\uninstall\\uninstall.exe"
        self.assertEqual(self.path(uninstaller).read_bytes(), (self.work / setup).read_bytes())
        key = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Registered Tool"
        value = lambda name: self.registry_value(key, name)
        self.assertEqual(value("UninstallString"), '"%s" /u:"Registered Tool"' % uninstaller)
        self.assertEqual(value("QuietUninstallString"), '"%s" /a /u:"Registered Tool"' % uninstaller)
        self.assertEqual((value("DisplayName"), value("DisplayVersion"), value("Publisher")),
                         ("Registered Tool", "1.0", "Example Publisher"))
        self.assertEqual(value("InstallLocation"), folder)
        self.assertRegex(value("ProductFlags"), r"^-?\d+$")
        self.assertRegex(value("InstallDate"), r"^\d{1,2}/\d{1,2}/\d\d \d{1,2}:\d\d:\d\d[ap]$")
        self.assertRegex(value("EstimatedSize"), r"^0x[0-9a-f]+$")
        data = self.path(folder + "\\uninstall\\Uninstall.DAT").read_bytes().decode("cp1252")
        self.assertTrue(data.startswith(folder + "\\a.txt\r\n"), data[:200])
        self.assertIn("\r\n\r\n[Strings]\r\n~10\r\n", data)

    def test_failure_is_summarised_and_the_run_goes_on(self):
        setup = self.build("failing", product("Failing Tool") + '[[files]]\nsource = "files/**"\n',
                           {"files/bin/a.txt": b"a", "files/top.txt": b"top", "files/zz/z.txt": b"z"})
        blocker = self.path(self.program_files + "\\Failing Tool\\bin")
        blocker.parent.mkdir(parents=True)
        blocker.write_bytes(b"a file where a folder should be")
        self.assertEqual(self.run_silently(setup + " /a"), 1)
        self.assertEqual(self.path(self.program_files + "\\Failing Tool\\top.txt").read_bytes(), b"top")
        self.assertEqual(self.path(self.program_files + "\\Failing Tool\\zz\\z.txt").read_bytes(), b"z")
        log = self.path(self.program_files + "\\Failing Tool\\Install.LOG").read_bytes().decode("cp1252")
        summary = log[log.index("*** FAILURE SUMMARY ***\r\n"):]
        messages = self.messages(setup)
        folder = self.program_files + "\\Failing Tool"
        self.assertIn(messages[25] + " " + folder + "\\bin\r\n"
                      "Cannot create directory because there is a file with the same name.\r\n\r\n"
                      "Not installed: " + folder + "\\bin\\a.txt\r\n\r\n", summary)


class InstallRun64(InstallRun):
    """The same runs in a 64-bit prefix: the 32-bit installer in the 32-bit view."""
    arch = "win64"


class InstallRefusals(InstallTestCase):
    def test_second_copy_is_refused_while_the_first_runs(self):
        project = product("Single Tool", flags="single_instance = true") + '[[files]]\nsource = "files/*"\n'
        setup = self.build("single", project, {"files/a.txt": b"a"})
        messages = self.messages(setup)
        first = self.prefix.start(setup, cwd=WORK)
        self.assertEqual(self.box_text(self.next_box(first)), messages[1])  # the greeting waits
        second = self.prefix.start(setup, cwd=WORK)
        refusal = self.next_box(second)
        self.assertEqual((refusal["caption"], self.box_text(refusal)), (messages[21], messages[91]))
        self.ui.click(second.pid, "OK")
        self.assertEqual(second.wait(), 1)
        self.ui.click(first.pid, "OK")
        self.assertEqual(self.box_text(self.next_box(first)), messages[42])
        self.ui.click(first.pid, "OK")
        self.assertEqual(first.wait(), 1)
        self.assertEqual(self.path(self.program_files + "\\Single Tool\\a.txt").read_bytes(), b"a")

    def test_registry_folder_without_a_value(self):
        setting = "HKCU\\Software\\Example\\Dir"
        project = product("Registry Tool", flags="no_greeting = true") + (
            '[folders]\ninstall = "HKCU\\\\Software\\\\Example\\\\Dir"\n[[files]]\nsource = "files/*"\n')
        setup = self.build("registry", project, {"files/a.txt": b"a"})
        self.set_registry_value("HKCU\\Software\\Example", "Dir", "")
        self.assertEqual(self.run_silently(setup + " /a"), 1)  # automatic: no message
        caption, text, code = self.run_to_message_box(setup)
        self.assertEqual((caption, text, code),
                         (self.messages(setup)[21], 'Failed to obtain installation directory from "%s"' % setting, 1))

    def test_master_product_counts_as_installed_by_its_uninstall_values(self):
        project = product("Addon Tool", flags="master_product = true\nno_greeting = true") + (
            '[master]\nproduct = "Base Tool"\ndisplay_name = "Base Tool Deluxe"\n'
            '[folders]\ninstall = "<master>"\n[[files]]\nsource = "files/*"\n')
        setup = self.build("addon", project, {"files/addon.txt": b"addon"})
        key = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Base Tool"
        # Not installed: refused, with the master's display name.
        caption, text, code = self.run_to_message_box(setup)
        self.assertEqual((text, code), (self.messages(setup)[12].replace("%s", "Base Tool Deluxe"), 1))
        # Either uninstall value makes it installed, also when it is empty.
        base = self.prefix.drive_c / "Base Tool"
        base.mkdir(exist_ok=True)
        self.set_registry_value(key, "InstallLocation", "C:\\Base Tool")
        for value in ("UninstallString", "QuietUninstallString"):
            with self.subTest(value):
                self.set_registry_value(key, value, "")
                self.assertEqual(self.run_silently(setup + " /a"), 1)
                self.assertEqual((base / "addon.txt").read_bytes(), b"addon")
                (base / "addon.txt").unlink()
                self.prefix.wine("reg", "delete", key, "/v", value, "/f", check=True)

    def test_no_at_the_version_question_cancels_and_leaves_the_log(self):
        name = "Earlier Tool"
        folder = self.program_files + "\\" + name
        project = product(name, flags="uninstaller = true\nno_greeting = true\nkeep_install_log = true") + (
            '[[files]]\nsource = "files/*"\n')
        setup = self.build("earlier", project, {"files/a.txt": b"new"})
        messages = self.messages(setup)
        self.path(folder).mkdir(parents=True)
        old_log = b"Installation log for: Earlier Tool\r\nan earlier record\r\n"
        self.path(folder + "\\Install.LOG").write_bytes(old_log)
        self.set_registry_value("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name,
                                "InstallLocation", folder)
        temp = self.path(self.prefix.wine("cmd", "/c", "echo %TEMP%", text=True).stdout.strip())
        before = set(os.listdir(temp)) if temp.exists() else set()

        launched = self.prefix.start(setup, cwd=WORK)
        question = self.next_box(launched)
        self.assertEqual(question["caption"], messages[2])
        self.assertEqual(self.box_text(question), messages[3] + "\r\n" + folder + "\r\n\r\n" + messages[7])
        self.assertIn(messages[80], self.buttons(question))
        self.ui.click(launched.pid, messages[80].replace("&", ""))
        cancelled = self.next_box(launched)
        self.assertEqual((cancelled["caption"], self.box_text(cancelled)), (messages[65], messages[98]))
        self.ui.click(launched.pid, "OK")
        self.assertEqual(launched.wait(), 1)
        self.assertEqual(self.path(folder + "\\Install.LOG").read_bytes(), old_log)
        self.assertFalse(self.path(folder + "\\a.txt").exists())
        after = set(os.listdir(temp)) if temp.exists() else set()
        self.assertEqual(after - before, set())


class LockedFile(InstallTestCase):
    SESSION_MANAGER = "HKLM\\System\\CurrentControlSet\\Control\\Session Manager"

    def pending_renames(self) -> list:
        """PendingFileRenameOperations as its strings, in order."""
        self.prefix.wine("reg", "export", self.SESSION_MANAGER, "C:\\work\\session.reg", "/y")
        lines = (self.work / "session.reg").read_bytes().decode("utf-16").splitlines()
        hex_text = ""
        for i, line in enumerate(lines):
            if line.startswith('"PendingFileRenameOperations"=hex(7):'):
                hex_text = line.split(":", 1)[1]
                while hex_text.endswith("\\"):
                    i += 1
                    hex_text = hex_text[:-1] + lines[i].strip()
                break
        raw = bytes(int(b, 16) for b in hex_text.split(",") if b)
        return [s for s in raw.decode("utf-16-le").split("\0") if s]

    def install_over_held_file(self, name: str, flags: str = ""):
        """Builds a product whose one file exists already and is held open by
        another program while the installer runs; returns (setup, target,
        holder, folder)."""
        folder = self.program_files + "\\" + name
        project = product(name, flags="keep_install_log = true\n" + flags) + (
            '[[files]]\nsource = "files/locked.dat"\nkind = "versioned_program"\n')
        setup = self.build(name.replace(" ", "-"), project, {"files/locked.dat": b"new data"})
        target = self.path(folder + "\\locked.dat")
        target.parent.mkdir(parents=True)
        target.write_bytes(b"old data")
        os.utime(target, (STAMP_EPOCH - 86400, STAMP_EPOCH - 86400))
        tool = self.prefix.drive_c / "tools" / "holdfile.exe"
        if not tool.exists():
            tool.write_bytes((windows_dir() / "holdfile.exe").read_bytes())
        holder = subprocess.Popen([self.prefix.loader, "C:\\tools\\holdfile.exe", folder + "\\locked.dat"], env=self.prefix.env,
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.assertEqual(holder.stdout.readline().strip(), "held")
        return setup, target, holder, folder

    @staticmethod
    def release(holder) -> None:
        holder.stdin.close()
        holder.wait(timeout=60)

    def test_file_in_use_is_registered_and_replaced_at_restart(self):
        setup, target, holder, folder = self.install_over_held_file("Asked Tool", "ask_restart_in_automatic_mode = true")
        messages = self.messages(setup)
        try:
            launched = self.prefix.start(setup + " /a", cwd=WORK)
            question = self.next_box(launched)
            self.assertEqual((question["caption"], self.box_text(question)), (messages[20], messages[37]))
            self.ui.click(launched.pid, messages[80].replace("&", ""))  # no restart now
            self.assertEqual(launched.wait(), 1)
        finally:
            self.release(holder)
        self.assertEqual(target.read_bytes(), b"old data")
        temp_files = list(target.parent.glob("CVX*.tmp"))
        self.assertEqual(len(temp_files), 1, temp_files)
        self.assertEqual(temp_files[0].read_bytes(), b"new data")
        pending = self.pending_renames()
        self.assertEqual(len(pending), 2, pending)
        self.assertRegex(pending[0], r"^\\\?\?\\C:\\.*\\CVX[0-9A-Fa-f]+\.tmp$")
        self.assertEqual(pending[1].upper(), "!\\??\\" + folder.upper() + "\\LOCKED.DAT")
        log = self.path(folder + "\\Install.LOG").read_bytes().decode("cp1252")
        self.assertIn('"%s\\locked.dat" was successfully registered for replacement.\r\nTemporary file is "' % folder, log)
        self.assertIn("Reboot will be required.\r\n", log)

        # Wine carries out the pending renames when the prefix restarts.
        self.prefix.wine("wineboot", "-r", check=True)
        self.assertEqual(target.read_bytes(), b"new data")
        self.assertEqual(list(target.parent.glob("CVX*.tmp")), [])
        self.assertEqual(self.pending_renames(), [])

    def test_automatic_run_restarts_without_asking(self):
        setup, target, holder, _ = self.install_over_held_file("Restarting Tool")
        try:
            self.assertEqual(self.run_silently(setup + " /a"), 1)  # no question: nothing waits for an answer
        finally:
            self.release(holder)
        # The installer asked Wine to restart: once the prefix is up again the
        # new data is in place.
        self.prefix.wine("cmd", "/c", "echo", check=True)
        self.assertEqual(target.read_bytes(), b"new data")
        self.assertEqual(list(target.parent.glob("CVX*.tmp")), [])

if __name__ == "__main__":
    unittest.main()
