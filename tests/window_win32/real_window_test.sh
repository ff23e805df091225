#!/bin/sh
# Letterwire.exe, the native Windows window, under Wine and Xvfb, driven with
# xdotool as a person would: typing in the text box, typing a size and
# clicking the angle trackbar each change the preview's pixels; OK in mode JW
# writes what letterwire-cli.exe writes for the same text, size and angle and
# ends with status 0; Cancel writes nothing and ends with status 0; a failing
# JW run shows its report and ends non-zero with the lines before the failure
# written.
#   real_window_test.sh <Letterwire.exe> <letterwire-cli.exe> <artifact directory>
set -u
program=$1
cli=$2
artifacts=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=../xvfb.sh
. "$root/tests/xvfb.sh"
xvfb_require convert wine
mkdir -p "$artifacts"
# The project's Wine setting (prefix, Japanese locale, face names), with the
# display that xvfb_start sets.
eval "$("$root/scripts/wine-env")"
xvfb_start
# Wine's own services start once, without our pipes, before the program.
wine cmd /c exit 0 </dev/null >/dev/null 2>&1

winpath() { winepath -w "$1" 2>/dev/null; }

folder="$work/作業 フォルダ"
mkdir -p "$folder"
printf 'hq\r\nhp1 100 50\r\nhs 1 2 \r\nlg1\r\n' >"$folder/指示 1.txt"
cp "$folder/指示 1.txt" "$work/command.before"

start() { # arguments...
  wine "$program" "$@" >"$work/app.out" 2>"$work/app.err" &
  app_pid=$!
  window=$(wait_window "$caption") || fail "window did not appear: $(cat "$work/app.err")"
  window_origin "$window"
  # Xvfb has no window manager: the X window is the client area itself.
  [ "$WIDTH" = 501 ] && [ "$HEIGHT" = 494 ] || fail "client area ${WIDTH}x$HEIGHT, not 501x494"
}

# 1. Edit text, size and angle, then OK: the JW output.
start JW "$(winpath "$folder/指示 1.txt")" "$(winpath "$folder/出力 1.txt")"
first=$(preview_settled) || fail "the preview showed no text"
click 200 30
xdotool key ctrl+a type --delay 60 ABC
after_text=$(preview_changed_from "$first") || fail "typing in the text box left the preview as it was"
click 120 89
xdotool key ctrl+a type --delay 60 36
after_size=$(preview_changed_from "$after_text") || fail "typing 36 into the size box left the preview as it was"
# One click on the angle trackbar's strip right of its thumb: one page, 45.
click 360 112
preview_changed_from "$after_size" >/dev/null || fail "clicking the angle trackbar left the preview as it was"
cp "$work/screen.png" "$artifacts/win32_window.png"
click 140 468
app_end "after OK, the program"
[ "$status" -eq 0 ] || fail "OK in mode JW ended with status $status: $(cat "$work/app.err")"
cmp -s "$folder/指示 1.txt" "$work/command.before" || fail "the command file changed"
wine "$cli" jw "$(winpath "$folder/指示 1.txt")" "$(winpath "$work/cli.txt")" --text ABC --size 36 --angle 45 \
  </dev/null >/dev/null 2>&1 || fail "letterwire-cli.exe jw failed"
cmp -s "$folder/出力 1.txt" "$work/cli.txt" || fail "the window's JW output differs from letterwire-cli.exe's"

# 2. Cancel: nothing written, status 0.
start JW "$(winpath "$folder/指示 1.txt")" "$(winpath "$folder/取消.txt")"
preview_settled >/dev/null || fail "the preview showed no text"
click 308 468
app_end "after Cancel, the program"
[ "$status" -eq 0 ] || fail "Cancel ended with status $status"
[ ! -e "$folder/取消.txt" ] || fail "Cancel wrote the output"

# 3. A bad "hs" word: the report, a non-zero status, the lines before it kept.
printf 'a\r\nhs 1 x 2\r\nb\r\n' >"$folder/bad.txt"
start JW "$(winpath "$folder/bad.txt")" "$(winpath "$folder/bad-out.txt")"
preview_settled >/dev/null || fail "the preview showed no text"
click 140 468
report=$(wait_window "^Letterwire$") || fail "no failure report appeared: $(cat "$work/app.err")"
screenshot "$artifacts/win32_window_failure.png"
xdotool windowfocus --sync "$report" 2>/dev/null
xdotool key Return
app_end "after the failure report, the program"
[ "$status" -ne 0 ] || fail "a failed export ended with status 0"
[ "$(od -An -c "$folder/bad-out.txt" | tr -d ' \n')" = 'a\r\nhs1x2\r\n' ] ||
  fail "the output holds $(od -c "$folder/bad-out.txt"), not the lines before the failure"
grep -q "Type mismatch" "$work/app.err" || fail "the report is not on standard error"
echo "PASS: the native window under Wine; screenshots in $artifacts"
