#!/usr/bin/env bash
# Measures Talveron on this machine and writes docs/performance.md:
#   - talveron-cli on generated load files of 100,000 and 1,000,000 records at each fault share,
#     as wall time (best of 5), MB/s and the ratio to reading the same file twice with cat;
#   - peak memory of those runs against the start-up figure of a run on a tiny file;
#   - 100,000 dose records that share one person key;
#   - --jobs 2 against --jobs 1 on eight files of about 50 MB;
#   - the desktop program's main window validating the 1,000,000-record file (offscreen);
#   - the desktop program's results viewer on a results file of 1,000,000 findings (offscreen);
#   - the HTML report of the 1,000,000-record file with 1% faulty records: its cost on top of the
#     run, and the time headless Chromium takes to open it;
#   - the micro-benchmarks of the hot units.
# Builds Release into build-bench/ and keeps the generated files in build-bench/bench-data/.
#
#   bench/run_benchmarks.sh           the full run (a few minutes, about 3 GB of disk)
#   bench/run_benchmarks.sh --quick   a hundredth of the records, table in build-bench/ only
#   bench/run_benchmarks.sh --viewer  the results viewer only: rewrites its section of the page
#   bench/run_benchmarks.sh --html    the HTML report only: rewrites its section of the page
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
data="$build/bench-data"
config="$root/data/TALVERON.CFG"
as_of=20250301
scale=1
doc="$root/docs/performance.md"
only=""
if [[ ${1:-} == --quick ]]; then
  scale=100
  doc="$build/performance-quick.md"
