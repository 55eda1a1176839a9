#!/usr/bin/env bash
# Builds everything and runs every test: unit (host), win and e2e (under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
ctest --preset host "$@"
