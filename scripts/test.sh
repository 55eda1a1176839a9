#!/usr/bin/env bash
# Builds everything and runs every test: unit (host), win and e2e (under Wine).
# Ends with a paragraph that names every test this machine could not run.
#
#   bash scripts/test.sh [--both-flavours] [ctest arguments]
#
# --both-flavours: where the e2e suite ran with the 32-bit program, it runs
# once more with the program for 64-bit Windows (not only its smoke set), and
# the equivalence test of the two programs runs (test preset "equivalence").
set -euo pipefail
cd "$(dirname "$0")/.."
both=0
if [ "${1:-}" = "--both-flavours" ]; then
  both=1
  shift
fi
bash scripts/build.sh
results=$PWD/build/host/test-results.xml
facts=build/host/wine/machine.json
rm -f "$results"
status=0
ctest --preset host --output-junit "$results" "$@" || status=$?
if [ $both = 1 ]; then
  if python3 -c 'import json, sys; sys.exit(0 if json.load(open(sys.argv[1]))["x86_32"] else 1)' "$facts"; then
    echo "The e2e suite once more, with the program for 64-bit Windows:"
    BRENNICK_FLAVOUR=x64 ctest --preset host -R '^(xvfb_.*|e2e_.*)$' "$@" || status=$?
    echo "The two programs on 64-bit Windows, side by side:"
    ctest --preset equivalence "$@" || status=$?
  else
    echo "The e2e suite ran with the program for 64-bit Windows already: this machine runs no 32-bit programs."
    echo "Not run on this machine: the equivalence test of the two programs (it needs 32-bit execution)."
  fi
fi
python3 tests/harness/skip_report.py "$results" "$facts"
exit $status