elif [[ ${1:-} == --viewer || ${1:-} == --html ]]; then
  only=${1#--}
elif [[ $# -gt 0 ]]; then
  echo "usage: $0 [--quick | --viewer | --html]" >&2
  exit 2
fi

# ---- Tools and build ------------------------------------------------------------------------

"$root/scripts/ensure-packages.sh"
if [[ ! -x /usr/bin/time ]]; then
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    time
fi

echo "Building Release into $build ..."
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALVERON_BUILD_DESKTOP=ON \
  -DTALVERON_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target talveron-cli talveron-loadgen talveron-microbench \
  talveron-desktop-bench talveron-viewer-bench
cli="$build/cli/talveron-cli"
loadgen="$build/bench/talveron-loadgen"
microbench="$build/bench/talveron-microbench"
desktop="$build/bench/talveron-desktop-bench"
viewer="$build/bench/talveron-viewer-bench"

if [[ -z $only ]]; then rm -rf "$data"; fi
mkdir -p "$data"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# ---- Helpers --------------------------------------------------------------------------------

now_ns() { date +%s%N; }

# Runs a command once and keeps its wall time under `key` in best_ns when it is the fastest yet.
declare -A best_ns=()
time_into() {
  local key=$1 start elapsed
  shift
  start=$(now_ns)
  "$@" >/dev/null 2>&1 || true
  elapsed=$(($(now_ns) - start))
  if [[ -z ${best_ns[$key]:-} ]] || ((elapsed < best_ns[$key])); then best_ns[$key]=$elapsed; fi
}

# Runs a command five times; prints the wall time of the fastest run in nanoseconds. A virtual
# machine's cores now and then stall for a while: the fastest of five is seldom hit by that.
best_of_5() {
  unset 'best_ns[best-of-5]'
  for _ in 1 2 3 4 5; do time_into best-of-5 "$@"; done
  echo "${best_ns[best-of-5]}"
}

cat_twice() { cat "$1" "$1" >/dev/null; }

validate() { "$cli" --quiet --config "$config" --as-of "$as_of" "$@"; }

# Validates once under /usr/bin/time -v and checks the run worked (status 0 or 1, never 2).
measure_once() {
  local status=0
  /usr/bin/time -v -o "$scratch/time.txt" "$cli" --quiet --config "$config" --as-of "$as_of" "$@" \
    >/dev/null 2>"$scratch/stderr.txt" || status=$?
  if ((status > 1)); then
    echo "talveron-cli failed on $*:" >&2
    cat "$scratch/stderr.txt" >&2
    exit 1
  fi
}

# A figure of the last measure_once: "Maximum resident set size" (kB), "Percent of CPU".
measured() {
  awk -F': ' -v key="$1" 'index($1, key) {sub(/%/, "", $2); print $2}' "$scratch/time.txt"
}

seconds() { awk -v ns="$1" 'BEGIN {printf "%.3f", ns / 1e9}'; }
megabytes() { awk -v b="$1" 'BEGIN {printf "%.1f", b / 1e6}'; }
mebibytes() { awk -v kb="$1" 'BEGIN {printf "%.1f", kb / 1024}'; }
rate() { awk -v b="$1" -v ns="$2" 'BEGIN {printf "%.1f", (b / 1e6) / (ns / 1e9)}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
# "**met**" when the awk condition holds, else "**not met**".
verdict() { awk "BEGIN {print (($1) ? \"**met**\" : \"**not met**\")}"; }
grouped() { sed ':a;s/\B[0-9]\{3\}\>/,&/;ta' <<<"$1"; }

# ---- The results viewer ---------------------------------------------------------------------

# Prints the "Results viewer" section of the page. The results file holds the first $million
# findings that talveron-cli wrote for the $million-record load file with every record faulty
# (which has more findings than records), closed with the trailer.
viewer_section() {
  local source="$data/r$million-all.dat" results="$data/viewer.err" cut line
  if [[ ! -f $source ]]; then
    "$loadgen" --records "$million" --faults all --seed 1 "$source" >/dev/null
  fi
  validate "$source" >/dev/null 2>&1 || true
  cut=$(LC_ALL=C grep -a -b -m1 "^\[$((million + 1))\]" "${source%.dat}.err" | cut -d: -f1)
  head -c $((cut - 2)) "${source%.dat}.err" >"$results"
  printf '[ERROR]\r\nCount=%d\r\n' "$million" >>"$results"

  # Best of 5 runs for each figure (a run's step figure is already its slowest of 20 rounds);
  # the peak memory is the highest of the five.
  local -A best=()
  local figure key value
  for _ in 1 2 3 4 5; do
    line=$(QT_QPA_PLATFORM=offscreen "$viewer" --config "$config" "$results" 2>/dev/null)
    if [[ $line != findings=$million* ]]; then
      echo "talveron-viewer-bench failed: $line" >&2
      exit 1
    fi
    for figure in $line; do
      key=${figure%%=*}
      value=${figure#*=}
      if [[ $key == peak_above_startup_mb ]]; then
        best[$key]=$(awk -v a="${best[$key]:-0}" -v b="$value" 'BEGIN {print (b > a) ? b : a}')
      else
        best[$key]=$(awk -v a="${best[$key]:-}" -v b="$value" \
          'BEGIN {print (a == "" || b < a) ? b : a}')
      fi
    done
  done
  local slowest_step
  slowest_step=$(printf '%s\n' "${best[next_ms]}" "${best[previous_ms]}" "${best[first_step_ms]}" \
    "${best[last_ms]}" "${best[jump_ms]}" | sort -g | tail -1)
  local first_s indexed="as the window opens, the file being under 8 MiB"
  first_s=$(awk -v ms="${best[first_ms]}" 'BEGIN {printf "%.3f", ms / 1000}')
  if (($(stat -c %s "$results") >= 8 << 20)); then
    indexed="on the viewer's own thread, the file being over 8 MiB"
  fi

  cat <<SECTION
## Results viewer

\`talveron-viewer-bench\` opens the desktop program's results viewer (offscreen) on a results file
of $(grouped "$million") findings ($(megabytes "$(stat -c %s "$results")") MB): the first $(grouped "$million") sections talveron-cli
wrote for the $(grouped "$million")-record load file with every record faulty, closed with the trailer. The
first finding is on screen when the file has been indexed ($indexed) and the window
drawn; a step runs from the Step menu item to the window drawn with the new finding, and its
figure is the slowest of 20 rounds (First and Last in turns, each the whole way; jumps by
Step > Go To Finding to random findings). Best of 5 runs; the file is in the page cache. Peak
memory, the highest of the 5 runs, is the highest resident set once the viewer opens, less the
$(printf '%.1f' "${best[startup_mb]}") MB the program held just before.

| Target | Goal | Measured | |
|---|---|---|---|
| First finding on screen | under 2 s | $first_s s ($(printf '%.0f' "${best[first_cpu_ms]}") ms of processor time) | $(verdict "$first_s < 2") |
| Each step: Next, Previous, First, Last, jump | under 50 ms | ${best[next_ms]}, ${best[previous_ms]}, ${best[first_step_ms]}, ${best[last_ms]}, ${best[jump_ms]} ms | $(verdict "$slowest_step < 50") |
| Peak memory | under 100 MB above start-up | ${best[peak_above_startup_mb]} MB above | $(verdict "${best[peak_above_startup_mb]} < 100") |

The index keeps about 4 bytes per finding; a step reads the finding's own section through a
256 KiB window of the file, so stepping to a neighbour reads nothing more.
SECTION
}

# Prints the "HTML report" section of the page: talveron-cli with and without --html on the
# $million-record load file with 1% faulty records, and headless Chromium opening the report.
html_section() {
  local source="$data/r$million-one-percent.dat" page="$scratch/report.html"
  if [[ ! -f $source ]]; then
    "$loadgen" --records "$million" --faults one-percent --seed 1 "$source" >/dev/null
  fi
  local plain_ns with_ns extra_s open_ns blank_ns open_s shown
  plain_ns=$(best_of_5 validate "$source")
  with_ns=$(best_of_5 validate --html "$page" "$source")
  extra_s=$(awk -v a="$with_ns" -v b="$plain_ns" 'BEGIN {printf "%.3f", (a - b) / 1e9}')
  shown=$(grep -c '<li class="finding"' "$page")
  local browser=(chromium --headless=new --no-sandbox --disable-gpu --disable-quic --no-first-run
    --disable-background-networking --disable-component-update --disable-sync --dump-dom)
  open_page() {
    local profile
    profile=$(mktemp -d)
    "${browser[@]}" --user-data-dir="$profile" "file://$1" >"$scratch/dom.html" 2>/dev/null
    rm -rf "$profile"
  }
  echo '<!DOCTYPE html><title>blank</title>' >"$scratch/blank.html"
  open_ns=$(best_of_5 open_page "$page")
  blank_ns=$(best_of_5 open_page "$scratch/blank.html")
  open_page "$page"
  if ! grep -q 'data-ready="yes"' "$scratch/dom.html"; then
    echo "the HTML report did not load in Chromium" >&2
    exit 1
  fi
  open_s=$(seconds "$open_ns")

  cat <<SECTION
## HTML report

\`talveron-cli --html\` on the $(grouped "$million")-record load file with 1% faulty records
($(megabytes "$(stat -c %s "$source")") MB): the run with the report against the same run without it, best
of 5 each; the report is $(megabytes "$(stat -c %s "$page")") MB with $(grouped "$shown") findings shown (at most 1,000 per
check code). Opening it: Debian's Chromium $(chromium --version 2>/dev/null | awk '{print $2}'), headless, from start
to the DOM after the page's script ran (\`--dump-dom\`), best of 5, with a fresh profile each
time; the same for an empty page is $(seconds "$blank_ns") s, the browser's own start.

| Target | Goal | Measured | |
|---|---|---|---|
| The report on top of the run | under 5 s more | $(seconds "$with_ns") s against $(seconds "$plain_ns") s, $extra_s s more | $(verdict "$extra_s < 5") |
| The report opened in headless Chromium | under 5 s | $open_s s | $(verdict "$open_s < 5") |
SECTION
}

hundred_k=$((100000 / scale))
million=$((1000000 / scale))

# Puts a section of the page in place of the one with the same heading (from the heading to the
# next one), else before the micro-benchmarks.
replace_section() {
  local heading=$1 section=$2
  awk -v heading="$heading" -v section="$section" '
    $0 == heading { print section; print ""; skipping = 1; done = 1; next }
    skipping && /^## / { skipping = 0 }
    !done && /^## Micro-benchmarks$/ { print section; print ""; done = 1 }
    !skipping { print }
    END { if (!done) { print ""; print section } }' "$doc" >"$scratch/performance.md"
  mv "$scratch/performance.md" "$doc"
}

if [[ -n $only ]]; then
  echo "Measuring the $only section ..."
  if [[ $only == viewer ]]; then
    section=$(viewer_section)
    heading="## Results viewer"
  else
    section=$(html_section)
    heading="## HTML report"
  fi
  load=$(cut -d' ' -f1-3 /proc/loadavg)
  section+=$'\n\n'"Measured on $(date -u '+%Y-%m-%d %H:%M UTC') with \`bench/run_benchmarks.sh --$only\`; load average $load."
  replace_section "$heading" "$section"
  echo "Wrote the $only section of $doc"
  exit 0
fi

# ---- Load files -----------------------------------------------------------------------------

jobs_records=$((275000 / scale))
declare -A share_name=([none]="no faults" [one-percent]="1% faulty" [all]="every record faulty")

echo "Generating load files in $data ..."
for records in "$hundred_k" "$million"; do
  for faults in none one-percent all; do
    "$loadgen" --records "$records" --faults "$faults" --seed 1 "$data/r$records-$faults.dat" \
      >/dev/null
  done
done
"$loadgen" --records "$hundred_k" --shape one-person --seed 1 "$data/one-person.dat" >/dev/null
for n in 1 2 3 4 5 6 7 8; do
  "$loadgen" --records "$jobs_records" --faults one-percent --seed "$((100 + n))" \
    "$data/jobs-$n.dat" >/dev/null
done
"$loadgen" --records 10 --seed 1 "$data/tiny.dat" >/dev/null

# The generator's own speed, on the largest clean file.
generator_ns=$(best_of_5 "$loadgen" --records "$million" --seed 1 "$scratch/generated.dat")
generator_bytes=$(stat -c %s "$scratch/generated.dat")
rm -f "$scratch/generated.dat"

# ---- Whole runs -----------------------------------------------------------------------------

measure_once "$data/tiny.dat"
startup_kb=$(measured "Maximum resident set size")
# The five runs of each figure are taken in five rounds over all the files, not one after another:
# a slow spell of the machine, which can last a minute, then falls on a round of every row alike
# instead of on one row's five runs.
declare -A rss_of
for records in "$hundred_k" "$million"; do
  for faults in none one-percent all; do
    file="$data/r$records-$faults.dat"
    measure_once "$file"
    rss_of[$records-$faults]=$(measured "Maximum resident set size")
    cat_twice "$file"
  done
done
for round in 1 2 3 4 5; do
  echo "Measuring the whole runs, round $round of 5 ..."
  for records in "$hundred_k" "$million"; do
    for faults in none one-percent all; do
      file="$data/r$records-$faults.dat"
      key="$records-$faults"
      time_into "floor-$key" cat_twice "$file"
      time_into "run-$key" validate "$file"
      time_into "one-$key" validate --threads 1 "$file"
    done
  done
done
rows=()
declare -A mbps one_thread_mbps rss_above
for records in "$hundred_k" "$million"; do
  for faults in none one-percent all; do
    file="$data/r$records-$faults.dat"
    bytes=$(stat -c %s "$file")
    key="$records-$faults"
    rss=${rss_of[$key]}
    floor_ns=${best_ns[floor-$key]}
    run_ns=${best_ns[run-$key]}
    one_thread_ns=${best_ns[one-$key]}
    mbps[$key]=$(rate "$bytes" "$run_ns")
    one_thread_mbps[$key]=$(rate "$bytes" "$one_thread_ns")
    rss_above[$key]=$(mebibytes $((rss - startup_kb)))
    cells=("$(grouped "$records")" "${share_name[$faults]}" "$(megabytes "$bytes")"
      "$(seconds "$floor_ns")" "$(seconds "$run_ns")" "${mbps[$key]}"
      "$(ratio "$run_ns" "$floor_ns")" "$(seconds "$one_thread_ns")" "${one_thread_mbps[$key]}"
      "$(mebibytes "$rss")" "${rss_above[$key]}")
    rows+=("$(printf '| %s ' "${cells[@]}")|")
  done
done

echo "Measuring one-person.dat ..."
measure_once "$data/one-person.dat"
one_person_ns=$(best_of_5 validate "$data/one-person.dat")

echo "Measuring --jobs 1 and --jobs 2 on eight files ..."
jobs_files=("$data"/jobs-*.dat)
jobs_bytes=$(cat "${jobs_files[@]}" | wc -c)
# The files side by side, each on one thread: how the work scales over files.
measure_once --threads 1 --jobs 1 "${jobs_files[@]}"
jobs1_cpu=$(measured "Percent of CPU")
measure_once --threads 1 --jobs 2 "${jobs_files[@]}"
jobs2_cpu=$(measured "Percent of CPU")
# In turns, like the whole runs; the second pair with the default threads: one file at a time
# on every core against two files at a time.
for _ in 1 2 3 4 5; do
  time_into jobs1 validate --threads 1 --jobs 1 "${jobs_files[@]}"
  time_into jobs2 validate --threads 1 --jobs 2 "${jobs_files[@]}"
  time_into default-jobs1 validate --jobs 1 "${jobs_files[@]}"
  time_into default-jobs2 validate --jobs 2 "${jobs_files[@]}"
done
jobs1_ns=${best_ns[jobs1]}
jobs2_ns=${best_ns[jobs2]}
jobs_ratio=$(ratio "$jobs1_ns" "$jobs2_ns")
default_jobs1_ns=${best_ns[default-jobs1]}
default_jobs2_ns=${best_ns[default-jobs2]}

echo "Measuring the desktop program on $(basename "$data/r$million-none.dat") ..."
# The window and talveron-cli take turns on the same file, so that both meet the same state of
# the machine: best of 5 of each. The window's time runs from VALIDATE to the closing question;
# its event loop's longest wait is the worst of the five runs.
desktop_ns=0
desktop_cli_ns=0
desktop_wait_ms=0
for _ in 1 2 3 4 5; do
  desktop_line=$(QT_QPA_PLATFORM=offscreen "$desktop" --config "$config" --as-of "$as_of" \
    "$data/r$million-none.dat" 2>/dev/null)
  seconds_now=$(sed -n 's/^seconds=\([0-9.]*\) .*/\1/p' <<<"$desktop_line")
  wait_now=$(sed -n 's/.*longest_wait_ms=\([0-9]*\).*/\1/p' <<<"$desktop_line")
  window_cpu_now=$(sed -n 's/.*window_cpu_ms=\([0-9]*\).*/\1/p' <<<"$desktop_line")
  if [[ -z $seconds_now || -z $wait_now || -z $window_cpu_now ]]; then
    echo "talveron-desktop-bench failed: $desktop_line" >&2
    exit 1
  fi
  ns_now=$(awk -v s="$seconds_now" 'BEGIN {printf "%d", s * 1e9}')
  if ((desktop_ns == 0 || ns_now < desktop_ns)); then
    desktop_ns=$ns_now
    window_cpu_ms=$window_cpu_now
  fi
  if ((wait_now > desktop_wait_ms)); then desktop_wait_ms=$wait_now; fi
  start=$(now_ns)
  validate "$data/r$million-none.dat" >/dev/null 2>&1 || true
  ns_now=$(($(now_ns) - start))
  if ((desktop_cli_ns == 0 || ns_now < desktop_cli_ns)); then desktop_cli_ns=$ns_now; fi
done

echo "Measuring the results viewer ..."
viewer_markdown=$(viewer_section)

echo "Measuring the HTML report ..."
html_markdown=$(html_section)

echo "Running the micro-benchmarks ..."
"$microbench" --benchmark_format=csv --benchmark_min_time=0.5 >"$scratch/micro.csv" 2>/dev/null
micro_rows=$(awk -F, '
  BEGIN { scale["ns"] = 1; scale["us"] = 1e3; scale["ms"] = 1e6; scale["s"] = 1e9 }
  NR == 1 { for (i = 1; i <= NF; ++i) column[$i] = i; next }
  {
    gsub(/"/, "", $1)
    ns = $column["cpu_time"] * scale[$column["time_unit"]]
    if (ns >= 1e6) time = sprintf("%.2f ms", ns / 1e6)
    else if (ns >= 1e3) time = sprintf("%.2f µs", ns / 1e3)
    else time = sprintf("%.1f ns", ns)
    through = ""
    bytes = $column["bytes_per_second"]
    if (bytes != "") through = sprintf("%.0f MB/s", bytes / 1e6)
    if ($column["items_per_second"] != "") {
      items = sprintf("%.2f M/s", $column["items_per_second"] / 1e6)
      through = through == "" ? items : through ", " items
    }
    label = $column["label"]
    gsub(/"/, "", label)
    printf "| `%s` | %s | %s | %s |\n", $1, time, through, label
  }' "$scratch/micro.csv")

# ---- Targets --------------------------------------------------------------------------------

clean_rate=${mbps[$million-none]}
clean_one_thread_rate=${one_thread_mbps[$million-none]}
all_rate=${mbps[$million-all]}
worst_rss=$(printf '%s\n' "${rss_above[$million-none]}" "${rss_above[$million-one-percent]}" \
  "${rss_above[$million-all]}" | sort -g | tail -1)
one_person_s=$(seconds "$one_person_ns")
desktop_over=$(awk -v d="$desktop_ns" -v c="$desktop_cli_ns" \
  'BEGIN {printf "%+.1f", (d / c - 1) * 100}')

cpu=$(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo)
ram=$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)
load=$(cut -d' ' -f1-3 /proc/loadavg)
compiler=$(c++ --version | head -1)

quick_note=""
if ((scale > 1)); then quick_note=" This is a --quick run with a hundredth of the records."; fi

mkdir -p "$(dirname "$doc")"
cat >"$doc" <<EOF
# Performance

Written by \`bench/run_benchmarks.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'); rerun it to refresh
every figure below on the machine at hand.$quick_note

## What is measured, and how

- **Load files** come from \`talveron-loadgen\` (built with the project), for the production
  configuration \`data/TALVERON.CFG\`: a licensee header, then people with one to twelve dose
  records each, one to three intake records under the dose records with a CEDE, now and then a
  comment. "No faults" validates without a finding; "1% faulty" gives one record in a hundred a
  typical licensee mistake; "every record faulty" gives every record one, so every record has at
  least one finding and the results file holds a section for each. The generator writes
  $(rate "$generator_bytes" "$generator_ns") MB/s here.
- **Whole runs**: \`talveron-cli --quiet --config data/TALVERON.CFG --as-of $as_of FILE\`, both
  passes, results file and summary report included; wall time is the best of 5 runs with the file
  in the page cache, taken in five rounds over all the files (a slow spell of the machine then
  falls on every row alike). By default a run checks its lines on one thread per core ($(nproc) here) and
  writes them in line order; the "one thread" columns are the same runs with \`--threads 1\`.
  **Floor**: \`cat FILE FILE > /dev/null\`, best of 5, the cost of reading the
  file twice as the two passes do; the ratio is the run's time over the floor's.
- **Peak memory**: maximum resident set size from \`/usr/bin/time -v\`; "above start-up" subtracts
  the $(mebibytes "$startup_kb") MB of a run on a 10-record file (MB of memory are MiB).
- **One person key**: $(grouped "$hundred_k") dose records whose Employee_ID is blank, so all share
  the person key "S" (\`talveron-loadgen --shape one-person\`). Every record then gets two
  findings: the minimum-length ERROR of the blank Employee_ID and "Multiple dose records for same
  monitoring period", since the periods of so many records overlap.
- **Jobs**: eight files of $(megabytes $((jobs_bytes / 8))) MB each (1% faulty), validated in one
  command with \`--jobs 1\` and with \`--jobs 2\`, each file on one thread (\`--threads 1\`), in
  turns, best of 5 each; the ratio is the throughput of two jobs over one. (By default the cores are shared out among the
  jobs, so \`--jobs 1\` already keeps every core busy: its figures are given below too.)
- **Micro-benchmarks**: \`build-bench/bench/talveron-microbench\` (Google Benchmark) on records
  generated in memory: line framing, field extraction, \`ParseNumber\`, the field validators on
  dose records, the whole dispatch of every record of a file, and the dose index.

Machine: $(nproc) cores, $cpu, $ram of RAM, $(uname -sr), $compiler.
Load average when the run started: $load (other work on the machine slows every figure).

## Targets

| Target | Goal | Measured | |
|---|---|---|---|
| $(grouped "$million") records, no faults | at least 350 MB/s | $clean_rate MB/s | $(verdict "$clean_rate >= 350") |
| $(grouped "$million") records, no faults, one thread | at least 200 MB/s | $clean_one_thread_rate MB/s | $(verdict "$clean_one_thread_rate >= 200") |
| $(grouped "$million") records, every record faulty (results file written) | at least 150 MB/s | $all_rate MB/s | $(verdict "$all_rate >= 150") |
| Peak memory for $(grouped "$million") records | at most 60 MB above start-up | $worst_rss MB above | $(verdict "$worst_rss <= 60") |
| $(grouped "$hundred_k") dose records, one person key | under 0.3 s | $one_person_s s | $(verdict "$one_person_s < 0.3") |
| \`--jobs 2\` against \`--jobs 1\`, eight files, one thread each | at least 1.7x | ${jobs_ratio}x | $(verdict "$jobs_ratio >= 1.7") |
| Desktop program on $(grouped "$million") records, no faults | within 5% of talveron-cli | $(seconds "$desktop_ns") s against $(seconds "$desktop_cli_ns") s, ${desktop_over}% | $(verdict "$desktop_over <= 5") |

## Whole runs

| Records | Faults | Size (MB) | Floor: cat twice (s) | talveron-cli (s) | MB/s | Ratio to floor | One thread (s) | One thread (MB/s) | Peak RSS (MB) | Above start-up (MB) |
|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|
$(printf '%s\n' "${rows[@]}")

One person key: $(grouped "$hundred_k") dose records in $one_person_s s.

Jobs, one thread per file: $(megabytes "$jobs_bytes") MB in $(seconds "$jobs1_ns") s with \`--jobs 1\` and in
$(seconds "$jobs2_ns") s with \`--jobs 2\`, ${jobs_ratio}x. The two commands got ${jobs1_cpu}% and ${jobs2_cpu}% of a
core in a check run (200% is both cores): while other work holds the cores, two jobs cannot run
side by side and the ratio says little. With the default threads: $(seconds "$default_jobs1_ns") s with
\`--jobs 1\` and $(seconds "$default_jobs2_ns") s with \`--jobs 2\`.

Desktop program: the main window (\`talveron-desktop-bench\`, on the offscreen platform, so every
panel is drawn as in a window) validated the $(grouped "$million")-record file without faults in
$(seconds "$desktop_ns") s from VALIDATE to its closing question, best of 5, against $(seconds "$desktop_cli_ns") s for
talveron-cli in turns with it (whose time includes starting the process and reading the
configuration). In the fastest run the window's own thread used ${window_cpu_ms} ms of processor time to
keep its panels up to date. The window's event loop was never kept waiting more than
${desktop_wait_ms} ms beyond a 10 ms timer's interval, in any of the five runs; a delay starts to be
noticed at about 100 ms.

$viewer_markdown

$html_markdown

## Micro-benchmarks

| Benchmark | CPU time per iteration | Throughput | Note |
|---|---:|---|---|
$micro_rows

An iteration is one line or record, one number, one lookup or, for the framing benchmarks, a
whole file of 20,000 records (400 for the long lines) read from memory; \`BM_BuildIndex\` builds
the index of the $(grouped 100000)-record file once. Throughputs are per CPU second, so they
suffer less than wall times from other work on the machine.
EOF

echo "Wrote $doc"
