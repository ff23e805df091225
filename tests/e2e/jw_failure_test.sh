#!/bin/sh
# A JW run that fails: "lg17" is beyond the scale table. OK must end the
# program with a report (a message box, and on standard error the kind, the
# file and the line) and a non-zero status; the lines copied before the
# failure stay in the output, whole; the command file is left as it was.
#   jw_failure_test.sh <Letterwire> <letterwire-cli> <artifact directory>
set -u
program=$1 artifacts=$3
# shellcheck source=../xvfb.sh
. "$(dirname "$0")/../xvfb.sh"
xvfb_require cmp
mkdir -p "$artifacts"
xvfb_start

cmd="$work/command.txt" out="$work/out.txt"
printf 'hp1 100 50\r\nordinary line\r\nhq dropped\r\nlg17\r\nnever copied\r\n' >"$cmd"
cp "$cmd" "$work/command.orig"

"$program" JW "$cmd" "$out" >"$work/app.out" 2>"$work/app.err" &
app_pid=$!
window=$(wait_window "$caption") || fail "window did not appear: $(cat "$work/app.err")"
window_origin "$window"
click 140 468
report=$(wait_window "^Letterwire$") || fail "no failure report appeared"
screenshot "$artifacts/jw_failure.png"
xdotool windowfocus --sync "$report" 2>/dev/null
xdotool key Return
app_end "after the failure report, the program"
no_sanitizer_report "$work/app.err"
[ "$status" -ne 0 ] || fail "a failed export ended with status 0"

grep -F "Subscript out of range" "$work/app.err" | grep -F "$cmd" | grep -F "line 4" | grep -qF "lg17" ||
  fail "the report does not name the kind, the file, the line and the word: $(cat "$work/app.err")"
printf 'hp1 100 50\r\nordinary line\r\nlg17\r\n' | cmp -s - "$out" ||
  fail "the output is not the three lines copied before the failure"
cmp -s "$cmd" "$work/command.orig" || fail "the command file was changed"
echo "PASS: status $status, copied lines kept, reported: $(cat "$work/app.err")"
