#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy over every source file that the
# build in the given folder compiles; fails on any finding. In a unity build
# the batches are checked as they are compiled (each header is read once per
# batch), and the findings in the sources a batch includes are reported as
# those of any header of the project.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: check-tidy.sh BUILD_DIR}
build=$(cd "$build" && pwd)
jobs=${TIDY_JOBS:-$(nproc)}
sources="$PWD/(engine|game|app|tools)/.*\.cpp"
batches="$build/(engine|game|app|tools)/.*/Unity/unity_.*\.cxx"
run-clang-tidy-14 -quiet -p "$build" -j "$jobs" \
    -header-filter="^$PWD/(engine|game|app|tools)/" \
    -checks=-bugprone-suspicious-include -extra-arg=-Wno-unknown-warning-option \
    "^($sources|$batches)$" >"$build/tidy.log" 2>&1 || {
    grep -E "(warning|error):" "$build/tidy.log" | sort -u | head -n 100
    echo "clang-tidy: findings above (full log: $build/tidy.log)" >&2
    exit 1
}
echo "clang-tidy: clean"
