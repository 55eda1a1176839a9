"""The closing paragraph of the test command: which tests did not run on
this machine and why, so that a partial run is never taken for a full one.

    skip_report.py <ctest JUnit file> <machine facts file>"""

import re
import sys
import textwrap
import xml.etree.ElementTree as ElementTree
from pathlib import Path

import machine

# What run_e2e.py prints about a module that ran in part.
PARTLY = re.compile(r"^%s: (\d+) of (\d+) tests; (\d+) ran and passed$" % machine.SKIP_MARK, re.M)


def paragraph(junit: str, facts: dict) -> str:
    cases = ElementTree.fromstring(junit).iter("testcase")
    skipped, ran = [], 0
    for case in cases:
        if case.get("status") == "run":
            ran += 1
            continue
        output = case.findtext("system-out") or ""
        part = PARTLY.search(output)
        name = case.get("name")
        skipped.append("%s (%s of %s tests; %s ran)" % (name, part[1], part[2], part[3]) if part else name)
    if not skipped:
        return "All %d tests ran; none was skipped on this machine." % ran
    why = ("because %s, and those tests run the 32-bit program (the win and e2e suites ran with the program "
           "for 64-bit Windows instead)" % machine.describe(facts) if not facts["x86_32"]
           else "see each test's output for the reason")
    text = ("NOT A FULL RUN: %d tests did not run on this machine: %s. They were skipped %s. What they check is "
            "not verified by this run; run the test command on a machine that executes 32-bit x86 code for that. "
            "The other %d tests ran." % (len(skipped), ", ".join(skipped), why, ran))
    return textwrap.fill(text, 100)


def main() -> int:
    junit, facts = Path(sys.argv[1]), Path(sys.argv[2])
    if not junit.exists():
        print("No test results in %s: the tests did not run." % junit)
        return 0
    print()
    print(paragraph(junit.read_text(), machine.load(facts) if facts.exists() else {"x86_32": True}))
    return 0


if __name__ == "__main__":
    sys.exit(main())
