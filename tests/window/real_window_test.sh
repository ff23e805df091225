#!/bin/sh
# The real Letterwire window under Xvfb, driven with xdotool as a person would:
# type 36 into the size box, click each slider's strip below its groove, then
# Cancel. Each action must change the preview's pixels. Also: "JW a.txt" and
# "JW" with a missing command file must report in a message box at start and
# end with a non-zero status.
# The fill: in 図回品O at 60 pt every counter shows the background and every
# stroke standing in a hole is ink, where letterwire-cli's capture of the same
# text puts them. F4's tool check marks narrow places and islands, Redraw
# clears them. An edit of the size box that ends shows the size in use.
#   real_window_test.sh <Letterwire binary> <letterwire-cli> <artifact directory>
set -u
program=$1
cli=$2
artifacts=$3
# shellcheck source=../xvfb.sh
. "$(dirname "$0")/../xvfb.sh"
xvfb_require convert
mkdir -p "$artifacts"
xvfb_start
bind_keys 図回品

"$program" >"$work/app.out" 2>&1 &
app_pid=$!
window=$(wait_window "$caption") || fail "window did not appear"
window_origin "$window"
first=$(preview_settled) || fail "the preview showed no text"

# Size box at (104, 80), 33 x 19.
click 120 89
xdotool key ctrl+a type --delay 50 36
after_size=$(preview_changed_from "$first") || fail "typing 36 into the size box left the preview as it was"
cp "$work/screen.png" "$artifacts/real_window_size36.png"

# Angle slider at (264, 104), 113 x 17: a click on its bottom row, among the
# tick marks below the groove, pages it too.
click $((264 + 108)) 120
after_angle=$(preview_changed_from "$after_size") || fail "clicking the angle slider's strip below the groove left the preview as it was"
cp "$work/screen.png" "$artifacts/real_window.png"
# Size slider at (64, 104), 113 x 17: its bottom row, left of the handle.
click $((64 + 4)) 120
preview_changed_from "$after_angle" >/dev/null || fail "clicking the size slider's bottom row left the preview as it was"

# 図回品O at 60 pt (the angle slider is at 45 from its click above):
# counters stay background, strokes in holes are ink. The
# text box at (8, 8), 481 x 57; the size box at (104, 80), 33 x 19.
click 240 36
xdotool key ctrl+a type --delay 50 図回品O
click 120 89
xdotool key ctrl+a type --delay 50 60
"$cli" capture --centre --text 図回品O --size 60 --angle 45 | /usr/bin/python3 "$(dirname "$0")/fill_points.py" >"$work/points" ||
  fail "no points to look at"
[ "$(grep -c ink "$work/points")" -ge 3 ] && [ "$(grep -c background "$work/points")" -ge 3 ] ||
  fail "too few counters and inner strokes to look at: $(cat "$work/points")"
# Each point's pixel and the background's in one look: "x y want got
# background" per point.
format=""
while read -r x y want; do format="$format$x $y $want %[pixel:p{$x,$y}] %[pixel:p{2,2}]\n"; done <"$work/points"
# Sets wrong to the first point that is not as the capture has it.
fill_as_captured() {
  preview_area -format "$format" info: >"$work/pixels"
  while read -r x y want got background; do
    case $want in
      ink) [ "$got" != "$background" ] || { wrong="the stroke at ($x, $y) is not ink"; return 1; } ;;
      background) [ "$got" = "$background" ] ||
        { wrong="the counter at ($x, $y) is $got, not the background $background"; return 1; } ;;
    esac
  done <"$work/pixels"
}
wrong="the preview showed no text"
preview_settled fill_as_captured >/dev/null || fail "$wrong"
cp "$work/screen.png" "$artifacts/real_window_fill.png"

