#!/usr/bin/env bash
# Builds the browser version into build-web/site/: the core as WebAssembly
# (Debian's emscripten) and the page (TypeScript). Installs what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
# Emscripten's optimizer needs Debian's acorn, also under a node that is not Debian's.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
# The compiler cache serves the WebAssembly tree too (emcc runs clang through it).
# Depend mode, as in the other trees: no second preprocessor run on a miss.
if command -v ccache >/dev/null 2>&1; then
  export EM_COMPILER_WRAPPER=ccache CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=1 CCACHE_DEPEND=1
fi
# Nothing here may download a browser: the tests use Debian's chromium.
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
if [ ! -d web/node_modules ] || [ web/package-lock.json -nt web/node_modules/.package-lock.json ]; then
  (cd web && npm ci --no-audit --no-fund)
fi
if [ ! -f build-web/CMakeCache.txt ]; then
  emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
fi
cmake --build build-web -j "$(nproc)"
