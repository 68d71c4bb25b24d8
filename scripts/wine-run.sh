#!/usr/bin/env bash
# Runs a Windows program of the Windows build under Wine: wine-run.sh BUILD_DIR PROGRAM [ARG ...].
# The build's Qt and the MinGW runtime are found through WINEPATH (children such as the stand-in
# emulator inherit it), the Wine prefix lives in the build folder, and Wine's own messages are off.
# CMake uses it as the cross-compiling emulator, so CTest runs the Windows tests through it.
set -euo pipefail
build=$(cd "$1" && pwd)
shift
wine=$(command -v wine || command -v wine64 || echo /usr/lib/wine/wine64)
if [ ! -x "$wine" ]; then
    echo "wine-run: Wine is missing; run scripts/install-deps.sh --windows" >&2
    exit 1
fi
qt=$build/qt6-mingw-x86_64
gcc_dlls=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: the prefix is made without asking to download them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Windows has Tahoma, the windows' font; Wine ships a look-alike that its font list leaves out
# until it is registered. Done once per prefix.
if [ ! -f "$WINEPREFIX/.varnix-fonts" ]; then
    for font in "Tahoma (TrueType)=tahoma.ttf" "Tahoma Bold (TrueType)=tahomabd.ttf"; do
        [ -f "/usr/share/wine/fonts/${font#*=}" ] || continue
        "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /f \
            /v "${font%%=*}" /d "$(winpath "/usr/share/wine/fonts/${font#*=}")" >/dev/null 2>&1 || true
    done
    mkdir -p "$WINEPREFIX" && touch "$WINEPREFIX/.varnix-fonts"
fi
export WINEPATH="$(winpath "$qt/bin");$(winpath "$gcc_dlls");$(winpath /usr/x86_64-w64-mingw32/lib)"
export QT_PLUGIN_PATH=$qt/plugins
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# The offscreen platform finds no fonts through the system: give it Wine's own faces (Tahoma
# among them, as on Windows).
export QT_QPA_FONTDIR=${QT_QPA_FONTDIR:-$(winpath /usr/share/wine/fonts)}
# Wine keeps variables named QT_* from Windows programs unless they come as WINEQT_*.
while IFS='=' read -r name _; do
    [ -n "$name" ] && export "WINE$name=${!name}"
done < <(env | grep -E '^QT_[A-Za-z0-9_]*=')
exec "$wine" "$@"
