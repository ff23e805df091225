#!/bin/sh
# A list of labels as one batch against as many single runs of
# letterwire-cli, side by side in one run: wall time of each and the ratio
# (goal: the batch at least 10x faster for 1,000 rows).
#   bench/batch.sh [build directory] [rows] [dxf|svg]
set -eu
build=${1:-build}
rows=${2:-1000}
format=${3:-dxf}
cli="$build/cli/letterwire-cli"
[ -x "$cli" ] || { echo "build letterwire-cli first ($cli)" >&2; exit 1; }
cli=$(cd "$(dirname "$cli")" && pwd)/letterwire-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/batch" "$work/single"
i=1
while [ "$i" -le "$rows" ]; do
  printf 'plate-%04d.%s,"SN %04d 出口"\n' "$i" "$format" "$i"
  i=$((i + 1))
done >"$work/rows.csv"
now() { date +%s%N; }

start=$(now)
(cd "$work/batch" && "$cli" batch ../rows.csv)
batch=$(( $(now) - start ))

start=$(now)
(cd "$work/single" && i=1 && while [ "$i" -le "$rows" ]; do
  n=$(printf %04d "$i")
  "$cli" "$format" "plate-$n.$format" --text "SN $n 出口"
  i=$((i + 1))
done)
single=$(( $(now) - start ))

# The two must have written the same files.
diff -r "$work/batch" "$work/single" >/dev/null || { echo "batch and single runs differ" >&2; exit 1; }
awk -v rows="$rows" -v b="$batch" -v s="$single" 'BEGIN {
  printf "%d rows: batch %.3f s (%.2f ms a row), single runs %.3f s (%.2f ms a row), ratio %.1fx (goal >= 10)\n",
         rows, b / 1e9, b / 1e6 / rows, s / 1e9, s / 1e6 / rows, s / b }'
