#!/bin/sh
# The real Letterwire window under Xvfb, driven with xdotool as a person would:
# type 36 into the size box, click the angle slider's track, then Cancel. Each
# action must change the preview's pixels. Also: "JW a.txt" must report its
# failure in a message box and end with a non-zero status.
#   real_window_test.sh <Letterwire binary> <artifact directory>
set -u
program=$1
artifacts=$2
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool missing"; exit 77; }
done
mkdir -p "$artifacts"
work=$(mktemp -d)
xvfb_pid="" app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

display=""
for n in $(seq 101 199); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no free display"
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
unset QT_QPA_PLATFORM
i=0
until xdotool getdisplaygeometry >/dev/null 2>&1; do
  i=$((i + 1)); [ $i -gt 50 ] && fail "Xvfb did not start"; sleep 0.1
done

caption="アウトラインフォント書きこみ"
window=""
wait_window() { # name -> window id
  i=0
  while :; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    i=$((i + 1)); [ $i -gt 100 ] && return 1; sleep 0.1
  done
}
# The preview's drawing area, as RGB bytes hashed: window + picSmpl + 2 px frame.
preview_hash() {
  sleep 0.4
  import -window root "$work/screen.png" || fail "screenshot"
  convert "$work/screen.png" -crop "461x301+$((wx + 18))+$((wy + 138))" +repage rgb:- | md5sum | cut -d' ' -f1
}

"$program" >"$work/app.out" 2>&1 &
app_pid=$!
window=$(wait_window "$caption") || fail "window did not appear"
eval "$(xdotool getwindowgeometry --shell "$window")"
wx=$X wy=$Y
xdotool windowfocus --sync "$window" 2>/dev/null
first=$(preview_hash)

# Size box at (104, 80), 33 x 19.
xdotool mousemove $((wx + 120)) $((wy + 89)) click 1
xdotool key ctrl+a type --delay 50 36
after_size=$(preview_hash)
[ "$after_size" != "$first" ] || fail "typing 36 into the size box left the preview as it was"
cp "$work/screen.png" "$artifacts/real_window_size36.png"

# Angle slider at (264, 104), 113 x 17; its track lies in the top rows, above the ticks.
xdotool mousemove $((wx + 264 + 108)) $((wy + 108)) click 1
after_angle=$(preview_hash)
[ "$after_angle" != "$after_size" ] || fail "clicking the angle slider left the preview as it was"
cp "$work/screen.png" "$artifacts/real_window.png"

# Cancel at (272, 456), 73 x 25: the program ends at once, with status 0.
xdotool mousemove $((wx + 308)) $((wy + 468)) click 1
i=0
while kill -0 "$app_pid" 2>/dev/null; do
  i=$((i + 1)); [ $i -gt 50 ] && fail "Cancel did not end the program"; sleep 0.1
done
wait "$app_pid"; status=$?; app_pid=""
[ "$status" -eq 0 ] || fail "Cancel ended with status $status"

# "JW" with one path: the load fails, a report is shown, the status is non-zero.
"$program" JW a.txt >"$work/jw.out" 2>"$work/jw.err" &
app_pid=$!
report=$(wait_window "^Letterwire$") || fail "no failure report appeared"
import -window root "$artifacts/real_window_failure.png"
xdotool windowfocus --sync "$report" 2>/dev/null
xdotool key Return
i=0
while kill -0 "$app_pid" 2>/dev/null; do
  i=$((i + 1)); [ $i -gt 50 ] && fail "the failure report did not end the program"; sleep 0.1
done
wait "$app_pid"; status=$?; app_pid=""
[ "$status" -ne 0 ] || fail "a failed start ended with status 0"
grep -q "Subscript out of range" "$work/jw.err" || fail "the report is not on standard error"
echo "PASS: preview changed after each action; screenshots in $artifacts"
