#!/usr/bin/env bash
# Compiles kalvet.exe's resource script with mingw-w64's windres into the COFF object the
# linker would get, and reads back what the executable will carry: the calculator icon with
# a 32x32 image, and the version record 1.00 in the string block 040904B0 with the
# matching translation entry.
# Usage: check-windows-rc.sh <kalvet.rc> <work dir>
set -euo pipefail
here="$(dirname "$0")"
source "$here/lib.sh"
rc="$1" work="$2"
windres=x86_64-w64-mingw32-windres
need "$windres" binutils-mingw-w64-x86-64
need x86_64-w64-mingw32-objdump binutils-mingw-w64-x86-64

rm -rf "$work"
mkdir -p "$work"
object="$work/kalvet-rc.o"
"$windres" --input "$rc" --output-format coff --output "$object" || fail "windres could not compile $rc"
x86_64-w64-mingw32-objdump --section-headers "$object" | grep -q '\.rsrc' ||
  fail "the compiled object has no .rsrc section"

# The icon group, as windres decompiles it: one line per image, "width height ..." in octal.
"$windres" --input "$object" --output-format rc --output "$work/decompiled.rc"
grep -q 'RT_GROUP_ICON' "$work/decompiled.rc" || fail "no icon in the resources"
grep -q '^ *"\\040\\040\\000\\000", 1, 32,' "$work/decompiled.rc" ||
  fail "the icon has no 32x32 image"

record="$(/usr/bin/python3 "$here/read-version-resource.py" "$object")" || fail "no version record"
printf '%s\n' "$record"
expected="FILEVERSION=1,0,0,0
PRODUCTVERSION=1,0,0,0
StringFileInfo=040904B0
FileVersion=$KALVET_VERSION
ProductVersion=$KALVET_VERSION
Translation=0x0409,1200"
while IFS= read -r line; do
  grep -qxF "$line" <<<"$record" || fail "version record lacks $line"
done <<<"$expected"
[ "$(grep -c '^StringFileInfo=' <<<"$record")" -eq 1 ] || fail "more than one string block"
echo "the resource script compiles and carries the icon and the version record"
