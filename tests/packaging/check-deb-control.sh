#!/usr/bin/env bash
# Shows the package's control data (dpkg-deb -I) and checks its name, version and
# architecture, and that Depends was computed from the binary (libc, Qt Widgets) and names
# the font package.
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
for pkg in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 fonts-liberation2; do
  grep -qx "$pkg" <<<"$depends" || fail "Depends lacks $pkg: $(field Depends)"
done
echo "Depends: $(field Depends)"
