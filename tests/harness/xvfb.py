"""One X server for the test runs of a build tree: xvfb.py start | stop (a
ctest fixture). Several test runs at once share the server: each start
counts one user more, each stop one less, and the last one stops it."""

import fcntl
import json
import os
import signal
import subprocess
import sys
from contextlib import contextmanager

from wine_env import build_dir, xvfb_state_file


@contextmanager
def locked():
    with open(build_dir() / "xvfb.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        yield


def alive(pid: int) -> bool:
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    return True


def start() -> int:
    with locked():
        state = xvfb_state_file()
        if state.exists():
            current = json.loads(state.read_text())
            if alive(current["pid"]):
                current["users"] = current.get("users", 1) + 1
                state.write_text(json.dumps(current))
                print("Xvfb on :%s (pid %d), shared" % (current["display"], current["pid"]))
                return 0
            state.unlink()
        log = open(build_dir() / "xvfb.log", "w")
        read_fd, write_fd = os.pipe()
        server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=log, stderr=log, start_new_session=True)
        os.close(write_fd)
        with os.fdopen(read_fd) as reader:
            number = reader.readline().strip()
        if not number:
            print("Xvfb did not start; see", build_dir() / "xvfb.log")
            return 1
        state.write_text(json.dumps({"display": int(number), "pid": server.pid, "users": 1}))
        print("Xvfb on :%s (pid %d)" % (number, server.pid))
        return 0


def stop() -> int:
    with locked():
        state = xvfb_state_file()
        if not state.exists():
            return 0
        current = json.loads(state.read_text())
        current["users"] = current.get("users", 1) - 1
        if current["users"] > 0 and alive(current["pid"]):
            state.write_text(json.dumps(current))
            return 0
        try:
            os.kill(current["pid"], signal.SIGTERM)
        except ProcessLookupError:
            pass
        state.unlink()
        return 0


if __name__ == "__main__":
    sys.exit(start() if sys.argv[1:] == ["start"] else stop())
