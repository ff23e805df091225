#!/bin/sh
# Without a display the window says so in one line and ends with status 1,
# instead of Qt's abort: no display named at all, and one that is not there.
#   no_display_test.sh <Letterwire binary>
set -u
program=$1
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
for display in "" ":7931"; do
  if [ -z "$display" ]; then
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" >"$out" 2>"$err"
  else
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" "$program" >"$out" 2>"$err"
  fi
  status=$?
  [ "$status" -eq 1 ] || fail "DISPLAY='$display': status $status"
  [ ! -s "$out" ] || fail "DISPLAY='$display': output on stdout: $(cat "$out")"
  [ "$(wc -l <"$err")" -eq 1 ] || fail "DISPLAY='$display': not one line: $(cat "$err")"
  grep -q "no display" "$err" && grep -q "letterwire-cli" "$err" || fail "DISPLAY='$display': $(cat "$err")"
done
echo "PASS"
