#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Varnix need; with --fuzz
# also clang and its libFuzzer runtime for scripts/fuzz.sh.
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# --no-install-recommends keeps the emulator's recommended packages (another front end) out.
$SUDO apt-get install -y -qq --no-install-recommends \
    cmake ninja-build g++ pkg-config \
    qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev \
    xvfb xauth openbox fonts-dejavu-core qt6-translations-l10n xdotool x11-utils \
    desktop-file-utils appstream dpkg-dev \
    mednafen >/dev/null
if [ "${1:-}" = "--fuzz" ]; then
    $SUDO apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi
