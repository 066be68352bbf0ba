#!/usr/bin/env bash
# Builds the Debian package from the build's CPack configuration into a fresh scratch folder.
# Usage: build-deb.sh <build dir> <output dir>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build_dir="$1" out="$2"
need dpkg-shlibdeps dpkg-dev
need dpkg-deb dpkg

rm -rf "$out"
cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$out" >"$out.log" 2>&1 || {
  cat "$out.log"
  fail "cpack -G DEB failed"
}
[ -f "$out/$KALVET_DEB" ] || fail "cpack made $(ls "$out"/*.deb 2>/dev/null || echo nothing), not $KALVET_DEB"
echo "built $out/$KALVET_DEB"
