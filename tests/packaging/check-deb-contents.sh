#!/usr/bin/env bash
# Lists the package (dpkg-deb -c) and checks that it holds exactly the program, its desktop
# files and its documents (copyright, changelog, manual pages), owned by root with the usual
# modes: no test, benchmark or library files.
# Usage: check-deb-contents.sh <package dir> <application id>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
deb="$1/$KALVET_DEB" id="$2"
need dpkg-deb dpkg

listing="$(dpkg-deb -c "$deb")" || fail "dpkg-deb -c $deb failed"
printf '%s\n' "$listing"

expected="$(sort <<LIST
-rwxr-xr-x ./usr/bin/kalvet
-rw-r--r-- ./usr/share/applications/$id.desktop
-rw-r--r-- ./usr/share/doc/kalvet/changelog.gz
-rw-r--r-- ./usr/share/doc/kalvet/copyright
-rw-r--r-- ./usr/share/icons/hicolor/32x32/apps/$id.png
-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/$id.svg
-rw-r--r-- ./usr/share/man/cs/man1/kalvet.1.gz
-rw-r--r-- ./usr/share/man/man1/kalvet.1.gz
-rw-r--r-- ./usr/share/metainfo/$id.metainfo.xml
LIST
)"
# Every entry that is not a directory, as "<mode> <path>".
actual="$(awk '$1 !~ /^d/ { print $1, $6 }' <<<"$listing" | sort)"
[ "$actual" = "$expected" ] || {
  diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual") >&2 || true
  fail "package contents differ from the expected files (< expected, > packaged)"
}
owners="$(awk '{ print $2 }' <<<"$listing" | sort -u)"
[ "$owners" = "root/root" ] || fail "files not owned by root/root: $owners"
echo "package holds exactly the expected files"
