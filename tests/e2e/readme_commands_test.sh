#!/bin/sh
# The README's first command run as a newcomer runs it, in this clone: with
# no display it exports the default text; on a desktop the window opens,
# shows the text and ends with Cancel. scripts/run builds first, so after the
# release build it has nothing left to build.
#   readme_commands_test.sh [artifact directory]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
artifacts=${1:-$root/build/release/tests/e2e/artifacts}
# shellcheck source=../xvfb.sh
. "$root/tests/xvfb.sh"
xvfb_require convert
mkdir -p "$artifacts"
# install-deps and a build that finds nothing to do come before the window.
patience=180

# Without a display: both files written anew, the picture an SVG a reader
# takes, the JW output holding the sample's lines.
rm -f "$root/out/jw-output.txt" "$root/out/outline.svg"
env -u DISPLAY -u WAYLAND_DISPLAY "$root/scripts/run" >"$work/plain.out" 2>"$work/plain.err" ||
  fail "scripts/run without a display: status $?: $(tail -n 20 "$work/plain.err")"
[ -s "$root/out/jw-output.txt" ] || fail "scripts/run without a display wrote no JW output"
# Every line but "hq" is copied.
tr -d '\r' <"$root/samples/jw-command.txt" | grep -v '^hq' | head -n 1 >"$work/first-line"
head -n 1 "$root/out/jw-output.txt" | tr -d '\r' | cmp -s - "$work/first-line" ||
  fail "the JW output does not start with the command file's first copied line"
/usr/bin/python3 -c '
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
assert root.tag.endswith("svg") and any(e.tag.endswith("path") for e in root.iter())
' "$root/out/outline.svg" || fail "scripts/run without a display wrote no readable SVG"
grep -q "out/outline.svg" "$work/plain.out" || fail "scripts/run did not say where the SVG is: $(cat "$work/plain.out")"

# On a desktop: the window itself.
xvfb_start
"$root/scripts/run" >"$work/window.out" 2>&1 &
app_pid=$!
window=$(wait_window "$caption") || fail "scripts/run opened no window: $(tail -n 20 "$work/window.out")"
window_origin "$window"
preview_settled >/dev/null || fail "the window's preview showed no text"
cp "$work/screen.png" "$artifacts/readme_run_window.png"
# Cancel at (272, 456), 73 x 25.
click 308 468
app_end "after Cancel, the window"
[ "$status" -eq 0 ] || fail "the window ended with status $status: $(tail -n 20 "$work/window.out")"
