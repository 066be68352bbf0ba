# Shared by the packaging checks: failing with a reason, and the tools they need.

fail() {
  printf 'FAIL: %s\n' "$*" >&2
  exit 1
}

# need <program> <Debian package that has it>
need() {
  command -v "$1" >/dev/null 2>&1 || fail "$1 not found (install the Debian package $2)"
}

# The expected values of what the program carries and installs.
KALVET_VERSION=1.00
KALVET_DEB=kalvet_1.00_amd64.deb

# appstream_validate <validate|validate-tree> <metainfo file or package root>
# Validates AppStream metadata offline; warnings fail as errors do, with one exception. The
# project has no homepage to name, and appstream 1.0 (Debian 13) warns url-homepage-missing
# for that, so this one tag is made an info; appstream 0.16 (Debian 12) has no such check and
# refuses to override a tag it does not know, so there it is validated as it is.
appstream_validate() {
  local output
  need appstreamcli appstream
  if output="$(appstreamcli "$1" --no-net --override=url-homepage-missing=info "$2" 2>&1)"; then
    printf '%s\n' "$output"
    return 0
  fi
  if grep -q "'url-homepage-missing' is not recognized" <<<"$output"; then
    appstreamcli "$1" --no-net "$2"
    return
  fi
  printf '%s\n' "$output"
  return 1
}
