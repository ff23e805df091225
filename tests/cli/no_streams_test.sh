#!/bin/sh
# letterwire-cli links neither the standard streams nor the locale: set up at
# every start, they cost a few per cent of a cold capture. A writer that takes
# an std::ostream, an <iostream> included, or std::filesystem (whose copy
# links the file streams) brings them back; the linker's -Map says who asked.
#   no_streams_test.sh LETTERWIRE-CLI
set -eu
found=$(nm -C "$1" | grep -E 'std::(ios_base|locale|basic_ios|basic_[io]?stream|basic_streambuf|basic_filebuf)|std::__cxx11::basic_[io]?stringstream|_GLOBAL__sub_I_.*(locale|ios)' || true)
if [ -n "$found" ]; then
  printf 'standard streams or the locale linked into %s:\n%s\n' "$1" "$(printf '%s\n' "$found" | head -n 5)" >&2
  exit 1
fi
