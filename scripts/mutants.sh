#!/usr/bin/env bash
# Fault injection, to judge the tests: puts each fault of scripts/mutants.list into the sources,
# one at a time, rebuilds build-mutants/ (Release, desktop program on) and runs the normal
# build's tests with CTest, then names the test programs that caught the fault, or SURVIVED.
# A developer tool; ./test.sh does not run it.
#
#   scripts/mutants.sh                  every fault
#   scripts/mutants.sh 3 7-9 NAME...    the faults with these numbers or names
#   scripts/mutants.sh --list           number, name, file and bug of every fault
#   scripts/mutants.sh --check          only checks that each fault's text occurs once in its file
#
# The mutated file is put back after each fault, also when the script is interrupted, and the
# script ends by checking with git that the files it touched are as committed. The table goes to
# standard output and to build-mutants/mutants/results.txt; build and test logs of each fault
# are in build-mutants/mutants/logs/. MUTANTS_TEST_TIMEOUT sets CTest's timeout per test
# (seconds, default 120): a fault that makes a test hang counts as caught by it.
set -euo pipefail
cd "$(dirname "$0")/.."
shopt -u patsub_replacement 2>/dev/null || true  # "&" in a replacement is just "&"

list=scripts/mutants.list
build=build-mutants
work=$build/mutants
timeout=${MUTANTS_TEST_TIMEOUT:-120}

names=() files=() finds=() replaces=() whats=()

read_list() {
  local line key value last
  while IFS= read -r line || [ -n "$line" ]; do
    case "$line" in
      '' | '#'*) continue ;;
      '== '*)
        names+=("${line#== }"); files+=(""); finds+=(""); replaces+=(""); whats+=("")
        continue ;;
    esac
    last=$((${#names[@]} - 1))
    key=${line%%:*}
    value=${line#*:}
    value=${value#"${value%%[! ]*}"}  # without the blanks after the colon
    if ((last < 0)) || [[ ! $key =~ ^(file|find|replace|what)$ ]] || [ "$key" = "$line" ]; then
      echo "$list: cannot read the line '$line'" >&2
      exit 2
    fi
    case "$key" in
      file) files[last]=$value ;;
      find) finds[last]=$value ;;
      replace) replaces[last]=$value ;;
      what) whats[last]=$value ;;
    esac
  done <"$list"
}

# occurrences TEXT FILE: 0, 1, or 2 for "more than once".
occurrences() {
  local rest count=0
  rest=$(<"$2")
  while ((count < 2)) && [[ $rest == *"$1"* ]]; do
    rest=${rest#*"$1"}
    count=$((count + 1))
  done
  echo "$count"
}

# problem INDEX: why the fault cannot be applied, or nothing.
problem() {
  local i=$1
  if [ -z "${files[i]}" ] || [ -z "${finds[i]}" ] || [ -z "${whats[i]}" ]; then
    echo "a file, find or what line is missing"
  elif [ "${finds[i]}" = "${replaces[i]}" ]; then
    echo "the replacement is the text itself"
  elif [ ! -f "${files[i]}" ]; then
    echo "${files[i]} does not exist"
  else
    case $(occurrences "${finds[i]}" "${files[i]}") in
      0) echo "the text is not in ${files[i]}" ;;
      2) echo "the text occurs more than once in ${files[i]}" ;;
    esac
  fi
}

