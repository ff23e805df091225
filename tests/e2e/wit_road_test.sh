#!/bin/sh
# The WIT road with the real programs: Letterwire, copied into a directory
# whose name has a blank, started as "WIT out" under Xvfb with a stand-in
# "mfin" first on PATH that records its arguments and keeps a copy of the work
# file. The text and angle are typed in, OK is clicked, the size typed, OK
# clicked again: two exports, each of the preview as it stood, equal to
# letterwire-cli's WIT text and to its centred JSON capture; the work file's
# path arrives whole; the window stays open until Cancel, which ends it with 0.
# Last, letterwire-cli hands the converter an output path with a blank, whole.
#   wit_road_test.sh <Letterwire> <letterwire-cli> <artifact directory>
set -u
program=$1 cli=$2 artifacts=$3
here=$(dirname "$0")
# shellcheck source=../xvfb.sh
. "$here/../xvfb.sh"
xvfb_require cmp diff
mkdir -p "$artifacts"
xvfb_start

home="$work/program dir" records="$work/records" out="$work/out.wit"
mkdir -p "$home" "$records" "$work/bin"
{ cp "$program" "$home/Letterwire" && cp "$cli" "$home/letterwire-cli"; } || fail "copying the programs"
cat >"$work/bin/mfin" <<EOF
#!/bin/sh
cp "\$1" "$records/\$\$.wmf"
printf '%s\n' "\$@" >"$records/\$\$.tmp"
mv "$records/\$\$.tmp" "$records/\$\$.args"
EOF
chmod +x "$work/bin/mfin"
PATH="$work/bin:$PATH"
export PATH

# count -> 0 once there are that many records
records_made() { set -- "$records"/*.args; [ -e "$1" ] && [ $# -ge "$count" ]; }
# count: sets new to the record not seen before, once there are that many
seen=""
wait_record() {
  count=$1
  poll "$patience" records_made || fail "the converter was not started (export $count)"
  for f in "$records"/*.args; do
    rec=$(basename "$f" .args)
    case " $seen " in *" $rec "*) ;; *) seen="$seen $rec"; new=$rec; return ;; esac
  done
}

# record, expected output path, letterwire-cli options: the converter got the
# work file and that path, each whole, and the work file held the WIT text of
# those inputs.
check_export() {
  rec=$1 path=$2; shift 2
  # Each export has a work file of its own in the program's folder, gone
  # once its converter has ended.
  work_file=$(sed -n 1p "$records/$rec.args")
  case "$work_file" in "$home"/tmp*.wmf) ;; *) fail "the work file is $work_file, not $home/tmp*.wmf" ;; esac
  [ "$(sed -n 2p "$records/$rec.args")" = "$path" ] && [ "$(wc -l <"$records/$rec.args")" -eq 2 ] ||
    fail "the converter's arguments: $(cat "$records/$rec.args")"
  poll "$patience" absent "$work_file" || fail "the work file stayed after its converter ended"
  "$cli" wit "$work/expected.wit" --no-convert "$@" 2>>"$work/cli.err" || fail "letterwire-cli wit $*: $(cat "$work/cli.err")"
  cmp -s "$records/$rec.wmf" "$work/expected.wit" || {
    diff "$work/expected.wit" "$records/$rec.wmf" | head -n 20
    fail "the exported work file differs from letterwire-cli wit $*"
  }
  "$cli" capture --centre "$@" >"$work/capture.json" 2>>"$work/cli.err" || fail "letterwire-cli capture $*: $(cat "$work/cli.err")"
  awk -v mode=wit -v H=494 -f "$here/capture_lines.awk" "$work/capture.json" >"$work/entities" ||
    fail "could not read the capture"
  sed -n '/^ENTITIES/,/^ENDENTI/p' "$records/$rec.wmf" | sed '1d;$d' | cmp -s - "$work/entities" ||
    fail "the exported polylines are not those of the centred capture ($*)"
  tr -d '\r' <"$records/$rec.wmf" | grep -qx "0\.0 501 0\.0 494" || fail "the extents line is not 0.0 501 0.0 494"
}

"$home/Letterwire" WIT "$out" >"$work/app.out" 2>"$work/app.err" &
app_pid=$!
window=$(wait_window "$caption") || fail "window did not appear: $(cat "$work/app.err")"
window_origin "$window"
# Text box at (8, 8), 481 x 57; angle box at (304, 80), 33 x 19.
click 240 36
xdotool key ctrl+a type --delay 30 'Wire 4'
click 320 89
xdotool key ctrl+a type --delay 30 20
click 140 468
wait_record 1; first=$new
kill -0 "$app_pid" 2>/dev/null || fail "the window ended after the first OK"
check_export "$first" "$out" --text 'Wire 4' --angle 20

# Size box at (104, 80); then OK once more.
click 120 89
xdotool key ctrl+a type --delay 30 30
screenshot "$artifacts/wit_road.png"
click 140 468
wait_record 2; second=$new
kill -0 "$app_pid" 2>/dev/null || fail "the window ended after the second OK"
check_export "$second" "$out" --text 'Wire 4' --angle 20 --size 30
[ "$(sed -n 1p "$records/$first.args")" != "$(sed -n 1p "$records/$second.args")" ] ||
  fail "two exports shared one work file"
cp "$records/$second.wmf" "$artifacts/wit_road_tmp.wmf"

# Cancel at (272, 456): the program ends, with status 0.
click 308 468
app_end "after Cancel, the program"
[ "$status" -eq 0 ] || fail "Cancel ended with status $status: $(cat "$work/app.err")"

# The front end takes the output path as one argument and must hand it on
# whole.
"$home/letterwire-cli" wit "$work/out dir/a b.wit" --text 'Wire 4' --angle 20 --size 30 2>>"$work/cli.err" ||
  fail "letterwire-cli wit with the converter failed: $(cat "$work/cli.err")"
wait_record 3; third=$new
check_export "$third" "$work/out dir/a b.wit" --text 'Wire 4' --angle 20 --size 30

no_sanitizer_report "$work/app.err" "$work/cli.err"
echo "PASS: two exports from OK, each equal to letterwire-cli wit and its capture; paths whole; Cancel ended with 0"
