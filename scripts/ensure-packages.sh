#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need, when any is missing;
# with --programs, only what building and running the two programs needs (./run.sh); given
# package names, those instead.
set -euo pipefail

# The build (one configuration for programs and tests, so the test libraries too) and what the
# desktop program uses at run time: xdg-open hands help documents and results files to the
# desktop's applications; outside GNOME, KDE or Xfce it asks mimeopen which application that is.
programs=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev librsvg2-bin dpkg-dev file
  xdg-utils libfile-mimeinfo-perl
)
# The tests and the install check.
tests=(xvfb xauth desktop-file-utils appstream groff-base poppler-utils python3-jsonschema)

optional=()
if (($# == 0)); then
  packages=("${programs[@]}" "${tests[@]}")
  # The browser the HTML report is tested in, tried on its own: that test skips without it.
  optional=(chromium)
elif [[ $1 == --programs ]]; then
  packages=("${programs[@]}")
else
  packages=("$@")
fi

# Prints the packages of the arguments that are not installed.
missing() {
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      echo "$package"
  done
}

install() {
  echo "Installing: $*"
  local sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$@"
}

mapfile -t needed < <(missing "${packages[@]}")
if ((${#needed[@]})); then install "${needed[@]}"; fi
mapfile -t wanted < <(missing "${optional[@]}")
if ((${#wanted[@]})); then
  install "${wanted[@]}" || echo "Could not install ${wanted[*]}: the tests that need it skip."
fi
