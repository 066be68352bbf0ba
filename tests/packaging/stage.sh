#!/usr/bin/env bash
# Installs the build into a fresh scratch root, the way a distribution package would:
# prefix /usr under DESTDIR.
# Usage: stage.sh <build dir> <stage dir>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build_dir="$1" stage="$2"

rm -rf "$stage"
DESTDIR="$stage" cmake --install "$build_dir" --prefix /usr >/dev/null ||
  fail "cmake --install into $stage failed"
find "$stage" -type f | sed "s|^$stage||" | sort
