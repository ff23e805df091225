#!/bin/sh
# Cold start of `letterwire-cli capture` (the default text) against the least
# program that does the same work with FreeType and fontconfig (resolve the
# face, load and decompose the same glyphs), alternating, and the ratio of the
# medians (goal: at most 1.05).
#   bench/cold_start.sh [build directory] [runs]
set -eu
build=${1:-build}
runs=${2:-200}
timer="$build/bench/process/spawn_timer"
peer="$build/bench/process/minimal_ft_capture"
cli="$build/cli/letterwire-cli"
for f in "$timer" "$peer" "$cli"; do
  [ -x "$f" ] || { echo "build spawn_timer, minimal_ft_capture and letterwire-cli first ($f)" >&2; exit 1; }
done
"$timer" "$runs" "letterwire-cli capture" "FreeType + fontconfig minimum" -- "$cli" capture -- "$peer"
