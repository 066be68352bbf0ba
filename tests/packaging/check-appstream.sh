#!/usr/bin/env bash
# Validates the installed AppStream metainfo (see appstream_validate in lib.sh).
# Usage: check-appstream.sh <metainfo file>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
appstream_validate validate "$1" || fail "appstreamcli validate reports problems in $1"