# select_faults ARG...: the indexes (0-based) of the faults named by number, range or name.
selected=()
select_faults() {
  local arg i found
  if (($# == 0)); then
    for i in "${!names[@]}"; do selected+=("$i"); done
    return
  fi
  for arg in "$@"; do
    if [[ $arg =~ ^([0-9]+)(-([0-9]+))?$ ]]; then
      local first=${BASH_REMATCH[1]} last=${BASH_REMATCH[3]:-${BASH_REMATCH[1]}}
      if ((first < 1 || last > ${#names[@]} || first > last)); then
        echo "no faults $arg: they are numbered 1 to ${#names[@]}" >&2
        exit 2
      fi
      for ((i = first - 1; i < last; i++)); do selected+=("$i"); done
    else
      found=""
      for i in "${!names[@]}"; do [ "${names[i]}" = "$arg" ] && found=$i; done
      if [ -z "$found" ]; then echo "no fault is named '$arg' (see --list)" >&2; exit 2; fi
      selected+=("$found")
    fi
  done
}

check_selected() {
  local i why bad=0
  for i in "${selected[@]}"; do
    why=$(problem "$i")
    if [ -n "$why" ]; then
      echo "$list: fault $((i + 1)) (${names[i]}): $why" >&2
      bad=1
    fi
  done
  return "$bad"
}

minutes() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }

# The file that holds a fault now, and its committed bytes.
mutated=""
restore() {
  if [ -n "$mutated" ]; then
    cat "$work/original" >"$mutated"
    mutated=""
  fi
}
trap restore EXIT
trap 'exit 130' INT TERM HUP

apply_fault() {
  local i=$1 text
  cp "${files[i]}" "$work/original"
  mutated=${files[i]}
  text=$(cat "${files[i]}"; printf x)
  text=${text%x}
  printf '%s' "${text/"${finds[i]}"/"${replaces[i]}"}" >"${files[i]}"
}

build_all() {
  nice -n 10 cmake --build "$build" -j2 >"$1" 2>&1
}

# failing_programs LOG: runs CTest and prints each test program with a failing test, one a line.
failing_programs() {
  local failed=$build/Testing/Temporary/LastTestsFailed.log
  map_programs
  rm -f "$failed"
  nice -n 10 ctest --test-dir "$build" -j2 --timeout "$timeout" >"$1" 2>&1 || true
  [ -f "$failed" ] || return 0
  awk -F'\t' 'NR == FNR { program[$1] = $2; next }
              { number = $0; sub(/:.*/, "", number)
                print ((number in program) ? program[number] : $0) }' \
    "$work/programs.tsv" "$failed" | sort -u
}

# The program behind each CTest test, by test number: the executable for a test of the build, else
# the test name. Read after each build: the names of some parameterised tests change with it.
map_programs() {
  local top
  top=$(realpath "$build")
  ctest --test-dir "$build" --show-only=json-v1 |
    jq -r --arg top "$top/" '.tests | to_entries[] | [.key + 1, (.value.command[0] as $c
        | if ($c | startswith($top)) then ($c | split("/") | last) else .value.name end)] | @tsv' \
      >"$work/programs.tsv"
}

read_list
case "${1:-}" in
  --list)
    for i in "${!names[@]}"; do
      printf '%3d  %-30s %-28s %s\n' $((i + 1)) "${names[i]}" "${files[i]}" "${whats[i]}"
    done
    exit 0 ;;
  --check)
    select_faults
    check_selected && echo "All ${#names[@]} faults apply."
    exit ;;
  -*) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2; exit 2 ;;
esac
select_faults "$@"
check_selected || exit 2

touched=()
for i in "${selected[@]}"; do touched+=("${files[i]}"); done
if ! git diff --quiet HEAD -- "${touched[@]}"; then
  echo "Uncommitted changes in files the faults go into; commit or stash them first:" >&2
  git diff --stat HEAD -- "${touched[@]}" >&2
  exit 2
fi

command -v jq >/dev/null || scripts/ensure-packages.sh jq
mkdir -p "$work/logs"
start=$SECONDS
echo "Building $build/ and running the tests without a fault..."
nice -n 10 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTALVERON_BUILD_DESKTOP=ON >/dev/null
if ! build_all "$work/logs/baseline.build.log"; then
  echo "The sources do not build: see $work/logs/baseline.build.log" >&2
  exit 1
fi
baseline=$(failing_programs "$work/logs/baseline.test.log")
if [ -n "$baseline" ]; then
  echo "Tests fail without a fault, so faults cannot be judged: ${baseline//$'\n'/ }" >&2
  echo "See $work/logs/baseline.test.log" >&2
  exit 1
fi
echo "$(wc -l <"$work/programs.tsv") tests pass ($(minutes $((SECONDS - start))));" \
  "faults to inject: ${#selected[@]}."

results=$work/results.txt
: >"$results"
caught=0 survived=() unbuilt=()
for n in "${!selected[@]}"; do
  i=${selected[n]}
  name=${names[i]}
  began=$SECONDS
  apply_fault "$i"
  if build_all "$work/logs/$name.build.log"; then
    programs=$(failing_programs "$work/logs/$name.test.log")
    if [ -n "$programs" ]; then
      verdict="caught by: ${programs//$'\n'/ }"
      caught=$((caught + 1))
    else
      verdict="SURVIVED"
      survived+=("$((i + 1)) $name: ${whats[i]}")
    fi
  else
    verdict="did not build (see $work/logs/$name.build.log)"
    unbuilt+=("$((i + 1)) $name")
  fi
  restore
  printf '%3d %-30s %s  [%s]\n' $((i + 1)) "$name" "$verdict" "$(minutes $((SECONDS - began)))" |
    tee -a "$results"
done

{
  echo
  echo "Caught: $caught  Survived: ${#survived[@]}  Did not build: ${#unbuilt[@]}" \
    "(${#selected[@]} faults, $(minutes $((SECONDS - start))) in all)"
  if ((${#survived[@]})); then echo "Survived:"; printf '  %s\n' "${survived[@]}"; fi
  if ((${#unbuilt[@]})); then echo "Did not build:"; printf '  %s\n' "${unbuilt[@]}"; fi
} | tee -a "$results"

if ! git diff --quiet HEAD -- "${touched[@]}"; then
  echo "A source file was not put back as committed:" >&2
  git diff --stat HEAD -- "${touched[@]}" >&2
  exit 1
fi
