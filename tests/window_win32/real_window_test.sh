#!/bin/sh
# Letterwire.exe, the native Windows window, under Wine and Xvfb, driven with
# xdotool as a person would: typing in the text box, typing a size and
# clicking the angle trackbar each change the preview's pixels; OK in mode JW
# writes what letterwire-cli.exe writes for the same text, size and angle and
# ends with status 0; Cancel writes nothing and ends with status 0; a failing
# JW run shows its report and ends non-zero with the lines before the failure
# written. Also, as a person meets them: counters and the strokes inside them
# in the preview, the font dialog left with OK, the size box at the end of an
# edit, the preview's menu and keys, the fit view, a click on the trackbar's
# strip below its groove, the quiet note when another face draws, a vertical
# "@" stroke face chosen in the font dialog and saved.
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
# A program's first window in a new prefix, after the other Windows tests,
# has taken close to 30 s under Wine: every wait gets more room.
patience=90
xvfb_start
bind_keys 図回品
# Wine's own services start once, without our pipes, before the program.
wine cmd /c exit 0 </dev/null >/dev/null 2>&1

winpath() { winepath -w "$1" 2>/dev/null; }

# The runs along the middle row of the preview's drawing: B background, W
# white fill, K outline ink.
middle_runs() {
  set -- $(preview_area -format '%@' info: | tr 'x+' '  ')
  preview_area -crop "461x1+0+$(($4 + $2 / 2))" +repage -depth 8 txt:- |
    awk -v bg="#$(preview_area -format '%[hex:p{0,0}]' info:)" '
      NR > 1 { c = ($3 == bg) ? "B" : ($3 == "#FFFFFF") ? "W" : "K"; if (c != last) printf "%s", c; last = c }'
}
# The strokes the middle row crosses: runs between background that hold ink.
strokes_across_middle() { middle_runs | tr B '\n' | grep -c W; }
# Sets strokes to the strokes across the middle; 0 when there are 8 or more.
eight_strokes_across_middle() { strokes=$(strokes_across_middle); [ "$strokes" -ge 8 ]; }
# The inspection drawing's point marks: dark red pixels.
red_pixels() { preview_area -fill black +opaque "#800000" -fill white -opaque "#800000" -format "%[fx:mean*w*h]" info:; }
point_marks_shown() { [ "$(red_pixels)" -gt 0 ]; }
# 0 once a DXF drawing has been saved in the folder the dialog opened in
saved_dxf() { find "$work/saved" -name '*.dxf' -exec grep -q AC1015 {} \; -print 2>/dev/null | grep -q .; }

folder="$work/作業 フォルダ"
mkdir -p "$folder"
printf 'hq\r\nhp1 100 50\r\nhs 1 2 \r\nlg1\r\n' >"$folder/指示 1.txt"
cp "$folder/指示 1.txt" "$work/command.before"

# reg.exe under a loaded Wine has been seen to fail once and succeed when
# run again, so a setting is stored within the same patience as any wait.
store_setting() { # key name data
  poll "$patience" wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f </dev/null >/dev/null 2>"$work/reg.err" ||
    fail "could not store $2: $(cat "$work/reg.err")"
}

start() { # arguments...
  wine "$program" "$@" >"$work/app.out" 2>"$work/app.err" &
  app_pid=$!
  window=$(wait_window "$caption") || fail "window did not appear: $(cat "$work/app.err")"
  window_origin "$window"
  # Xvfb has no window manager: the X window is the client area itself.
  [ "$WIDTH" = 501 ] && [ "$HEIGHT" = 494 ] || fail "client area ${WIDTH}x$HEIGHT, not 501x494"
}

