#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and the address and
# undefined-behaviour sanitizers, checks formatting and lint, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

jobs=$(nproc)
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DORVANTA_WERROR=ON -DORVANTA_SANITIZE=ON \
    -DORVANTA_BENCHMARKS=ON
cmake --build build/test -j "$jobs"

bash tools/check-format.sh
bash tools/check-tidy.sh build/test

ctest --test-dir build/test --output-on-failure -j "$jobs"
