#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test:
#  1. the full build with warnings as errors, all tests through CTest;
#  2. the non-Qt tests again under AddressSanitizer and UBSan;
#  3. each libFuzzer target for a short run under AddressSanitizer;
#  4. house rules: formatting, and the layer rule (tools/check-layers.sh);
#  5. the Debian package installed into a fresh Debian 12 root and used there;
#  6. this command itself in another fresh Debian 12 root, on a clean clone
#     (set ORVANE_PACKAGE_CHECK=0 to leave 5 and 6 out on a machine without root).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
jobs=$(nproc)
fuzz_seconds=${ORVANE_FUZZ_SECONDS:-20}

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

if [ "${ORVANE_PACKAGE_CHECK:-1}" != 0 ]; then
  echo "== Debian package on a fresh Debian 12 root"
  tools/check-package.sh build-ci
  echo "== this test command on a clean clone in a fresh Debian 12 root"
  tools/check-fresh-root.sh build-ci
fi
echo "All checks passed."
