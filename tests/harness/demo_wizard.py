"""The demo's wizard part: the wizard example (examples/wizard) installed
the way a person does it, page by page, once at 96 DPI and once at 144 DPI,
each in a prefix of its own; a picture of every page, cut out of the screen,
and a contact sheet of them all. Also the X server the whole demo runs on."""

import json
import os
import shutil
import subprocess
import sys
import threading
from contextlib import contextmanager
from pathlib import Path

import wine_env
from wine_env import Prefix, build_dir, dialogs, screenshot

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
from wizard_pages import check, control  # noqa: E402  (tests/e2e, not on the harness's path)

PASSWORD = "wizard"
# The example asks for the program for 64-bit Windows, whatever flavour the rest of the demo runs.
FLAVOUR = "x64"
# The walks: the system DPI and the language chosen on the language page.
WALKS = ((96, "English"), (144, "Deutsch"))
# Pixels of the background around a page's window in its picture, at 96 DPI.
MARGIN = 16
# The pages at 144 DPI that the smaller sheet (the one in docs/) shows after all pages at 96 DPI.
DOCS_144 = ("Licence", "Progress")
WINE_FONTS = Path("/usr/share/wine/fonts")
INSTALL_FOLDER = "C:\\Program Files (x86)\\Brennick Wizard Demo"


@contextmanager
def own_screen(size: str = "1280x1024x24"):
    """An X server of the demo's own while the block runs: the build tree's
    shared one shows the windows of every test run going on at the same time,
    and those must not end up in the demo's pictures or take its keyboard.
    Every prefix made and every screenshot taken meanwhile uses it."""
    read_fd, write_fd = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", size, "-nolisten", "tcp"],
                              pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              start_new_session=True)
    os.close(write_fd)
    with os.fdopen(read_fd) as reader:
        number = reader.readline().strip()
    if not number:
        server.wait(timeout=30)
        raise RuntimeError("Xvfb did not start")
    shared = wine_env.display
    wine_env.display = lambda: ":" + number
    try:
        yield
    finally:
        wine_env.display = shared
        server.terminate()
        server.wait(timeout=30)


def language_rows(setup: Path) -> dict:
    """The language strings of a setup by language name, with the product's name for "<product>"."""
    done = subprocess.run([str(build_dir() / "brennick-build"), "inspect", str(setup)], check=True,
                          capture_output=True, text=True)
    settings = json.loads(done.stdout)["settings"]
    name = settings["ProductName"]
    return {language: [row[index].replace("<product>", name) for row in settings["Messages"]]
            for index, language in enumerate(settings["LanguageNames"])}


def build_wizard_setup(folder: Path) -> Path:
    """Makes the wizard example's setup in `folder` with the builder."""
    project = Path(os.environ["BRENNICK_SOURCE_DIR"]) / "examples" / "wizard" / "project.toml"
    setup = folder / "wizard-setup.exe"
    print("$ brennick-build build %s -o wizard-setup.exe --stub %s" %
          (project, wine_env.program_file(FLAVOUR).name))
    subprocess.run([str(build_dir() / "brennick-build"), "build", str(project), "-o", str(setup),
                    "--stub", str(wine_env.program_file(FLAVOUR))], check=True)
    return setup


def cut_out(screen: Path, window: dict, dpi: int, target: Path) -> Path:
    """The window's rectangle (screen coordinates, as the UI driver reports
    it) and a margin, cut out of a picture of the whole screen."""
    margin = MARGIN * dpi // 96
    left, top, right, bottom = window["rect"]
    left, top = max(left - margin, 0), max(top - margin, 0)
    width, height = right + margin - left, bottom + margin - top
    subprocess.run(["convert", str(screen), "-crop", "%dx%d+%d+%d" % (width, height, left, top), "+repage",
                    str(target)], check=True, capture_output=True)
    screen.unlink()
    return target


