#!/usr/bin/env python3
"""The layering rule of the source rooms, checked over every include line.

A room includes only itself and the rooms below it; a portable file (one
that is not in a win/ folder) includes no Windows-edge header; the builder
reaches the program's code only through the package room and foundation.

    python3 scripts/check_includes.py [root]

Prints every include that breaks the rule and exits 1, or says how many
include lines it checked and exits 0."""

import re
import sys
from pathlib import Path

# The rooms of src/, lowest first; rooms on one line are beside each other
# and include neither one the other.
LAYERS = (
    ("foundation", "res"),
    ("package",),
    ("startup",),
    ("run",),
    ("engine", "uninstall"),
    ("ui",),
    ("app",),
)

# The builder's rooms, lowest first; the builder also reaches these rooms of src/.
BUILDER_LAYERS = (
    ("builder/basics",),
    ("builder/encode", "builder/pe", "builder/catalogue"),
    ("builder/package",),
    ("builder/project", "builder/report"),
    ("builder", "builder/tools"),
)
BUILDER_REACHES = ("foundation", "package", "res")

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def src_room(path: str) -> str:
    """The room of a path below src/ (or of an include, which is written
    from src/): its first folder."""
    return path.split("/", 1)[0]


def level_of(room: str, layers: tuple) -> int:
    """The level of a room in a list of layers; -1 for a room it does not know."""
    for level, rooms in enumerate(layers):
        if room in rooms:
            return level
    return -1


def src_level(room: str) -> int:
    return level_of(room, LAYERS)


def builder_room(path: str) -> str:
    """The builder room of a path below the repository: builder/<part> or builder."""
    parts = path.split("/")
    return "/".join(parts[:2]) if len(parts) > 2 else "builder"


def builder_level(room: str) -> int:
    return level_of(room, BUILDER_LAYERS)


def is_edge(path: str) -> bool:
    return "/win/" in "/" + path


def problems_of(relative: str, include: str) -> list:
    """What is wrong with `include` in the file `relative` (a path from the
    repository root); empty when nothing is."""
    found = []
    if "/" not in include:
        # The resource script names its neighbours as the resource compiler finds them.
        return [] if relative.endswith(".rc") else ["name the header with its room"]
    if relative.startswith("src/"):
        own = relative[len("src/"):]
        room, target = src_room(own), src_room(include)
        if src_level(room) < 0:
            return ["the room %s/ has no place in the layering rule" % room]
        if src_level(target) < 0:
            return ["%s is no room of src/" % include]
        if src_level(target) > src_level(room) or (src_level(target) == src_level(room) and target != room):
            found.append("%s/ may not include %s/ (a room includes only itself and the rooms below it)"
                         % (room, target))
        if not is_edge(own) and is_edge(include):
            found.append("a portable file may not include a Windows-edge header")
    elif relative.startswith("builder/"):
        room = builder_room(relative)
        if builder_level(room) < 0:
            return ["the room %s/ has no place in the layering rule" % room]
        if include.startswith("builder/"):
            target = builder_room(include)
            if builder_level(target) < 0:
                return ["%s is in no room of the builder" % include]
            if builder_level(target) > builder_level(room) or (
                    builder_level(target) == builder_level(room) and target != room):
                found.append("%s/ may not include %s/" % (room, target))
        elif src_room(include) not in BUILDER_REACHES:
            found.append("the builder reaches only %s of src/" % ", ".join(r + "/" for r in BUILDER_REACHES))
        if is_edge(include):
            found.append("the builder includes no Windows-edge header")
    return found


def main() -> int:
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent)
    checked, failures = 0, []
    for folder in ("src", "builder"):
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp", ".rc"):
                continue
            relative = path.relative_to(root).as_posix()
            for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                checked += 1
                for problem in problems_of(relative, match.group(1)):
                    failures.append("%s:%d: #include \"%s\": %s" % (relative, number, match.group(1), problem))
    for failure in failures:
        print(failure)
    if failures:
        print("%d include(s) break the layering rule (scripts/check_includes.py)" % len(failures))
        return 1
    print("include check: %d include lines keep the layering rule" % checked)
    return 0


if __name__ == "__main__":
    sys.exit(main())
