#!/bin/sh
# The Windows packages as a user gets them. Builds them (scripts/package-windows,
# arguments passed on), checks the zip's contents against the built programs,
# then, in a Wine prefix of its own, installs with the installer in silent mode
# for the current user and for all users side by side, checks the files, the
# Start-menu entries and the uninstall entry of each in its own hive, runs the
# installed programs, and removes each install with the uninstaller that Windows
# would call, checking that nothing of it is left and that the other install is
# untouched. With a window, walks every page of the installer and the
# uninstaller in Japanese and in English and fails on a text its control cuts
# off.
#
#   tests/wine/package_test.sh [--no-build]
#
# The prefix (build/windows/package-wineprefix) is made once (about 12 s) and
# reused; one that a failed run left with an install in it is made afresh.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

. tests/xvfb.sh
fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }

scripts/package-windows "$@"

# The version as its one source states it, not as the packaging read it.
version=$(sed -n 's/^set(LETTERWIRE_VERSION \([0-9.]*\)).*/\1/p' cmake/letterwire-version.cmake)
[ -n "$version" ] || fail "no version in cmake/letterwire-version.cmake"
name=Letterwire-$version
zip=dist/$name-windows-x64.zip
setup=dist/$name-setup.exe
[ -f "$zip" ] || fail "$zip not made"
[ -f "$setup" ] || fail "$setup not made"

