"""The demo: the program started under Wine as a user would start it, with
what it shows read back through the UI driver; then the wizard example
walked through all its pages (demo_wizard.py).

    demo.py                       the whole demo
    demo.py --wizard-sheet FILE   the wizard walk alone, and the smaller
                                  contact sheet of its pages written to FILE
                                  (docs/wizard.png is made so)"""

import argparse
import json
import os
import shutil
import subprocess
import sys
from pathlib import Path

import demo_wizard
from wine_env import (Prefix, build_dir, dialogs, flavour, machine_facts, message_box_text, program_file, screenshot,
                      wait_until)

UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brennick Demo"


def product_folder(prefix: Prefix) -> str:
    """Where the demo product goes: the 32-bit program-files folder."""
    return ("C:\\Program Files (x86)" if prefix.arch == "win64" else "C:\\Program Files") + "\\Brennick Demo"

RUNS = [
    ("setup.exe", "the demo product's installer, made by the builder from examples/demo: its first page, "
                  "then Cancel"),
    ("setup.exe /a", "the same installer in automatic mode: no pages, no questions"),
    ("brennick.exe", "the program alone, without a setup package"),
    ("brennick.exe /x", "a switch it does not know"),
    ("brennick.exe /u:\"Demo Product\"", "an uninstall of a product that is not installed"),
]


def is_message_box(window: dict) -> bool:
    """A message box, not a wizard page: pages have the Next button (1001)."""
    return not any(c["id"] == 1001 for c in window["controls"])


def window_text(window: dict) -> str:
    """A message box's text, or a page's texts and buttons line by line."""
    if is_message_box(window):
        return message_box_text(window).replace("\r\n", "\n")
    lines = []
    for c in window["controls"]:
        text = c["text"].replace("&", "").strip()
        if c["visible"] and text:
            lines.append("[%s]" % text if c["class"].lower() == "button" else text.replace("\r\n", "\n"))
        if c["visible"] and c.get("items"):
            lines += ["  %s %s" % (">" if i == c.get("selected") else " ", item) for i, item in enumerate(c["items"])]
    return "\n".join(lines)


def press(ui, pid: int, button) -> None:
    """Clicks a button of the program's one window; once more when the driver
    failed and the window is still there (now and then Wine fails to start a
    program while its desktop process is ending or starting)."""
    try:
        ui.click(pid, button)
    except AssertionError:
        if not dialogs(ui.windows(pid, wait_class="#32770", timeout_ms=2000)):
            raise
        ui.click(pid, button)


def show_installation(prefix: Prefix) -> None:
    folder = prefix.host_path(product_folder(prefix))
    print("\n%s:" % product_folder(prefix))
    for path in sorted(folder.rglob("*")):
        if path.is_file():
            print("    %-40s %8d bytes" % (str(path.relative_to(folder)).replace("/", "\\"), path.stat().st_size))
    for log in sorted(folder.rglob("Install.LOG")):
        print("\n%s:" % str(log.relative_to(folder)).replace("/", "\\"))
        print("    " + log.read_bytes().decode("cp1252").replace("\r\n", "\n    "))


def show_uninstall_key(prefix: Prefix) -> str:
    """Prints the product's Uninstall key; returns its QuietUninstallString."""
    done = prefix.wine("reg", "query", UNINSTALL_KEY, text=True)
    print("\n%s:" % UNINSTALL_KEY)
    quiet = ""
    for line in done.stdout.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            print("    %-22s %-14s %s" % (parts[0], parts[1], parts[2] if len(parts) == 3 else ""))
            if parts[0] == "QuietUninstallString":
                quiet = parts[2]
    return quiet


def uninstall(prefix: Prefix, command_line: str) -> None:
    """Runs the registered quiet uninstall command and shows what is left."""
    print("=" * 72)
    print("C:\\demo> %s\n    (the QuietUninstallString registered above)" % command_line)
    launched = prefix.start(command_line, cwd="C:\\demo")
    print("exit code %d" % launched.wait(timeout=300))
    folder = prefix.host_path(product_folder(prefix))
    # The uninstaller's own file and folders go a few seconds after it ended.
    wait_until(lambda: not folder.exists(), timeout=40)
    left = sorted(str(p.relative_to(folder)) for p in folder.rglob("*")) if folder.exists() else []
    print("\n%s: %s" % (product_folder(prefix), "still there: %s" % left if folder.exists() else "gone"))
    key = prefix.wine("reg", "query", UNINSTALL_KEY, text=True)
    print("%s: %s" % (UNINSTALL_KEY, "still there" if key.returncode == 0 else "gone"))


