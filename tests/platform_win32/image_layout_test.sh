#!/bin/sh
# The command-line program's image lies in the file as it lies in memory, so
# Wine maps it instead of reading it whole at every start.
#   image_layout_test.sh <objdump> <program.exe>
set -eu
objdump=$1
program=$2
headers=$("$objdump" -p "$program")
field() { echo "$headers" | awk -v f="$1" '$1 == f { print $2; exit }'; }
status=0
for name in FileAlignment SectionAlignment; do
  value=$(field "$name")
  # A missing field means the dump was not read, not that all is well.
  if [ -z "$value" ]; then
    echo "$program: no $name in the headers" >&2
    status=1
  elif [ $((0x$value)) -ne 4096 ]; then
    echo "$program: $name is 0x$value, not a page (0x1000)" >&2
    status=1
  fi
done
# Each section with contents starts on a page of the file.
offsets=$("$objdump" -h "$program" | awk '$1 ~ /^[0-9]+$/ && $2 !~ /^\.debug/ { print $2, $6 }')
[ -n "$offsets" ] || { echo "$program: no sections listed" >&2; exit 1; }
echo "$offsets" | {
  while read -r section offset; do
    if [ $((0x$offset % 4096)) -ne 0 ] && [ $((0x$offset)) -ne 0 ]; then
      echo "$program: $section starts at file offset 0x$offset, inside a page" >&2
      exit 1
    fi
  done
} || status=1
exit $status
