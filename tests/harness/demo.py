"""The demo: the program started under Wine as a user would start it, with
what it shows read back through the UI driver."""

import os
import shutil
import subprocess
import sys
from pathlib import Path

from wine_env import Prefix, build_dir, message_box_text, screenshot, windows_dir

RUNS = [
    ("setup.exe", "the demo product's installer, made by the builder from examples/demo"),
    ("brennick.exe", "the program alone, without a setup package"),
    ("brennick.exe /x", "a switch it does not know"),
    ("brennick.exe /u:\"Demo Product\"", "an uninstall of a product that is not installed"),
]


def main() -> int:
    with Prefix("demo") as prefix:
        work = prefix.host_path("C:\\demo")
        work.mkdir()
        shutil.copy2(windows_dir() / "brennick.exe", work / "brennick.exe")
        project = Path(os.environ["BRENNICK_SOURCE_DIR"]) / "examples" / "demo" / "project.toml"
        print("$ brennick-build build %s -o setup.exe" % project)
        subprocess.run([str(build_dir() / "brennick-build"), "build", str(project), "-o", str(work / "setup.exe"),
                        "--stub", str(windows_dir() / "brennick.exe")], check=True)
        ui = prefix.ui()
        for number, (command_line, what) in enumerate(RUNS, 1):
            print("=" * 72)
            print("C:\\demo> %s\n    (%s)" % (command_line, what))
            launched = prefix.start(command_line, cwd="C:\\demo")
            box = ui.windows(launched.pid, wait_class="#32770")[0]
            shot = screenshot("demo-%d" % number)
            print("\n[%s]\n%s\n" % (box["caption"], message_box_text(box).replace("\r\n", "\n")))
            ui.click(launched.pid, "OK")
            print("exit code %d; screenshot %s" % (launched.wait(), shot))
    return 0


if __name__ == "__main__":
    sys.exit(main())
