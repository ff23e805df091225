#!/bin/sh
# A keystroke at the end of a long text: Letterwire's text box and preview
# against a stock line edit of the text box's size and face (481 x 57, the
# design face at 24 pt) holding the same text, CPU time per keystroke, in
# one process on the offscreen platform, blocks taken in turn. Prints the
# medians, the 90th percentiles and their ratios (goal: median <= 1.3).
#   bench/long_text.sh [build directory] [keystrokes] [characters] [points]
set -eu
build=${1:-build}
keystrokes=${2:-200}
characters=${3:-32000}
points=${4:-144}
probe="$build/bench/window/long_text_probe"
# The allocator keeps what it frees and takes no fresh pages per keystroke:
# otherwise whether one window's large arrays come from the heap or from the
# system depends on what the other allocated before, and the readings of
# the same build swing by half (page faults are dear on a virtual machine).
export MALLOC_TRIM_THRESHOLD_=1073741824 MALLOC_MMAP_THRESHOLD_=1073741824
[ -x "$probe" ] || { echo "build long_text_probe first ($probe)" >&2; exit 1; }
"$probe" "$keystrokes" "$characters" "$points"
echo "goal: ratio of the medians <= 1.3"
