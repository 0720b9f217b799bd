#!/usr/bin/env bash
# Builds the browser module with Debian's emscripten into build-web/ (2 jobs)
# and the page into build-web/page/; with LINUX_BUILD_DIR (a build of
# orvane-cli) it then runs the node tests against that orvane-cli.
#   tools/build-web.sh [LINUX_BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
# Debian's emscripten runs its JavaScript tools with node's own module path.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DORVANE_BUILD_WEB=ON \
  -DORVANE_BUILD_UI=OFF -DORVANE_BUILD_TESTS=OFF -DORVANE_BUILD_BENCH=OFF -DORVANE_WERROR=ON
cmake --build build-web -j2
ls -l build-web/page/
if [ $# -ge 1 ]; then
  node tests/web/node_module.mjs build-web/page/orvane.js "$1/bin/orvane-cli" data tests/vectors
fi