# The window remembers its font: the prefix outlives a run, so start from
# the design.
wine reg delete 'HKCU\Software\Letterwire' /f </dev/null >/dev/null 2>&1

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
# The window remembered the size and angle it was left with, as text under
# the names the Linux window uses.
remembered() { # name
  wine reg query 'HKCU\Software\Letterwire\Text' /v "$1" </dev/null 2>/dev/null | tr -d '\r' |
    awk -v name="$1" '$1 == name { print $3 }'
}
[ "$(remembered size)" = 36 ] || fail "the remembered size is \"$(remembered size)\", not 36"
[ "$(remembered angle)" = 45 ] || fail "the remembered angle is \"$(remembered angle)\", not 45"
# Values another program left there start the window all the same, quietly.
wine reg add 'HKCU\Software\Letterwire\Text' /v angle /t REG_DWORD /d 7 /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Letterwire\Text' /v size /t REG_SZ /d huge /f </dev/null >/dev/null 2>&1

# 2. Cancel: nothing written, status 0.
start JW "$(winpath "$folder/指示 1.txt")" "$(winpath "$folder/取消.txt")"
preview_settled >/dev/null || fail "the preview showed no text"
click 308 468
app_end "after Cancel, the program"
[ "$status" -eq 0 ] || fail "Cancel ended with status $status"
[ ! -e "$folder/取消.txt" ] || fail "Cancel wrote the output"

# 2b. The keys of a dialog, in the text box: Escape is Cancel (nothing
# written), Enter is OK (the output written, status 0).
start JW "$(winpath "$folder/指示 1.txt")" "$(winpath "$folder/鍵 Esc.txt")"
preview_settled >/dev/null || fail "the preview showed no text"
click 200 30
xdotool key Escape
app_end "after Escape, the program"
[ "$status" -eq 0 ] || fail "Escape ended with status $status"
[ ! -e "$folder/鍵 Esc.txt" ] || fail "Escape wrote the output"
start JW "$(winpath "$folder/指示 1.txt")" "$(winpath "$folder/鍵 Enter.txt")"
preview_settled >/dev/null || fail "the preview showed no text"
click 200 30
xdotool key Return
app_end "after Enter, the program"
[ "$status" -eq 0 ] || fail "Enter ended with status $status: $(cat "$work/app.err")"
[ -s "$folder/鍵 Enter.txt" ] || fail "Enter in the text box did not write the output as OK does"

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
# 3b. F9 opens the text style dialog; a width of 50 typed there and OK
# narrow the preview, and the JW output is what letterwire-cli.exe writes
# with --width 50. Escape in a second visit changes nothing.
wine reg delete 'HKCU\Software\Letterwire' /f </dev/null >/dev/null 2>&1
start JW "$(winpath "$folder/指示 1.txt")" "$(winpath "$folder/幅.txt")"
first=$(preview_settled) || fail "the preview showed no text"
# F11 brings the designed font and size back (its key once ran nothing).
click 120 89
xdotool key ctrl+a type --delay 60 36
preview_changed_from "$first" >/dev/null || fail "typing 36 into the size box left the preview as it was"
click 200 30
xdotool key F11
preview_shows "$first" || fail "F11 did not bring the designed size back"
style_dialog="^(文字スタイル|Text style)$"
open_style_dialog() {
  click 200 30
  xdotool key F9
  dialog=$(wait_window "$style_dialog") || fail "F9 opened no text style dialog: $(cat "$work/app.err")"
  xdotool windowfocus --sync "$dialog" 2>/dev/null
}
open_style_dialog
# Focus starts in the spacing box; Tab selects the width box's text.
xdotool key Tab type --delay 60 50
xdotool key Return
wait_closed "$style_dialog" || fail "the text style dialog did not close on Return"
narrow=$(preview_changed_from "$first") || fail "width 50 left the preview as it was"
# Tips, the preview's and the spacing box's: each comes up under the
# pointer and wraps within the window's 501 pixels.
tip_shown() { # x y on the screen; sets tip_width
  # A tip waits for the pointer to rest, and each move starts its wait
  # again: the pointer moves on the first look and then every 30th, one
  # pixel either way, in case its first move came before the window saw it.
  tip_looks=$(( (${tip_looks:-0} + 1) % 30 ))
  if [ "$tip_looks" -eq 1 ]; then
    tip_nudge=$((1 - ${tip_nudge:-0}))
    xdotool mousemove $(($1 + tip_nudge)) "$2"
  fi
  for t in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$t")"
    # The screen's root is untitled too.
    [ "$WIDTH" -ge 800 ] && continue
    tip_width=$WIDTH
    return 0
  done
  return 1
}
no_tip() { ! tip_shown 0 0; }
tip_looks=0
poll "$patience" tip_shown $((wx + 240)) $((wy + 300)) || fail "no tip over the preview"
[ "$tip_width" -le 501 ] || fail "the preview's tip is $tip_width pixels wide, wider than the window"
tip_looks=0
poll "$patience" no_tip || fail "the preview's tip stayed after the pointer left"
open_style_dialog
screenshot "$artifacts/win32_text_style_dialog.png"
# The spacing box: the first row's, 63 dialog units in, 6 down.
eval "$(xdotool getwindowgeometry --shell "$dialog")"
tip_looks=0
poll "$patience" tip_shown $((X + 63 * 3 / 2 + 20)) $((Y + 14)) || fail "no tip over the spacing box"
[ "$tip_width" -le 501 ] || fail "the spacing box's tip is $tip_width pixels wide, wider than the window"
xdotool windowfocus --sync "$dialog" 2>/dev/null
xdotool key Escape
wait_closed "$style_dialog" || fail "the text style dialog did not close on Escape"
preview_shows "$narrow" || fail "Cancel in the text style dialog changed the preview"
click 140 468
app_end "after OK with width 50, the program"
[ "$status" -eq 0 ] || fail "OK with width 50 ended with status $status: $(cat "$work/app.err")"
[ "$(remembered width)" = 50 ] || fail "the remembered width is \"$(remembered width)\", not 50"
wine "$cli" jw "$(winpath "$folder/指示 1.txt")" "$(winpath "$work/cli-width.txt")" --width 50 \
  </dev/null >/dev/null 2>&1 || fail "letterwire-cli.exe jw --width 50 failed"
