#!/bin/sh
# Big drawings: `dxf` of a long line at 144 pt against the least program
# that writes the same closed LWPOLYLINEs (bench/process/minimal_dxf_writer,
# which reads them from the drawing first, untimed), side by side in one
# run: CPU seconds of each (the best of the runs), their ratio (goal: at
# most 2x at 5 million vertices), and the CLI's peak resident memory per
# vertex written (goal: at most 16 bytes).
#   bench/big_drawing.sh [build directory] [runs] [characters ...]
set -eu
build=${1:-build}
runs=${2:-3}
shift 2 2>/dev/null || shift $#
[ $# -gt 0 ] || set -- 2500 12500 25000
cli="$build/cli/letterwire-cli"
writer="$build/bench/process/minimal_dxf_writer"
[ -x "$cli" ] && [ -x "$writer" ] || { echo "build letterwire-cli and minimal_dxf_writer first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
piece="編集テキストのアウトラインを書きこみます。Letterwire 2026 漢字かなカナABC"
printf '%10s %10s %9s %9s %7s %9s %9s\n' characters vertices "dxf s" "writer s" ratio "peak MB" "B/vertex"
for n in "$@"; do
  text=$(python3 -c 'import sys; p, n = sys.argv[1], int(sys.argv[2]); print((p * n)[:n])' "$piece" "$n")
  best_cli= best_writer= peak=
  i=0
  while [ "$i" -lt "$runs" ]; do
    /usr/bin/time -f "%U %S %M" -o "$work/time" "$cli" dxf "$work/o.dxf" --size 144 --text "$text"
    set -- $(cat "$work/time")
    t=$(awk -v u="$1" -v s="$2" 'BEGIN { print u + s }')
    peak=$3
    set -- $("$writer" "$work/o.dxf" "$work/m.dxf")
    w=$1 vertices=$2
    best_cli=$(awk -v a="$t" -v b="${best_cli:-$t}" 'BEGIN { print (a < b ? a : b) }')
    best_writer=$(awk -v a="$w" -v b="${best_writer:-$w}" 'BEGIN { print (a < b ? a : b) }')
    i=$((i + 1))
  done
  awk -v n="$n" -v v="$vertices" -v c="$best_cli" -v w="$best_writer" -v m="$peak" 'BEGIN {
    printf "%10d %10d %9.3f %9.3f %6.2fx %9.1f %9.1f\n", n, v, c, w, c / w, m / 1024, m * 1024 / v }'
done
echo "goals: ratio <= 2 at 5 million vertices; <= 16 bytes per vertex"
