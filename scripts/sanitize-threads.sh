#!/usr/bin/env bash
# Builds the engine tests whose runs check lines on several threads with ThreadSanitizer into
# build-tsan/ and runs them. Any data race fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh
tests=(ordered_pipeline_test validation_run_test bad_input_test)
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DENABLE_TSAN=ON \
  -DTALVERON_BUILD_DESKTOP=OFF -DTALVERON_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-tsan -j"$(nproc)" --target "${tests[@]}"
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
for test in "${tests[@]}"; do
  "build-tsan/tests/run/$test" --gtest_brief=1
done