class Walk:
    """One installation of the wizard example, every page worked through the
    UI driver as a person works it, with a picture of each page: `pictures`
    holds (page, picture) in the order of the pages."""

    def __init__(self, prefix: Prefix, setup: str, rows: dict, dpi: int, language: str, folder: Path):
        self.prefix, self.setup, self.dpi, self.language, self.folder = prefix, setup, dpi, language, folder
        self.text = rows[language]
        self.ui = prefix.ui()
        self.pictures = []
        self.pid = None

    def page(self, text: str, timeout_ms: int = 30000) -> dict:
        """The one dialog of the program that shows `text`."""
        found = dialogs(self.ui.windows(self.pid, wait_class="#32770", wait_text=text, timeout_ms=timeout_ms))
        if len(found) != 1:
            raise AssertionError("not one page with %r: %r" % (text, [w["caption"] for w in found]))
        return found[0]

    def picture(self, name: str, window: dict) -> None:
        picture = self.folder / ("%s-%d.png" % (name.lower().replace(" ", "-"), self.dpi))
        self.pictures.append((name, cut_out(screenshot("wizard-demo-screen"), window, self.dpi, picture)))
        print("    %-11s %4d x %-4d pixels   %s" % (name, window["client"][0], window["client"][1],
                                                    " | ".join(c["text"].strip().replace("\r\n", " ")
                                                               for c in window["controls"]
                                                               if c["id"] == 1009 and c["text"].strip())))

    def next(self) -> None:
        self.ui.click(self.pid, 1001)

    def run(self) -> int:
        """Walks every page; returns the program's exit code."""
        t = self.text
        launched = self.prefix.start(self.setup, cwd="C:\\demo")
        self.pid = launched.pid
        try:
            # The language page speaks the preselected language until another is chosen.
            self.ui.windows(self.pid, wait_class="#32770", timeout_ms=30000)
            self.ui.select(self.pid, 1017, self.language)
            self.picture("Language", self.page(t[82]))
            self.next()
            self.picture("Greeting", self.page(t[1]))
            self.next()
            self.page(t[76])
            self.ui.type(self.pid, 1019, PASSWORD)
            self.picture("Password", self.page(t[76]))
            self.next()
            self.picture("Licence", self.page(t[47]))
            self.next()  # the accept button
            self.picture("Readme", self.page(t[51]))
            self.next()
            self.picture("Folder", self.page(t[11]))
            self.next()
            self.picture("Start menu", self.page(t[88]))
            # The progress page is up for two seconds or so: the driver waits
            # for it while the install button is pressed.
            progress = {}
            waiter = threading.Thread(target=lambda: progress.update(page=self.page(t[39], timeout_ms=60000)))
            waiter.start()
            self.next()
            waiter.join()
            if "page" not in progress:
                raise AssertionError("the progress page did not show")
            self.picture("Progress", progress["page"])
            summary = self.page(t[42], timeout_ms=60000)
            self.picture("Summary", summary)
            # Finish without the choices that open other programs' windows.
            for box in (1023, 1025, 1029):
                if control(summary, box)["visible"] and control(summary, box)["checked"]:
                    check(self.ui, self.pid, box, False)
            self.next()
            return launched.wait(timeout=60)
        finally:
            launched.kill()


