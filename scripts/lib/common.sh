# Shared by scripts/run and scripts/test: where the project is, and how missing Debian
# packages and locales are put in place (as root, through sudo, or by telling the user).

KALVET_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# What building and starting the program needs.
RUN_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libfontconfig-dev
  libgtest-dev libbenchmark-dev
  librsvg2-bin fonts-liberation2
)

# What the whole test suite needs on top: sanitizers and libFuzzer (with clang's runtime for
# this release's clang, added by ensure_test_packages), the X server, D-Bus and
# the accessibility bus for end-to-end tests, the clipboard (xclip) and profiler (perf) of the
# paste benchmark, a desktop theme with a larger font (qt6ct, DejaVu), screenshots, the screen
# reader Orca, and the
# desktop-file and packaging checks (lintian; diffoscope shows where two builds differ). The
# Windows build needs more: WINDOWS_TEST_PACKAGES.
TEST_PACKAGES=(
  "${RUN_PACKAGES[@]}"
  clang
  xvfb xauth x11-utils x11-apps xdotool xclip imagemagick linux-perf
  dbus at-spi2-core python3 python3-pyatspi python3-xlib
  qt6ct fonts-dejavu-core
  # reading the message label back off the screen
  tesseract-ocr tesseract-ocr-ces
  locales
  desktop-file-utils appstream dpkg-dev file lintian diffoscope-minimal
  # the Wayland end-to-end case: a headless compositor and Qt's Wayland platform plugin
  weston qt6-wayland
  # the screen reader end-to-end suite: Orca, speaking through Speech Dispatcher and espeak-ng
  orca speech-dispatcher espeak-ng
)

say() { printf '%s\n' "$*"; }

# Whether commands can run as root here: as root itself, or through password-less sudo.
can_be_root() {
  [ "$(id -u)" -eq 0 ] || { command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; }
}

# Runs a command as root (callers check can_be_root first).
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  else
    sudo "$@"
  fi
}

missing_packages() {
  local pkg
  for pkg in "$@"; do
    if [ "$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null)" != "installed" ]; then
      printf '%s\n' "$pkg"
    fi
  done
}

# Refreshes apt's package lists. A mirror caught in the middle of a sync fails a list now and
# then ("File has unexpected size"); try again a little later, and should it go on failing, go
# on with the lists apt already has: the install that follows says whether they are enough.
update_package_lists() {
  local attempt
  for attempt in 1 2 3; do
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 update -qq &&
      return 0
    say "apt-get update failed (attempt $attempt of 3)"
    [ "$attempt" -lt 3 ] && sleep $((attempt * 30))
  done
  say "Going on with the package lists apt already has"
}

# Installs whichever of the named packages are absent; quick when none is.
ensure_packages() {
  local missing
  mapfile -t missing < <(missing_packages "$@")
  [ "${#missing[@]}" -eq 0 ] && return 0
  say "Installing missing Debian packages: ${missing[*]}"
  if ! can_be_root; then
    say "Cannot install as root here. Please run:"
    say "  sudo apt-get update && sudo apt-get install ${missing[*]}"
    exit 1
  fi
  update_package_lists
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" || exit 1
}

# The package with clang's sanitizer and libFuzzer runtimes that goes with the clang this
# release installs (Debian 12: clang-14, so libclang-rt-14-dev; Debian 13: clang-19), read from
# what the package clang depends on: the installed one, else the one apt would install.
clang_runtime_package() {
  local clang
  clang="$(
    {
      dpkg-query -W -f='${db:Status-Status} ${Depends}\n' clang 2>/dev/null | sed -n 's/^installed //p'
      apt-cache show --no-all-versions clang 2>/dev/null | sed -n 's/^Depends: //p'
    } | grep -o -m 1 -E '(^|[ ,])clang-[0-9]+' | grep -o -E 'clang-[0-9]+'
  )"
  [ -n "$clang" ] || return 1
  printf 'libclang-rt-%s-dev\n' "${clang#clang-}"
}

# Installs what the whole test suite needs (TEST_PACKAGES and clang's runtime).
ensure_test_packages() {
  local runtime
  if ! runtime="$(clang_runtime_package)"; then
    # apt knows no clang yet (its package lists are empty on a fresh system): fetch them.
    can_be_root && update_package_lists
    runtime="$(clang_runtime_package)" || {
      say "Neither apt nor dpkg knows the package clang, so which libclang-rt-N-dev goes with"
      say "it is unknown. Please run: sudo apt-get update"
      exit 1
    }
  fi
  ensure_packages "${TEST_PACKAGES[@]}" "$runtime"
}

# What scripts/debian13/ needs to make a Debian 13 system and run the suites inside it.
DEBIAN13_HOST_PACKAGES=(debootstrap wget)

# Makes sure a locale such as cs_CZ.UTF-8 can be used (the end-to-end tests run under it).
ensure_locale() {
  local name="$1" lang="${1%%.*}" want
  want="$(printf '%s' "${lang}.utf8" | tr '[:upper:]' '[:lower:]')"
  if locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | grep -qx "$want"; then
    return 0
  fi
  say "Generating locale $name"
  if ! can_be_root; then
    say "Cannot generate the locale here. Please run: sudo localedef -i $lang -f UTF-8 $name"
    exit 1
  fi
  as_root localedef -i "$lang" -f UTF-8 "$name" || exit 1
}

# ---- Windows build (scripts/windows/) ----
# The Windows build and its tests: the mingw-w64 cross-compilers and GoogleTest's source;
# Wine, 64-bit and 32-bit (the latter from the i386 architecture), with its fonts; the icon,
# executable and package checks; wixl, which builds the Windows Installer package, and msitools
# and python3-olefile, which read and finish it; Xvfb for the start-up benchmark with Wine's X11
# driver.
WINDOWS_TEST_PACKAGES=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix googletest
  wine wine64 fonts-wine fonts-freefont-ttf
  python3 python3-pefile icoutils imagemagick librsvg2-bin xvfb
  wixl msitools python3-olefile
  # working out a matched set of versions for Wine's 32-bit half (wine32-matched)
  python3-apt
)

ensure_windows_test_packages() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    if ! can_be_root; then
      say "Wine's 32-bit half needs the i386 architecture. Please run:"
      say "  sudo dpkg --add-architecture i386"
      exit 1
    fi
    say "Adding the i386 architecture for Wine's 32-bit half"
    as_root dpkg --add-architecture i386 || exit 1
  fi
  ensure_packages "${WINDOWS_TEST_PACKAGES[@]}"
  # Wine's 32-bit half, on its own. A mirror caught mid-sync can leave the i386 lists a
  # version behind the amd64 ones, and a library both architectures share must then be at one
  # version: wine32-matched moves the installed libraries (and what asks for their exact
  # versions) to the newest version both lists offer, removing nothing. Should even that fail,
  # the 32-bit programs' runs are reported as skipped, as on a kernel that runs no 32-bit code.
  if [ -n "$(missing_packages wine32:i386)" ] && can_be_root; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      wine32:i386 && return 0
    say "apt cannot install wine32:i386 as the lists stand; trying versions both architectures offer"
    as_root /usr/bin/python3 "$KALVET_ROOT/scripts/windows/wine32-matched" ||
      say "Wine's 32-bit half could not be installed: the 32-bit runs are reported as skipped"
  fi
}
# ---- end Windows build ----