# F4, the tool check: a 3 mm tool is wider than the strokes of 図回品O at
# 60 pt, so once its report is closed the preview shows red discs at the
# narrow places and blue rings on the islands; Redraw clears them.
mark_pixels() { preview_area -fill black +opaque "$1" -fill white -opaque "$1" -format "%[fx:int(mean*w*h+0.5)]" info:; }
marks_shown() {
  screenshot "$work/screen.png"
  [ "$(mark_pixels '#E01010')" -gt 20 ] && [ "$(mark_pixels '#1050E0')" -gt 5 ]
}
marks_gone() { screenshot "$work/screen.png"; [ "$(mark_pixels '#E01010')" -eq 0 ] && [ "$(mark_pixels '#1050E0')" -eq 0 ]; }
report_window() { found=$(xdotool search --onlyvisible --name "^Letterwire$" 2>/dev/null | grep -v "^$asked\$" | head -n 1); [ -n "$found" ]; }
xdotool key F4
asked=$(wait_window "^Letterwire$") || fail "F4 asked for no tool"
xdotool windowfocus --sync "$asked" 2>/dev/null
xdotool key ctrl+a type --delay 50 3
xdotool key Return
poll "$patience" report_window || fail "the tool check told nothing"
xdotool windowfocus --sync "$found" 2>/dev/null
xdotool key Return
wait_closed "^Letterwire$" || fail "the tool check's report did not close"
grep -q "does not fit a 3.000 mm tool" "$work/app.out" || fail "the report does not say the tool does not fit: $(cat "$work/app.out")"
poll "$patience" marks_shown || fail "the tool check marked no narrow place or island"
cp "$work/screen.png" "$artifacts/real_window_tool_check.png"
window_origin "$window"
xdotool key F5
poll "$patience" marks_gone || fail "Redraw left the tool check's marks"

# An edit that ends shows the value in use: 300 in the size box, then Enter,
# shows what 144 shows. At 144 pt the drawing is some 350 pixels wide, at the
# sizes typed on the way (1, 14) far narrower.
click 120 89
xdotool key ctrl+a type --delay 50 144
xdotool key Return
preview_settled drawing_wider_than 300 >/dev/null || fail "the preview did not show 144 pt"
box_144=$(size_box_settled) || fail "the size box did not hold still"
click 120 89
xdotool key ctrl+a type --delay 50 300
xdotool key Return
poll "$patience" size_box_is "$box_144" ||
  fail "after 300 and Enter the size box does not show 144"

# Cancel at (272, 456), 73 x 25: the program ends at once, with status 0.
click 308 468
app_end "after Cancel, the program"
[ "$status" -eq 0 ] || fail "Cancel ended with status $status"

# "JW" with one path: the load fails, a report is shown, the status is non-zero.
"$program" JW a.txt >"$work/jw.out" 2>"$work/jw.err" &
app_pid=$!
report=$(wait_window "^Letterwire$") || fail "no failure report appeared: $(cat "$work/jw.err")"
screenshot "$artifacts/real_window_failure.png"
xdotool windowfocus --sync "$report" 2>/dev/null
xdotool key Return
app_end "after the failure report, the program"
no_sanitizer_report "$work/jw.err"
[ "$status" -ne 0 ] || fail "a failed start ended with status 0"
grep -q "Subscript out of range" "$work/jw.err" || fail "the report is not on standard error"

# "JW" with a command file that is not there: reported at start, with the
# path, before any work; non-zero status.
"$program" JW "$work/none.txt" "$work/out.txt" >"$work/jw.out" 2>"$work/jw.err" &
app_pid=$!
report=$(wait_window "^Letterwire$") || fail "no report of the missing command file appeared: $(cat "$work/jw.err")"
screenshot "$artifacts/real_window_no_command_file.png"
xdotool windowfocus --sync "$report" 2>/dev/null
xdotool key Return
app_end "after the missing command file's report, the program"
no_sanitizer_report "$work/jw.err"
[ "$status" -ne 0 ] || fail "a missing command file ended with status 0"
grep -q "File not found: JW command file $work/none.txt" "$work/jw.err" || fail "the report does not name the command file: $(cat "$work/jw.err")"
[ ! -e "$work/out.txt" ] || fail "an output was written"
echo "PASS: preview changed after each action; screenshots in $artifacts"
