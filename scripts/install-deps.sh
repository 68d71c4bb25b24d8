#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Varnix need; with --fuzz
# also clang and its libFuzzer runtime for scripts/fuzz.sh, with --windows the MinGW-w64 cross
# compiler and Wine for scripts/build-windows.sh and scripts/test-windows.sh (both may be given).
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
for option in "$@"; do
    case "$option" in
    --fuzz)
        $SUDO apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null ;;
    --windows)
        # fonts-wine gives Wine its own faces, Tahoma among them.
        $SUDO apt-get install -y -qq --no-install-recommends g++-mingw-w64-x86-64-posix \
            wine wine64 fonts-wine xz-utils >/dev/null ;;
    *)
        echo "install-deps: unknown option $option (--fuzz, --windows)" >&2
        exit 2 ;;
    esac
done
