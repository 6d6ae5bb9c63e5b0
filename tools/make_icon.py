#!/usr/bin/env python3
"""Draws Plindar's icon, a USB stick with an eject mark, as res/Plindar.ico.

Four images (16, 24, 32 and 48 pixels), 256 colours each, with a 1-bit transparency mask.
Shapes are placed on a unit square and snapped to each size's pixel grid, so the small sizes
stay crisp instead of blurred copies of the large one. Run it again after changing a shape.
"""
import struct
import sys
from pathlib import Path

TRANSPARENT = None
SILVER = (206, 210, 218)
SILVER_EDGE = (110, 116, 128)
HOLE = (70, 76, 88)
BODY = (36, 112, 204)
BODY_LIGHT = (78, 148, 232)
BODY_EDGE = (18, 58, 122)
MARK = (255, 255, 255)


def inside_rect(x, y, left, top, right, bottom):
    return left <= x < right and top <= y < bottom


def pixel(x, y):
    """Colour at unit coordinates (x, y), or None where the icon is transparent."""
    # Eject mark on the body: a triangle over a bar.
    if 0.47 <= y < 0.67:
        half = (y - 0.47) / 0.20 * 0.19
        if abs(x - 0.5) <= half:
            return MARK
    if inside_rect(x, y, 0.31, 0.73, 0.69, 0.81):
        return MARK
    # Body with rounded corners and a lighter left half for depth.
    if inside_rect(x, y, 0.20, 0.34, 0.80, 0.96):
        corner = 0.07
        cx = min(max(x, 0.20 + corner), 0.80 - corner)
        cy = min(max(y, 0.34 + corner), 0.96 - corner)
        if (x - cx) ** 2 + (y - cy) ** 2 <= corner ** 2:
            return BODY_LIGHT if x < 0.40 else BODY
    # Connector and its two holes.
    if inside_rect(x, y, 0.41, 0.13, 0.48, 0.22) or inside_rect(x, y, 0.52, 0.13, 0.59, 0.22):
        return HOLE
    if inside_rect(x, y, 0.32, 0.04, 0.68, 0.34):
        return SILVER
    return TRANSPARENT


def render(size):
    grid = [[pixel((c + 0.5) / size, (r + 0.5) / size) for c in range(size)] for r in range(size)]
    # A one-pixel darker edge wherever a shape meets transparency, so the stick reads on any
    # background.
    out = [row[:] for row in grid]
    for r in range(size):
        for c in range(size):
            colour = grid[r][c]
            if colour is None or colour == MARK or colour == HOLE:
                continue
            edge = any(
                not (0 <= r + dr < size and 0 <= c + dc < size) or grid[r + dr][c + dc] is None
                for dr, dc in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if edge:
                out[r][c] = SILVER_EDGE if colour == SILVER else BODY_EDGE
    return out


def ico_image(size, palette):
    rows = render(size)
    index = {colour: i for i, colour in enumerate(palette)}
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    colours += b'\0' * (4 * (256 - len(palette)))
    xor_stride = (size + 3) // 4 * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom-up, as bitmaps are stored
        line = bytes(index[c] if c is not None else 0 for c in row)
        xor += line + b'\0' * (xor_stride - size)
        bits = bytearray(and_stride)
        for c, colour in enumerate(row):
            if colour is None:
                bits[c // 8] |= 0x80 >> (c % 8)
        mask += bits
    return header + colours + bytes(xor) + bytes(mask)


def main(target):
    sizes = (16, 24, 32, 48)
    palette = [(0, 0, 0), SILVER, SILVER_EDGE, HOLE, BODY, BODY_LIGHT, BODY_EDGE, MARK]
    images = [ico_image(s, palette) for s in sizes]
    data = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, image in zip(sizes, images):
        data += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 8, len(image), offset)
        offset += len(image)
    data += b''.join(images)
    Path(target).write_bytes(data)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else str(Path(__file__).parent.parent / 'res' / 'Plindar.ico'))
