#!/usr/bin/env bash
# Puts three synthetic Saturn games into <app folder>/games (a cue/bin game, a CCD/IMG game and
# a two-disc M3U game) and writes <app folder>/List.ini listing them, lines ended by CR LF.
# Needs build/tools/mkdisc (cmake --build build --target mkdisc).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
mkdisc="${MKDISC:-$root/build/tools/mkdisc}"
if [ $# -ne 1 ]; then
    echo "usage: $0 <app folder>" >&2
    exit 2
fi
if [ ! -x "$mkdisc" ]; then
    echo "$0: $mkdisc is missing; build it with: cmake --build build --target mkdisc" >&2
    exit 1
fi
mkdir -p "$1/games"
app="$(cd "$1" && pwd)"
games="$app/games"

cue="$("$mkdisc" cue "$games" "Demo" --product "T-00001H" --area "JTUE" \
    --title "VARNIX DEMO DISC" --maker "SEGA TP T-000" --date "20261207")"
ccd="$("$mkdisc" ccd "$games" "Sample Game" --product "MK-81000" --area "U" \
    --title "SAMPLE GAME" --peripherals "JA" --date "19950511")"
m3u="$("$mkdisc" m3u "$games" "Twin Discs" --discs 2 --product "T-00002G" --area "JE" \
    --title "TWIN DISCS")"

printf '%s\r\n' "$cue" "$ccd" "$m3u" > "$app/List.ini"
echo "wrote $app/List.ini:"
printf '  %s\n' "$cue" "$ccd" "$m3u"
