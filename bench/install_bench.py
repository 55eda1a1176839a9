#!/usr/bin/env python3
"""The whole installer under Wine, next to an NSIS installer of the same
payload.

    python3 bench/install_bench.py [--rounds 5] [--nsis-compressor zlib] [--desktop held|cold]

Generates a fixed payload (2,000 files, 100 MiB, from a fixed seed) under
build/host/bench-install/, builds our installer with brennick-build and an
NSIS installer with makensis, each once without and once with its progress
page, and runs each in a fresh copy of the same Wine template prefix
without a question (ours with /a, NSIS silent or with its progress page
alone), in turn, every other round in the reverse order. A first untimed
run of each installer with the page checks that its progress bar shows.
launch.exe times every run from just before CreateProcess to the end of the
installer and samples its memory. All installed trees must hold exactly the
payload.

Prints the median times, the ratios ours/NSIS and with/without the page,
the sizes and the peak memory against the archive size plus 32 MiB. Exits
non-zero only when an installer left a payload file missing or different:
the ratios are measurements, not tests. See bench/README.md."""

import argparse
import hashlib
import json
import os
import random
import shutil
import statistics
import struct
import subprocess
import sys
import time
from pathlib import Path

SOURCE_DIR = Path(__file__).resolve().parent.parent
os.environ.setdefault("BRENNICK_SOURCE_DIR", str(SOURCE_DIR))
os.environ.setdefault("BRENNICK_BUILD_DIR", str(SOURCE_DIR / "build" / "host"))
os.environ.setdefault("BRENNICK_WINDOWS_DIR", str(Path(os.environ["BRENNICK_BUILD_DIR"]) / "windows"))
os.environ.setdefault("BRENNICK_WINDOWS64_DIR", str(Path(os.environ["BRENNICK_BUILD_DIR"]) / "windows64"))
sys.path.insert(0, str(SOURCE_DIR / "tests" / "harness"))

import wine_env  # noqa: E402

MIB = 1 << 20
FILE_COUNT = 2000
TOTAL_SIZE = 100 * MIB
SEED = 20240601
PAYLOAD_VERSION = 1  # raise when the generator changes its output
MEMORY_ALLOWANCE = 32 * MIB

OURS_DIR = "C:\\bench\\ours"
NSIS_DIR = "C:\\bench\\nsis"


# ---------------------------------------------------------------------------
# The payload


def _vocabulary(rng: random.Random, count: int, alphabet: str, lengths: range) -> list:
    words = set()
    while len(words) < count:
        words.add("".join(rng.choice(alphabet) for _ in range(rng.choice(lengths))))
    return sorted(words, key=lambda w: (len(w), w))  # short words are the frequent ones


def _zipf_cumulative(count: int) -> list:
    total = 0.0
    cumulative = []
    for rank in range(count):
        total += 1.0 / (rank + 1)
        cumulative.append(total)
    return cumulative


