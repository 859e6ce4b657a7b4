#!/usr/bin/env python3
"""Run the end-to-end suite against one build of hardclone.

    python3 tests/e2e/run_e2e.py --target posix --binary build/posix/hardclone
    python3 tests/e2e/run_e2e.py --target windows --binary build/windows/hardclone.exe

Extra arguments select tests by name, as unittest's -k does
(for example: -k test_report -k Question). Exits non-zero on any failure.
"""

import argparse
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # keep the source tree clean

import targets  # noqa: E402


def parse_args(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--target", required=True, choices=["posix", "windows"])
    parser.add_argument("--binary", required=True, help="path of the tool to test")
    parser.add_argument("-k", dest="patterns", action="append", default=[],
                        help="only run tests whose name contains this text")
    parser.add_argument("-q", "--quiet", action="store_true")
    return parser.parse_args(argv)


def load(patterns):
    loader = unittest.TestLoader()
    if patterns:
        loader.testNamePatterns = ["*%s*" % p for p in patterns]
    return loader.discover(start_dir=HERE, pattern="test_*.py", top_level_dir=HERE)


def main(argv):
    args = parse_args(argv)
    target = targets.make(args.target, args.binary)
    try:
        target.setup()
    except Exception as e:  # noqa: BLE001 - any set-up fault ends the run
        print("e2e set-up failed for %s: %s" % (args.target, e), file=sys.stderr)
        target.teardown()
        return 2
    targets.select(target)
    try:
        suite = load(args.patterns)
        runner = unittest.TextTestRunner(verbosity=1 if args.quiet else 2)
        result = runner.run(suite)
    finally:
        target.teardown()
    return 0 if result.wasSuccessful() and result.testsRun else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
