#!/bin/sh
# Time from process start to the first preview of Letterwire against the start
# of a bare Qt window with one line edit that shows the design's text in the
# text box's size, face and colour (481 x 57, the design face at 24 pt), side
# by side, and print the ratios of wall and CPU time (goal: CPU at most
# 1.10); then against that edit in a window of the design's size. Runs
# under its own Xvfb when there is one, else on the offscreen platform.
#   bench/startup.sh [build directory] [runs]
set -eu
build=${1:-build}
runs=${2:-20}
probe="$build/bench/window/startup_probe"
bare="$build/bench/window/bare_window"
timer="$build/bench/process/spawn_timer"
for f in "$probe" "$bare" "$timer"; do
  [ -x "$f" ] || { echo "build startup_probe, bare_window and spawn_timer first ($f)" >&2; exit 1; }
done

xvfb_pid=""
# A settings folder of its own: what another run remembered (a face, a size)
# would change what Letterwire's text box shows at start, and the baseline
# shows the design's 24 pt text.
config=$(mktemp -d)
XDG_CONFIG_HOME=$config
export XDG_CONFIG_HOME
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$config"' EXIT
# No session bus: without an address libdbus forks dbus-launch from one of
# Qt's threads at a moment that differs from run to run, and that child's
# time and the copy-on-write faults it causes in the larger program were
# counted in (a spread of 1.15 to 1.31). An address where nothing listens
# fails at once, in both programs alike. A runtime folder of their own, as a
# session has.
DBUS_SESSION_BUS_ADDRESS="unix:path=$config/no-bus"
XDG_RUNTIME_DIR="$config/runtime"
export DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR
mkdir -m 700 "$XDG_RUNTIME_DIR"
if command -v Xvfb >/dev/null 2>&1; then
  for n in $(seq 201 299); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
      xvfb_pid=$!
      export DISPLAY=":$n"
      unset QT_QPA_PLATFORM
      i=0
      until xdpyinfo >/dev/null 2>&1; do
        i=$((i + 1)); [ $i -gt 50 ] && { echo "Xvfb did not start" >&2; exit 1; }; sleep 0.1
      done
      break
    fi
  done
fi
[ -n "$xvfb_pid" ] || export QT_QPA_PLATFORM=offscreen
platform=${QT_QPA_PLATFORM:-xcb $DISPLAY}

# -noreset above: a server that resets between clients would hide the
# difference. CPU time: the child's own user + system time.
echo "platform: $platform"
"$timer" "$runs" "Letterwire to first preview" "bare Qt window, the design text in a sized edit" \
  -- "$probe" -- "$bare" --design --text
echo "goal: CPU ratio <= 1.10"
# A second reading: the same edit where the text box stands, in a window of
# the design's size with nothing else. What is left over it is the other
# controls, their fonts and the first capture, not the window's area.
echo
"$timer" "$runs" "Letterwire to first preview" "the same edit in a window of the design's size" \
  -- "$probe" -- "$bare" --design --text --window
