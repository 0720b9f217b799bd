#!/usr/bin/env bash
# Tests the calculator page (build-web/page, built by tools/build-web.sh) in
# headless chromium against orvane-cli of a Linux build:
#   tests/web/run-browser.sh LINUX_BUILD_DIR
# puppeteer-core (the version pinned in package-lock.json) is installed into
# build-web/node with `npm ci --ignore-scripts`: no browser is downloaded, the
# tests drive Debian's /usr/bin/chromium. Screenshots land in build-web/screens/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:?usage: tests/web/run-browser.sh LINUX_BUILD_DIR}
build=$(cd "$build" && pwd)
web=${ORVANE_WEB_BUILD:-$root/build-web}

[ -x "$build/bin/orvane-cli" ] || { echo "no $build/bin/orvane-cli" >&2; exit 2; }
[ -f "$web/page/index.html" ] && [ -f "$web/page/orvane.js" ] ||
  { echo "no page in $web/page: run tools/build-web.sh first" >&2; exit 2; }
[ -x /usr/bin/chromium ] || { echo "no /usr/bin/chromium (tools/deps.sh installs it)" >&2; exit 2; }

node_dir=$web/node
mkdir -p "$node_dir"
if ! cmp -s "$here/package-lock.json" "$node_dir/package-lock.json" ||
   [ ! -d "$node_dir/node_modules/puppeteer-core" ]; then
  cp "$here/package.json" "$here/package-lock.json" "$node_dir/"
  (cd "$node_dir" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
fi

export NODE_PATH=$node_dir/node_modules
export ORVANE_PAGE=$web/page
export ORVANE_CLI=$build/bin/orvane-cli
export ORVANE_DATA=$root/data
export ORVANE_VECTORS=$root/tests/vectors/cases
export ORVANE_SCREENS=$web/screens
export ORVANE_WORK=$web/browser-test
exec node "$here/browser.js"
