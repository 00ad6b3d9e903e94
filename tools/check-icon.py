#!/usr/bin/env python3
"""Checks the program icon inside a built kestrin.exe: the icon group named
MAINICON must hold exactly the images of 16, 20, 24, 32, 40, 48, 64 and 256
pixels, each in 32-bit colour with an alpha channel in use (bitmaps of 32
bits a pixel whose alpha is neither all opaque nor all zero, which Windows
would ignore; PNG images in RGBA).
  tools/check-icon.py path/to/kestrin.exe
Prints one line and exits 0 when all is well; else names what is wrong and
exits 1."""

import struct
import sys
import zlib

from usage import expect_arguments

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
RT_ICON = 3
RT_GROUP_ICON = 14
RESOURCE_DIRECTORY = 2
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


class Bad(Exception):
    pass


class Resources:
    """The resource tree of a PE file, read straight from its bytes."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise Bad("not a Windows program (no MZ header)")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise Bad("not a Windows program (no PE header)")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (112 if magic == 0x20B else 96)
        self.root, size = struct.unpack_from("<II", data, directories + 8 * RESOURCE_DIRECTORY)
        if self.root == 0 or size == 0:
            raise Bad("the program has no resources")
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            virtual_size, address, raw_size, raw_offset = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            self.sections.append((address, max(virtual_size, raw_size), raw_offset))

    def offset(self, rva):
        for address, size, raw in self.sections:
            if address <= rva < address + size:
                return rva - address + raw
        raise Bad("resource address 0x%x is in no section" % rva)

    def entries(self, directory_rva):
        """(name or id, rva, is_directory) of one directory's entries."""
        at = self.offset(directory_rva)
        named, numbered = struct.unpack_from("<HH", self.data, at + 12)
        found = []
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
            if name & 0x80000000:
                text_at = self.offset(self.root + (name & 0x7FFFFFFF))
                length = struct.unpack_from("<H", self.data, text_at)[0]
                name = self.data[text_at + 2:text_at + 2 + 2 * length].decode("utf-16-le")
            found.append((name, self.root + (target & 0x7FFFFFFF), bool(target & 0x80000000)))
        return found

    def find(self, directory_rva, wanted):
        for name, rva, is_directory in self.entries(directory_rva):
            if name == wanted:
                return rva, is_directory
        return None

    def resource(self, kind, name):
        """The bytes of the first language of resource `name` of type `kind`, or None."""
        found = self.find(self.root, kind)
        if found is None:
            return None
        found = self.find(found[0], name)
        if found is None:
            return None
        languages = self.entries(found[0])
        if not languages:
            return None
        data_entry = self.offset(languages[0][1])
        rva, size = struct.unpack_from("<II", self.data, data_entry)
        start = self.offset(rva)
        return self.data[start:start + size]


def check_png(size, image):
    width, height, depth, colour_type = struct.unpack_from(">IIBB", image, 16)
    if image[12:16] != b"IHDR":
        raise Bad("the %d image is a PNG without its header" % size)
    if (width, height) != (size, size):
        raise Bad("the %d image is a PNG of %d x %d" % (size, width, height))
    if (depth, colour_type) != (8, 6):
        raise Bad("the %d image is a PNG of colour type %d at %d bits, not RGBA (6) at 8" % (size, colour_type, depth))


def check_bitmap(size, image):
    header, width, height, _, bits = struct.unpack_from("<IiiHH", image, 0)
    if (width, height) != (size, 2 * size):
        raise Bad("the %d image is a bitmap of %d x %d" % (size, width, height // 2))
    if bits != 32:
        raise Bad("the %d image has %d bits a pixel, not 32" % (size, bits))
    mask_stride = (size + 31) // 32 * 4
    if len(image) < header + 4 * size * size + mask_stride * size:
        raise Bad("the %d image is cut short" % size)
    alphas = set(image[header + 3:header + 4 * size * size:4])
    if alphas == {0}:
        raise Bad("the %d image's alpha is all zero: Windows would ignore it" % size)
    if alphas == {255}:
        raise Bad("the %d image is opaque all over: no alpha in use" % size)


def check(path):
    with open(path, "rb") as f:
        resources = Resources(f.read())
    group = resources.resource(RT_GROUP_ICON, "MAINICON")
    if group is None:
        raise Bad("no icon group MAINICON")
    count = struct.unpack_from("<H", group, 4)[0]
    sizes = []
    for i in range(count):
        width, height, _, _, _, bits, _, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        size = width or 256
        if (height or 256) != size:
            raise Bad("the group lists an image of %d x %d" % (size, height or 256))
        if bits != 32:
            raise Bad("the group lists the %d image with %d bits a pixel" % (size, bits))
        image = resources.resource(RT_ICON, icon_id)
        if image is None:
            raise Bad("the %d image (icon %d) is missing" % (size, icon_id))
        if image.startswith(PNG_SIGNATURE):
            check_png(size, image)
        else:
            check_bitmap(size, image)
        sizes.append(size)
    if sorted(sizes) != SIZES:
        raise Bad("the sizes are %s, not %s" % (sorted(sizes), SIZES))
    return sizes


def main(arguments):
    expect_arguments(__doc__, arguments, 1, 1)
    try:
        sizes = check(arguments[0])
    except (Bad, struct.error, OSError) as error:
        print("check-icon: %s: %s" % (arguments[0], error), file=sys.stderr)
        return 1
    print("check-icon: %s: MAINICON holds %s pixels, 32-bit with alpha"
          % (arguments[0], ", ".join(str(size) for size in sorted(sizes))))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
