#!/bin/sh
# What the launcher adds to a start: N starts of a tiny program through the
# launcher against N direct starts, alternating, and the ratio and the
# difference of the medians (goal: under 1 ms more).
#   bench/launcher.sh [build directory] [runs]
set -eu
build=${1:-build}
runs=${2:-400}
timer="$build/bench/process/spawn_timer"
tiny="$build/bench/process/tiny_program"
launcher="$build/launcher/launcher"
for f in "$timer" "$tiny" "$launcher"; do
  [ -x "$f" ] || { echo "build spawn_timer, tiny_program and launcher first ($f)" >&2; exit 1; }
done
tiny=$(cd "$(dirname "$tiny")" && pwd)/$(basename "$tiny")
"$timer" "$runs" "through the launcher" "direct" -- "$launcher" "$tiny" -- "$tiny"
