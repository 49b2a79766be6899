#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted by .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -co --exclude-standard -- '*.h' '*.cpp' | xargs -r clang-format-14 --dry-run --Werror
echo "Formatting: clean"
