#!/usr/bin/env bash
# The progress line on a pseudo-terminal: drawn on standard error while a file is validated,
# redrawn at most ten times a second, erased before the summary; absent with --quiet and when
# standard error is not a terminal. Arguments: talveron-cli, talveron-loadgen, the configuration,
# the records of the load file validated.
set -euo pipefail
cli=$1 loadgen=$2 config=$3 records=$4
command -v script >/dev/null || { echo "script (util-linux) is not installed: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$loadgen" --records "$records" --faults one-percent big.dat >/dev/null
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Status 1 (errors found) is expected of this file.
validate() { script -qec "'$cli' --config '$config' --as-of 20250301 --threads 1 $1 big.dat" /dev/null || true; }

shown=$(validate "")
grep -qE 'big\.dat  pass 1/2 +[0-9]+%  +[0-9.]+ MB/s  0:00:0[0-9]' <<<"$shown" || fail "no first pass: $shown"
grep -q 'pass 2/2' <<<"$shown" || fail "no second pass"
# The last thing drawn on the line is its erasure, and the summary follows on a clean line.
tail_of_progress=${shown##*pass 2/2}
grep -qF $'\r\e[K'"$work/big.dat" <<<"$tail_of_progress" || fail "the progress line is not erased"
draws=$(grep -o $'\r[^\r]*\e\[K' <<<"$shown" | grep -c 'pass\|summary' || true)
seconds=$(sed -n 's/.*Elapsed:  0:00:0*\([0-9]*\).*/\1/p' <<<"$shown")
((draws <= 10 * (seconds + 1) + 1)) || fail "$draws redraws in about $seconds s"

[[ $(validate --quiet) != *pass* ]] || fail "a progress line with --quiet"
[[ $(validate "2>err.txt") != *pass* && $(cat err.txt) != *pass* ]] ||
  fail "a progress line when standard error is not a terminal"

((failures == 0)) || exit 1
echo "progress line: $draws redraws, erased at the end"
