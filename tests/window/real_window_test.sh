#!/bin/sh
# The real Letterwire window under Xvfb, driven with xdotool as a person would:
# type 36 into the size box, click each slider's strip below its groove, then
# Cancel. Each action must change the preview's pixels. Also: "JW a.txt" and
# "JW" with a missing command file must report in a message box at start and
# end with a non-zero status.
#   real_window_test.sh <Letterwire binary> <artifact directory>
set -u
program=$1
artifacts=$2
# shellcheck source=../xvfb.sh
. "$(dirname "$0")/../xvfb.sh"
xvfb_require convert
mkdir -p "$artifacts"
xvfb_start

# The preview's drawing area of the last screenshot (window + picSmpl + 2 px
# frame), written as the arguments ask.
preview_area() { convert "$work/screen.png" -crop "461x301+$((wx + 18))+$((wy + 138))" +repage "$@"; }

preview_hash() {
  screenshot "$work/screen.png"
  preview_area rgb:- | md5sum | cut -d' ' -f1
}

# Prints the preview's hash once it shows text (more than one colour) and
# holds still for a second look, so a repaint is never caught half done; 1
# after 100 looks (some 20 s).
preview_settled() {
  i=0 last=""
  while :; do
    now=$(preview_hash)
    if [ "$now" = "$last" ] && [ "$(preview_area -format %k info:)" -gt 1 ]; then
      echo "$now"; return 0
    fi
    last=$now
    i=$((i + 1)); [ $i -gt 100 ] && return 1; sleep 0.1
  done
}

# old -> the settled hash once the preview differs from old; 1 when it still
# shows old after 100 looks.
preview_changed_from() {
  i=0
  while [ "$(preview_hash)" = "$1" ]; do
    i=$((i + 1)); [ $i -gt 100 ] && return 1; sleep 0.1
  done
  preview_settled
}

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
