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
