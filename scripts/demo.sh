#!/usr/bin/env bash
# Builds what is missing and runs the program under Wine, the way a user would,
# reading back what it shows through the UI driver; then walks the wizard
# example through all its pages at 96 and 144 DPI and makes a contact sheet of
# them (tests/harness/demo.py says more).
#
#   bash scripts/demo.sh                              the whole demo
#   bash scripts/demo.sh --wizard-sheet docs/wizard.png
#                                                     the wizard walk alone, and the picture in docs/
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/host

# Whether ninja has work in a tree. A dry run of the tree's own build.ninja
# always lists re-running CMake (it cannot tell whether the source globs
# changed without running that step), so the dry run goes through a manifest
# that includes it and has no rule to remake itself; a tree whose CMake files
# are newer than its build.ninja counts as out of date.
has_work() {
  local tree=$1 probe work
  [ -f "$tree/build.ninja" ] || return 0
  [ -z "$(find CMakeLists.txt CMakePresets.json cmake -newer "$tree/build.ninja" -print -quit)" ] || return 0
  probe=$(mktemp)
  echo "include $PWD/$tree/build.ninja" >"$probe"
  # The Windows trees' build steps always run (they are external projects):
  # their own trees answer for them.
  work=$(ninja -C "$tree" -f "$probe" -n "${@:2}" 2>&1 | grep -v -e '^ninja: Entering directory' -e '^ninja: no work to do' -e "_tree'" || true)
  rm -f "$probe"
  [ -n "$work" ]
}

# The host tree is built (all of it, scripts/build.sh) only where something the
# demo runs is missing or out of date: the builder, the programs and the test
# tools of both Windows trees, and the template prefixes.
needs_build() {
  [ -d "$build" ] || return 0
  has_work "$build" brennick-build wine_prefixes && return 0
  has_work "$build/windows" brennick launch uidriver && return 0
  has_work "$build/windows64" brennick launch uidriver && return 0
  return 1
}

bash scripts/install-deps.sh
if needs_build; then
  bash scripts/build.sh
else
  echo "The host tree ($build) is up to date for the demo."
fi
export BRENNICK_SOURCE_DIR=$PWD BRENNICK_BUILD_DIR=$PWD/$build BRENNICK_WINDOWS_DIR=$PWD/$build/windows BRENNICK_WINDOWS64_DIR=$PWD/$build/windows64 \
       BRENNICK_WINE_DIR=$PWD/$build/wine PYTHONPATH=$PWD/tests/harness PYTHONDONTWRITEBYTECODE=1
# The demo runs on an X server of its own (demo_wizard.own_screen), apart from test runs.
python3 tests/harness/demo.py "$@"
