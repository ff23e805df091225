#!/bin/sh
# The JW road with the real programs: a host's command file, the real
# Letterwire started as "JW cmd out" under Xvfb, 36 typed into the size box and
# OK clicked as a person would. The output must hold the copied lines, then
# the outline that the command-line front end writes for the same inputs (byte
# for byte) and that follows from its JSON capture at the origin, placed on
# the base point. The command file is left as it was.
#   jw_road_test.sh <Letterwire> <letterwire-cli> <artifact directory>
set -u
program=$1 cli=$2 artifacts=$3
here=$(dirname "$0")
# shellcheck source=../xvfb.sh
. "$here/../xvfb.sh"
xvfb_require cmp diff
mkdir -p "$artifacts"
xvfb_start

# Base point (100, 50); "lg1" picks 2.5 from the scale table. The text line is
# Shift-JIS "ソ表 テキスト" as raw bytes: both trail bytes of ソ and 表 are
# 0x5C, a backslash on its own. A lone LF ends a line as CR LF does, an empty
# line is copied as one, and the last line has no line end.
cmd="$work/command.txt" out="$work/out.txt"
{
  printf 'hq 0 0\r\n'
  printf 'hp1  100   50\r\n'
  printf 'hs 1 2.5 10 end\r\n'
  printf 'lg1\r\n'
  printf 'LINE  with a tab\there\r\n'
  printf '\203\134\225\134 \203e\203L\203X\203g\r\n'
  printf 'lone\nfeed\r\n'
  printf '\r\n'
  printf ' hq stays\r\n'
  printf 'hq\r\n'
  printf 'last'
} >"$cmd"
cp "$cmd" "$work/command.orig"
{
  printf 'hp1  100   50\r\n'
  printf 'hs 1 2.5 10 end\r\n'
  printf 'lg1\r\n'
  printf 'LINE  with a tab\there\r\n'
  printf '\203\134\225\134 \203e\203L\203X\203g\r\n'
  printf 'lone\r\nfeed\r\n'
  printf '\r\n'
  printf ' hq stays\r\n'
  printf 'last\r\n'
} >"$work/copied"

"$program" JW "$cmd" "$out" >"$work/app.out" 2>"$work/app.err" &
app_pid=$!
window=$(wait_window "$caption") || fail "window did not appear: $(cat "$work/app.err")"
window_origin "$window"
# Size box at (104, 80), 33 x 19.
click 120 89
xdotool key ctrl+a type --delay 30 36
screenshot "$artifacts/jw_road.png"
# OK at (104, 456), 73 x 25: the export runs and the program ends.
click 140 468
app_end "after OK, the program"
[ "$status" -eq 0 ] || fail "OK ended with status $status: $(cat "$work/app.err")"
[ -f "$out" ] || fail "no output file"
cp "$out" "$artifacts/jw_road_out.txt"

cmp -s "$cmd" "$work/command.orig" || fail "the command file was changed"

# The same inputs through the front end: the same bytes.
"$cli" jw "$cmd" "$work/cli.txt" --size 36 2>>"$work/cli.err" || fail "letterwire-cli jw failed: $(cat "$work/cli.err")"
cmp "$out" "$work/cli.txt" || fail "the window's output differs from letterwire-cli jw's"

# The copied lines, then exactly the outline of the JSON capture at the origin.
"$cli" capture --size 36 >"$work/capture.json" 2>>"$work/cli.err" || fail "letterwire-cli capture failed: $(cat "$work/cli.err")"
awk -v mode=jw -v P=15 -v s=2.5 -v Rx=100 -v Ry=50 -f "$here/capture_lines.awk" \
  "$work/capture.json" >"$work/outline" || fail "could not read the capture"
[ -s "$work/outline" ] || fail "the capture has no points"
cat "$work/copied" "$work/outline" >"$work/expected"
if ! cmp -s "$out" "$work/expected"; then
  diff "$work/expected" "$out" | head -n 20
  fail "the output is not the copied lines followed by the capture's outline"
fi

# Placed on the base point: the lowest written y is Ry itself, and the text,
# which starts at device x 0, begins a little right of Rx (within 3 mm).
copied=$(wc -l <"$work/copied")
tail -n +$((copied + 1)) "$out" | tr -d '\r' | awk '
  NF == 2 { if (n == 0 || $1 < minX) minX = $1; if (n == 0 || $2 < minY) minY = $2; n++ }
  END {
    if (n == 0) { print "no point lines"; exit 1 }
    if (minY != 50) { print "lowest y " minY ", not 50"; exit 1 }
    if (minX < 100 || minX > 103) { print "leftmost x " minX ", not just right of 100"; exit 1 }
    printf "%d point lines, lowest y %s, leftmost x %s\n", n, minY, minX
  }' || fail "the outline does not sit on the base point"

no_sanitizer_report "$work/app.err" "$work/cli.err"
echo "PASS: JW output = copied lines + outline of the capture = letterwire-cli jw; screenshot in $artifacts"
