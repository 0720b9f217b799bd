#!/usr/bin/env bash
# Installs every Debian 12 package needed to build, test and run Orvane DNV.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config g++ clang-14 libclang-rt-14-dev clang-format clang-tidy-14
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev libxlsxwriter-dev zlib1g-dev
  libfmt-dev libfast-float-dev
  qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools qt6-documentation-tools
  libgl1-mesa-dev libxkbcommon-dev
  xvfb xauth poppler-utils fonts-dejavu-core fonts-liberation2 desktop-file-utils debootstrap lintian git unzip
  # the Windows command line (tools/cross-windows.sh): cross compiler, wine, the comparison
  g++-mingw-w64-x86-64-posix wine64 python3
  # the browser module and page (tools/build-web.sh, tests/web/run-browser.sh)
  emscripten chromium
)
# The browser tests run on node and npm: Debian's only where the commands are missing (a
# node from elsewhere, with its own npm, serves as well).
command -v node >/dev/null 2>&1 || packages+=(nodejs)
command -v npm >/dev/null 2>&1 || packages+=(npm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
