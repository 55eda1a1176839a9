"""Runs the Windows GoogleTest binary in a fresh prefix copy:
run_win_tests.py <win32|win64> <path of the .exe> [gtest arguments]."""

import shutil
import sys
from pathlib import Path

from wine_env import Prefix


def main() -> int:
    arch, exe = sys.argv[1], Path(sys.argv[2])
    with Prefix("win_tests_" + arch, arch) as prefix:
        folder = prefix.drive_c / "tests"
        folder.mkdir()
        shutil.copy2(exe, folder / exe.name)
        done = prefix.wine("C:\\tests\\" + exe.name, *sys.argv[3:], timeout=540, cwd=folder, text=True)
        sys.stdout.write(done.stdout)
        sys.stderr.write(done.stderr)
        return done.returncode


if __name__ == "__main__":
    sys.exit(main())
