#!/usr/bin/env bash
# Builds everything and runs the program under Wine, the way a user would,
# reading back what it shows through the UI driver.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build=build/host
export BRENNICK_SOURCE_DIR=$PWD BRENNICK_BUILD_DIR=$PWD/$build BRENNICK_WINDOWS_DIR=$PWD/$build/windows BRENNICK_WINDOWS64_DIR=$PWD/$build/windows64 \
       BRENNICK_WINE_DIR=$PWD/$build/wine PYTHONPATH=$PWD/tests/harness PYTHONDONTWRITEBYTECODE=1
python3 tests/harness/xvfb.py start
trap 'python3 tests/harness/xvfb.py stop' EXIT
python3 tests/harness/demo.py
