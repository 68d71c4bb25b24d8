#!/usr/bin/env bash
# Installs the built launcher into a scratch prefix and checks it as a desktop user meets it:
# valid desktop entry and metadata, its icons and translation in place, the command line
# answered without a display, and a first start from an empty home folder under a virtual
# screen that prepares the per-user folder and keeps the window up.
# Usage: installed_program_test.sh <build folder> <version> <application id>
set -euo pipefail
build="$1" version="$2" id="$3"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
share="$prefix/share"
desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >/dev/null ||
    appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" ||
    fail "the metadata names another release than $version"
for size in 16 32 48 64 128 256; do
    [ -f "$share/icons/hicolor/${size}x${size}/apps/$id.png" ] || fail "no ${size} pixel icon"
done
[ -f "$share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon"
[ -f "$share/varnix/lang/Lang.dat" ] && [ -f "$share/varnix/lang/lang_pic.ico" ] ||
    fail "no translation"
grep -q '^Copyright: ' "$share/doc/varnix/copyright" 2>/dev/null || fail "no copyright file"

exe="$prefix/bin/varnix"
[ -x "$exe" ] || fail "no executable in bin"
# The command line needs no display.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
[ "$("${nodisplay[@]}" "$exe" --version)" = "varnix $version" ] || fail "--version"
"${nodisplay[@]}" "$exe" --help | grep -q -- "--folder" || fail "--help"
status=0
"${nodisplay[@]}" "$exe" --no-such-option >/dev/null 2>"$tmp/err" || status=$?
[ "$status" = 2 ] || fail "an unknown option ended with status $status, not 2"
grep -q "no-such-option" "$tmp/err" || fail "no message for an unknown option"

# First start from an empty home folder, with a PATH that lacks /usr/games as in many sessions.
home="$tmp/home"
mkdir "$home"
data="$home/.local/share/varnix"
cd "$home"
env -u QT_QPA_PLATFORM -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" PATH=/usr/bin:/bin \
    XDG_RUNTIME_DIR="$tmp" VARNIX_EXE="$exe" VARNIX_CFG="$data/Core/mednafen.cfg" \
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        "$VARNIX_EXE" 2>/dev/null & pid=$!
        # The emulator check passes: the emulator writes its configuration into Core.
        for _ in $(seq 200); do [ -s "$VARNIX_CFG" ] && break; sleep 0.1; done
        sleep 2
        kill -0 "$pid" 2>/dev/null || { echo "the launcher ended" >&2; exit 1; }
        kill "$pid"; wait "$pid" 2>/dev/null || true' || fail "first start"
[ -d "$data/Core/pgconfig" ] && [ -d "$data/Core/firmware" ] || fail "Core folders not made"
[ "$(readlink "$data/Core/mednafen")" = "$(command -v mednafen || echo /usr/games/mednafen)" ] ||
    fail "Core/mednafen does not lead to the emulator"
[ -s "$data/Core/mednafen.cfg" ] || fail "the emulator did not write its configuration"
cmp -s "$data/Res/Lang.dat" "$share/varnix/lang/Lang.dat" || fail "translation not copied"
echo "installed program: all checks passed"