cmp -s "$folder/幅.txt" "$work/cli-width.txt" || fail "the window's JW output at width 50 differs from letterwire-cli.exe's"
wine "$cli" jw "$(winpath "$folder/指示 1.txt")" "$(winpath "$work/cli-full.txt")" </dev/null >/dev/null 2>&1 ||
  fail "letterwire-cli.exe jw failed"
! cmp -s "$folder/幅.txt" "$work/cli-full.txt" || fail "the JW output at width 50 is that of the designed width"

# 4. The window on its own (no run mode), started elsewhere: while it
# remembers no folder, its save dialog opens in the user's Documents (here
# pointed at a scratch folder, and pointed back at the end).
wine reg delete 'HKCU\Software\Letterwire' /f </dev/null >/dev/null 2>&1
mkdir -p "$work/saved"
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
documents=$(wine reg query "$shell_folders" /v Personal </dev/null 2>/dev/null | tr -d '\r' |
  sed -n 's/^ *Personal *REG_EXPAND_SZ *//p')
restore_documents() {
  wine reg add "$shell_folders" /v Personal /t REG_EXPAND_SZ /d "${documents:-%USERPROFILE%\Documents}" /f \
    </dev/null >/dev/null 2>&1
}
trap 'restore_documents; xvfb_cleanup' EXIT
wine reg add "$shell_folders" /v Personal /t REG_EXPAND_SZ /d "$(winpath "$work/saved")" /f </dev/null >/dev/null 2>&1 ||
  fail "could not point Documents at the scratch folder"
cd "$folder" || fail "no folder to start in"
start
cd "$root" || fail "back to the project"
first=$(preview_settled) || fail "the preview showed no text"

