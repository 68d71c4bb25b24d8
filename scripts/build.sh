#!/usr/bin/env bash
# Configures and builds Varnix. VARNIX_SANITIZE=1 builds with ASan + UBSan into build-asan.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${VARNIX_SANITIZE:-0}" = 1 ]; then
    dir=build-asan
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARNIX_SANITIZE=ON >/dev/null
else
    dir=build
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$dir" -j"$(nproc)"
