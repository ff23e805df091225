#!/usr/bin/env python3
"""The version resource of a Windows program, read from its bytes: the
fixed FILEVERSION and PRODUCTVERSION numbers and the FileVersion and
ProductVersion strings, one "name value" line each.

    file_version.py PROGRAM.exe
"""
import struct
import sys


def string_value(data, key):
    # A String block: its key in UTF-16 with a NUL, padded to 32 bits, then
    # the value in UTF-16 up to its NUL.
    needle = (key + "\0").encode("utf-16-le")
    at = data.find(needle)
    if at < 0:
        return None
    at += len(needle)
    at += (4 - at % 4) % 4
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le")


def main():
    data = open(sys.argv[1], "rb").read()
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        print("no version resource")
        return 1
    _, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", data, at)
    for name, ms, ls in (("FILEVERSION", file_ms, file_ls), ("PRODUCTVERSION", product_ms, product_ls)):
        print(name, f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}")
    for key in ("FileVersion", "ProductVersion"):
        print(key, string_value(data, key))
    return 0


if __name__ == "__main__":
    sys.exit(main())
