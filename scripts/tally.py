"""Adds up the tiers that ran: GoogleTest cases from their XML reports, ctest entries
that are not GoogleTest binaries (or that died before writing a report), and the
end-to-end counts, for each build. Prints "N passed, N failed"; exits 1 when anything
failed.

    tally.py RESULTS native native32 [i686] [x86_64]

RESULTS holds ctest-<run>.xml and the GoogleTest reports of each run in <run>/, and
e2e-<build>.json for each Windows build."""
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


def ctest_counts(junit, gtest_dir):
    """A run's ctest entries, each counted by its GoogleTest cases when it wrote them."""
    reports = {p.stem: p for p in gtest_dir.glob("*.xml")}
    passed = failed = 0
    if not junit.exists():
        return 0, 1
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
    return passed, failed


def main(results, *runs):
    results = Path(results)
    passed = failed = 0
    for run in runs:
        p, f = ctest_counts(results / f"ctest-{run}.xml", results / run)
        passed, failed = passed + p, failed + f
        if run.startswith("native"):
            continue
        e2e = results / f"e2e-{run}.json"
        if e2e.exists():
            counts = json.loads(e2e.read_text())
            passed, failed = passed + counts["passed"], failed + counts["failed"]
        else:
            failed += 1
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
