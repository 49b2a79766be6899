#!/usr/bin/env bash
# Starts the game RUNS times under a virtual X server, each time as a new
# player (empty data and settings folders), and prints the median time from
# the start to the first presented frame, as the game logs it ("first frame
# presented N ms after the start"), with every run's figure.
#
#   bench/first-frame.sh [PROGRAM] [RUNS]
#
# PROGRAM defaults to the Release build's build/release/app/orvanta, RUNS to 6.
# Needs Xvfb (apt-get install xvfb). Sound is left to SDL's own choice of
# driver, as a player's machine would have it.
#
# WM names a window manager to run on the virtual display (WM=openbox), as a
# player's desktop has one. Without one, SDL waits a tenth of a second for an
# answer to the new player's full-screen window that never comes, and that
# wait is part of every figure.
set -euo pipefail
program=$(realpath "${1:-build/release/app/orvanta}")
runs=${2:-6}
work=$(mktemp -d)
wm=""
trap 'kill $wm "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT

display=:$((200 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
if [[ -n "${WM:-}" ]]; then
    DISPLAY=$display $WM >/dev/null 2>&1 &
    wm=$!
    sleep 1
fi

figures=()
for ((run = 1; run <= runs; ++run)); do
    home="$work/run$run"
    mkdir -p "$home/data" "$home/config" "$home/runtime"
    chmod 700 "$home/runtime"
    DISPLAY=$display XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
        XDG_RUNTIME_DIR="$home/runtime" "$program" >"$home/out.log" 2>&1 &
    game=$!
    figure=""
    for ((wait = 0; wait < 200; ++wait)); do
        [[ -z "$figure" ]] || break
        sleep 0.1
        figure=$(cat "$home/out.log" $(find "$home/data" -name '*.log' 2>/dev/null) 2>/dev/null |
            sed -n 's/.*first frame presented \([0-9]*\) ms.*/\1/p' | head -n 1)
    done
    kill "$game" 2>/dev/null || true
    wait "$game" 2>/dev/null || true
    if [[ -z "$figure" ]]; then
        echo "run $run: no first frame within 20 s" >&2
        exit 1
    fi
    figures+=("$figure")
done
median=$(printf '%s\n' "${figures[@]}" | sort -n | awk '{a[NR] = $1} END {
    print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }')
echo "first frame: median $median ms over $runs runs (each: ${figures[*]} ms)"