scratch=$(mktemp -d)
prefix=$root/build/windows/package-wineprefix
export LETTERWIRE_WINEPREFIX="$prefix"
# Wine in the project's setting; a display only where a window must open.
w() { scripts/wine-env env ${DISPLAY:+DISPLAY="$DISPLAY"} "$@"; }
cleanup() {
  w wineserver -k </dev/null >/dev/null 2>&1 || true
  xvfb_cleanup || true
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# --- the zip
note "zip contents"
programs=$(cd build/windows/dist && ls ./*.exe | sed 's|^\./||')
shipped=$(printf '%s\n' $programs LICENSE.txt README.txt THIRD-PARTY-NOTICES.txt | sort)
unzip -q "$zip" -d "$scratch/zip"
[ "$(ls "$scratch/zip")" = "$name" ] || fail "the zip's top folder is not $name: $(ls "$scratch/zip")"
package=$scratch/zip/$name
got=$(cd "$package" && find . -mindepth 1 | sed 's|^\./||' | sort)
[ "$got" = "$shipped" ] || fail "zip holds
$got
instead of
$shipped"
# Each program's file version, as Explorer shows it, read from its bytes.
four=$(echo "$version.0.0.0" | cut -d. -f1-4)
for p in $programs; do
  cmp -s "$package/$p" "build/windows/dist/$p" || fail "$p in the zip differs from the build's"
  grep -q "$p" "$package/README.txt" || fail "README.txt does not mention $p"
  resource=$(/usr/bin/python3 tests/wine/file_version.py "$package/$p")
  [ "$resource" = "FILEVERSION $four
PRODUCTVERSION $four
FileVersion $version
ProductVersion $version" ] || fail "$p's version resource is not $version: $resource"
done
for t in LICENSE.txt README.txt THIRD-PARTY-NOTICES.txt; do
  [ "$(grep -c "$(printf '\r')\$" "$package/$t")" -eq "$(wc -l < "$package/$t")" ] ||
    fail "$t has lines without CR LF"
done
grep -q "^Version $version" "$package/README.txt" || fail "README.txt does not give version $version"
! grep -q '@[A-Z]*@' "$package/README.txt" || fail "README.txt has an unfilled placeholder"
grep -q "MIT License" "$package/LICENSE.txt" || fail "LICENSE.txt is not the project's licence"
window=no
case " $(echo $programs) " in *" Letterwire.exe "*) window=yes ;; esac

# --- the prefix: one that holds a leftover install is not a clean slate.
scripts/wine-env wineserver -k </dev/null >/dev/null 2>&1 || true
if [ -e "$prefix/.letterwire-ready" ] &&
   { grep -qi 'Uninstall\\\\Letterwire' "$prefix/user.reg" "$prefix/system.reg" 2>/dev/null ||
     [ -n "$(find "$prefix/drive_c" -maxdepth 5 -iname 'Letterwire*' -print -quit)" ]; }; then
  note "a previous run left an install; making the prefix afresh"
  rm -rf "$prefix"
fi
if [ "$window" = yes ]; then
  xvfb_require
  trap cleanup EXIT
  xvfb_start
fi
w wineserver -p </dev/null >/dev/null 2>&1
w wine cmd /c exit </dev/null >/dev/null 2>&1

# Windows paths (all on C:) to Unix ones.
unix() { printf '%s' "$1" | tr -d '\r' | sed "s|^[Cc]:|$prefix/drive_c|; s|\\\\|/|g"; }
env_dirs=$(w wine cmd /c 'echo %LOCALAPPDATA%& echo %APPDATA%& echo %ProgramData%& echo %ProgramW6432%' 2>/dev/null | tr -d '\r')
line() { unix "$(printf '%s\n' "$env_dirs" | sed -n "$1p")"; }
localappdata=$(line 1) appdata=$(line 2) programdata=$(line 3) programfiles=$(line 4)
[ -d "$localappdata" ] && [ -d "$appdata" ] && [ -d "$programfiles" ] || fail "Wine's folders not found: $env_dirs"

key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Letterwire'
uninstaller="Uninstall Letterwire.exe"
# hive value -> the value; status 1 when the answer shows none. Wine's reg
# now and then answers nothing on a busy machine (CI once read no
# DisplayVersion just after InstallLocation), so what should be there is
# polled for. Callers take the value in $(...), whose own shell keeps this
# poll apart from one it may run inside.
reg_read() {
  value=$(w wine reg query "$1\\$key" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p")
  [ -n "$value" ] && printf '%s\n' "$value"
}
# hive value -> the value, or nothing (status 1) when it is not there
reg_value() { poll "$patience" reg_read "$1" "$2"; }
has_key() { w wine reg query "$1\\$key" >/dev/null 2>&1; }

# The prefix is Japanese (scripts/wine-env): so is the README's entry.
readme_link="Letterwire - お読みください.lnk"
links=$(if [ $window = yes ]; then echo "$readme_link"; echo Letterwire.lnk; else echo "$readme_link"; fi | sort)

# dir start-menu-dir hive -> checks one install
check_installed() {
  got=$(cd "$1" && find . -mindepth 1 | sed 's|^\./||' | sort)
  want=$(printf '%s\n' "$shipped" "$uninstaller" | sort)
  [ "$got" = "$want" ] || fail "$1 holds
$got
instead of
$want"
  for f in $shipped; do cmp -s "$1/$f" "$package/$f" || fail "installed $f differs from the package's"; done
  [ "$(ls "$2" 2>/dev/null | sort)" = "$links" ] || fail "Start menu $2 holds '$(ls "$2" 2>/dev/null)'"
  location=$(reg_value "$3" InstallLocation) || fail "no uninstall entry in $3"
  [ "$(unix "$location")" = "$1" ] || fail "$3 InstallLocation is $location, not $1"
  [ "$(reg_value "$3" DisplayVersion)" = "$version" ] || fail "$3 DisplayVersion is not $version"
}

# dir -> the installed programs run
check_programs() {
  out=$(w wine "$1/letterwire-cli.exe" --help 2>&1) || fail "installed letterwire-cli.exe --help failed: $out"
  case "$out" in *"Usage: letterwire-cli"*) ;; *) fail "installed letterwire-cli.exe --help said: $out" ;; esac
  if [ $window = yes ]; then
    w wine "$1/Letterwire.exe" >"$scratch/window.log" 2>&1 &
    app_pid=$!
    id=$(wait_window "$caption") ||
      fail "installed Letterwire.exe showed no window: $(cat "$scratch/window.log")"
    # Closed as a user would (a killed process would keep its file in use).
    window_origin "$id"
    xdotool key alt+F4
    app_end "the installed Letterwire.exe, closed with Alt+F4,"
    [ "$status" -eq 0 ] || fail "the installed Letterwire.exe, closed, ended with status $status"
  fi
}

# hive dir [direct] -> runs the hive's QuietUninstallString, or with "direct"
# the uninstaller in dir with /S alone (as one started from the folder), and
# waits for it (it runs on from a copy of itself) to remove the folder.
uninstall() {
  command=$(reg_value "$1" QuietUninstallString) || fail "no QuietUninstallString in $1"
  exe=$(printf '%s' "$command" | sed -n 's/^"\([^"]*\)".*/\1/p')
  args=$(printf '%s' "$command" | sed 's/^"[^"]*" *//')
  [ "$(unix "$exe")" = "$2/$uninstaller" ] || fail "$1 uninstaller is $exe"
  [ "${3:-}" = direct ] && args=/S
  # shellcheck disable=SC2086 # the arguments as Windows would split them
  w wine "$(unix "$exe")" $args </dev/null >/dev/null 2>&1 || fail "uninstaller failed"
  if [ -z "$kept" ]; then
    poll "$patience" absent "$2" || fail "uninstall left in $2: $(cd "$2" && find . -mindepth 1)"
  else
    poll "$patience" holds_only_kept "$2" ||
      fail "uninstall left in $2
$(cd "$2" && find . -mindepth 1 | sed 's|^\./||' | sort)
instead of the user's own
$kept"
  fi
}
# The user's own files (names, one a line, sorted) that an uninstall must
# leave in the folder: the folder then stays, holding them alone.
kept=
holds_only_kept() { [ "$(cd "$1" && find . -mindepth 1 | sed 's|^\./||' | sort)" = "$kept" ]; }

# PATH of a hive and whether it holds an install's folder (Windows form).
env_path() {
  w wine reg query "$1" /v Path 2>/dev/null | tr -d '\r' | sed -n 's/^ *Path *REG_[A-Z_]* *//p'
}
user_env='HKCU\Environment'
machine_env='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
on_path() {
  location=$(reg_value "$2" InstallLocation) || fail "no uninstall entry in $2"
  case ";$(env_path "$1");" in *";$location;"*) return 0 ;; esac
  return 1
}
settings_key='HKCU\Software\Letterwire'

