#!/usr/bin/env bash
# Starts a game N times (default 100) in the built launcher under a virtual X screen with the
# openbox window manager, the way a user does it: Return in the game list. The emulator is a
# stand-in that runs 0 s to 3 s. After every run the main window must be back: mapped, in the
# normal state (not iconic, not hidden), on top and active; and the next Return in the list must
# start the game again. Prints the figures and fails when any launch missed.
#
#   scripts/check-window-return.sh [launches]
#
# Needs build/varnix and build/tools/mkdisc, and xvfb-run, openbox, xdotool, xprop and the
# emulator (/usr/games/mednafen, for its configuration file).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
launches="${1:-100}"

if [ -z "${VARNIX_CHECK_INNER:-}" ]; then
    export VARNIX_CHECK_INNER=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

app="$(mktemp -d)"
trap 'kill "${varnix_pid:-}" "${wm_pid:-}" 2>/dev/null || true; rm -rf "$app"' EXIT
mkdir -p "$app/Core/firmware" "$app/Core/pgconfig" "$app/games"
# The emulator writes its full configuration when started without a game.
MEDNAFEN_HOME="$app/Core" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$app" \
    /usr/games/mednafen >/dev/null 2>&1 || true
echo jp >"$app/Core/firmware/sega_101.bin"
echo na >"$app/Core/firmware/mpr-17933.bin"
# The stand-in emulator: logs its start and end, runs for the time the check asks for.
cat >"$app/Core/mednafen" <<'EOF'
#!/bin/sh
echo start >>"$VARNIX_CHECK_LOG"
sleep "$(cat "$VARNIX_CHECK_RUN")"
echo end >>"$VARNIX_CHECK_LOG"
EOF
chmod +x "$app/Core/mednafen"
export VARNIX_CHECK_LOG="$app/emulator.log" VARNIX_CHECK_RUN="$app/run-seconds"
: >"$VARNIX_CHECK_LOG"
game="$("$root/build/tools/mkdisc" cue "$app/games" "Check" --product "T-00001H" --area "JTUE")"
printf '%s\r\n' "$game" >"$app/List.ini"

openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1
(cd "$app" && exec "$root/build/varnix") >/dev/null 2>&1 &
varnix_pid=$!
win="$(xdotool search --sync --onlyvisible --name '^Varnix' | head -n1)"
sleep 1

started() { grep -c '^start$' "$VARNIX_CHECK_LOG" || true; }
ended() { grep -c '^end$' "$VARNIX_CHECK_LOG" || true; }
hex() { printf '0x%x' "$1"; }

# Whether the window is back: viewable, WM_STATE Normal, not hidden, active and on top.
window_back() {
    xwininfo -id "$win" 2>/dev/null | grep -q 'Map State: IsViewable' || return 1
    xprop -id "$win" WM_STATE 2>/dev/null | grep -q 'window state: Normal' || return 1
    ! xprop -id "$win" _NET_WM_STATE 2>/dev/null | grep -q '_NET_WM_STATE_HIDDEN' || return 1
    local active top
    active="$(xprop -root _NET_ACTIVE_WINDOW | sed 's/.*# //')"
    top="$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*, //; s/.*# //')"
    [ "$((active))" = "$win" ] && [ "$((top))" = "$win" ]
}

# Whatever state a missed launch left, bring the window back so that the next run counts alone.
recover() {
    xdotool key Escape 2>/dev/null || true
    xdotool windowmap "$win" windowactivate --sync "$win" 2>/dev/null || true
    sleep 0.5
}

# Pick the game with a click on its row; the keyboard focus is then in the list.
xdotool mousemove --window "$win" 100 65 click 1
sleep 0.3

back=0 missed_start=0 not_back=0
begin=$(date +%s)
for ((i = 0; i < launches; i++)); do
    # Runs of 0, 0.5, ... 3 seconds in turn.
    echo "$(((i % 7) / 2)).$(((i % 7) % 2 * 5))" >"$app/run-seconds"
    before="$(started)"
    xdotool key Return
    ok=0
    for _ in $(seq 50); do
        [ "$(started)" -gt "$before" ] && { ok=1; break; }
        sleep 0.1
    done
    if [ "$ok" = 0 ]; then
        missed_start=$((missed_start + 1))
        echo "launch $((i + 1)): Return in the list did not start the game" >&2
        recover
        continue
    fi
    while [ "$(ended)" -lt "$(started)" ]; do sleep 0.05; done
    # The window must be back within 2 s and still be back a moment later (a late iconify by the
    # window manager would undo it).
    ok=0
    for _ in $(seq 40); do
        if window_back; then
            sleep 0.3
            window_back && ok=1
            break
        fi
        sleep 0.05
    done
    if [ "$ok" = 1 ]; then
        back=$((back + 1))
    else
        not_back=$((not_back + 1))
        echo "launch $((i + 1)): window not back ($(xprop -id "$win" WM_STATE _NET_WM_STATE |
            tr '\n' ' '))" >&2
        recover
    fi
done
echo "window back, normal, on top and active after $back of $launches launches;" \
    "$missed_start Returns did not start the game; $((($(date +%s) - begin))) s"
[ "$back" = "$launches" ]