# The font dialog opened on the current font and left with OK changes nothing.
click 432 92
font_dialog="^(フォントの指定|Font)$"
dialog=$(wait_window "$font_dialog") || fail "the font dialog did not appear"
xdotool windowfocus --sync "$dialog" 2>/dev/null
xdotool key Return
wait_closed "$font_dialog" || fail "the font dialog did not close on Return"
preview_shows "$first" || fail "OK in the font dialog without a change changed the preview"

# One nonzero fill: across the middle of 図回 at 72 pt every stroke is ink
# (white) with background between, so 図's two inner strokes show and 回's
# counters stay open; the IPA fonts list 回's inner box before its outer one.
# A fill of each figure on its own would leave one white block per glyph.
click 200 30
xdotool key ctrl+a type --delay 80 図回
click 120 89
xdotool key ctrl+a type --delay 60 72
preview_changed_from "$first" >/dev/null || fail "typing 図回 at 72 pt left the preview as it was"
strokes=0
preview_settled eight_strokes_across_middle >/dev/null ||
  fail "$strokes inked strokes across the middle of 図回, not 8 (runs: $(middle_runs))"
cp "$work/screen.png" "$artifacts/win32_window_fill.png"

# The end of an edit (Tab) shows the size in use: 300 is captured at 144.
# At 144 pt 図回 is some 380 pixels wide, at the sizes typed on the way (1,
# 14) far narrower.
xdotool key ctrl+a type --delay 60 144
xdotool key Tab
at144=$(preview_settled drawing_wider_than 300) || fail "the preview did not show 144 pt"
box_144=$(size_box_settled) || fail "the size box did not hold still"
click 120 89
xdotool key ctrl+a type --delay 60 300
xdotool key Tab
poll "$patience" size_box_is "$box_144" || fail "after 300 and Tab the size box does not show 144"
preview_shows "$at144" || fail "300 was not captured as 144"

# 図回品 at 144 pt is wider than the preview: the preview's menu (right
# click, the last item) fits it in, the key F8 brings the designed view back.
click 200 30
xdotool key ctrl+a type --delay 80 図回品
cut=$(preview_settled drawing_reaches_edge) || fail "図回品 at 144 pt is not cut at the preview's edges"
# The menu opens over the preview.
xdotool mousemove $((wx + 240)) $((wy + 300)) click 3
poll "$patience" preview_differs "$cut" || fail "the preview's menu did not open"
xdotool key Up Return
preview_settled drawing_within_edges >/dev/null ||
  fail "Fit to preview from the preview's menu did not bring the drawing within the preview's edges"
cp "$work/screen.png" "$artifacts/win32_window_fit.png"
click 200 30
xdotool key F8
preview_shows "$cut" || fail "F8 did not bring the designed view back"

# F6, the inspection drawing: its point marks are dark red; F5 redraws.
xdotool key F6
preview_settled point_marks_shown >/dev/null || fail "F6: the inspection drawing shows no point marks"
xdotool key F5
preview_shows "$cut" || fail "F5 did not redraw the preview"

