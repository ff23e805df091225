# Shared by the real-window scripts (sourced, POSIX sh): a private Xvfb, the
# Letterwire window found by its caption, clicks at design positions, and
# waits that give up after a bound instead of hanging the suite.
#
#   . "$(dirname "$0")/../xvfb.sh"
#   xvfb_require convert      # exits 77 (skip) when a tool is missing
#   xvfb_start                # sets DISPLAY; $work is a scratch directory
#   app_pid=...; window=$(wait_window "$caption") || fail ...
#   window_origin "$window"; click 140 468
#
# Everything started here is ended on exit by its own id: the Xvfb and the
# program in $app_pid.

# shellcheck disable=SC2034 # read by the scripts that source this
caption="アウトラインフォント書きこみ"
work="" xvfb_pid="" app_pid=""

fail() { echo "FAIL: $*"; exit 1; }

xvfb_cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$work" ] && rm -rf "$work"
}

xvfb_require() {
  for tool in Xvfb xdotool import "$@"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool missing"; exit 77; }
  done
  work=$(mktemp -d)
  trap xvfb_cleanup EXIT
  trap 'exit 1' INT TERM
}

# A free display, tried one number after another from a point that differs
# between scripts run side by side. The server takes the display's lock
# before it makes a socket, so of two that race for a number one ends; ours is
# ready when the lock names it and it answers. -noreset: a server that resets
# when its last client leaves refuses the next one for a moment. 96 dpi: the
# window's twips per pixel is then 15, the front end's default.
xvfb_start() {
  n=$((100 + $$ % 400)) tries=0
  while :; do
    tries=$((tries + 1)); [ $tries -gt 50 ] && fail "no free display"
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      Xvfb ":$n" -screen 0 800x600x24 -dpi 96 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
      xvfb_pid=$!
      i=0
      while kill -0 "$xvfb_pid" 2>/dev/null; do
        if [ "$( { tr -d ' \n' <"/tmp/.X$n-lock"; } 2>/dev/null)" = "$xvfb_pid" ] &&
           DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1; then
          DISPLAY=":$n"
          export DISPLAY
          unset QT_QPA_PLATFORM
          XDG_RUNTIME_DIR="$work/runtime"
          export XDG_RUNTIME_DIR
          mkdir -m 700 "$XDG_RUNTIME_DIR"
          return 0
        fi
        i=$((i + 1)); [ $i -gt 200 ] && fail "Xvfb did not start on :$n: $(cat "$work/xvfb.log")"
        sleep 0.05
      done
      wait "$xvfb_pid"; xvfb_pid=""
    fi
    n=$((n + 1))
  done
}

# name pattern -> id of the first visible window, within 10 s
wait_window() {
  i=0
  while :; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    i=$((i + 1)); [ $i -gt 100 ] && return 1; sleep 0.1
  done
}

# Sets wx, wy: the client area's top-left on the screen (Xvfb has no
# window manager, so no frame lies between).
window_origin() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  wx=$X wy=$Y
  xdotool windowfocus --sync "$1" 2>/dev/null
}

# A real mouse click at a point of the client area, in pixels.
click() { xdotool mousemove $((wx + $1)) $((wy + $2)) click 1; }

# pid seconds -> waits until the process has ended; 1 when it still runs
wait_gone() {
  i=0 limit=$(($2 * 20))
  while kill -0 "$1" 2>/dev/null; do
    i=$((i + 1)); [ $i -gt $limit ] && return 1; sleep 0.05
  done
  return 0
}

# Sets status to that of $app_pid once it has ended within 10 s, and clears
# $app_pid.
app_end() {
  wait_gone "$app_pid" 10 || fail "${1:-the program} did not end"
  # shellcheck disable=SC2034 # read by the scripts that source this
  wait "$app_pid"; status=$?; app_pid=""
}

screenshot() { import -window root "$1" 2>/dev/null || fail "screenshot $1"; }

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

# A sanitizer build reports on standard error and ends with a failure status;
# where a failure status is expected, only this tells the two apart.
no_sanitizer_report() {
  for f in "$@"; do
    [ -f "$f" ] || continue
    ! grep -qE "Sanitizer|runtime error:" "$f" || fail "sanitizer report: $(cat "$f")"
  done
}
