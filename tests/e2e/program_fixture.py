"""A prefix with the program copied into C:\\work, and a way to run it up to
its one message box."""

import shutil
import unittest

from wine_env import Prefix, dialogs, flavour, message_box_text, prefix_arch, program_file, screenshot

WORK = "C:\\work"


class ProgramTestCase(unittest.TestCase):
    arch = "win32"

    @classmethod
    def setUpClass(cls):
        if cls.repeats_its_parent() and not cls.own_tests():
            raise unittest.SkipTest("the program for 64-bit Windows runs %s in the 64-bit prefix already"
                                    % cls.__mro__[1].__name__)
        cls.arch = prefix_arch(cls.arch)
        cls.prefix = Prefix("%s_%s" % (cls.__name__, cls.arch), cls.arch)
        cls.work = cls.prefix.host_path(WORK)
        cls.work.mkdir()
        shutil.copy2(program_file(), cls.work / "brennick.exe")
        cls.ui = cls.prefix.ui()

    @classmethod
    def repeats_its_parent(cls) -> bool:
        """A class that repeats its parent's tests in the 64-bit prefix: with
        the program for 64-bit Windows the parent runs there itself."""
        parent = cls.__mro__[1]
        return (flavour() == "x64" and cls.__dict__.get("arch") == "win64"
                and any(name.startswith("test_") for name in dir(parent)))

    @classmethod
    def own_tests(cls) -> list:
        return [name for name in cls.__dict__ if name.startswith("test_")]

    def setUp(self):
        if self.repeats_its_parent() and self._testMethodName not in self.own_tests():
            self.skipTest("the program for 64-bit Windows runs it in %s already" % type(self).__mro__[1].__name__)

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def run_to_message_box(self, command_line: str, app: str = None, shot: str = None):
        """Starts the program with `command_line`, reads the one window it
        shows (a message box), presses OK and returns (caption, text, exit code)."""
        launched = self.prefix.start(command_line, app=app, cwd=WORK)
        try:
            windows = dialogs(self.ui.windows(launched.pid, wait_class="#32770"))
        except AssertionError:
            launched.kill()
            raise
        self.assertEqual(len(windows), 1, "more than one window: %r" % windows)
        box = windows[0]
        self.assertEqual(box["class"], "#32770")
        if shot:
            screenshot(shot)
        self.ui.click(launched.pid, "OK")
        return box["caption"], message_box_text(box), launched.wait()

    def copy_with(self, name: str, patches: dict) -> str:
        """A copy of the program in C:\\work with bytes replaced at offsets."""
        data = bytearray((self.work / "brennick.exe").read_bytes())
        for offset, value in patches.items():
            data[offset:offset + len(value)] = value
        (self.work / name).write_bytes(bytes(data))
        return WORK + "\\" + name