def build_setup(work: Path) -> Path:
    """Makes the demo product's setup.exe in `work` with the builder."""
    project = Path(os.environ["BRENNICK_SOURCE_DIR"]) / "examples" / "demo" / "project.toml"
    print("$ brennick-build build %s -o setup.exe" % project)
    setup = work / "setup.exe"
    subprocess.run([str(build_dir() / "brennick-build"), "build", str(project), "-o", str(setup),
                    "--stub", str(program_file())], check=True)
    return setup


def show_package(setup: Path) -> None:
    """What the builder reads back from the setup it made: a digest of
    `brennick-build inspect`."""
    print("$ brennick-build inspect setup.exe")
    done = subprocess.run([str(build_dir() / "brennick-build"), "inspect", str(setup)], check=True,
                          capture_output=True, text=True)
    package = json.loads(done.stdout)
    header, settings = package["header"], package["settings"]
    print("    setup.exe                %d bytes" % setup.stat().st_size)
    print("    package                  version %s, %d files, archive of %d bytes" %
          (header["PackageVersion"], header["FileCount"], header["ArchiveSize"]))
    for key in ("ProductName", "DisplayVersion", "Publisher", "DefaultInstallDir", "ProductStartMenu"):
        print("    %-24s %s" % (key, settings[key]))
    print("    %-24s %s" % ("flags", ", ".join(settings["flags"])))
    for entry in package["files"]:
        print("    file %-38s %8d bytes  %s" % (entry["Name"], entry["Size"], entry["Checksum"]))


def show_package_only(facts: dict) -> list:
    """Where the 32-bit program cannot run: what the builder makes instead."""
    print("This machine runs no 32-bit programs (%s), so the demo cannot start the 32-bit installer under Wine; "
          "it shows what the builder makes instead." % facts["reason"])
    work = build_dir() / "demo"
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    show_package(build_setup(work))
    return ["the demo product's installer: the 32-bit program does not run here (%s)" % facts["reason"]]


def run_demo_product() -> list:
    """The demo product: built, installed with /a, removed again, and the
    other command lines with the one window each shows. Returns what it
    could not run."""
    facts = machine_facts()
    if flavour() == "x86" and not facts["x86_32"]:
        return show_package_only(facts)
    not_run = []
    if flavour() == "x64":
        print("The demo runs the program for 64-bit Windows (%s) in a 64-bit prefix%s." %
              (program_file().name, "" if facts["x86_32"] else
               ": this machine runs no 32-bit programs (%s)" % facts["reason"]))
        if not facts["x86_32"]:
            not_run.append("the 32-bit program (%s): this machine runs no 32-bit programs (%s); the demo product "
                           "ran with %s instead" % (program_file("x86").name, facts["reason"], program_file().name))
    with Prefix("demo") as prefix:
        work = prefix.host_path("C:\\demo")
        work.mkdir()
        shutil.copy2(program_file(), work / "brennick.exe")
        show_package(build_setup(work))
        ui = prefix.ui()
        for number, (command_line, what) in enumerate(RUNS, 1):
            print("=" * 72)
            print("C:\\demo> %s\n    (%s)" % (command_line, what))
            launched = prefix.start(command_line, cwd="C:\\demo")
            if command_line.endswith(" /a"):
                print("exit code %d" % launched.wait(timeout=300))
                show_installation(prefix)
                uninstall(prefix, show_uninstall_key(prefix))
                continue
            box = dialogs(ui.windows(launched.pid, wait_class="#32770"))[0]
            shot = screenshot("demo-%d" % number)
            print("\n[%s]\n%s\n" % (box["caption"], window_text(box)))
            press(ui, launched.pid, "OK" if is_message_box(box) else 1003)
            print("exit code %d; screenshot %s" % (launched.wait(), shot))
    return not_run


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--wizard-sheet", metavar="FILE", type=Path,
                        help="walk the wizard example only and write the smaller contact sheet to FILE")
    args = parser.parse_args()
    with demo_wizard.own_screen():
        not_run = [] if args.wizard_sheet else run_demo_product()
        not_run += demo_wizard.run(args.wizard_sheet)
    if not_run:
        print("\nNot run or not as it should be:")
        for line in not_run:
            print("  - " + line)
    return 0


if __name__ == "__main__":
    sys.exit(main())
