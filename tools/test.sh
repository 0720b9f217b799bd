#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test:
#  1. the full build with warnings as errors, all tests through CTest;
#  2. the non-Qt tests again under AddressSanitizer and UBSan;
#  3. each libFuzzer target for a short run under AddressSanitizer;
#  4. house rules: formatting, and the layer rule (tools/check-layers.sh);
#  5. the Debian package installed into a fresh Debian 12 root and used there;
#  6. this command itself in another fresh Debian 12 root, on a clean clone
#     (set ORVANE_PACKAGE_CHECK=0 to leave 5 and 6 out on a machine without root);
#  7. the Windows command line and the browser page, built and compared with
#     this build's digits under wine and in headless chromium. They run once:
#     in the fresh root of step 6, or here when 5 and 6 are left out.
# In the fresh root (ORVANE_HOST_PROVED=1, set by tools/check-fresh-root.sh)
# the run leaves out what the host run of the same commit has just proved
# (tests, sanitizers, fuzzers, house rules): it installs, builds the
# programs and runs step 7.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
jobs=$(nproc)
fuzz_seconds=${ORVANE_FUZZ_SECONDS:-20}
package_check=${ORVANE_PACKAGE_CHECK:-1}
host_proved=${ORVANE_HOST_PROVED:-0}

cross_builds() {
  echo "== Windows command line (mingw-w64, wine)"
  tools/cross-windows.sh build-ci
  echo "== the calculator in the browser (emscripten, node, chromium)"
  tools/build-web.sh build-ci
  tests/web/run-browser.sh build-ci
}

if [ "$host_proved" = 1 ]; then
  echo "== build (tests, sanitizers, fuzzers and house rules: proved by the host run)"
  cmake -S . -B build-ci -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_WERROR=ON \
    -DORVANE_BUILD_TESTS=OFF -DORVANE_BUILD_BENCH=OFF
  cmake --build build-ci -j"$jobs"
  cross_builds
  echo "All checks passed."
  exit 0
fi

echo "== build and test"
cmake -S . -B build-ci -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_WERROR=ON
cmake --build build-ci -j"$jobs"
(cd build-ci && ctest --output-on-failure -j"$jobs")

echo "== sanitizers (core, sections, files, cli)"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON -DORVANE_BUILD_UI=OFF \
  -DORVANE_BUILD_BENCH=OFF -DORVANE_WERROR=ON
cmake --build build-asan -j"$jobs"
(cd build-asan && ctest --output-on-failure -j"$jobs")

echo "== fuzzers (${fuzz_seconds}s each)"
CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_FUZZ=ON \
  -DORVANE_SANITIZE=ON -DORVANE_BUILD_UI=OFF -DORVANE_BUILD_TESTS=OFF -DORVANE_BUILD_BENCH=OFF
cmake --build build-fuzz -j"$jobs"
for target in project_file:project materials:materials profile_table:profiles \
  number_reader:numbers load_table:load_tables; do
  name=${target%%:*}
  corpus=$(mktemp -d)
  build-fuzz/bin/fuzz_"$name" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
    "$corpus" tests/fuzz/corpus/"${target##*:}" 2>&1 | tail -n 2
  rm -rf "$corpus"
done

echo "== house rules"
tools/check-layers.sh
# the short check list of .clang-tidy on the layers below ui/
git ls-files 'model/*.cpp' 'sections/*.cpp' 'core/*.cpp' 'files/*.cpp' 'project/*.cpp' 'cli/*.cpp' |
  xargs clang-tidy-14 -p build-ci --quiet --extra-arg=-Wno-unknown-warning-option
git ls-files '*.cpp' '*.hpp' | xargs clang-format --dry-run -Werror

if [ "$package_check" != 0 ]; then
  echo "== Debian package on a fresh Debian 12 root"
  tools/check-package.sh build-ci
  echo "== this test command on a clean clone in a fresh Debian 12 root"
  tools/check-fresh-root.sh build-ci
else
  cross_builds
fi
echo "All checks passed."
