#!/bin/sh
# The functions every cold capture runs lie in the code placed at the front
# of letterwire-cli (cli/start_order.ld). A rename or a moved start leaves
# them behind, scattered again: rerun scripts/cli-start-order.
#   start_order_test.sh LETTERWIRE-CLI
set -eu
cli=$1
range=$(readelf -SW "$cli" | awk '$2 == ".text.start_order" { print $4, $6 }')
[ -n "$range" ] || { echo "no .text.start_order section in $cli" >&2; exit 1; }
set -- $range
start=$((0x$1))
end=$((0x$1 + 0x$2))
status=0
# Names up to their parameters, so a changed signature still matches.
for symbol in main _ZN2lw3cli12parseOptions _ZN2lw16writeCaptureJson _ZN2lw11resolveFace; do
  address=$(nm "$cli" | awk -v s="$symbol" '($3 == s || index($3, s "E") == 1) && $3 !~ /\.cold$/ { print $1; exit }')
  if [ -z "$address" ]; then
    echo "$symbol: not in $cli" >&2
    status=1
  elif [ $((0x$address)) -lt "$start" ] || [ $((0x$address)) -ge "$end" ]; then
    echo "$symbol: outside the start's code; rerun scripts/cli-start-order" >&2
    status=1
  fi
done
exit $status
