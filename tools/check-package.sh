#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 root (tools/fresh-root.sh) with apt (which
# pulls in exactly the dependencies the package declares) and uses the installed program
# there as an ordinary user: a headless check, a new project, the report as PDF, the
# desktop window drawn in every mode, and the help and manual files in place.
#
#   tools/check-package.sh BUILD_DIR     (BUILD_DIR is a configured build with the desktop program)
#
# Needs root (debootstrap, chroot, mount) and the Debian mirror.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || exec sudo "$0" "$@"
build=$(realpath "${1:?usage: tools/check-package.sh BUILD_DIR}")
cd "$(dirname "$0")/.."
source_dir=$(pwd)

for tool in debootstrap lintian; do
  command -v $tool >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $tool >/dev/null
done

rm -f "$build"/orvane-dnv_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/orvane-dnv_*.deb)
echo "package: $(basename "$deb")"
# Debian's own package checks: no errors, no warnings.
if ! lint=$(lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1); then
  printf '%s\n' "$lint" | grep -v "root privileges" >&2
  echo "package check: lintian" >&2
  exit 1
fi

source tools/fresh-root.sh
log=$(mktemp)
cleanup() {
  rm -f "$log"
  fresh_root_cleanup
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

quiet() { "$@" >"$log" 2>&1 || { tail -n 20 "$log" >&2; exit 1; }; }

fresh_root_new "$build"
root=$fresh_root
fresh_root_bind "$root" /proc
cp "$deb" "$root/tmp/"
cp "$source_dir/tests/fixtures/files/v001.cys" "$root/tmp/project.cys"

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }
as_user() { in_root su - engineer -c "$1"; }

quiet in_root apt-get update
quiet in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "/tmp/$(basename "$deb")"
in_root useradd -m engineer
in_root install -o engineer -m 644 /tmp/project.cys /home/engineer/project.cys

fail() { echo "package check: $*" >&2; exit 1; }

as_user 'orvane-cli check project.cys' >"$root/check.txt" || [ $? -eq 1 ] || fail "orvane-cli check"
grep -q "Shell Buckling: (Ch 3.3.2)" "$root/check.txt" || fail "no shell panel in the check"
as_user 'orvane-cli new -o fresh.cys && orvane-cli check --json fresh.cys' >"$root/new.json" ||
  [ $? -eq 1 ] || fail "orvane-cli new"
grep -q '"fault":null' "$root/new.json" || fail "the new project does not calculate"
as_user 'QT_QPA_PLATFORM=offscreen orvane-report project.cys -o report.pdf' 2>/dev/null ||
  fail "orvane-report"
pdftotext "$root/home/engineer/report.pdf" - | grep -q "Panel Ring Buckling" || fail "report text"
as_user 'QT_QPA_PLATFORM=offscreen timeout 60 orvane --screenshot shots' 2>/dev/null ||
  fail "orvane --screenshot"
for mode in 0 1 2 3; do
  [ -s "$root/home/engineer/shots/mode$mode.png" ] || fail "no window picture for mode $mode"
done
app=$root/usr/lib/orvane-dnv
for f in help/orvane.qhc help/orvane.qch "Documentation/Orvane DNV Theory Manual.pdf" \
  data/DNVmat.dat data/bfprof.dat; do
  [ -s "$app/$f" ] || fail "missing $f"
done
[ -s "$root/usr/share/applications/orvane-dnv.desktop" ] || fail "missing desktop entry"
in_root fc-match arial | grep -q "Liberation Sans" || fail "arial is not Liberation Sans"
in_root fc-match "DejaVu Sans" | grep -q "DejaVu Sans" || fail "the windows' face is missing"
mkdir -p "$build/fresh-root/package"
cp "$root"/home/engineer/shots/mode?.png "$build/fresh-root/package/"
echo "package check passed: installed on Debian 12, checked, reported and drawn as a user"