class PayloadMaker:
    """Three kinds of file, a third of the bytes each: text (documents,
    markup, configuration), binary-ish (code-like token streams, tables of
    increasing numbers, zero padding), and incompressible (media, packs)."""

    TEXT = (["docs", "docs/manual", "docs/api", "config", "locale/de", "locale/fr", "scripts"],
            [".txt", ".html", ".xml", ".ini", ".js", ".css", ".po"])
    BINARY = (["bin", "bin/plugins", "lib", "lib/codecs", "data/tables"],
              [".dll", ".exe", ".dat", ".bin", ".ocx"])
    RANDOM = (["media/images", "media/sounds", "media/video", "data/packs"],
              [".png", ".jpg", ".ogg", ".pak", ".zip"])

    def __init__(self, seed: int):
        self.rng = random.Random(seed)
        self.words = _vocabulary(self.rng, 6000, "abcdefghijklmnopqrstuvwxyz", range(2, 11))
        self.word_weights = _zipf_cumulative(len(self.words))
        self.tokens = [self.rng.randbytes(self.rng.choice((1, 1, 2, 2, 2, 3, 3, 4, 5, 6, 7, 8)))
                       for _ in range(4096)]
        self.token_weights = _zipf_cumulative(len(self.tokens))

    def sizes(self, count: int, total: int) -> list:
        """`count` sizes summing to `total`, log-normally spread: many small
        files and a few large ones."""
        raw = [self.rng.lognormvariate(0.0, 1.4) for _ in range(count)]
        scale = total / sum(raw)
        sizes = [max(16, int(r * scale)) for r in raw]
        largest = max(range(count), key=lambda i: sizes[i])
        sizes[largest] += total - sum(sizes)
        return sizes

    def text(self, size: int, ext: str) -> bytes:
        rng = self.rng
        words = rng.choices(self.words, cum_weights=self.word_weights, k=size // 5 + 16)
        lines = []
        length = 0
        i = 0
        while length < size:
            n = rng.randint(4, 14)
            line = " ".join(words[i % len(words):i % len(words) + n])
            i += n
            if ext in (".html", ".xml"):
                tag = words[(i * 7) % len(words)]
                line = "  <%s id=\"%d\">%s</%s>" % (tag, i, line, tag)
            elif ext == ".ini":
                line = "%s_%d = %s" % (words[(i * 3) % len(words)], i % 97, line)
            elif ext in (".js", ".css"):
                line = "    %s(%s); // %d" % (words[(i * 5) % len(words)], line.replace(" ", ", "), i)
            lines.append(line)
            length += len(line) + 2
        return "\r\n".join(lines).encode("ascii")[:size].ljust(size, b"\n")

    def binary(self, size: int) -> bytes:
        rng = self.rng
        pieces = []
        length = 0
        address = rng.randrange(0x400000, 0x10000000, 0x1000)
        while length < size:
            kind = rng.random()
            if kind < 0.80:
                piece = b"".join(rng.choices(self.tokens, cum_weights=self.token_weights, k=256))
            elif kind < 0.95:
                values = []
                for _ in range(64):
                    address += rng.choice((4, 4, 8, 12, 16, 32, 64, 256))
                    values.append(address)
                piece = struct.pack("<64I", *values)
            else:
                piece = bytes(rng.choice((16, 64, 256, 512, 1024)))
            pieces.append(piece)
            length += len(piece)
        return b"".join(pieces)[:size]

    def incompressible(self, size: int) -> bytes:
        return self.rng.randbytes(size)

    def files(self):
        """(relative path, contents) of every file, in a fixed order."""
        kinds = ((self.TEXT, self.text), (self.BINARY, lambda size, ext: self.binary(size)),
                 (self.RANDOM, lambda size, ext: self.incompressible(size)))
        third = TOTAL_SIZE // 3
        totals = [third, third, TOTAL_SIZE - 2 * third]
        counts = [FILE_COUNT // 3 + (1 if k < FILE_COUNT % 3 else 0) for k in range(3)]
        for k, ((folders, extensions), make) in enumerate(kinds):
            for i, size in enumerate(self.sizes(counts[k], totals[k])):
                folder = self.rng.choice(folders)
                ext = self.rng.choice(extensions)
                name = "%s-%04d%s" % (self.rng.choice(self.words), i, ext)
                yield folder + "/" + name, make(size, ext)


def tree_digests(root: Path) -> dict:
    """Relative path (with "/") -> SHA-256 of every file below `root`."""
    digests = {}
    for path in sorted(root.rglob("*")):
        if path.is_file():
            digests[path.relative_to(root).as_posix()] = hashlib.sha256(path.read_bytes()).hexdigest()
    return digests


def payload_id(digests: dict) -> str:
    return hashlib.sha256(json.dumps(digests, sort_keys=True).encode()).hexdigest()[:16]


def make_payload(work: Path) -> dict:
    """The payload under work/payload, made again only when the recorded
    parameters or the files themselves differ. Returns its digests."""
    payload = work / "payload"
    record = work / "payload.json"
    wanted = {"version": PAYLOAD_VERSION, "seed": SEED, "files": FILE_COUNT, "bytes": TOTAL_SIZE}
    if payload.is_dir() and record.exists():
        stored = json.loads(record.read_text())
        digests = tree_digests(payload)
        if stored.get("parameters") == wanted and stored.get("id") == payload_id(digests):
            return digests
    print("generating the payload (%d files, %d bytes, seed %d) ..." % (FILE_COUNT, TOTAL_SIZE, SEED), flush=True)
    if payload.exists():
        shutil.rmtree(payload)
    for relative, data in PayloadMaker(SEED).files():
        path = payload / relative
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
    digests = tree_digests(payload)
    if len(digests) != FILE_COUNT or sum((payload / p).stat().st_size for p in digests) != TOTAL_SIZE:
        raise SystemExit("payload generator made %d files; fix it" % len(digests))
    record.write_text(json.dumps({"parameters": wanted, "id": payload_id(digests)}, indent=1) + "\n")
    return digests


# ---------------------------------------------------------------------------
# The two installers

OUR_PROJECT = """\
[product]
name = "Brennick Bench"

[flags]
no_background_window = true
{flags}
[build]
stamp = 2024-06-01T12:00:00
{wizard}
[[files]]
source = "payload/**/*"
"""

# The same product with the progress page, which shows in automatic mode too;
# no stage is held on screen.
OUR_PAGE_FLAGS = "show_progress = true\n"
OUR_PAGE_WIZARD = "\n[wizard]\nmin_stage_time = 0\n"

# zlib is NSIS's default and its fastest way to install (lzma packs smaller
# but unpacks several times slower); non-solid: each file packed on its own
# (ours packs the stream of files in 1 MiB chunks).
# RequestExecutionLevel makes no difference under Wine, which has no UAC.
# Where no 32-bit program runs, the installer is NSIS's 64-bit one. With
# the page, the installer shows only its progress page (the details list
# hidden, as by default) and closes it when done: no clicks.
NSIS_SCRIPT = """\
Unicode true
{target}Name "Brennick Bench"
OutFile "{out_file}"
InstallDir "{install_dir}"
RequestExecutionLevel user
SetCompressor /FINAL {compressor}
{pages}
Section
  SetOutPath "$INSTDIR"
  File /r "payload/*"
SectionEnd
"""


def run_timed(what: str, args: list, cwd: Path) -> float:
    start = time.monotonic()
    done = subprocess.run(args, cwd=cwd, capture_output=True, text=True)
    if done.returncode != 0:
        raise SystemExit("%s failed (%d):\n%s%s" % (what, done.returncode, done.stdout, done.stderr))
    return time.monotonic() - start


def build_ours(work: Path, builder: Path, stub: Path, page: bool = False) -> tuple:
    suffix = "-page" if page else ""
    project = work / ("project%s.toml" % suffix)
    project.write_text(OUR_PROJECT.format(flags=OUR_PAGE_FLAGS if page else "",
                                          wizard=OUR_PAGE_WIZARD if page else ""))
    setup = work / ("brennick-setup%s.exe" % suffix)
    seconds = run_timed("brennick-build", [str(builder), "build", project.name, "-o", setup.name,
                                            "--stub", str(stub)], work)
    report = json.loads(subprocess.run([str(builder), "inspect", setup.name], cwd=work, check=True,
                                       capture_output=True, text=True).stdout)
    return setup, seconds, report


def archive_size(report: dict) -> int:
    return int(report["header"]["ArchiveSize"])


# The smallest installer NSIS makes: its program with nothing to install.
NSIS_MINIMAL_SCRIPT = """OutFile "nsis-minimal.exe"
RequestExecutionLevel admin
Section
SectionEnd
"""


def program_sizes(work: Path) -> list:
    """(what, bytes) of both builds of our program and of NSIS's minimal installer."""
    (work / "nsis-minimal.nsi").write_text(NSIS_MINIMAL_SCRIPT)
    run_timed("makensis", ["makensis", "-V2", "nsis-minimal.nsi"], work)
    sizes = [("%s (%s)" % (wine_env.program_file(kind).name, kind), wine_env.program_file(kind).stat().st_size)
             for kind in wine_env.FLAVOURS if wine_env.program_file(kind).exists()]
    return sizes + [("NSIS minimal installer", (work / "nsis-minimal.exe").stat().st_size)]


def print_program_sizes(work: Path) -> None:
    print()
    print("| program | bytes |")
    print("|---|---|")
    for what, size in program_sizes(work):
        print("| %s | %d |" % (what, size))


def nsis_target() -> str:
    """NSIS's own build for the machine: its 32-bit installer where 32-bit
    code runs, else its 64-bit one."""
    return "x86-unicode" if wine_env.machine_facts()["x86_32"] else "amd64-unicode"


def build_nsis(work: Path, compressor: str, page: bool = False) -> tuple:
    suffix = "-page" if page else ""
    script = work / ("nsis%s.nsi" % suffix)
    out_file = "nsis-setup%s.exe" % suffix
    script.write_text(NSIS_SCRIPT.format(
        target="Target %s\n" % nsis_target(), out_file=out_file, install_dir=NSIS_DIR, compressor=compressor,
        pages="AutoCloseWindow true\nPage instfiles\n" if page else ""))
    seconds = run_timed("makensis", ["makensis", "-V2", script.name], work)
    return work / out_file, seconds


# ---------------------------------------------------------------------------
# Runs under Wine


class PrivateDisplay:
    """The harness's Xvfb when one runs; else one of our own for this run."""

    def __init__(self):
        self.server = None
        if wine_env.xvfb_state_file().exists() or os.environ.get("DISPLAY"):
            return
        read_fd, write_fd = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24",
                                        "-nolisten", "tcp"], pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write_fd)
        with os.fdopen(read_fd) as reader:
            number = reader.readline().strip()
        if not number:
            raise SystemExit("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + number

    def close(self):
        if self.server:
            self.server.terminate()
            self.server.wait(timeout=30)


def wine_processes(prefix, word: str) -> list:
    """Unix pids of this prefix's processes whose command line holds `word`."""
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            command = (entry / "cmdline").read_bytes().decode(errors="replace")
            environment = (entry / "environ").read_bytes().split(b"\0")
        except OSError:
            continue
        if word.lower() in command.lower() and ("WINEPREFIX=%s" % prefix.path).encode() in environment:
            found.append(int(entry.name))
    return found


def settle_desktop(prefix, desktop: str):
    """Brings the Wine desktop into the state the runs start from: "held"
    keeps it up through the run with a program that shows a window and
    waits (as on Windows, where the desktop is always there); "cold" waits
    until the desktop process that the prefix's start left has ended (Wine
    ends it a second after its last user), so that the installer starts it,
    as the first program of a Wine session does (both installers do)."""
    if desktop == "held":
        # Now and then the UI driver fails at once on a fresh prefix (exit 1,
        # no message): one more holder is tried before the run is given up.
        for attempt in range(2):
            holder = prefix.start("notepad.exe")
            try:
                prefix.ui().windows(holder.pid, timeout_ms=60000)
                return holder
            except AssertionError:
                holder.kill()
                if attempt:
                    raise
    if not wine_env.wait_until(lambda: not wine_processes(prefix, "explorer.exe"), timeout=30):
        raise SystemExit("the Wine desktop of %s did not end" % prefix.path)
    return None


def run_once(name: str, installer: Path, command_line: str, install_dir: str, payload: dict,
             timeout: float, desktop: str) -> dict:
    """One run in a fresh copy of the win32 template prefix."""
    with wine_env.Prefix("bench-install-" + name) as prefix:
        shutil.copy2(installer, prefix.drive_c / installer.name)
        os.sync()  # the last run's writes are not this run's work
        holder = settle_desktop(prefix, desktop)
        start = time.monotonic()
        try:
            done = prefix.wine("C:\\tools\\launch.exe", "--memory", "--time", "--cwd", "C:\\",
                               command_line.encode("utf-8").hex(), timeout=timeout, text=True)
        except subprocess.TimeoutExpired:
            raise SystemExit("%s did not end within %d s: %s" % (name, timeout, command_line))
        host_seconds = time.monotonic() - start
        if holder:
            holder.kill()
        fields = {}
        for line in done.stdout.splitlines():
            parts = line.split()
            if parts:
                fields[parts[0]] = parts[1:]
        if "elapsed" not in fields or "peak" not in fields:
            raise SystemExit("launch.exe gave no time or memory (too old? rebuild the Windows tree):\n%s%s"
                             % (done.stdout, done.stderr))
        installed = tree_digests(prefix.host_path(install_dir))
        missing = sorted(set(payload) - set(installed))
        different = sorted(p for p in payload if p in installed and installed[p] != payload[p])
        extra = sorted(set(installed) - set(payload))
        return {"name": name, "seconds": float(fields["elapsed"][0]), "host_seconds": host_seconds,
                "exit": int(fields["exit"][0]) if "exit" in fields else None,
                "peak_pagefile": int(fields["peak"][0]), "peak_working_set": int(fields["peak"][1]),
                "missing": missing, "different": different, "extra": extra}


def check_page_shown(name: str, installer: Path, command_line: str, install_dir: str, payload: dict,
                     timeout: float, desktop: str) -> str:
    """An untimed run that looks for the installer's progress bar while it
    installs (the UI driver's polling would weigh on a timed run). Stops the
    benchmark when no progress bar shows or the tree is not the payload."""
    with wine_env.Prefix("bench-install-check-" + name) as prefix:
        shutil.copy2(installer, prefix.drive_c / installer.name)
        holder = settle_desktop(prefix, desktop)
        launched = prefix.start(command_line)
        try:
            windows = prefix.ui().windows(launched.pid, wait_class="#32770", timeout_ms=60000)
        except AssertionError as error:
            raise SystemExit("%s: no dialog while it installed: %s" % (name, error))
        bars = [(w, c) for w in windows for c in w["controls"]
                if c["class"].lower() == "msctls_progress32" and c["visible"]]
        exit_code = launched.wait(timeout=timeout)
        if holder:
            holder.kill()
        if not bars:
            raise SystemExit("%s: its dialogs have no progress bar: %r" % (name, windows))
        installed = tree_digests(prefix.host_path(install_dir))
        if any(installed.get(path) != digest for path, digest in payload.items()):
            raise SystemExit("%s: the check run left payload files missing or different" % name)
        window, bar = bars[0]
        return "progress page shown (\"%s\", bar at %d), exit %d" % (window["caption"], bar.get("position", -1),
                                                                      exit_code)


def mib(n: int) -> str:
    return "%.1f MiB" % (n / MIB)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--rounds", type=int, default=5, help="runs of each installer (default 5)")
    parser.add_argument("--nsis-compressor", default="zlib",
                        help="NSIS SetCompressor argument: zlib (NSIS's default), bzip2, lzma, \"/SOLID lzma\"")
    parser.add_argument("--stub", type=Path, default=wine_env.program_file(),
                        help="the program the builder puts in front of the package")
    parser.add_argument("--builder", type=Path, default=wine_env.build_dir() / "brennick-build")
    parser.add_argument("--work", type=Path, default=wine_env.build_dir() / "bench-install")
    parser.add_argument("--desktop", choices=("held", "cold"), default="held",
                        help="Wine desktop during the runs: kept up by a waiting program (default, as on "
                             "Windows) or not running, so that an installer that needs it starts it")
    parser.add_argument("--timeout", type=float, default=1800, help="seconds one run may take")
    args = parser.parse_args()

    work = args.work.resolve()
    work.mkdir(parents=True, exist_ok=True)
    payload = make_payload(work)
    print("payload: %d files, %d bytes, id %s" % (len(payload), TOTAL_SIZE, payload_id(payload)), flush=True)
    ours, ours_build, report = build_ours(work, args.builder.resolve(), args.stub.resolve())
    print("brennick-build: %.1f s, %s" % (ours_build, ours.name), flush=True)
    ours_page, ours_page_build, _ = build_ours(work, args.builder.resolve(), args.stub.resolve(), page=True)
    print("brennick-build: %.1f s, %s (progress page)" % (ours_page_build, ours_page.name), flush=True)
    nsis, nsis_build = build_nsis(work, args.nsis_compressor)
    print("makensis (%s, %s): %.1f s, %s" % (args.nsis_compressor, nsis_target(), nsis_build, nsis.name), flush=True)
    nsis_page, nsis_page_build = build_nsis(work, args.nsis_compressor, page=True)
    print("makensis (%s, %s): %.1f s, %s (progress page)" % (args.nsis_compressor, nsis_target(), nsis_page_build,
                                                            nsis_page.name), flush=True)

    # Ours in automatic mode, NSIS silent; with the page, ours still in
    # automatic mode (the page shows all the same) and NSIS with its
    # progress page only.
    commands = {"ours": (ours, "C:\\%s /a /d:\"%s\"" % (ours.name, OURS_DIR), OURS_DIR),
                "ours-page": (ours_page, "C:\\%s /a /d:\"%s\"" % (ours_page.name, OURS_DIR), OURS_DIR),
                "nsis": (nsis, "C:\\%s /S /D=%s" % (nsis.name, NSIS_DIR), NSIS_DIR),
                "nsis-page": (nsis_page, "C:\\%s /D=%s" % (nsis_page.name, NSIS_DIR), NSIS_DIR)}
    print("load average before the runs: %.2f (other work on the machine shows in the times)" % os.getloadavg()[0],
          flush=True)
    display = PrivateDisplay()
    runs = []
    try:
        for name in ("ours-page", "nsis-page"):
            installer, command_line, install_dir = commands[name]
            print("%s: %s" % (name, check_page_shown(name, installer, command_line, install_dir, payload, args.timeout,
                                                     args.desktop)), flush=True)
        for round_number in range(args.rounds):
            order = list(commands) if round_number % 2 == 0 else list(reversed(commands))
            for name in order:
                installer, command_line, install_dir = commands[name]
                run = run_once(name, installer, command_line, install_dir, payload, args.timeout, args.desktop)
                runs.append(run)
                print("round %d %-9s %7.2f s (host %6.2f s) exit %s, peak %s / %s, %d missing, %d different, "
                      "%d extra" % (round_number + 1, name, run["seconds"], run["host_seconds"], run["exit"],
                                    mib(run["peak_pagefile"]), mib(run["peak_working_set"]), len(run["missing"]),
                                    len(run["different"]), len(run["extra"])), flush=True)
    finally:
        display.close()

    failed = False
    for run in runs:
        for what in ("missing", "different"):
            if run[what]:
                failed = True
                print("FAILED: %s run: %d files %s, first %s" % (run["name"], len(run[what]), what, run[what][0]))
        if run["extra"]:
            print("note: %s run left %d files beside the payload, first %s"
                  % (run["name"], len(run["extra"]), run["extra"][0]))

    def of(name, key):
        return [r[key] for r in runs if r["name"] == name]

    def median(name):
        return statistics.median(of(name, "seconds"))

    def peak(name):
        return max(max(of(name, "peak_pagefile")), max(of(name, "peak_working_set")))

    archive = archive_size(report)
    limit = archive + MEMORY_ALLOWANCE
    print()
    print("Whole installer under Wine: %d files, %s, %d rounds each, NSIS %s (%s), desktop %s, our program %s (%s)" %
          (FILE_COUNT, mib(TOTAL_SIZE), args.rounds, args.nsis_compressor, nsis_target(), args.desktop,
           args.stub.name, wine_env.flavour()))
    print("| | ours | NSIS | ours/NSIS | target |")
    print("|---|---|---|---|---|")
    for label, our_name, nsis_name in (("median seconds, silent", "ours", "nsis"),
                                       ("median seconds, progress page", "ours-page", "nsis-page")):
        target = ""
        if our_name == "ours":
            target = "<= 1.00 (%s)" % ("met" if median("ours") <= median("nsis") else "missed")
        print("| %s | %.2f | %.2f | %.2f | %s |" % (label, median(our_name), median(nsis_name),
                                                   median(our_name) / median(nsis_name), target))
    page_cost = median("ours-page") / median("ours")
    print("| page / silent | %.2f | %.2f | | <= 1.10 for ours (%s) |" %
          (page_cost, median("nsis-page") / median("nsis"), "met" if page_cost <= 1.10 else "missed"))
    for label, our_name, nsis_name in (("runs (s), silent", "ours", "nsis"),
                                       ("runs (s), progress page", "ours-page", "nsis-page")):
        print("| %s | %s | %s | | |" % (label, " ".join("%.2f" % s for s in of(our_name, "seconds")),
                                       " ".join("%.2f" % s for s in of(nsis_name, "seconds"))))
    print("| installer file | %d | %d | %.2f | |" % (ours.stat().st_size, nsis.stat().st_size,
                                                    ours.stat().st_size / nsis.stat().st_size))
    print("| archive | %d (%.1f%% of the payload) | | | |" % (archive, 100.0 * archive / TOTAL_SIZE))
    print("| peak memory (largest of page file and working set), silent | %s | %s | | <= %s = archive + 32 MiB "
          "(%s by %s) |" % (mib(peak("ours")), mib(peak("nsis")), mib(limit),
                            "met" if peak("ours") <= limit else "missed", mib(abs(limit - peak("ours")))))
    print("| the same, progress page | %s | %s | | |" % (mib(peak("ours-page")), mib(peak("nsis-page"))))
    for label, our_name, nsis_name in (("peak page file / working set, silent", "ours", "nsis"),
                                       ("the same, progress page", "ours-page", "nsis-page")):
        print("| %s | %s / %s | %s / %s | | |" %
              (label, mib(max(of(our_name, "peak_pagefile"))), mib(max(of(our_name, "peak_working_set"))),
               mib(max(of(nsis_name, "peak_pagefile"))), mib(max(of(nsis_name, "peak_working_set")))))
    print_program_sizes(work)
    return 1 if failed else 0

if __name__ == "__main__":
    sys.exit(main())
