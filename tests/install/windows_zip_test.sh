#!/usr/bin/env bash
# Makes the portable Windows zip and checks it as a user meets it: exactly the files the program
# needs, and Varnix.exe answering from the unpacked folder under Wine with no other DLL path.
# Usage: windows_zip_test.sh <Windows build folder> <version>
set -euo pipefail
build=$(cd "$1" && pwd) version="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

name="Varnix-$version-windows-x86_64"
(cd "$build" && cpack -G ZIP >/dev/null) || fail "cpack"
[ -f "$build/$name.zip" ] || fail "no $name.zip"
(cd "$tmp" && cmake -E tar xf "$build/$name.zip")
cd "$tmp/$name"
expected="Core/firmware/
Core/pgconfig/
Qt6Core.dll
Qt6Gui.dll
Qt6Network.dll
Qt6Widgets.dll
README.txt
Res/Lang.dat
Res/lang_pic.ico
Varnix.exe
imageformats/qico.dll
libgcc_s_seh-1.dll
libstdc++-6.dll
libwinpthread-1.dll
platforms/qwindows.dll
qt.conf"
# The toolkit's translations are all its qtbase_*.qm files; everything else is listed.
actual=$( (find . -type f -printf '%P\n'; find . -mindepth 1 -type d -empty -printf '%P/\n') |
    grep -v '^translations/qtbase_[A-Za-z_]*\.qm$' | sort)
[ -f translations/qtbase_de.qm ] || fail "no German toolkit translation"
expected=$(printf '%s\n' "$expected" | sort)
[ "$actual" = "$expected" ] ||
    fail "the zip holds other files than expected: $(diff <(echo "$expected") <(echo "$actual"))"

# Started from the unpacked folder with a clean environment: only the DLLs beside it.
wine=$(command -v wine || command -v wine64 || echo /usr/lib/wine/wine64)
out=$(env -i HOME="$tmp" PATH=/usr/bin:/bin WINEPREFIX="$build/wineprefix" WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" ./Varnix.exe --version 2>&1) || fail "Varnix.exe --version: $out"
[ "$(printf '%s' "$out" | tr -d '\r')" = "varnix $version" ] || fail "--version said: $out"
echo "$name.zip: $(stat -c %s "$build/$name.zip") bytes, $(find . -type f | wc -l) files"
