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
# The window's title: the design's Japanese under a Japanese locale, English
# under any other (the pattern is a regular expression for xdotool).
caption="^(アウトラインフォント書きこみ|Outline Font Writer)$"
work="" xvfb_pid="" app_pid=""

# The last screenshot is kept beside the artifacts, to show what the failed
# check saw.
fail() {
  [ -n "${artifacts:-}" ] && [ -f "$work/screen.png" ] && cp "$work/screen.png" "$artifacts/failed_check.png"
  echo "FAIL: $*"
  exit 1
}

xvfb_cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$work" ] && rm -rf "$work"
}

xvfb_require() {
  for tool in Xvfb xdotool xkbcomp import "$@"; do
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
          # The window remembers its font in the settings: each run starts
          # from a store of its own, so from the design.
          XDG_CONFIG_HOME="$work/config"
          export XDG_CONFIG_HOME
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

# characters -> each bound to a key of its own in the server's keymap, for
# xdotool to type with. Left to itself, xdotool binds a spare key for each
# character it types and unbinds it right after; a program that reads the
# key late, on a busy machine, then finds another character or none there,
# and the character is lost. Call before the program starts.
bind_keys() {
  syms=""
  for c in $(printf '%s' "$1" | sed 's/./& /g'); do
    syms="$syms U$(printf '%X' "0x$(printf '%s' "$c" | iconv -f UTF-8 -t UTF-32BE | od -An -tx1 | tr -d ' \n')")"
  done
  xkbcomp -xkb "$DISPLAY" "$work/keymap.xkb" 2>/dev/null || fail "could not read the keymap"
  # Keys the keymap names (<I120> and the like) but binds to nothing.
  awk -v syms="$syms" '
    /^xkb_keycodes/ { part = "codes" } /^xkb_symbols/ { part = "symbols" }
    part == "codes" && /^ *<I[0-9]+> *= *[0-9]+;/ { name = $1; named[name] = 1; order[++n] = name }
    part == "symbols" && /^ *key +</ { used[$2] = 1 }
    part == "symbols" && /^};/ {
      k = split(syms, sym, " ")
      for (i = 1; i <= n && k > 0; i++)
        if (!(order[i] in used)) { printf "    key %s { [ %s ] };\n", order[i], sym[k]; k-- }
      if (k > 0) { print "no free key for " k " characters" > "/dev/stderr"; exit 1 }
    }
    /^};/ { part = "" }
    { print }' "$work/keymap.xkb" >"$work/keymap-bound.xkb" || fail "could not bind keys to $1"
  xkbcomp "$work/keymap-bound.xkb" "$DISPLAY" 2>/dev/null || fail "could not load the keymap"
}

# seconds command [arguments...] -> 0 as soon as the command succeeds, tried
# again every tenth of a second; 1 when it still fails once the seconds are
# over. The command runs in this shell, so what it last saw stays in its
# variables for the failure message. A command must not call poll itself.
poll() {
  poll_end=$(($(date +%s) + $1)); shift
  until "$@"; do
    [ "$(date +%s)" -lt "$poll_end" ] || return 1
    sleep 0.1
  done
}

# The bound of every wait on the program, in seconds: long enough for a
# sanitizer build on a machine busy with other work, short enough that a
# fault is reported instead of hanging the suite.
patience=30

visible_window() { found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1); [ -n "$found" ]; }
no_visible_window() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# name pattern -> id of the first visible window
wait_window() { poll "$patience" visible_window "$1" && echo "$found"; }
# name pattern -> 0 once no such window shows
wait_closed() { poll "$patience" no_visible_window "$1"; }

# Sets wx, wy: the client area's top-left on the screen (Xvfb has no
# window manager, so no frame lies between).
window_origin() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  wx=$X wy=$Y
  xdotool windowfocus --sync "$1" 2>/dev/null
}

# A real mouse click at a point of the client area, in pixels.
click() { xdotool mousemove $((wx + $1)) $((wy + $2)) click 1; }

ended() { ! kill -0 "$1" 2>/dev/null; }
absent() { [ ! -e "$1" ]; }

# pid seconds -> waits until the process has ended; 1 when it still runs
wait_gone() { poll "$2" ended "$1"; }

# Sets status to that of $app_pid once it has ended, and clears $app_pid.
app_end() {
  wait_gone "$app_pid" "$patience" || fail "${1:-the program} did not end"
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

# Checks of the last screenshot's drawing (what differs from the preview's
# corner): whether it touches an edge of the preview, and its width.
drawing_box() { set -- $(preview_area -format '%@' info: | tr 'x+' '  '); dw=$1 dh=$2 dx=$3 dy=$4; }
drawing_reaches_edge() {
  drawing_box
  [ "$dx" -eq 0 ] || [ "$dy" -eq 0 ] || [ $((dx + dw)) -ge 461 ] || [ $((dy + dh)) -ge 301 ]
}
drawing_within_edges() { ! drawing_reaches_edge; }
drawing_wider_than() { drawing_box; [ "$dw" -gt "$1" ]; }

# One look for preview_settled: the preview shows text, the same as at the
# last look, and the check given passes on it.
preview_still() {
  settle_now=$(preview_hash)
  if [ "$settle_now" = "$settle_last" ] && [ "$(preview_area -format %k info:)" -gt 1 ] &&
     { [ $# -eq 0 ] || "$@"; }; then
    return 0
  fi
  settle_last=$settle_now
  return 1
}

# [check...] -> prints the preview's hash once it shows text, holds still
# for a second look (so a repaint is never caught half done) and passes the
# check given; 1 when that does not come within the patience. Where the
# state awaited is known, name it in the check: a still picture alone may be
# one the program has not finished with.
preview_settled() {
  settle_last=""
  poll "$patience" preview_still "$@" && echo "$settle_last"
}

preview_differs() { [ "$(preview_hash)" != "$1" ]; }
preview_is() { [ "$(preview_hash)" = "$1" ]; }

# old -> the settled hash once the preview differs from old; 1 when it still
# shows old.
preview_changed_from() {
  poll "$patience" preview_differs "$1" || return 1
  preview_settled
}

# hash -> 0 once the preview shows it
preview_shows() { poll "$patience" preview_is "$1"; }

# The size box at (104, 80), 33 x 19: its picture's hash, and a wait for a
# picture of it. Its caret blinks while it has the focus, so a picture is
# awaited, never taken from one look.
size_box_hash() {
  screenshot "$work/screen.png"
  convert "$work/screen.png" -crop "33x19+$((wx + 104))+$((wy + 80))" +repage rgb:- | md5sum | cut -d' ' -f1
}
size_box_is() { [ "$(size_box_hash)" = "$1" ]; }
size_box_still() { box_now=$(size_box_hash); [ "$box_now" = "$box_last" ] || { box_last=$box_now; false; }; }
# -> prints the box's hash once two looks agree
size_box_settled() { box_last=""; poll "$patience" size_box_still && echo "$box_last"; }

# A sanitizer build reports on standard error and ends with a failure status;
# where a failure status is expected, only this tells the two apart.
no_sanitizer_report() {
  for f in "$@"; do
    [ -f "$f" ] || continue
    ! grep -qE "Sanitizer|runtime error:" "$f" || fail "sanitizer report: $(cat "$f")"
  done
}
