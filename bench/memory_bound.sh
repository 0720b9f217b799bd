#!/bin/sh
# Peak resident memory of the streaming outputs, which must stay under 64 MB
# for any size: `sweep --json` over POINTS grid points (JSON Lines to a
# file) and `optimize --json`.
#
#   bench/memory_bound.sh [ORVANE_CLI] [POINTS] [JOBS]
#
# Defaults: build-ci/bin/orvane-cli, 10000000 points, 2 jobs. The output goes
# to a temporary folder (TMPDIR), about 300 bytes a point.
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
  /usr/bin/time -f '%e %M' -o "$tmp/time" "$@" > "$tmp/out" 2>/dev/null || [ $? -eq 1 ]
  tail -n 1 "$tmp/time" | awk -v name="$name" -v lines="$(wc -l < "$tmp/out")" '{
    printf "%-28s %10d lines %8.1f s  peak rss %6.1f MB  %s\n", name, lines, $1, $2 / 1024,
      ($2 < 64 * 1024) ? "(under 64 MB)" : "(OVER 64 MB)" }'
}

# t from 10 to 30 in POINTS steps
step=$(awk -v n="$points" 'BEGIN { printf "%.12g", 20 / (n - 1) }')
measure "sweep --json $points" "$cli" sweep --vary "t=10:30:$step" --json --jobs "$jobs" \
  --data "$data"
measure "optimize --json" "$cli" optimize --free t=10:30:0.01 --free ring=all --json --top 10000 \
  --jobs "$jobs" --data "$data"
