#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and the address and
# undefined-behaviour sanitizers, checks formatting and lint, and runs every test.
# Lint needs only the compile commands, so it starts right after configuring
# and runs beside the build and the tests, on the cores they leave idle.
set -euo pipefail
cd "$(dirname "$0")/.."

phase() { echo "== $1 ($SECONDS s since the start)"; }

bash tools/install-deps.sh

jobs=$(nproc)
phase configure
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DORVANTA_WERROR=ON -DORVANTA_SANITIZE=ON \
    -DORVANTA_BENCHMARKS=ON
bash tools/check-tidy.sh build/test >build/test/tidy.out 2>&1 &
tidy=$!
trap 'kill "$tidy" 2>/dev/null || true' EXIT

phase build
cmake --build build/test -j "$jobs"

phase format
bash tools/check-format.sh

phase tests
status=0
ctest --test-dir build/test --output-on-failure -j "$jobs" || status=$?
phase "waiting for lint"
wait "$tidy" || status=$?
cat build/test/tidy.out
phase done
exit "$status"
