#!/usr/bin/env bash
# Prepares a Windows demo application folder from the Windows build (scripts/build-windows.sh):
# the installed portable tree, the stand-in emulator as Core\mednafen.exe with a configuration
# and BIOS stand-ins, and the three demo games listed with Windows paths (Z: is Wine's "/").
# Then: cd <folder> && ../scripts/wine-run.sh <build folder> Varnix.exe   (under a display).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/${VARNIX_WINDOWS_BUILD_DIR:-build-windows}"
target="${1:-demo-windows}"
cmake --install "$build" --prefix "$target" >/dev/null
target="$(cd "$target" && pwd)"
cp "$build/tools/stub_emulator.exe" "$target/Core/mednafen.exe"
[ -f "$target/Core/mednafen.cfg" ] || printf ';stand-in configuration\r\n' >"$target/Core/mednafen.cfg"
for bios in sega_101.bin mpr-17933.bin; do
    [ -f "$target/Core/firmware/$bios" ] || printf 'stand-in' >"$target/Core/firmware/$bios"
done
if [ ! -f "$target/List.ini" ]; then
    mkdisc="$root/build/tools/mkdisc"
    [ -x "$mkdisc" ] || cmake --build "$root/build" --target mkdisc >/dev/null
    MKDISC="$mkdisc" "$root/scripts/demo-games.sh" "$target" >/dev/null
    # Linux paths become Wine's Z: paths with Windows separators.
    sed -i 's|^/|Z:/|; s|/|\\|g' "$target/List.ini"
fi
echo "$target"
