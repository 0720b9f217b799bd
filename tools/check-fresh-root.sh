#!/usr/bin/env bash
# The README's test command on a machine with nothing installed: a clean clone
# of this checkout's commit in a fresh Debian 12 root, and there, as root,
# `tools/test.sh` (which installs what it needs through tools/deps.sh), without
# its own fresh-root steps and without what the host run has just proved: it
# builds the programs, the Windows command line and the browser page, and
# runs the wine and chromium comparisons. Afterwards the window is drawn in
# every mode inside the root and beside it from BUILD_DIR; both sets of
# pictures, and the browser page's screenshots, are kept in
# BUILD_DIR/fresh-root/ for looking at.
#
#   tools/check-fresh-root.sh BUILD_DIR   (BUILD_DIR is a build with the desktop program)
#
# Needs root (chroot, mount) and the Debian mirror.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || exec sudo "$0" "$@"
build=$(realpath "${1:?usage: tools/check-fresh-root.sh BUILD_DIR}")
cd "$(dirname "$0")/.."
source_dir=$(pwd)
source tools/fresh-root.sh
trap fresh_root_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

out=$build/fresh-root
rm -rf "$out/root" "$out/here" "$out/web"
mkdir -p "$out"
log=$out/test.log
started=$SECONDS

fresh_root_new "$build"
root=$fresh_root
git clone --quiet --no-hardlinks "$source_dir" "$root/root/orvane-dnv"
echo "clean clone of $(git -C "$root/root/orvane-dnv" log -1 --format='%h %s' | cut -c1-72)"
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
  echo "(changes not committed in the checkout are not part of the clone)"
fresh_root_bind "$root" /proc /sys /dev
[ -d /dev/pts ] && mountpoint -q /dev/pts && fresh_root_bind "$root" /dev/pts
[ -d /dev/shm ] && mountpoint -q /dev/shm && fresh_root_bind "$root" /dev/shm

ca=()
[ -f "$root/etc/host-ca-certificates.crt" ] && ca=(NODE_EXTRA_CA_CERTS=/etc/host-ca-certificates.crt)
in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb "${ca[@]}" "$@"
}

echo "running tools/test.sh in the root (log: $log)"
if ! in_root bash -c 'cd /root/orvane-dnv && ORVANE_PACKAGE_CHECK=0 ORVANE_HOST_PROVED=1 tools/test.sh' >"$log" 2>&1
then
  tail -n 40 "$log" >&2
  echo "fresh root: tools/test.sh failed after $((SECONDS - started)) s" >&2
  exit 1
fi
grep -E "tests passed|: passed, [0-9]+ passed|^[0-9]+ vectors|^all (browser tests )?passed|ready from disk|100,000|All checks passed" "$log"
echo "fresh root: tools/test.sh passed in $((SECONDS - started)) s"

# The window in every mode, drawn in the root and here.
in_root bash -c 'cd /root/orvane-dnv && QT_QPA_PLATFORM=offscreen timeout 60 \
  build-ci/bin/orvane --screenshot /root/shots' >/dev/null 2>&1 ||
  { echo "fresh root: orvane --screenshot failed" >&2; exit 1; }
mkdir -p "$out/root" "$out/here"
cp "$root"/root/shots/mode?.png "$out/root/"
# the browser page as drawn by chromium in the root
[ -d "$root/root/orvane-dnv/build-web/screens" ] && cp -r "$root/root/orvane-dnv/build-web/screens" "$out/web"
in_root fc-match sans-serif >"$out/root/fc-match.txt"
QT_QPA_PLATFORM=offscreen timeout 60 "$build/bin/orvane" --screenshot "$out/here" >/dev/null 2>&1 ||
  { echo "orvane --screenshot failed here" >&2; exit 1; }
for mode in 0 1 2 3; do
  if cmp -s "$out/root/mode$mode.png" "$out/here/mode$mode.png"; then
    echo "mode $mode: drawn the same in the fresh root and here"
  else
    echo "mode $mode: drawn differently (a blinking text cursor differs from run to run):"
    echo "  $out/root/mode$mode.png  $out/here/mode$mode.png"
  fi
done
echo "fresh root check passed in $((SECONDS - started)) s (the root's sans-serif: $(cut -d: -f2 "$out/root/fc-match.txt"))"
