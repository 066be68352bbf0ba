#!/usr/bin/python3
"""Reads the version record out of a compiled Windows resource (a .res file or the COFF
object windres makes for the linker) byte by byte, and prints what it finds as lines
"name=value": the fixed file and product versions, the string blocks and their values, and
the translation entries."""

import re
import struct
import sys

FIXED_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def utf16(text):
    return text.encode("utf-16-le")


def read_utf16z(data, pos):
    """The NUL-terminated UTF-16 string at pos, and the position after its NUL."""
    end = pos
    while data[end : end + 2] != b"\0\0":
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def skip_padding(data, pos):
    while data[pos : pos + 2] == b"\0\0":
        pos += 2
    return pos


def four_numbers(ms, ls):
    return f"{ms >> 16},{ms & 0xFFFF},{ls >> 16},{ls & 0xFFFF}"


def main(path):
    data = open(path, "rb").read()
    start = data.find(utf16("VS_VERSION_INFO\0"))
    if start < 0:
        sys.exit(f"{path}: no VS_VERSION_INFO record")
    fixed = data.find(FIXED_SIGNATURE, start)
    if fixed < 0:
        sys.exit(f"{path}: no fixed file information")
    _, _, file_ms, file_ls, prod_ms, prod_ls = struct.unpack_from("<6I", data, fixed)
    print(f"FILEVERSION={four_numbers(file_ms, file_ls)}")
    print(f"PRODUCTVERSION={four_numbers(prod_ms, prod_ls)}")

    # A string table is named by eight hex digits: language and code page.
    for match in re.finditer(rb"(?:[0-9A-Fa-f]\0){8}\0\0", data[start:]):
        print(f"StringFileInfo={match.group()[:-2].decode('utf-16-le')}")
    for key in ("CompanyName", "FileDescription", "FileVersion", "InternalName",
                "OriginalFilename", "ProductName", "ProductVersion"):
        pos = data.find(utf16(key + "\0"), start)
        if pos >= 0:
            value, _ = read_utf16z(data, skip_padding(data, pos + 2 * (len(key) + 1)))
            print(f"{key}={value}")
    pos = data.find(utf16("Translation\0"), start)
    if pos >= 0:
        pos = skip_padding(data, pos + 2 * len("Translation\0"))
        language, codepage = struct.unpack_from("<2H", data, pos)
        print(f"Translation={language:#06x},{codepage}")


if __name__ == "__main__":
    main(sys.argv[1])
