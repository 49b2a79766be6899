#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy over every source file that the
# build in the given folder compiles; fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: check-tidy.sh BUILD_DIR}
run-clang-tidy-14 -quiet -p "$build" -j "$(nproc)" \
    "$PWD/(engine|game|app|tools)/.*\.cpp$" >"$build/tidy.log" 2>&1 || {
    grep -E "(warning|error):" "$build/tidy.log" | sort -u | head -n 100
    echo "clang-tidy: findings above (full log: $build/tidy.log)" >&2
    exit 1
}
echo "clang-tidy: clean"
