#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Talveron on the shipped configuration.
# Without a display it validates the sample load file with talveron-cli instead.
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure-packages.sh --programs
# Only the two programs, so the window opens as soon as they are built; ./test.sh builds the rest.
scripts/build.sh talveron talveron-cli

# The configuration directory gets the shipped TALVERON.CFG unless one is there already.
build/cli/talveron-cli --install-config

if [ -x build/app/talveron ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/app/talveron
fi

echo "No display found: validating the sample load file with talveron-cli instead."
sample_dir=$(mktemp -d)
cp data/sample.dat data/faulty.dat "$sample_dir"/
status=0
build/cli/talveron-cli "$sample_dir"/sample.dat "$sample_dir"/faulty.dat || status=$?
echo
echo "Results and reports were written to $sample_dir (exit status $status: 0 clean, 1 errors found)."
