#!/usr/bin/env bash
# Builds the Windows command line (build-win/bin/orvane-cli.exe, static, no
# DLL), packs build-win/orvane-cli-windows.zip, then runs it under wine
# against the Linux build's orvane-cli (tests/windows/wine_tests.py).
#
#   tools/cross-windows.sh LINUX_BUILD_DIR      e.g. tools/cross-windows.sh build-ci
#
# LINUX_BUILD_DIR holds a built bin/orvane-cli of the same checkout. Needs the
# packages of tools/deps.sh (g++-mingw-w64-x86-64-posix, wine64, python3), installed first.
# Exit status: 0 every group passed, 1 a difference, 2 a build or setup step failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ $# -ne 1 ] || [ ! -x "$1/bin/orvane-cli" ]; then
  echo "usage: tools/cross-windows.sh LINUX_BUILD_DIR (with a built bin/orvane-cli)" >&2
  exit 2
fi
linux_cli=$(cd "$1" && pwd)/bin/orvane-cli
tools/deps.sh
build=$root/build-win
start=$(date +%s)

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
generator=()
if command -v ninja >/dev/null && [ ! -f "$build/Makefile" ]; then generator=(-G Ninja); fi
toolchain=()
if [ ! -f "$build/CMakeCache.txt" ]; then toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake); fi
# -O2 without debug information: the optimisation of the Linux builds
# (RelWithDebInfo), and a small .exe.
cmake -S . -B "$build" "${generator[@]}" "${toolchain[@]}" \
  -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" -DORVANE_WERROR=ON \
  -DORVANE_BUILD_UI=OFF -DORVANE_BUILD_TESTS=OFF -DORVANE_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null \
  || exit 2
cmake --build "$build" -j2 || exit 2
echo "built $build/bin/orvane-cli.exe and $build/orvane-cli-windows.zip in $(($(date +%s) - start)) s"

# No DLL beside the program: only Windows' own libraries are imported.
if x86_64-w64-mingw32-objdump -p "$build/bin/orvane-cli.exe" | grep 'DLL Name' |
  grep -viE 'KERNEL32|msvcrt|ADVAPI32|USER32|WS2_32|SHELL32|api-ms-win' >&2; then
  echo "orvane-cli.exe needs a DLL that Windows does not have (above)" >&2
  exit 1
fi

wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
export WINE=$wine WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver=$(dirname "$(readlink -f "$wine")")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
# a new prefix: wineboot may report a missing 32-bit part and still make
# it; the registry is on disk once the server has ended
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot --init >/dev/null 2>&1 || true
  "$wineserver" -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot could not make $WINEPREFIX" >&2; exit 2; }
fi
# one wine server for all the runs, stopped at the end
trap '"$wineserver" -k 2>/dev/null || true' EXIT
"$wineserver" -p 60
# The first program of a server starts wine's services, which keep the
# standard output they inherit open: here /dev/null, not a test's pipe.
"$wine" "$build/bin/orvane-cli.exe" --version >/dev/null 2>&1 </dev/null

status=0
python3 tests/windows/wine_tests.py "$build/bin/orvane-cli.exe" "$linux_cli" "$root" "$build/wine-tests" ||
  status=$?
echo "tools/cross-windows.sh: $(($(date +%s) - start)) s"
exit $status
