#!/bin/sh
# The CPU a keystroke costs: window_bench's keystroke (the process's CPU
# time, the preview's fill thread included) against the same keystroke in a
# stock line edit dressed as the text box, on xcb under an Xvfb of its own,
# where both flush to an X server. Each round runs every build given in turn,
# so a second build (the one before a change) is read beside the first in
# the same minutes. Prints each round's CPU per key in µs and the ratio to
# the stock edit (goal: <= 1.3), then the medians over the rounds.
#   bench/keystroke_cpu.sh [rounds] build-directory...
set -eu
rounds=${1:-5}
shift || true
[ $# -gt 0 ] || set -- build
for build in "$@"; do
  [ -x "$build/bench/window/window_bench" ] || { echo "build window_bench first ($build)" >&2; exit 1; }
done
# shellcheck source=../tests/xvfb.sh
. "$(dirname "$0")/../tests/xvfb.sh"
xvfb_require
xvfb_start
export QT_QPA_PLATFORM=xcb

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-5s %-28s %9s %9s %9s %7s %7s\n' round build "24 pt" "144 pt" "stock" "24/st" "144/st"
: >"$work/all"
for r in $(seq 1 "$rounds"); do
  for build in "$@"; do
    "$build/bench/window/window_bench" --benchmark_format=csv 2>/dev/null |
      awk -F, -v r="$r" -v b="$build" '
        $1 ~ /keystrokeRedraw\/24\// { a = $4 }
        $1 ~ /keystrokeRedraw\/144\// { c = $4 }
        $1 ~ /sizedEditKeystroke/ { s = $4 }
        END { printf "%-5s %-28s %9.1f %9.1f %9.1f %7.2f %7.2f\n", r, b, a, c, s, a / s, c / s }' |
      tee -a "$work/all"
  done
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "medians over the rounds (CPU µs per key; ratios to the stock edit, goal <= 1.3):"
for build in "$@"; do
  for col in 3 4 5 6 7; do
    awk -v b="$build" -v c="$col" '$2 == b { print $c }' "$work/all" | sort -n |
      awk '{ t[NR] = $1 } END { printf " %s", (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2 }'
  done | awk -v b="$build" '{ printf "%-34s 24 pt %s, 144 pt %s, stock %s; ratio %s, %s\n", b, $1, $2, $3, $4, $5 }'
done
