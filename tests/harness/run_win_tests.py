"""Runs the Windows GoogleTest binary in a fresh prefix copy:
run_win_tests.py <win32|win64> <path of the .exe> [gtest arguments]."""

import shutil
import sys
from pathlib import Path

import machine
from wine_env import Prefix, require_x86_32


def main() -> int:
    arch, exe = sys.argv[1], Path(sys.argv[2])
    try:
        require_x86_32("%s, a 32-bit Windows program," % exe.name)
        prefix = Prefix("win_tests_" + arch, arch)
    except machine.MachineSkip as skip:
        print(skip)
        return machine.SKIP_EXIT_CODE
    with prefix:
        folder = prefix.drive_c / "tests"
        folder.mkdir()
        shutil.copy2(exe, folder / exe.name)
        done = prefix.wine("C:\\tests\\" + exe.name, *sys.argv[3:], timeout=540, cwd=folder, text=True)
        sys.stdout.write(done.stdout)
        sys.stderr.write(done.stderr)
        return done.returncode


if __name__ == "__main__":
    sys.exit(main())
