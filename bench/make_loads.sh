#!/bin/sh
# Writes a load table for the batch benchmark: ROWS rows of the four shell
# stresses with a case name, reproducible (a fixed linear congruential
# Park-Miller sequence, exact in any awk, the same on every machine).
#
#   bench/make_loads.sh ROWS [SEPARATOR] > loads.csv
#
# SEPARATOR: comma (default), semicolon (values with decimal commas) or tab.
set -eu
rows=${1:?usage: make_loads.sh ROWS [comma|semicolon|tab]}
sep=${2:-comma}
exec awk -v rows="$rows" -v sep="$sep" 'BEGIN {
  s = (sep == "semicolon") ? ";" : (sep == "tab") ? "\t" : ","
  print "case" s "sigx" s "sigy" s "tau" s "pd"
  x = 12345
  for (i = 1; i <= rows; i++) {
    # stresses in MPa within what a member sees: sigx -50..250, sigy -20..80,
    # tau 0..60, pd 0..0.5
    x = (x * 16807) % 2147483647; a = x / 2147483647
    x = (x * 16807) % 2147483647; b = x / 2147483647
    x = (x * 16807) % 2147483647; c = x / 2147483647
    x = (x * 16807) % 2147483647; d = x / 2147483647
    line = sprintf("LC%d%s%.1f%s%.1f%s%.1f%s%.3f", i, s, -50 + 300 * a, s, -20 + 100 * b, s, 60 * c, s, 0.5 * d)
    if (sep == "semicolon") gsub(/\./, ",", line)
    print line
  }
}'
