#!/usr/bin/env bash
# Builds everything and runs every test: unit (host), win and e2e (under Wine).
# Ends with a paragraph that names every test this machine could not run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
results=$PWD/build/host/test-results.xml
rm -f "$results"
status=0
ctest --preset host --output-junit "$results" "$@" || status=$?
python3 tests/harness/skip_report.py "$results" build/host/wine/machine.json
exit $status
