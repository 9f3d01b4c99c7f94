"""Runs the page's end-to-end tests (test modules or test names) in headless browsers:
run.py --page X.html --error-pages DIR --pictures DIR --layout layout.h [--package X.zip] [names...]"""

import argparse
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import window  # noqa: E402

parser = argparse.ArgumentParser()
for option in ("page", "error-pages", "pictures", "layout"):
    parser.add_argument("--" + option, required=True)
parser.add_argument("--package", help="the SCORM package")
parser.add_argument("names", nargs="*")
args = parser.parse_args()
window.config.update(page=os.path.abspath(args.page), error_pages=os.path.abspath(args.error_pages),
                     pictures=os.path.abspath(args.pictures), layout=os.path.abspath(args.layout),
                     package=args.package and os.path.abspath(args.package))

here = os.path.dirname(os.path.abspath(__file__))
loader = unittest.defaultTestLoader
suite = loader.loadTestsFromNames(args.names) if args.names else loader.discover(here, pattern="test_*.py")
result = unittest.TextTestRunner(verbosity=2).run(suite)
sys.exit(0 if result.wasSuccessful() else 1)
