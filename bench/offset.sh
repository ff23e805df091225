#!/bin/sh
# The offset's cost against the length of the text: --offset 0.5 at 144 pt
# on 390 and on 3,900 characters, side by side in one run, CPU time of each
# (the best of a few runs) and their ratio (goal: at most 10x for 10x the
# characters, the cost linear in the contours).
#   bench/offset.sh [build directory] [runs] [text]
set -eu
build=${1:-build}
runs=${2:-3}
piece=${3:-編集テキスト}
cli="$build/cli/letterwire-cli"
[ -x "$cli" ] || { echo "build letterwire-cli first ($cli)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The text repeated to a number of characters (awk may count bytes).
text() { python3 -c 'import sys; p, n = sys.argv[1], int(sys.argv[2]); print((p * n)[:n])' "$piece" "$1"; }
# The best CPU seconds (user + system) of the runs.
best() {
  t=$(text "$1")
  i=0
  while [ "$i" -lt "$runs" ]; do
    /usr/bin/time -f "%U %S" -o "$work/time" "$cli" dxf "$work/o.dxf" --size 144 --offset 0.5 --text "$t" 2>/dev/null
    awk '{ print $1 + $2 }' "$work/time"
    i=$((i + 1))
  done | sort -n | head -1
}
short=$(best 390)
long=$(best 3900)
awk -v s="$short" -v l="$long" 'BEGIN {
  printf "--offset 0.5 at 144 pt: 390 characters %.2f s, 3,900 characters %.2f s CPU, ratio %.1fx (goal <= 10)\n",
         s, l, l / s }'
