#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and the address and
# undefined-behaviour sanitizers, checks formatting and lint, and runs every test.
# Lint needs only the compile commands, so it starts right after configuring
# and runs beside the build and the tests, on the cores they leave idle; after
# it, the Release build of the play command is compiled with warnings as
# errors too, since the optimiser finds warnings that a debug build does not,
# and the program's own tests run on it.
#
# Both builds compile each target's sources in batches (unity builds), and the
# sanitizer build keeps line tables only as debug information: what a
# sanitizer report needs, at a fraction of the compile and link time.
set -euo pipefail
cd "$(dirname "$0")/.."

phase() { echo "== $1 ($SECONDS s since the start)"; }

bash tools/install-deps.sh

jobs=$(nproc)
unity=(-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16)
phase configure
cmake -G Ninja -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
    -DORVANTA_WERROR=ON -DORVANTA_SANITIZE=ON -DORVANTA_BENCHMARKS=ON "${unity[@]}"
cmake -G Ninja -S . -B build/release-check -DCMAKE_BUILD_TYPE=Release -DORVANTA_WERROR=ON \
    "${unity[@]}" >/dev/null
lint() {
    local status=0
    bash tools/check-tidy.sh build/test || status=$?
    echo "== lint: Release build ($SECONDS s since the start)"
    if cmake --build build/release-check -j "$jobs" --target orvanta app_tests \
        >build/release-check/build.log 2>&1; then
        # The program's own start-up and main road, at the speed of a Release
        # build: what waits on the loader threads must wait on them, not on
        # a count of frames.
        echo "== lint: Release tests ($SECONDS s since the start)"
        ctest --test-dir build/release-check -R '^app_tests/' --output-on-failure -j "$jobs" ||
            status=1
    else
        grep -E "(warning|error)" build/release-check/build.log | head -n 50
        echo "Release build: failed (full log: build/release-check/build.log)"
        status=1
    fi
    return "$status"
}
lint >build/test/lint.out 2>&1 &
lint_job=$!
trap 'kill "$lint_job" 2>/dev/null || true' EXIT

phase build
cmake --build build/test -j "$jobs"

phase format
bash tools/check-format.sh

phase tests
status=0
ctest --test-dir build/test --output-on-failure -j "$jobs" || status=$?
phase "waiting for lint"
wait "$lint_job" || status=$?
cat build/test/lint.out
phase done
exit "$status"
