#!/usr/bin/env bash
# Installs what is missing (naming it first), builds only the launcher and the disc writer the
# demo games come from (no tests, no benchmarks), prepares the demo application folder ./demo
# and starts Varnix there.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${VARNIX_SKIP_INSTALL:-0}" = 1 ] || scripts/install-deps.sh
# The same build folder as scripts/build.sh, so a later full build reuses what is built here.
[ -f build/CMakeCache.txt ] ||
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
echo "demo: building varnix and the disc writer mkdisc in build/"
cmake --build build -j"$(nproc)" --target varnix mkdisc
scripts/make-demo-folder.sh demo
echo "demo: starting Varnix in $(pwd)/demo"
cd demo
exec ./varnix
