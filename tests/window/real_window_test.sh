#!/bin/sh
# The real Letterwire window under Xvfb, driven with xdotool as a person would:
# type 36 into the size box, click the angle slider's track, then Cancel. Each
# action must change the preview's pixels. Also: "JW a.txt" must report its
# failure in a message box and end with a non-zero status.
#   real_window_test.sh <Letterwire binary> <artifact directory>
set -u
program=$1
artifacts=$2
# shellcheck source=../xvfb.sh
. "$(dirname "$0")/../xvfb.sh"
xvfb_require convert
mkdir -p "$artifacts"
xvfb_start

# The preview's drawing area, as RGB bytes hashed: window + picSmpl + 2 px frame.
preview_hash() {
  sleep 0.4
  screenshot "$work/screen.png"
  convert "$work/screen.png" -crop "461x301+$((wx + 18))+$((wy + 138))" +repage rgb:- | md5sum | cut -d' ' -f1
}

"$program" >"$work/app.out" 2>&1 &
app_pid=$!
window=$(wait_window "$caption") || fail "window did not appear"
window_origin "$window"
first=$(preview_hash)

# Size box at (104, 80), 33 x 19.
click 120 89
xdotool key ctrl+a type --delay 50 36
after_size=$(preview_hash)
[ "$after_size" != "$first" ] || fail "typing 36 into the size box left the preview as it was"
cp "$work/screen.png" "$artifacts/real_window_size36.png"

# Angle slider at (264, 104), 113 x 17; its track lies in the top rows, above the ticks.
click $((264 + 108)) 108
after_angle=$(preview_hash)
[ "$after_angle" != "$after_size" ] || fail "clicking the angle slider left the preview as it was"
cp "$work/screen.png" "$artifacts/real_window.png"

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
echo "PASS: preview changed after each action; screenshots in $artifacts"
