#!/usr/bin/env bash
# Runs one test command with a private, temporary home: the XDG folders point
# into a new temporary folder that is removed afterwards, and SDL uses its
# dummy video and audio drivers, so no test touches the user's files or screen.
set -u
root=$(mktemp -d "${TMPDIR:-/tmp}/orvanta-test.XXXXXX")
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/data" "$root/config" "$root/runtime" "$root/work"
chmod 700 "$root/runtime"
export XDG_DATA_HOME="$root/data"
export XDG_CONFIG_HOME="$root/config"
export XDG_RUNTIME_DIR="$root/runtime"
export ORVANTA_TEST_TMP="$root/work"
export HOME="$root"
export SDL_VIDEODRIVER=dummy
export SDL_AUDIODRIVER=dummy
"$@"
