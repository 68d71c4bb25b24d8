#!/usr/bin/env bash
# Peak memory of the real launcher at start-up with a long list, against the same launcher
# with an empty list (what Qt and the window cost before any game).
#
#   bench/peak_memory.sh [games] [cue|ccd]     (default: 100000 cue)
#
# Writes <games> games into one folder of a scratch application folder (every data file a hard
# link of one image, so the disk holds one), lists them in List.ini, starts build/varnix off
# screen, waits until its start-up has ended, and prints the process's
# peak resident size (VmHWM), then the same for the two starts after List.ini was sorted anew.
# Needs build/varnix and build/tools/mkdisc.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
count=${1:-100000}
kind=${2:-cue}
varnix="$root/build/varnix"
mkdisc="$root/build/tools/mkdisc"
for tool in "$varnix" "$mkdisc"; do
    [ -x "$tool" ] || { echo "$0: $tool is missing; build first" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# An application folder: the launcher, a stand-in emulator, and the games.
app() {
    mkdir -p "$1/Core/pgconfig" "$1/games"
    ln -s "$varnix" "$1/varnix"
    printf '#!/bin/sh\nexit 0\n' >"$1/Core/mednafen"
    chmod +x "$1/Core/mednafen"
    : >"$1/List.ini"
}
app "$work/empty"
app "$work/full"
games="$work/full/games"
"$mkdisc" "$kind" "$work" "seed" --product "T-12345" --area "JTUE" >/dev/null
python3 - "$work" "$games" "$count" "$kind" <<'EOF'
import os, shutil, sys
work, games, count, kind = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
lines = []
# Each game: its data file (a hard link of a seed image) and its cue sheet or CCD file.
if kind == "cue":
    seed, data_ext, sheet_ext = "seed (Track 01).bin", ".bin", ".cue"
    sheet = lambda name: ('FILE "%s.bin" BINARY\r\n  TRACK 01 MODE1/2352\r\n'
                          '    INDEX 01 00:00:00\r\n' % name).encode()
else:
    seed, data_ext, sheet_ext = "seed.img", ".img", ".ccd"
    with open(os.path.join(work, "seed.ccd"), "rb") as f:
        ccd_text = f.read()
    sheet = lambda name: ccd_text
for i in range(count):
    if i % 50000 == 0:  # a file takes at most 65,000 hard links
        data = os.path.join(work, "seed%d%s" % (i, data_ext))
        shutil.copyfile(os.path.join(work, seed), data)
    name = "Game %d %d" % ((i * 104729) % 1000003, i)
    os.link(data, os.path.join(games, name + data_ext))
    path = os.path.join(games, name + sheet_ext)
    with open(path, "wb") as f:
        f.write(sheet(name))
    lines.append(path)
with open(os.path.join(work, "full", "List.ini"), "w", newline="") as f:
    f.write("".join(line + "\r\n" for line in lines))
EOF

# Starts the launcher in the folder, waits until its start-up has ended (its CPU time stands
# still for a second: the check ended, List.ini and the cache are written where they change),
# prints VmHWM in MB and ends the launcher.
peak() {
    local folder=$1 pid hwm tick ticks last=-1 still=0
    (cd "$folder" && QT_QPA_PLATFORM=offscreen exec ./varnix >/dev/null 2>&1) &
    pid=$!
    for tick in $(seq 1 2400); do
        sleep 0.25
        kill -0 "$pid" 2>/dev/null || break
        ticks=$(awk '{print $14 + $15}' "/proc/$pid/stat")
        if [ "$ticks" = "$last" ]; then still=$((still + 1)); else still=0; fi
        last=$ticks
        [ "$still" -ge 4 ] && [ "$tick" -ge 8 ] && break
    done
    hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v kb="$hwm" 'BEGIN {printf "%.1f", kb / 1024}'
}
empty=$(peak "$work/empty")
# The first start writes the header cache; the second shows the rows from it.
full=$(peak "$work/full")
cached=$(peak "$work/full")
rows=$(grep -c . "$work/full/List.ini" || true)
# The list sorted another way (by name, backwards): the first start finds each row's entry
# anywhere in the cache, the next one shows the rows the cache now keeps for this list, their
# entries still in the old order.
python3 - "$work/full/List.ini" <<'EOF'
import sys
with open(sys.argv[1], "rb") as f:
    lines = f.read().split(b"\r\n")[:-1]
with open(sys.argv[1], "wb") as f:
    f.write(b"".join(line + b"\r\n" for line in sorted(lines, reverse=True)))
EOF
sorted=$(peak "$work/full")
sortedCached=$(peak "$work/full")
echo "peak memory (VmHWM): empty list $empty MB, $count $kind games $full MB without the header" \
    "cache, $cached MB with it ($rows rows kept); after the list was sorted $sorted MB, then" \
    "$sortedCached MB"
