#!/usr/bin/env bash
# Runs lintian on the Debian package and fails on any error or warning. A tag
# the package keeps on purpose is overridden in packaging/debian/lintian-overrides
# (shipped in the package, where lintian reads it); each override must follow
# a comment line that gives the reason.
# Usage: scripts/lintian-check.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
cd "$(dirname "$0")/.."
overrides=packaging/debian/lintian-overrides
if [ -f "$overrides" ]; then
  awk '/^#/ { reason = 1; next } /^[[:space:]]*$/ { reason = 0; next }
       !reason { print "lintian override without a reason: " $0; bad = 1 }
       END { exit bad }' "$overrides"
fi
set +e
report=$(lintian --fail-on error,warning --show-overrides "$deb" 2>&1)
status=$?
set -e
report=$(grep -v '^running with root privileges' <<<"$report" || true)
[ -z "$report" ] || echo "$report"
if [ "$status" -ne 0 ] || grep -qE '^[EW]: ' <<<"$report"; then
  echo "FAIL: lintian reports errors or warnings on $(basename "$deb")"
  exit 1
fi
echo "lintian: no errors or warnings on $(basename "$deb")"
