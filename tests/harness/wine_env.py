"""The Wine test bench: template prefixes, per-test prefix copies, the
exact-command-line launcher, the UI driver and screenshots.

Every test works only inside its own folder under the build tree: its prefix
copy, its HOME, its files. Nothing is written outside it."""

import json
import os
import shutil
import subprocess
import time
from pathlib import Path

import machine

# Wine settings for every run: no debug chatter, no desktop menu entries, no
# downloads of Mono or Gecko.
WINE_SETTINGS = {
    "WINEDEBUG": "-all",
    "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
}


def build_dir() -> Path:
    return Path(os.environ["BRENNICK_BUILD_DIR"])


# Which build of the program (and of the test tools) a test runs: "x86",
# the 32-bit program, or "x64", the program for 64-bit Windows. The default is
# x86 where this machine executes 32-bit code and x64 where it does not.
FLAVOUR_VARIABLE = "BRENNICK_FLAVOUR"
FLAVOURS = ("x86", "x64")


def flavour() -> str:
    chosen = os.environ.get(FLAVOUR_VARIABLE, "")
    if chosen:
        if chosen not in FLAVOURS:
            raise ValueError("%s=%s: one of %s" % (FLAVOUR_VARIABLE, chosen, ", ".join(FLAVOURS)))
        return chosen
    return "x86" if machine_facts()["x86_32"] else "x64"


def windows_dir(of_flavour: str = None) -> Path:
    """The Windows tree of a flavour (of the current one by default)."""
    x64 = (of_flavour or flavour()) == "x64"
    return Path(os.environ["BRENNICK_WINDOWS64_DIR" if x64 else "BRENNICK_WINDOWS_DIR"])


def program_file(of_flavour: str = None) -> Path:
    """The program of a flavour: the stub the builder makes setups from."""
    of_flavour = of_flavour or flavour()
    return windows_dir(of_flavour) / ("brennick64.exe" if of_flavour == "x64" else "brennick.exe")


def prefix_arch(arch: str, of_flavour: str = None) -> str:
    """Where a test asks for a 32-bit Windows prefix, the program for 64-bit
    Windows runs in the 64-bit one: it does not start on 32-bit Windows."""
    return "win64" if (of_flavour or flavour()) == "x64" else arch


def wine_dir() -> Path:
    folder = os.environ.get("BRENNICK_WINE_DIR")
    return Path(folder) if folder else build_dir() / "wine"


def machine_facts() -> dict:
    """What this machine runs, as probed when the build tree was configured."""
    return machine.load(wine_dir() / "machine.json")


def require_x86_32(what: str) -> None:
    """Skips the calling test (machine.MachineSkip) when this machine does not
    execute 32-bit x86 code; `what` names what needs it."""
    facts = machine_facts()
    if not facts["x86_32"]:
        raise machine.MachineSkip("%s: %s needs 32-bit execution, and %s" % (machine.SKIP_MARK, what, facts["reason"]))


def wine_program(of_flavour: str = None) -> str:
    """The Wine loader the harness starts. Debian's `wine` wrapper always runs
    the 32-bit loader when wine32 is installed; the program for 64-bit Windows
    (and everything where 32-bit code does not run) is started through the
    64-bit loader itself, the same way on every machine."""
    facts = machine_facts()
    return "wine" if facts["x86_32"] and (of_flavour or flavour()) == "x86" else facts["wine64_loader"]


def xvfb_state_file() -> Path:
    return build_dir() / "xvfb.json"


def display() -> str:
    state = xvfb_state_file()
    if state.exists():
        return ":%d" % json.loads(state.read_text())["display"]
    if os.environ.get("DISPLAY"):
        return os.environ["DISPLAY"]
    raise RuntimeError("no X server: start one with tests/harness/xvfb.py start")


def wine_environment(prefix: Path, home: Path, arch: str, with_display: bool = True,
                     of_flavour: str = None) -> dict:
    env = dict(os.environ)
    env.update(WINE_SETTINGS)
    env["WINEPREFIX"] = str(prefix)
    env["WINEARCH"] = arch
    loader = wine_program(of_flavour)
    if loader != "wine":
        # The 64-bit loader finds the rest of Wine (and its 32-bit half,
        # where one runs) through the loader it was started as.
        env["WINELOADER"] = loader
    # Wine links Desktop, Documents and the like into HOME and the XDG folders:
    # keep them inside the test's own folder.
    env["HOME"] = str(home)
    for var, sub in (("XDG_CONFIG_HOME", ".config"), ("XDG_DATA_HOME", ".local/share"),
                     ("XDG_CACHE_HOME", ".cache"), ("XDG_RUNTIME_DIR", "run")):
        env[var] = str(home / sub)
    (home / "run").mkdir(parents=True, exist_ok=True)
    os.chmod(home / "run", 0o700)
    if with_display:
        env["DISPLAY"] = display()
    else:
        env.pop("DISPLAY", None)
    return env


