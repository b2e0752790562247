#!/usr/bin/env bash
# Measures which lines of the library the tests run: builds with gcov instrumentation into
# build-coverage/ (Debug, no desktop program, no benchmarks), runs the tests with CTest and prints
# the line coverage per folder: config/, engine/, report/ and run/ (when there is one) together
# as the library, and cli/ apart. A developer tool; ./test.sh does not run it.
#
#   scripts/coverage.sh           the figures per folder
#   scripts/coverage.sh --files   also per file, least covered first
#
# Installs gcovr and jq with apt-get when they are missing. The full figures are kept in
# build-coverage/coverage.json (gcovr's JSON summary).
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
  "" | --files) ;;
  *) echo "usage: $0 [--files]" >&2; exit 2 ;;
esac

library=(config engine report run)
build=build-coverage
scripts/ensure-packages.sh cmake ninja-build g++ libgtest-dev libgmock-dev nlohmann-json3-dev \
  gcovr jq

# Atomic counters: the runs check lines on several threads.
nice -n 10 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="--coverage -fprofile-update=atomic" -DCMAKE_EXE_LINKER_FLAGS=--coverage \
  -DTALVERON_BUILD_DESKTOP=OFF -DTALVERON_BUILD_BENCHMARKS=OFF >/dev/null
nice -n 10 cmake --build "$build" -j2
# Counts left by an earlier run would add to this one's.
find "$build" -name '*.gcda' -delete
if ! nice -n 10 ctest --test-dir "$build" -j2 >"$build/ctest.log" 2>&1; then
  echo "Some tests failed (see $build/ctest.log); the figures count what ran." >&2
fi

present=()
for folder in "${library[@]}"; do
  if [ -d "$folder" ]; then present+=("$folder"); fi
done
filters=()
for folder in "${present[@]}" cli; do filters+=(--filter "$folder/"); done
# CMake's compiler check (CMakeFiles/VERSION/) is built with the flags too: not our source.
nice -n 10 gcovr --root . --object-directory "$build" -j 2 "${filters[@]}" \
  --exclude-directories "$build/CMakeFiles/[0-9.]+/" \
  --json-summary "$build/coverage.json" >/dev/null

# Lines covered and lines in all per folder, then the library's total.
jq -r --arg library "${present[*]}" '
  def row(name; files): [name, (files | map(.line_covered) | add),
                         (files | map(.line_total) | add)] | @tsv;
  ($library | split(" ")) as $parts
  | (.files | group_by(.filename | split("/")[0])[] | row(.[0].filename | split("/")[0] + "/"; .)),
    row("library"; [.files[] | select((.filename | split("/")[0]) as $f | $parts | index($f))])
' "$build/coverage.json" |
  awk -F'\t' '{ printf "  %-9s %6d of %6d lines  %5.1f%%\n", $1, $2, $3, $3 ? 100 * $2 / $3 : 0 }'
echo "  (library: ${present[*]/%//}; cli/ is not part of it)"

if [ "${1:-}" = --files ]; then
  echo
  jq -r '.files | sort_by(.line_percent)[] | [.filename, .line_covered, .line_total, .line_percent]
         | @tsv' "$build/coverage.json" |
    awk -F'\t' '{ printf "  %-34s %5d of %5d  %5.1f%%\n", $1, $2, $3, $4 }'
fi
