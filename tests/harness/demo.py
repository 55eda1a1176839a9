"""The demo: the program started under Wine as a user would start it, with
what it shows read back through the UI driver."""

import shutil
import sys

from wine_env import Prefix, message_box_text, screenshot, windows_dir

RUNS = [
    ("brennick.exe", "the program alone, without a setup package"),
    ("brennick.exe /x", "a switch it does not know"),
    ("brennick.exe /u:\"Demo Product\"", "an uninstall of a product that is not installed"),
]


def main() -> int:
    with Prefix("demo") as prefix:
        work = prefix.host_path("C:\\demo")
        work.mkdir()
        shutil.copy2(windows_dir() / "brennick.exe", work / "brennick.exe")
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
