#!/bin/sh
# A line in a stroke font against the outline of the same text, whole runs
# of letterwire-cli dxf side by side: the CPU time of each (perf's task
# clock, in milliseconds), the best of a few runs, and their
# ratio (goal: the stroke line at most half the outline's). The stroke font
# is read whole in every run; bench/core/stroke_bench gives the work after it.
#   bench/stroke.sh [build directory] [runs] [stroke font] [text]
set -eu
build=${1:-build}
runs=${2:-7}
face=${3:-kst32b}
text=${4:-編集テキスト}
cli="$build/cli/letterwire-cli"
[ -x "$cli" ] || { echo "build letterwire-cli first ($cli)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The best CPU milliseconds of the runs of "$@".
best() {
  i=0
  while [ "$i" -lt "$runs" ]; do
    perf stat -x, -e task-clock -o "$work/time" "$cli" dxf "$work/o.dxf" --text "$text" "$@" 2>/dev/null
    awk -F, '/task-clock/ { print $1 }' "$work/time"
    i=$((i + 1))
  done | sort -n | head -1
}
outline=$(best)
stroke=$(best --stroke-font "$face")
awk -v o="$outline" -v s="$stroke" -v f="$face" -v t="$text" 'BEGIN {
  printf "dxf \"%s\": outline %.1f ms, stroke font %s %.1f ms CPU, ratio %.2f (goal <= 0.5)\n", t, o, f, s, (o > 0 ? s / o : 0)
}'
