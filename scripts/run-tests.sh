#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite (unit and emulator tests).
# VARNIX_SANITIZE=1 runs it on the AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${VARNIX_SKIP_INSTALL:-0}" = 1 ] || scripts/install-deps.sh
scripts/build.sh
dir=build
[ "${VARNIX_SANITIZE:-0}" = 1 ] && dir=build-asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$dir"
ctest --output-on-failure -j"$(nproc)"