user_dir=$localappdata/Programs/Letterwire
user_menu="$appdata/Microsoft/Windows/Start Menu/Programs/Letterwire"
all_dir=$programfiles/Letterwire
all_menu="$programdata/Microsoft/Windows/Start Menu/Programs/Letterwire"

note "installer, current user"
w wine "$setup" /S /CurrentUser </dev/null >/dev/null 2>&1 || fail "installer for the current user failed"
check_installed "$user_dir" "$user_menu" HKCU
! has_key HKLM || fail "a current-user install wrote to HKLM"
[ ! -e "$all_dir" ] || fail "a current-user install wrote to $all_dir"
check_programs "$user_dir"
poll "$patience" on_path "$user_env" HKCU || fail "the current-user install is not on the user's PATH: $(env_path "$user_env")"
user_location=$location
! on_path "$machine_env" HKCU || fail "a current-user install changed the machine's PATH"

note "installer, all users, beside it"
w wine "$setup" /S /AllUsers </dev/null >/dev/null 2>&1 || fail "installer for all users failed"
check_installed "$all_dir" "$all_menu" HKLM
check_installed "$user_dir" "$user_menu" HKCU
check_programs "$all_dir"
poll "$patience" on_path "$machine_env" HKLM || fail "the all-users install is not on the machine's PATH: $(env_path "$machine_env")"
all_location=$location
w wine reg add "$settings_key\\Save" /v folder /d here /f >/dev/null 2>&1 || fail "could not store a setting"

# Started from its folder, without saying which install it belongs to.
note "uninstaller, all users"
uninstall HKLM "$all_dir" direct
[ ! -e "$all_menu" ] || fail "Start-menu entries left in $all_menu: $(ls "$all_menu")"
! has_key HKLM || fail "uninstall entry left in HKLM"
check_installed "$user_dir" "$user_menu" HKCU
case ";$(env_path "$machine_env");" in *";$all_location;"*) fail "the all-users folder is still on the machine's PATH" ;; esac
poll "$patience" on_path "$user_env" HKCU || fail "uninstalling for all users took the user's folder off PATH"
poll "$patience" w wine reg query "$settings_key" >/dev/null 2>&1 || fail "the settings went while an install is left"

if [ $window = yes ]; then
  note "uninstaller while Letterwire.exe runs: refused, nothing removed"
  w wine "$user_dir/Letterwire.exe" >"$scratch/running.log" 2>&1 &
  app_pid=$!
  id=$(wait_window "$caption") || fail "Letterwire.exe showed no window: $(cat "$scratch/running.log")"
  # _?= runs the uninstaller in place, so its status is the refusal's (the
  # per-user folder has no blank, which would make Wine quote the word).
  if w wine "$user_dir/$uninstaller" /S "_?=$user_location" </dev/null >/dev/null 2>&1; then
    fail "the uninstaller went on while Letterwire.exe ran"
  fi
  check_installed "$user_dir" "$user_menu" HKCU
  window_origin "$id"
  xdotool key alt+F4
  app_end "Letterwire.exe, closed with Alt+F4,"
