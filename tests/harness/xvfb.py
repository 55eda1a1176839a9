"""One X server for a test run: xvfb.py start | stop (a ctest fixture)."""

import json
import os
import signal
import subprocess
import sys

from wine_env import build_dir, xvfb_state_file


def start() -> int:
    stop()
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
    xvfb_state_file().write_text(json.dumps({"display": int(number), "pid": server.pid}))
    print("Xvfb on :%s (pid %d)" % (number, server.pid))
    return 0


def stop() -> int:
    state = xvfb_state_file()
    if state.exists():
        pid = json.loads(state.read_text())["pid"]
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        state.unlink()
    return 0


if __name__ == "__main__":
    sys.exit(start() if sys.argv[1:] == ["start"] else stop())
