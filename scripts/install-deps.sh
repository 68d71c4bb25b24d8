#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Varnix need; with --fuzz
# also clang and its libFuzzer runtime for scripts/fuzz.sh, with --windows the MinGW-w64 cross
# compiler and Wine for scripts/build-windows.sh and scripts/test-windows.sh (both may be given).
# It names the packages it is about to install and does nothing when all are there.
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
packages=(cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev zlib1g-dev
    xvfb xauth openbox fonts-dejavu-core qt6-translations-l10n xdotool x11-utils
    desktop-file-utils appstream dpkg-dev
    fuse3 python3-fusepy
    mednafen)
for option in "$@"; do
    case "$option" in
    --fuzz)
        packages+=(clang libclang-rt-14-dev) ;;
    --windows)
        # fonts-wine gives Wine its own faces, Tahoma among them.
        packages+=(g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xz-utils) ;;
    *)
        echo "install-deps: unknown option $option (--fuzz, --windows)" >&2
        exit 2 ;;
    esac
done
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
        missing+=("$package")
done
# The tests run the real emulator: a /usr/games/mednafen that is no longer the package's own
# (a stand-in copied through a demo folder's link, say) is put back.
emulator_intact() { [ -z "$(dpkg -V mednafen 2>/dev/null | grep /usr/games/mednafen)" ]; }
if dpkg-query -W -f='${Status}' mednafen 2>/dev/null | grep -q 'ok installed' && ! emulator_intact; then
    echo "install-deps: /usr/games/mednafen differs from its package, reinstalling it"
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --reinstall --no-install-recommends mednafen >/dev/null
fi
if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: every package Varnix needs is installed"
    exit 0
fi
echo "install-deps: installing with apt-get${SUDO:+ (through sudo)}: ${missing[*]}"
$SUDO apt-get update -qq
# --no-install-recommends keeps the emulator's recommended packages (another front end) out.
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