fi

note "uninstaller, current user (with WIT export work files and the user's own look-alikes in the folder)"
# The export's work files are "tmp-", twelve lower-case hex digits, ".wmf";
# a name that is not one of those is the user's.
for f in tmp-0123456789ab.wmf tmp-fedcba987654.wmf; do : > "$user_dir/$f"; done
kept=$(printf '%s\n' tmp.wmf tmpfoo.wmf tmp-.wmf tmp-12345.wmf tmp-Xy12ab.wmf tmp-0123456789abc.wmf \
  tmp-0123456789abcdefg.wmf tmp-0123456789AB.wmf tmp-0123456789ag.wmf tmp-0123456789a.wmf tmp-0123456789ab.wmf.bak \
  xtmp-0123456789ab.wmf | sort)
for f in $kept; do echo mine > "$user_dir/$f"; done
uninstall HKCU "$user_dir"
for f in $kept; do [ "$(cat "$user_dir/$f")" = mine ] || fail "the user's $f changed"; done
rm -r "$user_dir"
kept=
[ ! -e "$user_menu" ] || fail "Start-menu entries left in $user_menu: $(ls "$user_menu")"
! has_key HKCU || fail "uninstall entry left in HKCU"
[ -d "$localappdata/Programs" ] || fail "the uninstaller removed $localappdata/Programs"
case ";$(env_path "$user_env");" in *";$user_location;"*) fail "the user's folder is still on PATH" ;; esac
! w wine reg query "$settings_key" >/dev/null 2>&1 || fail "the settings were left after the last uninstall"

if [ $window = yes ]; then
  # The installer speaks the system's language: its window's title, under a
  # Japanese and under an English (C) locale. Then every page of it and of
  # its uninstaller is walked as a user taking the defaults would, each
  # text measured against its control in the wizard's font.
  fit=build/windows/tests/wine/installer_text_fit.exe
  [ -f "$fit" ] || fail "$fit not built (scripts/build-windows builds it)"
  windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
  for case in "ja_JP.UTF-8 セットアップ アンインストール" "C.UTF-8 Setup Uninstall"; do
    set -- $case
    note "installer window under $1, its texts and its uninstaller's"
    case $1 in
      ja*) readme_link="Letterwire - お読みください.lnk" ;;
      *) readme_link="Letterwire - Read me.lnk" ;;
    esac
    links=$(printf '%s\n' "$readme_link" Letterwire.lnk | sort)
    w env LANG="$1" LC_ALL="$1" wine "$setup" </dev/null >"$scratch/setup.log" 2>&1 &
    setup_pid=$!
    # NSIS ends its caption with a blank.
    wait_window "^Letterwire $2 ?\$" >/dev/null ||
      fail "no installer window titled \"Letterwire $2\" under $1: $(cat "$scratch/setup.log")"
    w env LANG="$1" LC_ALL="$1" wine "$fit" "$(windows_path "$root/$setup")" >"$scratch/fit.log" 2>&1 ||
      fail "the installer's pages under $1: $(grep -v '^fits:' "$scratch/fit.log")"
    wait $setup_pid 2>/dev/null || true
    check_installed "$user_dir" "$user_menu" HKCU
    w env LANG="$1" LC_ALL="$1" wine "$user_dir/$uninstaller" </dev/null >"$scratch/setup.log" 2>&1 &
    setup_pid=$!
    wait_window "^Letterwire $3 ?\$" >/dev/null ||
      fail "no uninstaller window titled \"Letterwire $3\" under $1: $(cat "$scratch/setup.log")"
    w env LANG="$1" LC_ALL="$1" wine "$fit" "$(windows_path "$user_dir/$uninstaller")" >"$scratch/fit.log" 2>&1 ||
      fail "the uninstaller's pages under $1: $(grep -v '^fits:' "$scratch/fit.log")"
    poll "$patience" absent "$user_dir" || fail "the uninstaller left $user_dir: $(ls "$user_dir")"
    wait $setup_pid 2>/dev/null || true
  done
fi

echo "package test passed"