# F4, the tool check: an 8 mm tool is wider than every stroke of 図回品 at
# 144 pt (some 3.6 mm); once its report is closed the preview shows red
# discs at the narrow places, and F5 clears them.
tool_marks_shown() {
  [ "$(preview_area -fill black +opaque "#E01010" -fill white -opaque "#E01010" -format "%[fx:int(mean*w*h+0.5)]" info:)" -gt 20 ]
}
xdotool key F4
asked=$(wait_window "^(工具の確認|Check for a tool)") || fail "F4 asked for no tool: $(cat "$work/app.err")"
xdotool windowfocus --sync "$asked" 2>/dev/null
xdotool key ctrl+a type --delay 60 8
xdotool key Return
report=$(wait_window "^Letterwire$") || fail "the tool check told nothing: $(cat "$work/app.err")"
xdotool windowfocus --sync "$report" 2>/dev/null
xdotool key Return
wait_closed "^Letterwire$" || fail "the tool check's report did not close"
grep -q "does not fit a 8.000 mm tool" "$work/app.err" || fail "the report does not say the tool does not fit: $(cat "$work/app.err")"
preview_settled tool_marks_shown >/dev/null || fail "F4: the tool check marked no narrow place"
cp "$work/screen.png" "$artifacts/win32_tool_check.png"
click 200 30
xdotool key F5
preview_shows "$cut" || fail "F5 did not clear the tool check's marks"

# The angle trackbar at (264, 104), 113 x 17: a click on its bottom row,
# among the tick marks below the groove, pages it.
click $((264 + 108)) 120
preview_changed_from "$cut" >/dev/null || fail "clicking the angle trackbar below its groove left the preview as it was"

# Without a run mode, OK asks where to save: Enter in the save dialog writes
# the suggested file (DXF at the classic grid) into the folder it opens in
# (Documents), and the window stays open.
click 140 468
save=$(wait_window "名前を付けて保存|Save As") || fail "OK without a run mode opened no save dialog"
xdotool windowfocus --sync "$save" 2>/dev/null
xdotool key Return
poll "$patience" saved_dxf || fail "the save dialog's Enter wrote no DXF drawing"
kill -0 "$app_pid" 2>/dev/null || fail "the window ended after saving"
click 308 468
app_end "after Cancel, the program"

# 4b. The DXF choices remembered from an earlier save open the dialog and
# reach the file: the same bytes as letterwire-cli.exe with those options.
wine reg delete 'HKCU\Software\Letterwire' /f </dev/null >/dev/null 2>&1
mkdir -p "$work/cad"
save_key='HKCU\Software\Letterwire\Save'
for pair in format=dxf precision=0.01 "folder=$(winpath "$work/cad")" merge=0 offset=0.1 anchor=centre mirror=x curves=1; do
  store_setting "$save_key" "${pair%%=*}" "${pair#*=}"
done
start
preview_settled >/dev/null || fail "the preview showed no text"
click 140 468
save=$(wait_window "名前を付けて保存|Save As") || fail "OK without a run mode opened no save dialog"
xdotool windowfocus --sync "$save" 2>/dev/null
sleep 1
screenshot "$artifacts/win32_save_dialog.png"
xdotool key Return
cad_dxf() { find "$work/cad" -name '*.dxf' -size +0 2>/dev/null | grep -q .; }
poll "$patience" cad_dxf || fail "the save dialog's Enter wrote no DXF drawing with the remembered choices"
click 308 468
app_end "after Cancel, the program"
wine "$cli" dxf "$(winpath "$work/cli-cad.dxf")" --precision 0.01 --no-merge --offset 0.1 --anchor centre --mirror x --curves \
  </dev/null >/dev/null 2>&1 || fail "letterwire-cli.exe dxf failed"
cmp -s "$(find "$work/cad" -name '*.dxf' | head -n 1)" "$work/cli-cad.dxf" ||
  fail "the window's DXF with the remembered choices differs from letterwire-cli.exe's"

# 4c. Stencil bridges remembered from an earlier save reach the file: the
# same bytes as letterwire-cli.exe's --stencil.
wine reg delete 'HKCU\Software\Letterwire' /f </dev/null >/dev/null 2>&1
mkdir -p "$work/stencil"
for pair in format=dxf precision=0.01 "folder=$(winpath "$work/stencil")" stencil=0.5 stencil-bridges=2; do
  store_setting "$save_key" "${pair%%=*}" "${pair#*=}"
done
start
preview_settled >/dev/null || fail "the preview showed no text"
click 140 468
save=$(wait_window "名前を付けて保存|Save As") || fail "OK without a run mode opened no save dialog"
xdotool windowfocus --sync "$save" 2>/dev/null
xdotool key Return
stencil_dxf() { find "$work/stencil" -name '*.dxf' -size +0 2>/dev/null | grep -q .; }
poll "$patience" stencil_dxf || fail "the save dialog's Enter wrote no stencil"
click 308 468
app_end "after Cancel, the program"
wine "$cli" dxf "$(winpath "$work/cli-stencil.dxf")" --precision 0.01 --stencil 0.5 --stencil-bridges 2 \
  </dev/null >/dev/null 2>&1 || fail "letterwire-cli.exe dxf --stencil failed"
cmp -s "$(find "$work/stencil" -name '*.dxf' | head -n 1)" "$work/cli-stencil.dxf" ||
  fail "the window's stencil differs from letterwire-cli.exe's"

# 4d. The centreline remembered: the preview shows open lines (no white
# fill), and the save is letterwire-cli.exe's --centreline.
wine reg delete 'HKCU\Software\Letterwire' /f </dev/null >/dev/null 2>&1
mkdir -p "$work/centre"
for pair in format=dxf precision=0.01 "folder=$(winpath "$work/centre")" centreline=1; do
  store_setting "$save_key" "${pair%%=*}" "${pair#*=}"
done
no_white_fill() { [ "$(preview_area -fill black +opaque "#FFFFFF" -fill white -opaque "#FFFFFF" -format "%[fx:int(mean*w*h+0.5)]" info:)" -eq 0 ]; }
start
preview_settled no_white_fill >/dev/null || fail "the centreline's preview shows a filled outline"
cp "$work/screen.png" "$artifacts/win32_centreline.png"
click 140 468
save=$(wait_window "名前を付けて保存|Save As") || fail "OK without a run mode opened no save dialog"
xdotool windowfocus --sync "$save" 2>/dev/null
xdotool key Return
centre_dxf() { find "$work/centre" -name '*.dxf' -size +0 2>/dev/null | grep -q .; }
poll "$patience" centre_dxf || fail "the save dialog's Enter wrote no centreline"
click 308 468
app_end "after Cancel, the program"
wine "$cli" dxf "$(winpath "$work/cli-centre.dxf")" --precision 0.01 --centreline \
  </dev/null >/dev/null 2>&1 || fail "letterwire-cli.exe dxf --centreline failed"
cmp -s "$(find "$work/centre" -name '*.dxf' | head -n 1)" "$work/cli-centre.dxf" ||
  fail "the window's centreline differs from letterwire-cli.exe's"

# 4e. A vertical "@" stroke face chosen in the font dialog's stroke list
# (Shift+Tab from the face box reaches it; "@" picks the first "@" face,
# the one of the folder given first): the preview shows open lines, the
# choice is remembered, and the save with a wide pen is
# letterwire-cli.exe's --stroke-font "@NAME" with the same options.
if [ -f /usr/share/librecad/fonts/kst32b.lff ]; then
  wine reg delete 'HKCU\Software\Letterwire' /f </dev/null >/dev/null 2>&1
  mkdir -p "$work/線 フォント" "$work/stroke"
  cp /usr/share/librecad/fonts/kst32b.lff "$work/線 フォント/"
  LETTERWIRE_STROKE_FONTS=$(winpath "$work/線 フォント")
  export LETTERWIRE_STROKE_FONTS
  for pair in format=svg precision=0.01 "folder=$(winpath "$work/stroke")" pen-width=0.5; do
    store_setting "$save_key" "${pair%%=*}" "${pair#*=}"
  done
  start
  outline=$(preview_settled) || fail "the preview showed no text"
  click 200 30
  xdotool key ctrl+a type --delay 80 "図回 12"
  typed=$(preview_changed_from "$outline") || fail "typing 図回 12 left the preview as it was"
  click 432 92
  dialog=$(wait_window "$font_dialog") || fail "the font dialog did not appear"
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  xdotool key shift+Tab at
  xdotool key Return
  wait_closed "$font_dialog" || fail "the font dialog did not close on Return"
  preview_changed_from "$typed" >/dev/null || fail "the vertical stroke face left the preview as it was"
  preview_settled no_white_fill >/dev/null || fail "the vertical stroke face's preview shows a filled outline"
  cp "$work/screen.png" "$artifacts/win32_vertical_stroke.png"
  [ "$(remembered strokeFace)" = "@kst32b" ] ||
    fail "the remembered stroke face is \"$(remembered strokeFace)\", not @kst32b"
  click 140 468
  save=$(wait_window "名前を付けて保存|Save As") || fail "OK without a run mode opened no save dialog"
  xdotool windowfocus --sync "$save" 2>/dev/null
  xdotool key Return
  stroke_svg() { find "$work/stroke" -name '*.svg' -size +0 2>/dev/null | grep -q .; }
  poll "$patience" stroke_svg || fail "the save dialog's Enter wrote no vertical stroke drawing"
  click 308 468
  app_end "after Cancel, the program"
  wine "$cli" svg "$(winpath "$work/cli-stroke.svg")" --precision 0.01 --pen-width 0.5 --stroke-font @kst32b \
    --text "図回 12" </dev/null >/dev/null 2>&1 || fail "letterwire-cli.exe svg --stroke-font @kst32b failed"
  saved_svg=$(find "$work/stroke" -name '*.svg' | head -n 1)
  cmp -s "$saved_svg" "$work/cli-stroke.svg" || {
    cp "$saved_svg" "$artifacts/win32_vertical_stroke_window.svg"
    cp "$work/cli-stroke.svg" "$artifacts/win32_vertical_stroke_cli.svg"
    fail "the window's vertical stroke drawing differs from letterwire-cli.exe's (both in $artifacts)"
  }
  unset LETTERWIRE_STROKE_FONTS
fi

# 5. The usage on standard output without a window; a first word that is no
# mode is told in one line on standard error, and the window opens on its own.
usage=$(wine "$program" --help </dev/null 2>/dev/null | tr -d '\r')
case "$usage" in *"JW COMMAND-FILE OUTPUT"*"WIT OUTPUT"*) ;; *) fail "--help printed: $usage" ;; esac
start FOO
[ "$(grep -c 'is no mode' "$work/app.err")" -eq 1 ] && grep -q standalone "$work/app.err" ||
  fail "FOO: not one line on standard error: $(cat "$work/app.err")"
click 308 468
app_end "after Cancel, the program"

# 6. A remembered face that is not installed draws in another; the line
# under the text box says so, no box waits for OK, and Cancel still ends.
# The design's face leaves the line empty (one colour).
note_colours() { # -> the colours in the strip under the text box
  screenshot "$work/screen.png"
  convert "$work/screen.png" -crop "481x15+$((wx + 8))+$((wy + 65))" +repage -format '%k' info:
}
note_shown() { [ "$(note_colours)" -gt 1 ]; }
note_empty() { [ "$(note_colours)" -eq 1 ]; }
wine reg delete 'HKCU\Software\Letterwire' /f </dev/null >/dev/null 2>&1
start
preview_settled >/dev/null || fail "the preview showed no text"
poll "$patience" note_empty || fail "a note under the text box for the design's face"
click 308 468
app_end "after Cancel, the program"
store_setting 'HKCU\Software\Letterwire\Text' face 'No Such Face Zzz'
start
preview_settled >/dev/null || fail "the preview showed no text"
poll "$patience" note_shown || fail "no note under the text box for a face that is not installed"
cp "$work/screen.png" "$artifacts/win32_face_note.png"
! visible_window "^Letterwire$" || fail "a message box came up for the face"
# The line may be cut; its tip holds the whole, within the window.
tip_looks=0
poll "$patience" tip_shown $((wx + 100)) $((wy + 72)) || fail "no tip over the note under the text box"
[ "$tip_width" -le 501 ] || fail "the note's tip is $tip_width pixels wide, wider than the window"
click 308 468
app_end "after Cancel, the program"
wine reg delete 'HKCU\Software\Letterwire' /f </dev/null >/dev/null 2>&1

echo "PASS: the native window under Wine; screenshots in $artifacts"
