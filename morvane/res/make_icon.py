#!/usr/bin/env python3
"""Writes Morvane Convert's icon, morvane.ico (run from this folder; the output is committed).

A sprite sheet turning into a picture: a grey grid of frames on the left, an arrow, and a
framed landscape on the right, at 32 x 32 and 16 x 16 pixels, 32 bits with alpha."""
import struct


def pixel(x, y, size):
    """Colour (r, g, b, a) of pixel x, y (top-down) of an icon `size` pixels wide."""
    u, v = x * 32 // size, y * 32 // size
    # left: a 2 x 3 grid of sprite frames
    if 2 <= u <= 13 and 4 <= v <= 27:
        if u in (2, 7, 8, 13) or v in (4, 11, 12, 19, 20, 27):
            return (60, 60, 70, 255)
        return (150, 110, 200, 255) if (u + v) % 5 else (230, 200, 90, 255)
    # middle: an arrow pointing right
    if 14 <= u <= 18 and 13 <= v <= 18 and abs(v - 15.5) <= (18 - u) * 1.2:
        return (200, 30, 30, 255)
    # right: a framed picture, sky over hills
    if 19 <= u <= 30 and 8 <= v <= 23:
        if u in (19, 30) or v in (8, 23):
            return (40, 40, 40, 255)
        if v > 17 - (u % 6) // 2:
            return (40, 150, 50, 255)
        return (110, 170, 240, 255)
    return (0, 0, 0, 0)


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up
        rows.append(b''.join(struct.pack('BBBB', b, g, r, a) for r, g, b, a in (pixel(x, y, size) for x in range(size))))
    xor = b''.join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = bytes(mask_row * size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def main():
    sizes = [32, 16]
    images = [image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open('morvane.ico', 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main()
