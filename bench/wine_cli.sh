#!/bin/sh
# The Windows `letterwire-cli.exe capture` under Wine against the least
# mingw program that makes the same GDI calls (bench/process/
# minimal_gdi_capture.c), alternating, CPU time of the whole Wine process,
# standard output first to a character device (/dev/null), then to a file.
# Goals: at most 1.10 to the device, 1.05 to the file.
#   bench/wine_cli.sh [Linux build directory] [Windows build directory] [runs]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/release}
windows=${2:-build/windows}
runs=${3:-40}
timer="$build/bench/process/spawn_timer"
cli="$windows/dist/letterwire-cli.exe"
[ -x "$timer" ] || { echo "build spawn_timer first ($timer)" >&2; exit 1; }
[ -f "$cli" ] || { echo "run scripts/build-windows first ($cli)" >&2; exit 1; }
peer="$windows/bench/minimal_gdi_capture.exe"
mkdir -p "$(dirname "$peer")"
x86_64-w64-mingw32-gcc -O2 -Wall -Wextra -o "$peer" bench/process/minimal_gdi_capture.c -lgdi32
run="$PWD/scripts/wine-run"
# One warm Wine server for the whole run, as the Windows tests have it.
scripts/wine-env wineserver -p </dev/null >/dev/null 2>&1 || true
out=$(mktemp)
trap 'rm -f "$out"; scripts/wine-env wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
scripts/wine-env wine cmd /c exit </dev/null >/dev/null 2>&1 || true
export LETTERWIRE_WINE_WARM=1
echo "== standard output to a character device"
"$timer" "$runs" "letterwire-cli.exe capture" "minimal GDI program" -- "$run" "$cli" capture -- "$run" "$peer"
echo "== standard output to a file"
SPAWN_TIMER_OUTPUT="$out" "$timer" "$runs" "letterwire-cli.exe capture" "minimal GDI program" -- "$run" "$cli" capture -- "$run" "$peer"
