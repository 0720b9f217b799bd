#!/usr/bin/env bash
# Installs what is needed, builds Orvane DNV and starts it on a new project.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DORVANE_BUILD_TESTS=OFF -DORVANE_BUILD_BENCH=OFF
cmake --build build-release -j"$(nproc)"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under xvfb-run (the window is not visible)." >&2
  exec xvfb-run -a build-release/bin/orvane "$@"
fi
exec build-release/bin/orvane "$@"
