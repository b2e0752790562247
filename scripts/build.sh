#!/usr/bin/env bash
# Configures build/ (Release, every part) and builds the targets named, or everything when none is.
# ./run.sh builds only the two programs there, ./test.sh everything: one configuration, so each
# reuses what the other built.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=()
if (($#)); then targets=(--target "$@"); fi
cmake --build build -j"$(nproc)" "${targets[@]}"
