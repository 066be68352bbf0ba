#!/usr/bin/env bash
# Runs lintian on the package with every tag shown, pedantic and informational ones included,
# and fails on any error or warning among them.
# Usage: check-deb-lintian.sh <package dir>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
deb="$1/$KALVET_DEB"
need lintian lintian

report="$(lintian --pedantic --display-info --display-experimental --fail-on none "$deb" 2>&1)" ||
  fail "lintian could not check $deb: $report"
printf '%s\n' "$report"
if grep -E '^[EW]: ' <<<"$report" >/dev/null; then
  fail "lintian reports errors or warnings (E: or W:) for $KALVET_DEB"
fi
echo "lintian reports no error and no warning"
