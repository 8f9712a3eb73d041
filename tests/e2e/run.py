"""run.py COUNTS.json [PATTERN]: runs the end-to-end test modules and writes their counts for scripts/test."""
import json
import sys
import time
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent


class TimedResult(unittest.TextTestResult):
    """Keeps each test's seconds, so that a slow tier shows where its time goes."""

    seconds = {}

    def startTest(self, test):
        self.started = time.monotonic()
        super().startTest(test)

    def stopTest(self, test):
        self.seconds[test.id()] = time.monotonic() - self.started
        super().stopTest(test)


def main():
    pattern = sys.argv[2] if len(sys.argv) > 2 else "test_*.py"
    suite = unittest.defaultTestLoader.discover(str(HERE), pattern=pattern, top_level_dir=str(HERE))
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout, resultclass=TimedResult).run(suite)
    for test, seconds in sorted(TimedResult.seconds.items(), key=lambda item: -item[1]):
        print(f"{seconds:6.1f} s  {test}")
    # A test fails once, however many of its subtests fail; errors in a class's or
    # module's set-up count once each, as failures.
    failed = len({getattr(test, "test_case", test).id() for test, _ in result.failures + result.errors})
    skipped = len(result.skipped)
    counts = {"passed": max(result.testsRun - failed - skipped, 0), "failed": failed, "skipped": skipped}
    Path(sys.argv[1]).parent.mkdir(parents=True, exist_ok=True)
    Path(sys.argv[1]).write_text(json.dumps(counts))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
