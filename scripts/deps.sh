#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; skips what is present.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache lld
  qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-qpa-plugins
  libgtest-dev googletest
  libxlsxwriter-dev libzip-dev libexpat1-dev
  socat xvfb xauth imagemagick python3
  fonts-liberation poppler-utils
  emscripten node-acorn chromium brotli gzip
  ${CORVANE_EXTRA_PACKAGES:-}
)
# The page's tooling and browser tests run on node; a node installed
# outside Debian's packages serves as well.
command -v npm >/dev/null 2>&1 || PACKAGES+=(nodejs npm)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
