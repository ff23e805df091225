#!/bin/sh
# Time from process start to the first preview of Letterwire against the start
# of a bare Qt window with one line edit, side by side, and print the ratio
# (goal: at most 1.15). Runs under its own Xvfb when there is one, else on the
# offscreen platform.
#   bench/startup.sh [build directory] [runs]
set -eu
build=${1:-build}
runs=${2:-20}
probe="$build/bench/window/startup_probe"
bare="$build/bench/window/bare_window"
[ -x "$probe" ] && [ -x "$bare" ] || { echo "build startup_probe and bare_window first" >&2; exit 1; }

xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null' EXIT
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

# One run's wall time in microseconds.
run_us() {
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}
median_ms() {
  sort -n | awk '{ t[NR] = $1 } END { m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; printf "%.1f", m / 1000 }'
}

# Warm the caches (fontconfig, the shared libraries) for both alike, then
# alternate the two run by run (-noreset keeps the server from resetting
# between clients, which would hide the difference).
"$probe" >/dev/null 2>&1 || true
"$bare" >/dev/null 2>&1 || true
times=$(mktemp)
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -f "$times"' EXIT
for i in $(seq "$runs"); do
  if [ $((i % 2)) -eq 1 ]; then
    echo "a $(run_us "$probe")" >>"$times"; echo "b $(run_us "$bare")" >>"$times"
  else
    echo "b $(run_us "$bare")" >>"$times"; echo "a $(run_us "$probe")" >>"$times"
  fi
done
letterwire=$(awk '$1 == "a" { print $2 }' "$times" | median_ms)
baseline=$(awk '$1 == "b" { print $2 }' "$times" | median_ms)
echo "platform: $platform, $runs runs each, alternating, medians"
echo "Letterwire to first preview: $letterwire ms"
echo "bare Qt window, one line edit: $baseline ms"
awk -v a="$letterwire" -v b="$baseline" 'BEGIN { printf "ratio: %.2f (goal <= 1.15)\n", a / b }'
