#!/usr/bin/env bash
# Builds the release artifacts twice, from two copies of the source tree in folders of
# different names and depths, at two different times (and in time zones 14 hours apart, which
# puts most moments on two different dates), with the same SOURCE_DATE_EPOCH, and
# checks that every artifact is the same bit for bit. On a difference it shows diffoscope's
# summary of it. Only the program and its packages are built (no tests, no benchmarks), each
# copy without ccache, so that nothing is shared between the two builds but the source.
# The Windows presets need Qt for Windows from scripts/windows/build-qt; a preset without it is
# skipped and the check ends with status 77 (77 also when nothing at all could be compared).
# Usage: reproducible.sh <source dir> <scratch dir>
set -euo pipefail
source "$(dirname "$0")/lib.sh"
src="$(cd "$1" && pwd)" scratch="$2"
SKIPPED=77

# What is compared: <preset>:<file in the preset's build folder>, and the targets each preset
# builds before `cpack` makes its packages.
ARTIFACTS=(
  "release:app/kalvet"
  "release:$KALVET_DEB"
  "windows64:kalvet.exe"
  "windows64:kalvet-1.00-win64.zip"
  "windows64:kalvet-1.00-win64.msi"
)
declare -A TARGETS=([release]="kalvet kalvet_doc" [windows64]="kalvet")
# The Windows presets, each built where Qt for its target is.
declare -A WINDOWS_PRESETS=([windows64]=x86_64-w64-mingw32)

need cmake cmake
need cpack cmake
need dpkg-shlibdeps dpkg-dev

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH="$(git -C "$src" log -1 --format=%ct 2>/dev/null)" ||
    fail "SOURCE_DATE_EPOCH is not set and $src has no git history to take it from"
fi
epoch="$SOURCE_DATE_EPOCH"
# The build takes the time from the environment when it is configured, and passes it on to
# the tools it runs: the builds and cpack run without it.
unset SOURCE_DATE_EPOCH
echo "SOURCE_DATE_EPOCH=$epoch ($(date -u -d "@$epoch" '+%F %T UTC'))"

presets=(release)
skipped=()
for preset in "${!WINDOWS_PRESETS[@]}"; do
  target="${WINDOWS_PRESETS[$preset]}"
  if "$src/scripts/windows/build-qt" --target "$target" --prefix >/dev/null 2>&1; then
    presets+=("$preset")
  else
    skipped+=("$preset")
    echo "SKIPPED: $preset (Qt for $target is not built; run" \
      "scripts/windows/build-qt --target $target)"
  fi
done

# The source files of the checkout, without its build folders.
copy_source() {
  local to="$1"
  mkdir -p "$to"
  if git -C "$src" rev-parse --git-dir >/dev/null 2>&1; then
    git -C "$src" ls-files -z --cached --others --exclude-standard |
      (cd "$src" && xargs -0 cp --parents -t "$to" 2>/dev/null || true)
  else
    tar -C "$src" --exclude=./build -c . | tar -C "$to" -x
  fi
}

# build <source copy>: configures, builds and packages every preset in it.
build() {
  local copy="$1" preset log
  for preset in "${presets[@]}"; do
    log="$copy.$preset.log"
    (
      cd "$copy"
      SOURCE_DATE_EPOCH="$epoch" cmake --preset "$preset" \
        -DKALVET_WITH_TESTS=OFF -DKALVET_WITH_BENCH=OFF &&
        cmake --build --preset "$preset" --target ${TARGETS[$preset]} &&
        (cd "build/$preset" && cpack)
    ) >"$log" 2>&1 || {
      tail -n 40 "$log"
      fail "building $preset in $copy failed (log: $log)"
    }
  done
}

rm -rf "$scratch"
first="$scratch/a/kalvet"
second="$scratch/second-build/src/kalvet-copy"
start=$SECONDS
# A compiler cache would hand the second build the first one's objects.
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
export CCACHE_DISABLE=1
copy_source "$first"
TZ=UTC build "$first"
echo "built in $first ($((SECONDS - start)) s so far)"
copy_source "$second"
TZ=Pacific/Kiritimati build "$second"
echo "built in $second ($((SECONDS - start)) s so far)"

compared=0 differ=0
for artifact in "${ARTIFACTS[@]}"; do
  preset="${artifact%%:*}" file="${artifact#*:}"
  [[ " ${presets[*]} " == *" $preset "* ]] || continue
  a="$first/build/$preset/$file" b="$second/build/$preset/$file"
  [ -f "$a" ] && [ -f "$b" ] || fail "$preset did not make $file"
  compared=$((compared + 1))
  read -r sum_a _ < <(sha256sum "$a")
  read -r sum_b _ < <(sha256sum "$b")
  if [ "$sum_a" = "$sum_b" ]; then
    echo "same      $sum_a  $preset/$file"
  else
    differ=$((differ + 1))
    echo "DIFFERENT $sum_a $sum_b  $preset/$file"
    if command -v diffoscope >/dev/null 2>&1; then
      diffoscope --no-progress --text - "$a" "$b" 2>&1 | head -n 120 || true
    else
      echo "(install diffoscope-minimal to see how they differ)"
    fi
  fi
done
echo "compared $compared artifacts in $((SECONDS - start)) s"
[ "$differ" -eq 0 ] ||
  fail "$differ of $compared artifacts differ between the two builds (both kept in $scratch)"
rm -rf "$scratch"
[ "$compared" -gt 0 ] || exit "$SKIPPED"
echo "every artifact compared is the same bit for bit"
[ "${#skipped[@]}" -eq 0 ] || {
  echo "SKIPPED: ${skipped[*]}, for want of Qt for Windows"
  exit "$SKIPPED"
}
