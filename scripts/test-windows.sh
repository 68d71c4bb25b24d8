#!/usr/bin/env bash
# Runs the Windows build's test suite under Wine (build it first with scripts/build-windows.sh):
# every test executable once, offscreen, in a Wine prefix inside the build folder. CTest starts
# each through scripts/wine-run.sh, the build's cross-compiling emulator. Afterwards it lists
# the test cases that skipped themselves under Wine, with their reasons, and repeats CTest's
# summary line last.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${VARNIX_WINDOWS_BUILD_DIR:-build-windows}
export QT_QPA_PLATFORM=offscreen
# The first start in a new prefix builds it; do that once, before the tests run side by side.
scripts/wine-run.sh "$dir" cmd /c exit 0 >/dev/null 2>&1 || true
cd "$dir"
status=0
ctest --output-on-failure -j"$(nproc)" | tee ctest-output.txt || status=$?
log=Testing/Temporary/LastTest.log
if [ -f "$log" ]; then
    awk '
        /^\[  PASSED  \] [0-9]+ test/ { passed += $4 }
        /: Skipped$/ { getline reason; pending = reason }
        /^\[  SKIPPED \] [A-Za-z0-9_]+\.[A-Za-z0-9_]+ \(/ {
            skipped++; list = list "  " $4 ": " pending "\n"
        }
        END {
            printf "Test cases under Wine: %d passed, %d skipped\n", passed, skipped
            printf "%s", list
        }' "$log"
fi
grep -E '^[0-9]+% tests passed' ctest-output.txt | tail -n 1 || true
exit "$status"
