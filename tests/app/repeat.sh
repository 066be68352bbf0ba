#!/usr/bin/env bash
# Runs every end-to-end suite under both locales N times in a row and counts the results,
# to show that the tests are reliable. Usage: tests/app/repeat.sh N PROGRAM [ARTIFACTS_DIR]
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
runs="${1:?number of runs}"
program="${2:?path of the kalvet program}"
artifacts="${3:-$(mktemp -d /tmp/kalvet-e2e-repeat.XXXXXX)}"
passed=0
failed=0
for run in $(seq 1 "$runs"); do
  for suite in main_window colour_schemes; do
    for locale in C cs_CZ.UTF-8; do
      log="$artifacts/$suite-$locale-$run.log"
      if timeout 400 /usr/bin/python3 "$here/test_$suite.py" --program "$program" \
          --locale "$locale" --artifacts "$artifacts" </dev/null >"$log" 2>&1; then
        passed=$((passed + 1))
      else
        failed=$((failed + 1))
        echo "run $run: $suite under $locale failed, see $log"
      fi
    done
  done
done
echo "logs in $artifacts"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
