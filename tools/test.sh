#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and the address and
# undefined-behaviour sanitizers, checks formatting and lint, and runs every test.
# Lint runs beside the tests: the tests leave cores idle while they wait.
set -euo pipefail
cd "$(dirname "$0")/.."

phase() { echo "== $1 ($SECONDS s since the start)"; }

bash tools/install-deps.sh

jobs=$(nproc)
phase configure
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DORVANTA_WERROR=ON -DORVANTA_SANITIZE=ON \
    -DORVANTA_BENCHMARKS=ON
phase build
cmake --build build/test -j "$jobs"

phase format
bash tools/check-format.sh

phase "lint and tests"
bash tools/check-tidy.sh build/test >build/test/tidy.out 2>&1 &
tidy=$!
status=0
ctest --test-dir build/test --output-on-failure -j "$jobs" || status=$?
wait "$tidy" || status=$?
cat build/test/tidy.out
phase done
exit "$status"
