"""Boots a template Wine prefix once per build tree: make_prefix.py <wine dir> <win32|win64>."""

import os
import shutil
import subprocess
import sys
from pathlib import Path

from wine_env import detach_user_folders, wine_environment, wine_program


def main() -> int:
    wine_dir, arch = Path(sys.argv[1]), sys.argv[2]
    os.environ["BRENNICK_WINE_DIR"] = str(wine_dir)
    prefix = wine_dir / arch
    stamp = wine_dir / (arch + ".ready")
    home = wine_dir / ("home-" + arch)
    for stale in (prefix, home):
        if stale.exists():
            shutil.rmtree(stale)
    stamp.unlink(missing_ok=True)
    home.mkdir(parents=True)
    env = wine_environment(prefix, home, arch, with_display=False)
    subprocess.run([wine_program(), "wineboot", "--init"], env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
    # Without a window manager under Xvfb, every unmanaged window close waits
    # two seconds for one; windows that Wine manages itself close at once.
    subprocess.run([wine_program(), "reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed", "/d", "N", "/f"],
                   env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    if arch == "win64":
        # Where Wine's 32-bit half cannot run, its part of the boot does not
        # happen, and the 32-bit view lacks the Uninstall key every Windows
        # has: an uninstaller would seem to leave it behind.
        subprocess.run([wine_program(), "reg", "add", "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                        "/reg:32", "/f"], env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=120)
    subprocess.run(["wineserver", "-w"], env=env, check=True, timeout=600)
    detach_user_folders(prefix)
    stamp.write_text(arch + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
