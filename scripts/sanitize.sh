#!/usr/bin/env bash
# Builds the engine library, the command-line validator and their tests with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ (no desktop program, no benchmarks) and runs every
# test there. Any sanitizer report fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DENABLE_ASAN=ON -DENABLE_UBSAN=ON \
  -DTALVERON_BUILD_DESKTOP=OFF -DTALVERON_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
