#!/usr/bin/env bash
# Builds the Debian package (corvane_<version>_<arch>.deb) from a release
# build of its own. Needs dpkg-shlibdeps (dpkg-dev) for the dependencies.
#   CORVANE_DEB_BUILD_DIR  build folder (default: build-deb in the source tree)
#   CORVANE_JOBS           parallel build jobs (default: 2)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${CORVANE_DEB_BUILD_DIR:-$repo/build-deb}
jobs=${CORVANE_JOBS:-2}

command -v dpkg-shlibdeps >/dev/null || { echo "dpkg-shlibdeps missing: apt-get install dpkg-dev" >&2; exit 1; }

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_BUILD_TESTS=OFF -DCORVANE_SANITIZE=OFF
cmake --build "$build" -j"$jobs"
rm -f "$build"/corvane_*.deb
(cd "$build" && cpack -G DEB)
deb=$(find "$build" -maxdepth 1 -name 'corvane_*.deb' | head -n 1)
[ -n "$deb" ] || { echo "cpack made no package" >&2; exit 1; }
echo "$deb"
