#!/bin/sh
# The Debian package as a user gets it: scripts/package-linux makes it from
# this build, lintian finds no error in it, and unpacked into a scratch root
# its programs run there and say the version cmake/letterwire-version.cmake
# sets. Its dependencies name the package of every library the programs
# load (asked of dpkg, not of dpkg-shlibdeps), and its manual pages render
# without a warning.
#   linux_package_test.sh BUILD-DIR
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?usage: linux_package_test.sh BUILD-DIR}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

version=$(sed -n 's/^set(LETTERWIRE_VERSION \([0-9.]*\)).*/\1/p' "$root/cmake/letterwire-version.cmake")
[ -n "$version" ] || { echo "FAIL: no version in cmake/letterwire-version.cmake"; exit 1; }
arch=$(dpkg --print-architecture)

"$root/scripts/package-linux" --no-build "$build" >"$work/package.log" 2>&1 ||
  { cat "$work/package.log"; echo "FAIL: scripts/package-linux"; exit 1; }
deb=$root/dist/letterwire_${version}_${arch}.deb
[ -f "$deb" ] || { cat "$work/package.log"; echo "FAIL: no $deb"; exit 1; }

# lintian's own status is non-zero on an error; its tags are shown either way.
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || fail "lintian: $(grep -v 'root privileges' "$work/lintian.log")"
grep '^E:' "$work/lintian.log" && fail "lintian reports errors"

[ "$(dpkg-deb -f "$deb" Package)" = letterwire ] || fail "the package is not called letterwire"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"

scratch=$work/root
dpkg-deb -x "$deb" "$scratch" || { echo "FAIL: dpkg-deb -x"; exit 1; }
for p in Letterwire letterwire-cli launcher; do
  [ -x "$scratch/usr/bin/$p" ] || fail "/usr/bin/$p is not in the package"
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$scratch/usr/bin/$p" --version 2>&1)
  [ "$out" = "$p $version" ] || fail "$p --version says '$out', not '$p $version'"
  [ -f "$scratch/usr/share/man/man1/$p.1.gz" ] || fail "no manual page for $p"
done
for f in applications/letterwire.desktop icons/hicolor/64x64/apps/letterwire.png doc/letterwire/copyright; do
  [ -f "$scratch/usr/share/$f" ] || fail "/usr/share/$f is not in the package"
done

# The unpacked programs do their work: an SVG the XML parser reads, the JW
# export of the bundled command file.
cli=$scratch/usr/bin/letterwire-cli
"$cli" svg "$work/out.svg" --text "SN 001" >"$work/svg.log" 2>&1 || fail "letterwire-cli svg: $(cat "$work/svg.log")"
/usr/bin/python3 -c '
import sys, xml.etree.ElementTree as ET
r = ET.parse(sys.argv[1]).getroot()
assert r.tag.endswith("svg") and any(e.tag.endswith("path") for e in r.iter())
' "$work/out.svg" || fail "the unpacked letterwire-cli wrote no readable SVG"
"$cli" jw "$root/samples/jw-command.txt" "$work/jw.txt" >/dev/null 2>&1 && [ -s "$work/jw.txt" ] ||
  fail "the unpacked letterwire-cli wrote no JW output"
mkdir -p "$work/run" && printf '#!/bin/sh\necho ran "$@"\n' >"$work/run/tool.sh" && chmod +x "$work/run/tool.sh"
out=$(cd "$work/run" && "$scratch/usr/bin/launcher" tool.sh a)
[ "$out" = "Launch tool.sh
ran a" ] || fail "the unpacked launcher: '$out'"

# Every library a program loads comes from a package the .deb depends on.
depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/[ (].*//')
for p in Letterwire letterwire-cli launcher; do
  for lib in $(objdump -p "$scratch/usr/bin/$p" | awk '$1 == "NEEDED" {print $2}'); do
    path=$(ldconfig -p | awk -v l="$lib" '$1 == l && /x86-64|x32|AArch64|64bit/ {print $NF; exit}')
    [ -n "$path" ] || path=$(ldconfig -p | awk -v l="$lib" '$1 == l {print $NF; exit}')
    owner=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null | head -n 1 | cut -d: -f1)
    [ -n "$owner" ] || owner=$(dpkg -S "$path" 2>/dev/null | head -n 1 | cut -d: -f1)
    if [ -z "$owner" ]; then
      fail "$p needs $lib, which no installed package holds"
    elif ! printf '%s\n' "$depends" | grep -qx "$owner"; then
      fail "$p needs $lib from $owner, which the package does not depend on ($depends)"
    fi
  done
done

for page in "$scratch"/usr/share/man/man1/*.1.gz; do
  warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  zcat "$page" | grep -q "@[A-Z_]*@" && fail "$(basename "$page") has an unfilled placeholder"
done

[ "$failures" -eq 0 ] || exit 1
echo "the package $deb: lintian clean, its programs run unpacked"
