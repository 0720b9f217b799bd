#!/bin/sh
# Peak resident memory of the streaming outputs, which must stay under 64 MB
# for any size: `sweep --json` over POINTS grid points, `optimize --json`,
# and `orvane-report` of a project with a POINTS-row NAME.loads.csv. Then
# the Load cases window (orvane_gui_bench, offscreen, when it is beside
# orvane-cli) viewing that table, against the window alone: the view must
# add the same few MB for any size.
#
#   bench/memory_bound.sh [ORVANE_CLI] [POINTS] [JOBS]
#
# Defaults: build-ci/bin/orvane-cli, 10000000 points, 2 jobs; orvane-report
# is taken from beside orvane-cli (left out when it is not there). The
# output is counted as it goes by (about 300 bytes a point), not kept; the
# load table goes to a temporary folder (TMPDIR, about 30 bytes a row).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build-ci/bin/orvane-cli}
points=${2:-10000000}
jobs=${3:-2}
data=$root/data
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

# measure NAME COMMAND...: wall seconds and peak resident memory
measure() {
  name=$1
  shift
  lines=$( (/usr/bin/time -f '%e %M' -o "$tmp/time" "$@" 2>/dev/null || [ $? -eq 1 ]) | wc -l)
  tail -n 1 "$tmp/time" | awk -v name="$name" -v lines="$lines" '{
    printf "%-28s %10d lines %8.1f s  peak rss %6.1f MB  %s\n", name, lines, $1, $2 / 1024,
      (bound == 0) ? "" : ($2 < bound * 1024) ? "(under " bound " MB)" : "(OVER " bound " MB)" }' \
    bound="${bound:-64}"
}

# t from 10 to 30 in POINTS steps
step=$(awk -v n="$points" 'BEGIN { printf "%.12g", 20 / (n - 1) }')
measure "sweep --json $points" "$cli" sweep --vary "t=10:30:$step" --json --jobs "$jobs" \
  --data "$data"
measure "optimize --json" "$cli" optimize --free t=10:30:0.01 --free ring=all --json --top 10000 \
  --jobs "$jobs" --data "$data"

report=$(dirname "$cli")/orvane-report
if [ -x "$report" ]; then
  "$cli" new -o "$tmp/leg.cys" --data "$data"
  "$root/bench/make_loads.sh" "$points" > "$tmp/leg.loads.csv"
  measure "orvane-report $points rows" "$report" "$tmp/leg.cys" -o "$tmp/leg.pdf" --data "$data"
fi

gui=$(dirname "$cli")/orvane_gui_bench
if [ -x "$gui" ]; then
  [ -f "$tmp/leg.loads.csv" ] || "$root/bench/make_loads.sh" "$points" > "$tmp/leg.loads.csv"
  bound=0
  measure "window alone" env QT_QPA_PLATFORM=offscreen "$gui" \
    --benchmark_filter=BM_FirstWindowResidentMemory
  measure "window viewing $points rows" env QT_QPA_PLATFORM=offscreen \
    ORVANE_BENCH_LOADS="$tmp/leg.loads.csv" "$gui" --benchmark_filter=BM_LoadCasesViewOfLongFile
fi
