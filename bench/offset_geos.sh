#!/bin/sh
# The offset beside GEOS's buffer (through shapely) on the very same merged
# polygons of the default text, round joins with as many points to a circle,
# in one run: CPU seconds of each (the best of the rounds), their ratio
# (goal: at most 1.0x), from 10 to 10,000 characters at 24 pt and from 1 to
# 1,000 pt at 100 characters.
#   bench/offset_geos.sh [build directory] [rounds] [offset mm]
set -eu
build=${1:-build}
rounds=${2:-3}
offset=${3:-0.1}
bench="$build/bench/core/offset_bench"
here=$(dirname "$0")
[ -x "$bench" ] || { echo "build offset_bench first ($bench)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%10s %6s %10s %12s %10s %7s\n' characters points vertices "Letterwire s" "GEOS s" ratio
row() {
  # GEOS takes tens of seconds a round at 10,000 characters: one round there.
  r=$rounds
  [ "$1" -ge 10000 ] && r=1
  set -- "$1" "$2" $("$bench" "$1" "$2" "$offset" "$r" "$work/shapes")
  mine=$8 vertices=$4
  geos=$(/usr/bin/python3 "$here/offset_geos.py" "$work/shapes" "$r" | cut -d' ' -f1)
  awk -v n="$1" -v p="$2" -v v="$vertices" -v a="$mine" -v b="$geos" 'BEGIN {
    printf "%10d %6s %10d %12.4f %10.4f %6.2fx\n", n, p, v, a, b, a / b }'
}
for n in 10 100 1000 10000; do row "$n" 24; done
for p in 1 8 144 1000; do row 100 "$p"; done
echo "--offset $offset mm; goal: ratio <= 1.0"
