#!/usr/bin/env bash
# Shows the package's control data (dpkg-deb -I) and checks its name, version and
# architecture, and that Depends was computed from the binary (libc, libstdc++, Qt Widgets)
# and names the font package.
# Usage: check-deb-control.sh <package dir>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
deb="$1/$KALVET_DEB"
need dpkg-deb dpkg

dpkg-deb -I "$deb" || fail "dpkg-deb -I $deb failed"
field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = kalvet ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$KALVET_VERSION" ] || fail "Version is $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture is $(field Architecture)"
for f in Maintainer Section Description Installed-Size; do
  [ -n "$(field "$f")" ] || fail "no $f field"
done

# Depends as one package name per line, version constraints dropped.
depends="$(field Depends | tr ',' '\n' | sed 's/(.*)//; s/[[:space:]]//g')"
for pkg in libc6 libstdc++6 fonts-liberation2; do
  grep -qxF "$pkg" <<<"$depends" || fail "Depends lacks $pkg: $(field Depends)"
done
# Qt's widgets library is libqt6widgets6 on Debian 12 and libqt6widgets6t64 on Debian 13 (its
# 64-bit time_t transition); either name shows the dependency was worked out from the program.
grep -qxE 'libqt6widgets6(t64)?' <<<"$depends" ||
  fail "Depends lacks Qt's widgets library (libqt6widgets6 or libqt6widgets6t64): $(field Depends)"
echo "Depends: $(field Depends)"
