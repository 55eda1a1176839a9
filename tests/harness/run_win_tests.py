"""Runs the Windows GoogleTest binary in a fresh prefix copy:
run_win_tests.py <win32|win64> <path of the .exe> [gtest arguments].
The binary is of the flavour that BRENNICK_FLAVOUR names (see wine_env)."""

import shutil
import sys
from pathlib import Path

import machine
from wine_env import Prefix


def main() -> int:
    arch, exe = sys.argv[1], Path(sys.argv[2])
    try:
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
