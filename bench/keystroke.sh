#!/bin/sh
# Time from a key press to the preview on screen: on its own Xvfb, from an
# XTest key press to the X Damage of Letterwire's preview, against the echo of
# a bare Qt line edit (the Damage of its window) in the same run, with 20
# kanji in all, at 24 and at 144 pt. Prints the medians, the 90th
# percentiles and their ratios (goals: median <= 1.2, p90 <= 1.5). A third
# window, the same bare edit at the size, face and colour of Letterwire's
# text box, shows what that box costs on its own; the last column is
# Letterwire against it (goals: median <= 1.05, p90 <= 1.15).
#   bench/keystroke.sh [build directory] [keystrokes]
set -eu
build=${1:-build}
keystrokes=${2:-200}
probe="$build/bench/window/keystroke_probe"
bare="$build/bench/window/bare_window"
letterwire="$build/window/qt/Letterwire"
for f in "$probe" "$bare" "$letterwire"; do
  [ -x "$f" ] || { echo "build keystroke_probe, bare_window and Letterwire first ($f)" >&2; exit 1; }
done
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool missing" >&2; exit 1; }
done
text="漢字変換機能設計図面作成編集文字列出力確認"

work=$(mktemp -d)
xvfb_pid="" app_pid="" bare_pid="" sized_pid=""
cleanup() {
  for pid in $app_pid $bare_pid $sized_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# -noreset: a server that resets when a client leaves refuses the next one
# for a moment. 96 dpi: the positions below are the window's at 96 dpi.
for n in $(seq 201 299); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
    Xvfb ":$n" -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    i=0
    until xdotool getdisplaygeometry >/dev/null 2>&1; do
      i=$((i + 1)); [ $i -gt 50 ] && { echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }; sleep 0.1
    done
    break
  fi
done
[ -n "$xvfb_pid" ] || { echo "no free display" >&2; exit 1; }
unset QT_QPA_PLATFORM
XDG_RUNTIME_DIR="$work/runtime"
export XDG_RUNTIME_DIR
mkdir -m 700 "$XDG_RUNTIME_DIR"
# Settings of its own: Letterwire starts with the design's text box (the face
# at 24 pt, as the sized edit), whatever an earlier run or the user chose,
# and what this run sets (the sizes below) is not remembered for them.
XDG_CONFIG_HOME="$work/config"
export XDG_CONFIG_HOME
mkdir "$XDG_CONFIG_HOME"

# pid -> its visible window, within 10 s
window_of() {
  i=0
  while :; do
    id=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    i=$((i + 1)); [ $i -gt 100 ] && { echo "no window of process $1" >&2; return 1; }; sleep 0.1
  done
}

"$letterwire" >"$work/letterwire.log" 2>&1 &
app_pid=$!
"$bare" --stay >"$work/bare.log" 2>&1 &
bare_pid=$!
"$bare" --stay --design >"$work/sized.log" 2>&1 &
sized_pid=$!
app=$(window_of "$app_pid")
edit=$(window_of "$bare_pid")
sized=$(window_of "$sized_pid")
# No window manager: both open at the origin. Side by side, neither hides
# the other's damage.
xdotool windowmove "$edit" 600 100
xdotool windowmove "$sized" 520 250
eval "$(xdotool getwindowgeometry --shell "$edit")"
edit_w=$WIDTH edit_h=$HEIGHT

# Letterwire's client area is at the screen's origin; positions in its pixels.
click() { xdotool mousemove "$1" "$2" click 1; }
xdotool windowfocus --sync "$app"
click 240 36
xdotool key ctrl+a type --delay 20 "$text"
for window in "$edit" "$sized"; do
  xdotool windowfocus --sync "$window"
  xdotool key ctrl+a type --delay 20 "$text"
  xdotool key End
done

# The preview's drawing area (x 18, y 138, 461 x 301) once it holds still.
preview() {
  i=0 last=""
  while :; do
    import -window root "$work/screen.png"
    now=$(convert "$work/screen.png" -crop 461x301+18+138 +repage rgb:- | md5sum)
    [ "$now" = "$last" ] && { echo "$now"; return 0; }
    last=$now
    i=$((i + 1)); [ $i -gt 50 ] && { echo "the preview did not hold still" >&2; return 1; }; sleep 0.1
  done
}

samples="$work/samples"
: >"$samples"
for size in 24 144; do
  xdotool windowfocus --sync "$app"
  click 120 89
  xdotool key ctrl+a type --delay 50 "$size"
  # Back in the text box, at the end of the text.
  click 240 36
  xdotool key End
  before=$(preview)
  "$probe" "$keystrokes" letterwire "$app" 18 138 461 301 bare "$edit" 0 0 "$edit_w" "$edit_h" \
    sized "$sized" 0 0 481 57 >"$work/run" ||
    { echo "the probe failed at $size pt" >&2; exit 1; }
  # An even number of keys leaves the text, and so the preview, as it was;
  # a text box that had selected all on a change of focus would not.
  [ "$(preview)" = "$before" ] || { echo "the preview changed over the run at $size pt" >&2; exit 1; }
  sed "s/^/$size /" "$work/run" >>"$samples"
done

# size label -> "median p90" in ms (p90: the nearest rank)
stats() {
  awk -v s="$1" -v l="$2" '$1 == s && $2 == l { print $4 }' "$samples" | sort -n |
    awk '{ t[NR] = $1 } END {
      m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
      r = int(0.9 * NR); if (r < 0.9 * NR) r++
      printf "%.3f %.3f", m / 1000, t[r] / 1000 }'
}
echo "platform: xcb on Xvfb $DISPLAY, $keystrokes keystrokes per case and window (kanji and BackSpace"
echo "alternately, 20 kanji in the text), in blocks taken in turn; key press to Damage, ms, median / p90"
printf '%-7s %13s %13s %13s %13s %13s\n' case Letterwire "bare edit" "ratio" "sized edit" "ratio to it"
for size in 24 144; do
  # shellcheck disable=SC2046 # two words each
  set -- $(stats "$size" letterwire) $(stats "$size" bare) $(stats "$size" sized)
  awk -v c="$size pt" -v a="$1" -v b="$2" -v x="$3" -v y="$4" -v u="$5" -v v="$6" 'BEGIN {
    printf "%-7s %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f\n",
      c, a, b, x, y, a / x, b / y, u, v, a / u, b / v }'
done
echo "goals: ratio to the bare edit, median <= 1.2 and p90 <= 1.5;"
echo "       ratio to the sized edit, median <= 1.05 and p90 <= 1.15"
