"""Adds up the three tiers: GoogleTest cases from their XML reports, ctest entries
that are not GoogleTest binaries (or that died before writing a report), and the
end-to-end counts. Prints "N passed, N failed"; exits 1 when anything failed."""
import json
import sys
import xml.etree.ElementTree as ET
from pathlib import Path


def gtest_counts(report):
    suites = ET.parse(report).getroot()
    total = int(suites.get("tests", 0))
    failed = int(suites.get("failures", 0)) + int(suites.get("errors", 0))
    skipped = int(suites.get("disabled", 0)) + int(suites.get("skipped", 0))
    return total - failed - skipped, failed


def main(results, *gtest_dirs):
    results = Path(results)
    reports = {p.stem: p for d in gtest_dirs for p in Path(d).glob("*.xml")}
    passed = failed = 0
    for junit in sorted(results.glob("ctest-*.xml")):
        for case in ET.parse(junit).getroot().iter("testcase"):
            name = case.get("name")
            broken = case.find("failure") is not None or case.find("error") is not None
            if name in reports:
                p, f = gtest_counts(reports[name])
                passed, failed = passed + p, failed + f
                if broken and f == 0:
                    failed += 1  # the binary itself failed after its cases passed
            elif case.get("status") == "notrun" or case.find("skipped") is not None:
                failed += 1
            else:
                failed, passed = (failed + 1, passed) if broken else (failed, passed + 1)
    e2e = results / "e2e.json"
    if e2e.exists():
        counts = json.loads(e2e.read_text())
        passed, failed = passed + counts["passed"], failed + counts["failed"]
    else:
        failed += 1
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