def detach_user_folders(prefix: Path) -> None:
    """Replaces the links that Wine makes from the user's folders (Desktop,
    Documents, ...) to HOME by real folders inside the prefix, so that copies
    of a template never share them."""
    users = prefix / "drive_c" / "users"
    for link in sorted(users.rglob("*")):
        if link.is_symlink():
            link.unlink()
            link.mkdir()


def template(arch: str) -> Path:
    return wine_dir() / arch


def win_path(unix_path: Path) -> str:
    """The Windows name of a Unix path, through drive Z:."""
    return "Z:" + str(Path(unix_path).resolve()).replace("/", "\\")


class Prefix:
    """A fresh copy of a template prefix for one test, with the test tools
    in C:\\tools. Use as a context manager: the Wine server is stopped and
    the copy removed at the end (kept when BRENNICK_KEEP_PREFIX is set).
    Raises machine.MachineSkip, before anything is made, where the machine
    cannot run what the prefix needs. Its programs and test tools are those
    of `of_flavour` (the current flavour by default)."""

    def __init__(self, name: str, arch: str = "win32", of_flavour: str = None):
        self.flavour = of_flavour or flavour()
        if self.flavour == "x86":
            # The test tools, like the program, are 32-bit Windows programs.
            require_x86_32("the %s prefix with the 32-bit test tools" % arch)
        arch = prefix_arch(arch, self.flavour)
        self.name = name
        self.arch = arch
        self.loader = wine_program(self.flavour)
        self.root = build_dir() / "test-work" / name
        if self.root.exists():
            shutil.rmtree(self.root)
        self.root.mkdir(parents=True)
        self.path = self.root / "prefix"
        self.home = self.root / "home"
        self.home.mkdir()
        src = template(arch)
        if not (wine_dir() / (arch + ".ready")).exists():
            raise RuntimeError("template prefix %s is not booted; build the host tree first" % src)
        subprocess.run(["cp", "-a", str(src), str(self.path)], check=True)
        self.env = wine_environment(self.path, self.home, arch, of_flavour=self.flavour)
        tools = self.drive_c / "tools"
        tools.mkdir()
        for tool in ("launch.exe", "uidriver.exe"):
            shutil.copy2(windows_dir(self.flavour) / tool, tools / tool)
        # Keep one Wine server for the whole test instead of one per command.
        # It stays in the foreground, so it is started, not waited for.
        self.server = subprocess.Popen(["wineserver", "-f", "-p"], env=self.env, start_new_session=True,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The first program of a session starts Wine's services, and the first
        # one that touches windows starts the desktop. Both are started here:
        # the services keep the standard handles they inherit (a later command
        # with our pipes would wait for them), and a program that starts while
        # the desktop is coming up may hang. The UI driver, asked about a
        # process that does not exist, touches windows and ends at once.
        subprocess.run([self.loader, "C:\\tools\\uidriver.exe", "windows", "1", "--timeout", "0"], env=self.env,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)

    @property
    def drive_c(self) -> Path:
        return self.path / "drive_c"

    def host_path(self, windows_path: str) -> Path:
        """The Unix path of a C:\\ path in this prefix."""
        assert windows_path[:3].upper() == "C:\\", windows_path
        return self.drive_c / windows_path[3:].replace("\\", "/")

    def wine(self, *args, timeout=120, check=False, **kwargs) -> subprocess.CompletedProcess:
        if args and args[0] == "reg" and self.arch == "win64" and not any(a.startswith("/reg:") for a in args):
            # `reg` sees the registry as the 32-bit program does, whichever
            # of Wine's loaders starts it; "/reg:64" asks for the other view.
            args = (*args, "/reg:32")
        return subprocess.run([self.loader, *args], env=self.env, timeout=timeout, check=check,
                              capture_output=True, **kwargs)

    def start(self, command_line: str, app: str = None, cwd: str = "C:\\") -> "Launched":
        """Starts a program with exactly this command line, as a user types it."""
        return Launched(self, command_line, app, cwd)

    def ui(self) -> "UiDriver":
        return UiDriver(self)

    def close(self) -> None:
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True)
        try:
            self.server.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.server.kill()
        if not os.environ.get("BRENNICK_KEEP_PREFIX"):
            shutil.rmtree(self.path, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class Launched:
    """A program started through the launcher, which passes the command line
    to CreateProcess untouched and reports the pid and the exit code."""

    count = 0

    def __init__(self, prefix: Prefix, command_line: str, app: str, cwd: str):
        args = [prefix.loader, "C:\\tools\\launch.exe", "--cwd", cwd]
        if app:
            args += ["--app", app]
        args.append(command_line.encode("utf-8").hex() or "-")
        # Standard error goes to a file: Wine's own messages can fill a pipe
        # that nobody reads while the program waits in a dialog.
        Launched.count += 1
        self.stderr_path = prefix.root / ("launch-%d.stderr" % Launched.count)
        with open(self.stderr_path, "w") as stderr:
            self.process = subprocess.Popen(args, env=prefix.env, stdout=subprocess.PIPE,
                                            stderr=stderr, text=True)
        first = self.process.stdout.readline().split()
        if len(first) != 2 or first[0] != "pid":
            self.process.wait(timeout=30)
            raise RuntimeError("launch failed: %r %s" % (first, self.stderr_path.read_text()))
        self.pid = int(first[1])

    def wait(self, timeout: float = 60) -> int:
        out, _ = self.process.communicate(timeout=timeout)
        for line in out.splitlines():
            if line.startswith("exit "):
                return int(line.split()[1])
        return self.process.returncode

    def kill(self) -> None:
        self.process.kill()


class UiDriver:
    """The UI driver: reads and drives the windows of a process."""

    def __init__(self, prefix: Prefix):
        self.prefix = prefix

    def _run(self, *args, timeout_ms: int = 20000, retry: bool = False):
        try:
            done = self.prefix.wine("C:\\tools\\uidriver.exe", *args, "--timeout", str(timeout_ms),
                                    text=True, timeout=timeout_ms / 1000 + 30)
        except subprocess.TimeoutExpired:
            # Wine ends its desktop process (explorer.exe) once no program
            # of the prefix is left, and starts it again with the next
            # window. A driver started while that happens can hang for good;
            # a second one finds the desktop up. Only reads are tried again.
            if not retry:
                raise
            done = self.prefix.wine("C:\\tools\\uidriver.exe", *args, "--timeout", str(timeout_ms),
                                    text=True, timeout=timeout_ms / 1000 + 30)
        if done.returncode != 0:
            raise AssertionError("uidriver %s failed (%d): %s" % (args, done.returncode, done.stderr.strip()))
        return json.loads(done.stdout)

    def windows(self, pid: int, wait_class: str = None, wait_text: str = None, timeout_ms: int = 20000) -> list:
        args = ["windows", str(pid)]
        if wait_class:
            args += ["--wait-class", wait_class]
        if wait_text:
            args += ["--wait-text", wait_text]
        return self._run(*args, timeout_ms=timeout_ms, retry=True)

    def click(self, pid: int, target) -> dict:
        return self._run("click", str(pid), str(target))

    def type(self, pid: int, control_id: int, text: str) -> dict:
        return self._run("type", str(pid), str(control_id), text)

    def select(self, pid: int, control_id: int, entry: str) -> dict:
        return self._run("select", str(pid), str(control_id), entry)


def dialogs(windows: list) -> list:
    """The dialogs and message boxes among a process's windows, without the
    full-screen background window behind them."""
    return [w for w in windows if w["class"] == "#32770"]


def message_box_text(window: dict) -> str:
    """The text of a message box: its one static control with text."""
    texts = [c["text"] for c in window["controls"] if c["class"].lower() == "static" and c["text"]]
    if len(texts) != 1:
        raise AssertionError("not one message text in %r" % window)
    return texts[0]


def screenshot(name: str) -> Path:
    """Keeps a PNG of the whole X screen under the build tree for people to
    look at; tests never compare pixels."""
    folder = build_dir() / "screenshots"
    folder.mkdir(exist_ok=True)
    target = folder / (name + ".png")
    subprocess.run(["import", "-display", display(), "-window", "root", str(target)],
                   check=False, capture_output=True, timeout=30)
    return target


def wait_until(predicate, timeout: float = 10, interval: float = 0.1):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    return predicate()
