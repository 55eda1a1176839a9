"""Runs one end-to-end test module the way ctest needs it:
run_e2e.py <module> (from tests/e2e).

Exit code 0 when every test passed, 1 when one failed, and 77 (ctest's
"skipped") when none failed but some could not run on this machine; those
are named with the reason, and the tests that did run are counted, so that a
partly run module is never taken for a full pass."""

import os
import sys
import unittest

import machine


def main() -> int:
    name = sys.argv[1]
    sys.path.insert(0, os.getcwd())
    suite = unittest.defaultTestLoader.loadTestsFromName(name)
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    sys.stdout.flush()
    if not result.wasSuccessful():
        return 1
    skipped = [(test, reason) for test, reason in result.skipped if reason.startswith(machine.SKIP_MARK)]
    if not skipped:
        return 0
    # A class skipped in its setUpClass is one entry for all of its tests,
    # and none of them counts as run.
    total = suite.countTestCases()
    ran = result.testsRun - sum(isinstance(test, unittest.TestCase) for test, _ in result.skipped)
    reasons = sorted({reason for _, reason in skipped})
    print("%s: %d of %d tests; %d ran and passed" % (machine.SKIP_MARK, total - ran, total, ran))
    for reason in reasons:
        print("skipped, because " + reason[len(machine.SKIP_MARK) + 2:])
    return machine.SKIP_EXIT_CODE


if __name__ == "__main__":
    sys.exit(main())
