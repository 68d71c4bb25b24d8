#!/usr/bin/env bash
# Prepares a ready demo application folder: the launcher, Core/ with the emulator, and games.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
target="${1:-demo}"
mkdir -p "$target/Core/pgconfig" "$target/Core/firmware"
target="$(cd "$target" && pwd)"
ln -sf "$root/build/varnix" "$target/varnix"
ln -sf /usr/games/mednafen "$target/Core/mednafen"
mkdir -p "$target/Res"
cp "$root/res/lang/Lang.dat" "$root/res/lang/lang_pic.ico" "$target/Res/"
# Three synthetic games and a List.ini naming them, made once: the user's list is kept after.
[ -f "$target/List.ini" ] || "$root/scripts/demo-games.sh" "$target" >/dev/null
# The games only look like Saturn discs; the About box reads this note's presence and says so.
cat > "$target/Demo.txt" <<'NOTE'
This is Varnix's demo folder. Its games are synthetic: they carry a Saturn header but no game,
so the emulator cannot play them (it answers "Could not find a system that supports this CD.").
To play, add a real disc image (Add games) and put the BIOS files sega_101.bin and
mpr-17933.bin into Core/firmware.
NOTE
