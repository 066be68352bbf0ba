#!/usr/bin/python3
"""Joins the images of several .ico files into one .ico, in the order given (PNG-compressed
images last: icotool reads them back only there).

icotool picks each image's colour depth itself and would store the 256-colour picture with
16 colours, as it has few; so that picture is made into an .ico of its own (icotool -b 8)
and joined to the true-colour sizes here.
Usage: merge-ico.py <output.ico> <input.ico>..."""

import struct
import sys

ENTRY = struct.Struct("<BBBBHHII")  # width, height, colours, reserved, planes, bits, size, offset


def images(path):
    data = open(path, "rb").read()
    reserved, kind, count = struct.unpack_from("<HHH", data)
    if reserved != 0 or kind != 1:
        sys.exit(f"{path}: not an icon file")
    for i in range(count):
        *fields, size, offset = ENTRY.unpack_from(data, 6 + i * ENTRY.size)
        yield fields, data[offset : offset + size]


def main(output, inputs):
    entries = [image for path in inputs for image in images(path)]
    offset = 6 + len(entries) * ENTRY.size
    header = struct.pack("<HHH", 0, 1, len(entries))
    directory, bodies = b"", b""
    for fields, body in entries:
        directory += ENTRY.pack(*fields, len(body), offset + len(bodies))
        bodies += body
    open(output, "wb").write(header + directory + bodies)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
