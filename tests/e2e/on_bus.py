#!/usr/bin/env python3
"""Runs a program as a screen reader's user would: on a private X server with a session bus and an accessibility
bus that is switched on, so that the toolkit's accessibility bridge is active (the test programs of the map
table need that: without a bridge the toolkit drops every accessibility event before a test can see it).

Usage: on_bus.py PROGRAM [ARGUMENTS...]    (the program's exit status is this script's)
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_session import AccessibilitySession  # noqa: E402


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    session = AccessibilitySession()
    try:
        session.start()
        env = dict(session.env, QT_QPA_PLATFORM="xcb")
        return subprocess.run(sys.argv[1:], env=env, timeout=240).returncode
    finally:
        session.close()


if __name__ == "__main__":
    sys.exit(main())
