"""run.py COUNTS.json [PATTERN]: runs the end-to-end test modules and writes their counts for scripts/test."""
import json
import sys
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent


def main():
    pattern = sys.argv[2] if len(sys.argv) > 2 else "test_*.py"
    suite = unittest.defaultTestLoader.discover(str(HERE), pattern=pattern, top_level_dir=str(HERE))
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
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
