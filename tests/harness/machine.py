"""What this machine can run: whether it executes 32-bit x86 code natively
(and so 32-bit Windows programs under Wine), and which Wine loader runs
programs in a 64-bit prefix.

Found out once per configure of the build tree (`machine.py probe <file>`,
called by CMake) and read back by every test from that file. Setting
BRENNICK_NO_32BIT=1 makes a machine that has 32-bit execution take the path
of one that has not, so that path can be tried anywhere.

    machine.py probe <facts.json>    probe, write the file when it changed, print one line
    machine.py show <facts.json>     print what the file says"""

import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

FORCE_VARIABLE = "BRENNICK_NO_32BIT"
WINE32_LOADER = "/usr/lib/wine/wine"
WINE64_LOADER = "/usr/lib/wine/wine64"

# The first words of every skip this module causes; the test runners and the
# report at the end of the test command recognise a machine skip by them.
SKIP_MARK = "not run on this machine"

# ctest reports a test that ends with this code as skipped (SKIP_RETURN_CODE).
SKIP_EXIT_CODE = 77

# What the tiny program returns when it ran.
PROBE_EXIT_CODE = 42


class MachineSkip(unittest.SkipTest):
    """A test that needs something this machine cannot run."""


def forced() -> bool:
    return os.environ.get(FORCE_VARIABLE, "") not in ("", "0")


def tiny_i386_program() -> bytes:
    """A static 32-bit x86 ELF program that only calls exit(42): one ELF
    header, one loadable segment, twelve bytes of code."""
    base = 0x08048000
    code = (b"\xb8\x01\x00\x00\x00"                     # mov eax, 1 (exit)
            + b"\xbb" + struct.pack("<I", PROBE_EXIT_CODE)  # mov ebx, 42
            + b"\xcd\x80")                              # int 0x80
    header_size, segment_header_size = 52, 32
    size = header_size + segment_header_size + len(code)
    header = (b"\x7fELF\x01\x01\x01" + bytes(9)
              + struct.pack("<HHIIIIIHHHHHH", 2, 3, 1, base + header_size + segment_header_size,
                            header_size, 0, 0, header_size, segment_header_size, 1, 0, 0, 0))
    segment = struct.pack("<IIIIIIII", 1, 0, base, base, size, size, 5, 0x1000)
    return header + segment + code


def binfmt_emulator(program: bytes, folder: Path = Path("/proc/sys/fs/binfmt_misc")) -> str:
    """The interpreter of an enabled binfmt_misc entry that would take this
    program (an emulator such as qemu-i386), or "" when none would."""
    status = folder / "status"
    if not status.exists() or status.read_text().strip() != "enabled":
        return ""
    for entry in sorted(folder.iterdir()):
        if entry.name in ("status", "register"):
            continue
        try:
            lines = entry.read_text().splitlines()
        except OSError:
            continue
        fields = dict(line.split(" ", 1) for line in lines if " " in line)
        if not lines or lines[0] != "enabled" or "magic" not in fields:
            continue
        magic = bytes.fromhex(fields["magic"])
        mask = bytes.fromhex(fields["mask"]) if "mask" in fields else b"\xff" * len(magic)
        offset = int(fields.get("offset", "0"))
        window = program[offset:offset + len(magic)]
        if len(window) == len(magic) and all((b & m) == (g & m) for b, m, g in zip(window, mask, magic)):
            return "%s (binfmt_misc entry %s)" % (fields.get("interpreter", "?"), entry.name)
    return ""


def run_tiny_program(folder: Path) -> str:
    """Why this machine does not execute 32-bit x86 code natively, or "" when it does."""
    program = tiny_i386_program()
    emulator = binfmt_emulator(program)
    if emulator:
        return ("32-bit x86 programs start only through the emulator %s, far too slow for Wine; "
                "that does not count" % emulator)
    folder.mkdir(parents=True, exist_ok=True)
    with tempfile.NamedTemporaryFile(dir=folder, prefix="probe-i386-", delete=False) as file:
        file.write(program)
    try:
        os.chmod(file.name, 0o755)
        done = subprocess.run([file.name], capture_output=True, timeout=30)
    except OSError as error:
        return "the kernel does not start 32-bit x86 programs (%s)" % (error.strerror or error)
    finally:
        os.unlink(file.name)
    if done.returncode != PROBE_EXIT_CODE:
        return "a 32-bit x86 test program ended with %d instead of %d" % (done.returncode, PROBE_EXIT_CODE)
    return ""


def wine_loader_fails(loader: str) -> str:
    """Why a Wine loader does not answer `--version`, or "" when it does."""
    if not os.access(loader, os.X_OK):
        return "%s is not installed" % loader
    try:
        done = subprocess.run([loader, "--version"], capture_output=True, text=True, timeout=60)
    except OSError as error:
        return "%s does not start (%s)" % (loader, error.strerror or error)
    if done.returncode != 0 or not done.stdout.startswith("wine"):
        return "%s --version ended with %d" % (loader, done.returncode)
    return ""


def find_wine64_loader() -> str:
    """The 64-bit Wine loader of Debian's wine64 package."""
    listing = subprocess.run(["dpkg", "-L", "wine64"], capture_output=True, text=True)
    for line in listing.stdout.splitlines():
        if line.endswith("/wine64") and "/lib/" in line and os.access(line, os.X_OK):
            return line
    return WINE64_LOADER if os.access(WINE64_LOADER, os.X_OK) else (shutil.which("wine64") or "")


def probe(folder: Path) -> dict:
    """The facts of this machine; `folder` is where the tiny program may be written."""
    reason = run_tiny_program(folder) or wine_loader_fails(WINE32_LOADER)
    return with_force({"x86_32": not reason, "reason": reason, "forced": False,
                       "wine64_loader": find_wine64_loader()})


def load(path: Path) -> dict:
    """The facts written by `probe`; the variable, set after the probe, still
    forces the path without 32-bit execution."""
    return with_force(json.loads(Path(path).read_text()))


def with_force(facts: dict) -> dict:
    if forced() and facts["x86_32"]:
        facts.update(x86_32=False, forced=True,
                     reason="%s=%s makes this machine take the path of one without 32-bit execution"
                     % (FORCE_VARIABLE, os.environ[FORCE_VARIABLE]))
    return facts


def describe(facts: dict) -> str:
    if facts["x86_32"]:
        return "this machine executes 32-bit x86 code: every Windows test runs"
    return "this machine does not execute 32-bit x86 code: %s" % facts["reason"]


def main() -> int:
    command, path = sys.argv[1], Path(sys.argv[2])
    if command == "probe":
        text = json.dumps(probe(path.parent), indent=2) + "\n"
        if not path.exists() or path.read_text() != text:
            path.write_text(text)
    print(describe(load(path)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
