#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure-packages.sh
scripts/check-format.sh
# The install check also judges the Debian package with lintian, which the programs do not need.
scripts/ensure-packages.sh lintian
scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"

# The same tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
echo "== Sanitizer build: library, CLI and their tests with ASan and UBSan (scripts/sanitize.sh)"
scripts/sanitize.sh

# The runs that check lines on several threads, under ThreadSanitizer.
echo "== Thread sanitizer build: the multi-threaded run tests with TSan (scripts/sanitize-threads.sh)"
scripts/sanitize-threads.sh

# Every fuzz target for a few seconds, so that a regression in the fuzzers or their corpus shows;
# longer runs are described in docs/robustness.md.
echo "== Brief fuzz run: 10 seconds per target (scripts/fuzz.sh --all 10)"
if command -v clang++-14 >/dev/null ||
   apt-cache show clang-14 libclang-rt-14-dev >/dev/null 2>&1; then
  scripts/fuzz.sh --all 10
else
  echo "clang 14 is not available here: fuzzing skipped"
fi
