"""Installers made by the builder from small project files, run in a prefix
of their own, and the ways to look at what they did."""

import json
import random
import shutil
import subprocess
from pathlib import Path

from program_fixture import WORK, ProgramTestCase
from wine_env import build_dir, dialogs, message_box_text, program_file

# The packaged stamp of every test file: 1 June 2024, 12:00:00 UTC.
STAMP = "2024-06-01T12:00:00"
STAMP_EPOCH = 1717243200


def noise(size: int, seed: int) -> bytes:
    """Incompressible bytes, the same in every run, so that a failure can be
    made again."""
    return random.Random(seed).randbytes(size)


def build_setup(prefix, name: str, project: str, files: dict, stub: Path) -> str:
    """Writes `files` (relative path -> bytes) and the project text into a
    folder of the prefix's own, builds "<name>.exe" from `stub` into C:\\work
    and returns its file name."""
    folder = prefix.root / "projects" / name
    if folder.exists():
        shutil.rmtree(folder)
    for relative, data in files.items():
        path = folder / relative
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
    (folder / "project.toml").write_text(project)
    setup = name + ".exe"
    subprocess.run([str(build_dir() / "brennick-build"), "build", str(folder / "project.toml"),
                    "-o", str(prefix.host_path(WORK) / setup), "--stub", str(stub)], check=True)
    return setup


def registry_value(prefix, key: str, name: str) -> str:
    """A value as `reg query` shows it; None when it is missing."""
    done = prefix.wine("reg", "query", key, "/v", name, text=True)
    for line in done.stdout.splitlines():
        line = line.strip()
        if not line.startswith(name):  # a name may hold blanks
            continue
        parts = line[len(name):].split(None, 1)
        if parts and parts[0].startswith("REG_"):
            return parts[1] if len(parts) == 2 else ""
    return None


def export_registry(prefix, key: str, *options: str) -> str:
    """The text of `reg export` of a key (with `reg` options such as a
    view); None when it cannot be exported."""
    target = prefix.host_path(WORK + "\\export.reg")
    done = prefix.wine("reg", "export", key, WORK + "\\export.reg", "/y", *options, timeout=300)
    if done.returncode != 0:
        return None
    text = target.read_bytes().decode("utf-16")
    target.unlink()
    return text


class InstallTestCase(ProgramTestCase):
    """One prefix per test class; each test builds its own product."""

    @property
    def program_files(self) -> str:
        """Where the 32-bit installer's Program Files folder is."""
        return "C:\\Program Files (x86)" if self.arch == "win64" else "C:\\Program Files"

    def build(self, name: str, project: str, files: dict) -> str:
        """Builds "<name>.exe" into C:\\work from the project text and its
        files (relative path -> bytes); returns its file name."""
        return build_setup(self.prefix, name, project, files, program_file())

    def messages(self, setup: str) -> list:
        """The English language strings of a built setup, by number, with
        the product's name in place of "<product>"."""
        report = json.loads(subprocess.run([str(build_dir() / "brennick-build"), "inspect", str(self.work / setup)],
                                           check=True, capture_output=True, text=True).stdout)
        settings = report["settings"]
        english = settings["LanguageNames"].index("English")
        name = settings["ProductName"]
        return [row[english].replace("<product>", name) for row in settings["Messages"]]

    def run_silently(self, command_line: str, timeout: float = 120) -> int:
        """Runs a command line that must show no window; returns the exit code."""
        launched = self.prefix.start(command_line, cwd=WORK)
        return launched.wait(timeout=timeout)

    def next_box(self, launched, timeout_ms: int = 20000) -> dict:
        windows = dialogs(self.ui.windows(launched.pid, wait_class="#32770", timeout_ms=timeout_ms))
        self.assertEqual(len(windows), 1, "not one window: %r" % windows)
        return windows[0]

    @staticmethod
    def box_text(box: dict) -> str:
        return message_box_text(box)

    @staticmethod
    def buttons(box: dict) -> list:
        return [c["text"] for c in box["controls"] if c["class"].lower() == "button"]

    def path(self, windows_path: str) -> Path:
        return self.prefix.host_path(windows_path)

    def registry_value(self, key: str, name: str) -> str:
        return registry_value(self.prefix, key, name)

    def set_registry_value(self, key: str, name: str, data: str) -> None:
        self.prefix.wine("reg", "add", key, "/v", name, "/d", data, "/f", check=True)
