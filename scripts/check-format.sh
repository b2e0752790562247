#!/usr/bin/env bash
# Checks that every C++ source and test is formatted with the committed .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh clang-format
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "Formatting: every source and test follows .clang-format"
