#!/usr/bin/env python3
"""Prints the file version of a Windows program, as its VERSIONINFO resource gives it
(FILEVERSION a,b,c,d -> "a.b.c.d"). Exit code 1 when the file has no version block."""
import struct
import sys

RT_VERSION = 16
FIXED_INFO_SIGNATURE = 0xFEEF04BD


def sections(image, pe):
    count = struct.unpack_from("<H", image, pe + 6)[0]
    optional_size = struct.unpack_from("<H", image, pe + 20)[0]
    table = pe + 24 + optional_size
    for i in range(count):
        size, address, raw_size, raw_offset = struct.unpack_from("<IIII", image, table + 40 * i + 8)
        yield address, max(size, raw_size), raw_offset


def file_offset(image, pe, rva):
    for address, size, raw_offset in sections(image, pe):
        if address <= rva < address + size:
            return rva - address + raw_offset
    raise ValueError("address 0x%x lies in no section" % rva)


def resource_directory(image, pe):
    magic = struct.unpack_from("<H", image, pe + 24)[0]
    directories = pe + 24 + (112 if magic == 0x20B else 96)
    rva = struct.unpack_from("<I", image, directories + 2 * 8)[0]
    if rva == 0:
        raise ValueError("no resources")
    return file_offset(image, pe, rva)


def entries(image, base, directory):
    named, numbered = struct.unpack_from("<HH", image, directory + 12)
    for i in range(named + numbered):
        name, target = struct.unpack_from("<II", image, directory + 16 + 8 * i)
        yield name, target


def first_leaf(image, base, target):
    while target & 0x80000000:
        target = next(entries(image, base, base + (target & 0x7FFFFFFF)))[1]
    return base + target


def file_version(path):
    with open(path, "rb") as f:
        image = f.read()
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    base = resource_directory(image, pe)
    for name, target in entries(image, base, base):
        if name != RT_VERSION:
            continue
        leaf = first_leaf(image, base, target)
        data_rva, size = struct.unpack_from("<II", image, leaf)
        block = image[file_offset(image, pe, data_rva):][:size]
        at = block.find(struct.pack("<I", FIXED_INFO_SIGNATURE))
        if at < 0:
            break
        ms, ls = struct.unpack_from("<II", block, at + 8)
        return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    raise ValueError("no version block")


def main():
    if len(sys.argv) != 2:
        print("usage: pe_version.py program.exe", file=sys.stderr)
        return 2
    try:
        print(file_version(sys.argv[1]))
    except (OSError, ValueError, struct.error) as error:
        print("pe_version.py: %s: %s" % (sys.argv[1], error), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
