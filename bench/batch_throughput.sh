#!/bin/sh
# Throughput of orvane-cli batch, CSV in to CSV out, and its resident memory:
#   - an unstiffened cylinder, four stress columns (target 1,000,000 rows/s on 2 cores)
#   - the stringer-stiffened defaults with ring checks (target 200,000 rows/s)
#   - the resident memory of a BIG-row table (target under 64 MB)
#
#   bench/batch_throughput.sh [ORVANE_CLI] [ROWS] [JOBS] [BIG]
#
# Defaults: build-ci/bin/orvane-cli, 1000000 rows, 2 jobs, BIG 10000000. Each
# figure is the best of three runs (the machine may be shared: compare the
# CPU seconds too, which other programs do not inflate). Tables go to a
# temporary folder (TMPDIR), about 30 bytes a row.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build-ci/bin/orvane-cli}
rows=${2:-1000000}
jobs=${3:-2}
big=${4:-10000000}
data=$root/data
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

"$cli" new -o "$tmp/unstiffened.cys" --set cyltype=0 --data "$data"
"$cli" new -o "$tmp/stringer.cys" --data "$data"
"$root/bench/make_loads.sh" "$rows" > "$tmp/loads.csv"

# measure NAME PROJECT TABLE ROWS
measure() {
  best=""
  for _ in 1 2 3; do
    # exit 1 (some case above its allowable value) is a normal outcome here
    /usr/bin/time -f '%e %U %S %M' -o "$tmp/time" \
      "$cli" batch "$2" "$3" --jobs "$jobs" --data "$data" -o "$tmp/out.csv" 2>/dev/null ||
      [ $? -eq 1 ]
    line=$(tail -n 1 "$tmp/time")
    best=$(printf '%s\n%s\n' "$best" "$line" | awk 'NF' | sort -n | head -n 1)
  done
  echo "$best" | awk -v n="$4" -v name="$1" '{
    printf "%-34s %9d rows %6.2f s %9.0f rows/s  cpu %5.2f s (%4.0f ns/row)  rss %5.1f MB\n",
      name, n, $1, n / $1, $2 + $3, ($2 + $3) * 1e9 / n, $4 / 1024 }'
}

echo "$(nproc) cores, jobs $jobs; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
measure "unstiffened, 4 stresses" "$tmp/unstiffened.cys" "$tmp/loads.csv" "$rows"
measure "stringer-stiffened + ring checks" "$tmp/stringer.cys" "$tmp/loads.csv" "$rows"
if [ "$big" -gt 0 ]; then
  "$root/bench/make_loads.sh" "$big" > "$tmp/big.csv"
  rm -f "$tmp/loads.csv"
  measure "unstiffened, big table" "$tmp/unstiffened.cys" "$tmp/big.csv" "$big"
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
