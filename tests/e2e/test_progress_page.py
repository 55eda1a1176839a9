"""The progress page while an installation runs: the bar's positions through
the file loop, how long the stage texts stay, and Cancel. Installers made by
the builder run without /a; the page is watched by the UI driver's `watch`,
which reads a control every millisecond or two while the program works."""

import json
import subprocess
import time
import unittest

from install_fixture import STAMP, InstallTestCase, noise
from program_fixture import WORK
from wine_env import dialogs, screenshot
from wizard_pages import control

PROGRESS_BAR, ITEM_TEXT, CANCEL, HEADING = 1007, 1011, 1003, 1009
IDOK, IDYES, IDNO = 1, 6, 7
# The bar's positions in an installation of ten files: the stages before the
# file loop, one position per file, and the steps after it.
FILE_POSITIONS = [28 + i * 62 // 10 for i in range(10)]
POSITIONS = [1, 2, 21, 26, 27] + FILE_POSITIONS + [91, 92, 93, 95, 97, 98, 99, 100]


def product(name: str, stage_ms: int, flags: str = "", extra: str = "") -> str:
    """A product that goes straight from the start to the progress page and
    ends without a message. A chunk of 4096 bytes makes every file of a few
    megabytes take some hundred milliseconds."""
    return ('[product]\nname = "%s"\nversion = "1.0"\n'
            '[folders]\ninstall = "C:\\\\%s"\n'
            '[flags]\nno_background_window = true\nshow_progress = true\nno_greeting = true\n'
            'no_finish_message = true\nkeep_install_log = true\n%s\n'
            '[wizard]\nmin_stage_time = %d\n'
            '[[files]]\nsource = "files/**"\n'
            '[build]\nstamp = %s\nchunk_size = 4096\nlevel = 1\n%s'
            % (name, name, flags, stage_ms, STAMP, extra))


def ten_files() -> dict:
    return {"files/part%02d.bin" % i: noise(2 * 1024 * 1024, seed=i) for i in range(10)}


class Watch:
    """`uidriver watch` of one control of the page whose heading is
    `heading`, running while the test drives the program."""

    def __init__(self, prefix, pid: int, control_id: int, heading: str, timeout_ms: int = 120000):
        self.process = subprocess.Popen(
            [prefix.loader, "C:\\tools\\uidriver.exe", "watch", str(pid), str(control_id), "--wait-text", heading,
             "--timeout", str(timeout_ms)],
            env=prefix.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def result(self, timeout: float = 150) -> dict:
        out, err = self.process.communicate(timeout=timeout)
        if self.process.returncode != 0:
            raise AssertionError("uidriver watch failed (%d): %s" % (self.process.returncode, err.strip()))
        return json.loads(out)


def shown_for(changes: list, end: int, text: str) -> int:
    """Milliseconds from when the item line showed `text` (the first time) to
    its next change, or to the end of the page."""
    for index, change in enumerate(changes):
        if change["text"] == text:
            following = changes[index + 1]["at"] if index + 1 < len(changes) else end
            return following - change["at"]
    raise AssertionError("%r never shown: %r" % (text, changes))


def temp_files(prefix) -> set:
    """Every file in the prefix's temporary folders."""
    drive = prefix.drive_c
    return {path.relative_to(drive).as_posix().lower() for path in drive.rglob("*")
            if path.is_file() and "temp" in [part.lower() for part in path.relative_to(drive).parts[:-1]]}


class ProgressPage(InstallTestCase):
    arch = "win64"
    watched = None  # the watched run, made by the first test that needs it

    def watched_run(self) -> dict:
        """One installation of ten files with `min_stage_time = 2000`, its bar
        and its item line watched from the start of the page to its end, and
        the time it took; then the same installation with /a."""
        cls = type(self)
        if cls.watched is None:
            # The post-installation batch gives the finishing stage work of a few hundred milliseconds.
            project = product("Watched Tool", 2000, flags="hide_post_install_batch = true",
                              extra='[batches]\npost_install = "echo done>> C:\\\\work\\\\batch.txt"\n')
            setup = self.build("watched", project, ten_files())
            messages = self.messages(setup)
            started = time.monotonic()
            launched = self.prefix.start(setup, cwd=WORK)
            try:
                bar = Watch(self.prefix, launched.pid, PROGRESS_BAR, messages[39])
                item = Watch(self.prefix, launched.pid, ITEM_TEXT, messages[39])
                self.assertEqual(launched.wait(timeout=120), 1)
            finally:
                launched.kill()
            interactive = time.monotonic() - started
            started = time.monotonic()
            self.assertEqual(self.run_silently(setup + " /a"), 1)
            cls.watched = {"messages": messages, "bar": bar.result(), "item": item.result(),
                           "seconds": interactive, "automatic_seconds": time.monotonic() - started}
        return cls.watched

    def test_bar_runs_through_the_file_positions_in_order(self):
        seen = [change["position"] for change in self.watched_run()["bar"]["changes"]]
        # Only positions of the run, each after the one before: a
        # subsequence of the expected order, never going back.
        self.assertTrue(set(seen) <= set(POSITIONS), seen)
        self.assertEqual(seen, sorted(seen, key=POSITIONS.index), seen)
        self.assertEqual(len(seen), len(set(seen)), seen)
        # The watcher is answered only when the page lets messages through:
        # at each file of megabytes, and otherwise a few times a second. The
        # files go by in milliseconds, so some of their positions pass
        # between two answers; the first and the last file's positions, and
        # the end, are always there.
        files_seen = [p for p in seen if p in FILE_POSITIONS]
        self.assertGreaterEqual(len(files_seen), 5, seen)
        for position in (21, 28, 83, 97, 100):
            self.assertIn(position, seen)
        self.assertTrue(self.path("C:\\Watched Tool\\part09.bin").exists())

    def test_stage_text_stays_for_the_minimum_stage_time(self):
        run = self.watched_run()
        messages, item = run["messages"], run["item"]
        texts = [change["text"] for change in item["changes"]]
        # Checking the archive takes no time, the finishing stage runs the
        # post-installation batch: each stays two seconds, and not much longer.
        for number in (62, 36):
            shown = shown_for(item["changes"], item["end"], messages[number])
            self.assertGreaterEqual(shown, 1900, "%s: %r" % (messages[number], texts))
            self.assertLess(shown, 3500, "%s: %r" % (messages[number], texts))
        self.assertEqual((self.work / "batch.txt").read_bytes(), b"done\r\n" * 2)  # and once with /a
        # A file of megabytes always shows its name (small ones that come
        # fast may be skipped); the watcher sees most of them, in order.
        names = ["C:\\Watched Tool\\part%02d.bin" % index for index in range(10)]
        names_seen = [text for text in texts if text in names]
        self.assertEqual(names_seen, sorted(set(names_seen)), texts)
        self.assertGreaterEqual(len(names_seen), 5, texts)
        self.assertIn(names[-1], names_seen)
        # Five stages stay their two seconds: preparing, checking, unpacking,
        # installing and finishing (the wait before finishing falls in the
        # installing stage, which has had its two seconds already).
        self.assertGreater(run["seconds"], 10, [(c["at"], c["text"]) for c in item["changes"]])

    def test_automatic_mode_does_not_wait(self):
        run = self.watched_run()
        self.assertLess(run["automatic_seconds"], 8, run)
        self.assertLess(run["automatic_seconds"], run["seconds"] / 2, run)

    def progress_page(self, launched, messages: list) -> dict:
        windows = dialogs(self.ui.windows(launched.pid, wait_text=messages[39]))
        self.assertEqual(len(windows), 1, windows)
        return windows[0]

    def box(self, launched, text: str) -> dict:
        """The one message box that shows `text`, over the progress page."""
        windows = self.ui.windows(launched.pid, wait_class="#32770", wait_text=text)
        found = [w for w in dialogs(windows) if any(c["text"] == text for c in w["controls"])]
        self.assertEqual(len(found), 1, windows)
        return found[0]

    def test_cancel_answered_no_goes_on_and_yes_ends_the_installation(self):
        setup = self.build("cancelled", product("Cancelled Tool", 4000), {"files/tool.txt": b"tool\r\n"})
        messages = self.messages(setup)
        folder = "C:\\Cancelled Tool"

        # No: the installation goes on to its end.
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            page = self.progress_page(launched, messages)
            self.assertEqual(page["caption"], messages[54])
            self.assertEqual(control(page, HEADING)["text"], messages[39])
            self.assertEqual(control(page, PROGRESS_BAR)["range"], [0, 100])
            self.assertTrue(control(page, CANCEL)["enabled"])
            self.assertEqual(control(page, CANCEL)["text"].strip(), messages[49])
            self.ui.click(launched.pid, CANCEL)
            question = self.box(launched, messages[28])
            screenshot("progress-cancel-question")
            self.assertEqual((question["caption"], self.box_text(question)), (messages[20], messages[28]))
            self.ui.click(launched.pid, IDNO)
            self.assertEqual(launched.wait(timeout=60), 1)
        finally:
            launched.kill()
        self.assertEqual(self.path(folder + "\\tool.txt").read_bytes(), b"tool\r\n")
        self.assertTrue(self.path(folder + "\\Install.LOG").exists())

        # Yes: the cancel message, exit code 1, and the temporary log goes.
        for name in ("tool.txt", "Install.LOG"):
            self.path(folder + "\\" + name).unlink()
        before = temp_files(self.prefix)
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            self.progress_page(launched, messages)
            self.ui.click(launched.pid, CANCEL)
            self.box(launched, messages[28])
            # The log is written while the page is up.
            self.assertTrue([name for name in temp_files(self.prefix) - before if name.endswith(".tmp")],
                            "no temporary log")
            self.ui.click(launched.pid, IDYES)
            cancelled = self.box(launched, messages[98])
            self.assertEqual((cancelled["caption"], self.box_text(cancelled)), (messages[65], messages[98]))
            self.ui.click(launched.pid, IDOK)
            self.assertEqual(launched.wait(timeout=60), 1)
        finally:
            launched.kill()
        self.assertEqual(sorted(temp_files(self.prefix) - before), [])
        self.assertFalse(self.path(folder + "\\Install.LOG").exists())
        self.assertFalse(self.path(folder + "\\tool.txt").exists())

    def test_cancel_disabled(self):
        setup = self.build("no-cancel", product("Uncancellable Tool", 1000, flags="no_cancel = true"),
                           {"files/tool.txt": b"tool\r\n"})
        messages = self.messages(setup)
        launched = self.prefix.start(setup, cwd=WORK)
        try:
            page = self.progress_page(launched, messages)
            cancel = control(page, CANCEL)
            self.assertEqual(cancel["text"].strip(), messages[49])
            self.assertTrue(cancel["visible"])
            self.assertFalse(cancel["enabled"])
            self.assertEqual(launched.wait(timeout=60), 1)
        finally:
            launched.kill()
        self.assertTrue(self.path("C:\\Uncancellable Tool\\tool.txt").exists())


if __name__ == "__main__":
    unittest.main()
