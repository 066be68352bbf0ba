# Shared by the Windows build scripts: where long one-off work (Qt for Windows, the Wine test
# prefix) is kept. It lives outside the checkout, so every clone reuses it.

# shellcheck source=../lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/common.sh"

WINDOWS_TARGET=i686-w64-mingw32

# /var/cache/kalvet for root, the user's cache otherwise; KALVET_CACHE_DIR overrides both.
kalvet_cache_dir() {
  if [ -n "${KALVET_CACHE_DIR:-}" ]; then
    printf '%s\n' "$KALVET_CACHE_DIR"
  elif [ "$(id -u)" -eq 0 ]; then
    printf '%s\n' /var/cache/kalvet
  else
    printf '%s\n' "${XDG_CACHE_HOME:-$HOME/.cache}/kalvet"
  fi
}

# Runs apt-get as root, waiting for other users of the dpkg lock.
apt_as_root() {
  as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 "$@"
}

# The Debian package with the C++ compiler (and, through it, binutils) for a mingw-w64 target.
windows_compiler_package() {
  case "$1" in
    i686-w64-mingw32) echo g++-mingw-w64-i686-posix ;;
    x86_64-w64-mingw32) echo g++-mingw-w64-x86-64-posix ;;
    *) say "Unknown Windows target $1" >&2; return 1 ;;
  esac
}
