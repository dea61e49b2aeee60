#!/usr/bin/env python3
"""Draws Pellory's icon and writes it as a Windows .ico file.

    make_icon.py OUT.ico

The icon is a rounded blue square with a white letter P, at 16, 32 and 48
pixels, each a 32-bit image with its own alpha.
"""
import struct
import sys

# The letter P on a 5 x 7 grid, top row first.
LETTER_P = [
    "1111.",
    "1...1",
    "1...1",
    "1111.",
    "1....",
    "1....",
    "1....",
]
FILL = (0x2B, 0x6C, 0xB0)  # red, green, blue
EDGE = (0x17, 0x3F, 0x6E)
WHITE = (0xFF, 0xFF, 0xFF)


def inside_rounded_square(x, y, size, radius):
    """Whether pixel (x, y) lies in the square with rounded corners."""
    cx = min(max(x + 0.5, radius), size - radius)
    cy = min(max(y + 0.5, radius), size - radius)
    return (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius ** 2


def pixel(x, y, size):
    """The red, green, blue and alpha of one pixel, rows counted from the top."""
    radius = size / 5
    if not inside_rounded_square(x, y, size, radius):
        return (0, 0, 0, 0)
    edge = max(1, size // 16)
    if not inside_rounded_square(x - edge, y - edge, size - 2 * edge, radius - edge) or \
            x < edge or y < edge:
        return EDGE + (255,)
    # The letter takes the middle of the square: 5 x 7 cells.
    cell = size * 0.1
    left, top = (size - 5 * cell) / 2, (size - 7 * cell) / 2
    column, row = int((x + 0.5 - left) // cell), int((y + 0.5 - top) // cell)
    if 0 <= column < 5 and 0 <= row < 7 and LETTER_P[row][column] == "1":
        return WHITE + (255,)
    return FILL + (255,)


def image(size):
    """One icon image: a BITMAPINFOHEADER, the pixels bottom-up, the mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            red, green, blue, alpha = pixel(x, y, size)
            pixels += bytes((blue, green, red, alpha))
    mask_row = ((size + 31) // 32) * 4  # the alpha decides; the mask stays clear
    return header + bytes(pixels) + bytes(mask_row * size)


def icon(sizes):
    images = [image(size) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, data in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(images)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUT.ico")
    with open(sys.argv[1], "wb") as out:
        out.write(icon([16, 32, 48]))