def walk_at(dpi: int, language: str, setup: Path, rows: dict, folder: Path) -> list:
    """Installs the wizard example in a fresh 64-bit prefix whose system DPI
    is `dpi`; returns the pictures of its pages."""
    with Prefix("demo-wizard-%d" % dpi, "win64", of_flavour=FLAVOUR) as prefix:
        work = prefix.host_path("C:\\demo")
        work.mkdir()
        shutil.copy2(setup, work / setup.name)
        # A program reads the system DPI as it starts.
        prefix.wine("reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                    "/d", str(dpi), "/f", check=True)
        print("=" * 72)
        print("C:\\demo> %s\n    (system DPI %d; %s chosen on the language page, password \"%s\", every page "
              "as offered; the summary's choices that open other programs unticked)" %
              (setup.name, dpi, language, PASSWORD))
        walk = Walk(prefix, setup.name, rows, dpi, language, folder)
        code = walk.run()
        installed = prefix.host_path(INSTALL_FOLDER)
        files = sorted(str(p.relative_to(installed)).replace("/", "\\") for p in installed.rglob("*") if p.is_file())
        print("exit code %d; %s: %s" % (code, INSTALL_FOLDER, ", ".join(files) or "nothing"))
        return walk.pictures


def sheet_font() -> list:
    """The montage option for the labels' font: a sans-serif font file
    that fontconfig knows (ImageMagick's default font may not be there)."""
    if shutil.which("fc-match"):
        done = subprocess.run(["fc-match", "-f", "%{file}", "sans"], capture_output=True, text=True)
        if done.returncode == 0 and Path(done.stdout).is_file():
            return ["-font", done.stdout]
    return []


def montage(pictures: list, target: Path, columns: int) -> Path:
    """One picture of `pictures` ((label, picture) pairs), `columns` to a
    row, each label under its picture."""
    args = ["montage"]
    for label, picture in pictures:
        args += ["-label", label, str(picture)]
    args += ["-tile", "%dx" % columns, "-geometry", "+8+8", "-background", "#f2f2f2", *sheet_font(),
             "-pointsize", "15", "-depth", "8", str(target)]
    done = subprocess.run(args, capture_output=True, text=True)
    if done.returncode != 0 and not target.exists():
        raise RuntimeError("montage failed: %s" % done.stderr.strip())
    return target


def label(page: str, walk: int) -> str:
    """A picture's label: the page, the DPI and the language of the walk (an index into WALKS)."""
    dpi, language = WALKS[walk]
    return "%s, %d DPI, %s" % (page, dpi, language)


def docs_sheet(walks: dict, target: Path, scratch: Path) -> Path:
    """The smaller sheet: every page at 96 DPI, two to a row so that it stays
    readable at a README's width, then a few pages at 144 DPI, one to a row."""
    low, high = (walks[dpi] for dpi, _ in WALKS)
    top = montage([(label(name, 0), picture) for name, picture in low], scratch / "docs-96.png", 2)
    bottom = montage([(label(name, 1), picture) for name, picture in high if name in DOCS_144],
                     scratch / "docs-144.png", 1)
    target.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["convert", str(top), str(bottom), "-background", "#f2f2f2", "-gravity", "center", "-append",
                    "-strip", "-depth", "8", "-define", "png:compression-level=9", str(target)], check=True, capture_output=True)
    return target


def run(docs_target: Path = None) -> list:
    """The wizard part of the demo; with `docs_target`, also writes the
    smaller sheet there. Returns what it could not do, one line each."""
    absent = [tool for tool in ("import", "convert", "montage") if shutil.which(tool) is None]
    if absent:
        return ["the wizard walk: %s (ImageMagick) not installed" % ", ".join(absent)]
    not_done = []
    if not (WINE_FONTS / "tahoma.ttf").exists():
        not_done.append("Wine's own fonts: %s has no tahoma.ttf (Debian package fonts-wine), so the pages show a "
                        "stand-in font and the title bars' close buttons a letter" % WINE_FONTS)
    folder = build_dir() / "screenshots" / "wizard-demo"
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    print("=" * 72)
    print("The wizard example (examples/wizard): banner look, English and German, password \"%s\"; "
          "the program for 64-bit Windows (%s) in a 64-bit prefix" % (PASSWORD, wine_env.program_file(FLAVOUR).name))
    setup = build_wizard_setup(folder)
    rows = language_rows(setup)
    walks = {}
    for dpi, language in WALKS:
        try:
            walks[dpi] = walk_at(dpi, language, setup, rows, folder)
        except (AssertionError, RuntimeError, subprocess.SubprocessError) as failure:
            not_done.append("the wizard walk at %d DPI: %s" % (dpi, failure))
    setup.unlink()
    if len(walks) != len(WALKS):
        return not_done
    pairs = []
    for (name, low), (_, high) in zip(*(walks[dpi] for dpi, _ in WALKS)):
        pairs += [(label(name, 0), low), (label(name, 1), high)]
    sheet = montage(pairs, folder / "contact-sheet.png", 2)
    if docs_target:
        docs = docs_sheet(walks, Path(docs_target).resolve(), folder)
        print("\nThe smaller sheet: %s (%d KB)" % (docs, docs.stat().st_size // 1024))
    print("\nEvery page of the wizard at 96 and at 144 DPI, one contact sheet:\n    %s" % sheet)
    return not_done
