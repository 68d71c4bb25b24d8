#!/usr/bin/env bash
# Installs what is missing, builds, prepares the demo application folder ./demo and starts
# Varnix there.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${VARNIX_SKIP_INSTALL:-0}" = 1 ] || scripts/install-deps.sh
scripts/build.sh
scripts/make-demo-folder.sh demo
cd demo
exec ./varnix
