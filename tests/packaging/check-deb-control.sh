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
# Qt's widgets library, under the name of the package that holds it here, which is the one
# dpkg-shlibdeps found: libqt6widgets6 on Debian 12 and 13 alike, while Qt's core library
# became libqt6core6t64 on Debian 13 (its 64-bit time_t transition), so no name is written in.
widgets="$(dpkg-query -S '*/libQt6Widgets.so.6' | sed -n 's/^\([^:,]*\)[:,].*/\1/p' | sort -u)"
[ -n "$widgets" ] || fail "no installed package holds libQt6Widgets.so.6"
grep -qxF "$widgets" <<<"$depends" ||
  fail "Depends lacks Qt's widgets library ($widgets): $(field Depends)"
echo "Depends: $(field Depends)"
