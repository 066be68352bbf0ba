#!/usr/bin/env bash
# Runs lintian on the package with every tag shown, pedantic and informational ones included,
# and fails on any error or warning among them (but the missing homepage, see below).
# Usage: check-deb-lintian.sh <package dir>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
deb="$1/$KALVET_DEB"
need lintian lintian
need dpkg-deb dpkg

report="$(lintian --pedantic --display-info --display-experimental --fail-on none "$deb" 2>&1)" ||
  fail "lintian could not check $deb: $report"
printf '%s\n' "$report"
problems="$(grep -E '^[EW]: ' <<<"$report" || true)"

# lintian reports any warning of appstream's about the metadata as this one tag, the missing
# homepage included (appstream 1.0, Debian 13). It is let through only when appstream passes
# the package's files with that warning alone made an info (appstream_validate in lib.sh).
tag='^W: kalvet: appstream-metadata-validation-failed( |$)'
if grep -qE "$tag" <<<"$problems"; then
  tree="$(mktemp -d)"
  trap 'rm -rf "$tree"' EXIT
  dpkg-deb -x "$deb" "$tree"
  appstream_validate validate-tree "$tree" ||
    fail "appstream finds more than the missing homepage wrong in the package's metadata"
  echo "appstream-metadata-validation-failed: appstream misses only a homepage (the project has none)"
  problems="$(grep -vE "$tag" <<<"$problems" || true)"
  beyond=" beyond the missing homepage"
fi
if [ -n "$problems" ]; then
  fail "lintian reports errors or warnings (E: or W:) for $KALVET_DEB"
fi
echo "lintian reports no error and no warning${beyond:-}"
