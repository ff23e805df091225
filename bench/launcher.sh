#!/bin/sh
# What the launcher adds to a start: N starts of a tiny program through the
# launcher against N direct starts, alternating, and the ratio and the
# difference of the medians (goal: under 1 ms more). Then the launcher
# against the least static launcher (minimal_launcher.c), both starting the
# tiny program by its name from its own directory (guard: at most 1.10x).
#   bench/launcher.sh [build directory] [runs]
set -eu
build=${1:-build}
runs=${2:-400}
timer="$build/bench/process/spawn_timer"
tiny="$build/bench/process/tiny_program"
launcher="$build/launcher/launcher"
least="$build/bench/process/minimal_launcher"
for f in "$timer" "$tiny" "$launcher" "$least"; do
  [ -x "$f" ] || { echo "build spawn_timer, tiny_program, minimal_launcher and launcher first ($f)" >&2; exit 1; }
done
absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
timer=$(absolute "$timer")
tiny=$(absolute "$tiny")
launcher=$(absolute "$launcher")
least=$(absolute "$least")
echo "== through the launcher against a direct start"
"$timer" "$runs" "through the launcher" "direct" -- "$launcher" "$tiny" -- "$tiny"
echo "== the launcher against the least static launcher (guard: at most 1.10x)"
cd "$(dirname "$tiny")"
"$timer" "$runs" "launcher" "least static launcher" -- "$launcher" tiny_program -- "$least" tiny_program
