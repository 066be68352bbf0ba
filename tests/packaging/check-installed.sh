#!/usr/bin/env bash
# Checks that the installed files fit together: the desktop entry starts an installed
# executable and names an icon present in the hicolor theme at both sizes, and the metainfo
# describes the application whose desktop entry is installed.
# Usage: check-installed.sh <stage dir> <application id>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
stage="$1" id="$2"
need file file

desktop="$stage/usr/share/applications/$id.desktop"
metainfo="$stage/usr/share/metainfo/$id.metainfo.xml"
svg="$stage/usr/share/icons/hicolor/scalable/apps/$id.svg"
png="$stage/usr/share/icons/hicolor/32x32/apps/$id.png"
for f in "$desktop" "$metainfo" "$svg" "$png"; do
  [ -f "$f" ] || fail "not installed: ${f#"$stage"}"
done

entry() { sed -n "s/^$1=//p" "$desktop"; }
exec_name="$(entry Exec)"
program="$stage/usr/bin/$exec_name"
[ -x "$program" ] || fail "Exec=$exec_name is not an installed executable in /usr/bin"
file -b "$program" | grep -q '^ELF 64-bit LSB .*x86-64' ||
  fail "/usr/bin/$exec_name is not an ELF executable: $(file -b "$program")"
[ "$(entry Icon)" = "$id" ] || fail "Icon=$(entry Icon), expected the application id $id"
grep -qx 'Categories=Utility;Calculator;' "$desktop" || fail "Categories are not Utility;Calculator;"
grep -q '^Name\[cs\]=.' "$desktop" || fail "no Czech Name"
grep -q '^Comment\[cs\]=.' "$desktop" || fail "no Czech Comment"

file -b "$png" | grep -q 'PNG image data, 32 x 32' || fail "32x32 icon is $(file -b "$png")"
file -b "$svg" | grep -q 'SVG' || fail "scalable icon is $(file -b "$svg")"

grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "metainfo does not launch $id.desktop"
grep -q "<release version=\"$KALVET_VERSION\" date=\"[0-9-]*\"" "$metainfo" ||
  fail "metainfo has no dated release $KALVET_VERSION"
grep -q '<summary xml:lang="cs">' "$metainfo" || fail "metainfo has no Czech summary"
grep -q '<p xml:lang="cs">' "$metainfo" || fail "metainfo has no Czech description"
echo "installed files fit together"
