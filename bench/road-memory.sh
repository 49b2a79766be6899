#!/usr/bin/env bash
# Runs the main-road memory benchmark (road_memory.cpp) under a virtual X
# server at 800 x 600, as a new player with empty data and settings folders,
# and prints its counters: the resident set in the lobby, on each room's
# board and in the hallway after each room, and the peak, in MB.
#
#   bench/road-memory.sh [PROGRAM]
#
# PROGRAM defaults to the Release build's build/release/bench/road_memory.
# Needs Xvfb (apt-get install xvfb).
set -euo pipefail
program=$(realpath "${1:-build/release/bench/road_memory}")
work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT

display=:$((300 + RANDOM % 100))
Xvfb "$display" -screen 0 800x600x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1

mkdir -p "$work/data" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
DISPLAY=$display SDL_AUDIODRIVER=dummy XDG_DATA_HOME="$work/data" \
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    ${ROAD_ENV:-} "$program" --benchmark_counters_tabular=true
