#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANTA_TESTS=OFF
cmake --build build/release -j "$(nproc)"
if [[ -x build/release/app/orvanta ]]; then
    exec build/release/app/orvanta
fi
echo "The game cannot start yet: its start-up has not been built." >&2
