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

# The usage needs no display: modes and paths on standard output, status 0.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --help >"$out" 2>"$err"
status=$?
[ "$status" -eq 0 ] || fail "--help: status $status: $(cat "$err")"
[ ! -s "$err" ] || fail "--help: output on stderr: $(cat "$err")"
for part in "JW COMMAND-FILE OUTPUT" "WIT OUTPUT"; do
  grep -q -- "$part" "$out" || fail "--help does not show $part: $(cat "$out")"
done
# A word that is no mode is told in one line before the window (here: its
# absence) is met.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" FOO >"$out" 2>"$err"
[ "$(grep -c 'is no mode' "$err")" -eq 1 ] && grep -q "standalone" "$err" ||
  fail "FOO: no one line about the mode: $(cat "$err")"
echo "PASS"
