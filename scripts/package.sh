#!/usr/bin/env bash
# Builds a Release of both programs for /usr, makes the Debian package build-package/talveron_*.deb
# and checks it with lintian.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh
scripts/ensure-packages.sh lintian
# The package is built for /usr, where it installs.
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTALVERON_BUILD_DESKTOP=ON -DTALVERON_BUILD_TESTS=OFF -DTALVERON_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-package -j"$(nproc)"
rm -f build-package/talveron_*.deb
(cd build-package && cpack -G DEB)
ls build-package/talveron_*.deb
# Debian's package checker, with the informational tags too.
lintian --display-info --fail-on error,warning build-package/talveron_*.deb
