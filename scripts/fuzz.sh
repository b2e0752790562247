#!/usr/bin/env bash
# Runs the libFuzzer targets for a bounded time.
#
#   scripts/fuzz.sh TARGET SECONDS    one target
#   scripts/fuzz.sh --all SECONDS     every target, one after another
#   scripts/fuzz.sh --list            the target names
#
# Builds the fuzzers with clang, AddressSanitizer and UndefinedBehaviorSanitizer into build-fuzz/
# (installing clang with apt-get when it is missing). Each target starts from its stored corpus
# in tests/fuzz/TARGET/ and the inputs that once broke it in tests/fuzz/regressions/TARGET/;
# what it finds on the way goes to build-fuzz/corpus/TARGET/, so the stored corpus only changes
# when someone copies an input there. A crash, a sanitizer report, a broken invariant or an input
# that takes more than 10 seconds stops the target; the input is kept in build-fuzz/crashes/TARGET/
# and the script ends with status 1.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(ini_document number dates run_production run_configured)
build=build-fuzz

usage() {
  echo "usage: $0 TARGET SECONDS | --all SECONDS | --list" >&2
  echo "targets: ${targets[*]}" >&2
  exit 2
}

ensure_clang() {
  scripts/ensure-packages.sh clang-14 libclang-rt-14-dev cmake ninja-build nlohmann-json3-dev
}

# Several runs of this script may share build-fuzz/ (one target each): the lock lets one build
# at a time.
build_fuzzers() {
  mkdir -p "$build"
  (
    flock 9
    CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTALVERON_BUILD_FUZZERS=ON -DENABLE_ASAN=ON -DENABLE_UBSAN=ON \
      -DTALVERON_BUILD_DESKTOP=OFF -DTALVERON_BUILD_TESTS=OFF -DTALVERON_BUILD_BENCHMARKS=OFF \
      >/dev/null
    cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}" >/dev/null
  ) 9>"$build/.build-lock"
}

# run_target NAME SECONDS: prints one summary line; returns 1 when the target broke.
run_target() {
  local name=$1 seconds=$2
  local corpus="$build/corpus/$name" crashes="$build/crashes/$name" log="$build/logs/$name.log"
  mkdir -p "$corpus" "$crashes" "$build/logs"
  local seeds=("tests/fuzz/$name")
  if [ -d "tests/fuzz/regressions/$name" ]; then seeds+=("tests/fuzz/regressions/$name"); fi
  local options=(-max_total_time="$seconds" -timeout=10 -max_len=8192 -print_final_stats=1
                 -artifact_prefix="$crashes/")
  if [ -f "fuzz/$name.dict" ]; then options+=(-dict="fuzz/$name.dict"); fi
  local status=0
  "$build/fuzz/fuzz_$name" "${options[@]}" "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ "$status" -ne 0 ]; then
    echo "fuzz_$name: FAILED after ${runs:-?} executions; see $log and $crashes/"
    echo "  replay: $build/fuzz/fuzz_$name $crashes/FILE;" \
      "keep it in tests/fuzz/regressions/$name/"
    return 1
  fi
  local inputs
  inputs=$(find "$corpus" -type f | wc -l)
  echo "fuzz_$name: ${seconds} s, ${runs:-?} executions, corpus $inputs inputs, nothing found"
}

case "${1:-}" in
  --list) printf '%s\n' "${targets[@]}"; exit 0 ;;
  --all) [ $# -eq 2 ] || usage; selected=("${targets[@]}") ;;
  "") usage ;;
  *) [ $# -eq 2 ] || usage
     [[ " ${targets[*]} " == *" $1 "* ]] || usage
     selected=("$1") ;;
esac
seconds=$2
[[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -gt 0 ] || usage

ensure_clang
build_fuzzers
failed=0
for name in "${selected[@]}"; do run_target "$name" "$seconds" || failed=1; done
exit "$failed"
