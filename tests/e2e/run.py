"""Runs every end-to-end test module and writes the counts for scripts/test."""
import json
import sys
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent


class CountingResult(unittest.TextTestResult):
    successes = 0

    def addSuccess(self, test):
        super().addSuccess(test)
        self.successes += 1


def main():
    sys.path.insert(0, str(HERE))
    pattern = sys.argv[2] if len(sys.argv) > 2 else "test_*.py"
    suite = unittest.defaultTestLoader.discover(str(HERE), pattern=pattern, top_level_dir=str(HERE))
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout, resultclass=CountingResult).run(suite)
    # Errors in a class's or module's set-up count once each, as failures.
    failed = len(result.failures) + len(result.errors)
    counts = {"passed": result.successes, "failed": failed, "skipped": len(result.skipped)}
    if len(sys.argv) > 1:
        Path(sys.argv[1]).parent.mkdir(parents=True, exist_ok=True)
        Path(sys.argv[1]).write_text(json.dumps(counts))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
