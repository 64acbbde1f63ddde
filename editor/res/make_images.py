#!/usr/bin/env python3
"""Writes Strindle's icons and bitmaps (run from this folder; the outputs are committed)."""
import struct

GREY = (192, 192, 192)  # the toolbar's and browse button's transparent colour
PALETTE = {
    '.': None, 'k': (0, 0, 0), 'w': (255, 255, 255), 'g': (128, 128, 128), 'l': (192, 192, 192),
    'b': (0, 0, 160), 'B': (80, 140, 230), 'y': (240, 200, 60), 'Y': (200, 150, 20),
    'r': (220, 0, 0), 'G': (0, 160, 0), 'p': (150, 90, 250), 'o': (250, 170, 35), 't': (170, 160, 120),
}

# 16 x 15 toolbar images, in button order.
TOOLBAR = [
    # New: a page with a folded corner
    ["..kkkkkkkk......", "..kwwwwwwkk.....", "..kwwwwwwkwk....", "..kwwwwwwkkkk...",
     "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...",
     "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...",
     "..kwwwwwwwwwk...", "..kkkkkkkkkkk...", "................"],
    # Open: a yellow folder
    ["................", "................", ".kkkk...........", "kyyyyk..........",
     "kyyyyykkkkkkk...", "kyyyyyyyyyyyk...", "kyykkkkkkkkkkkk.", "kyykYYYYYYYYYYk.",
     "kykYYYYYYYYYYk..", "kykYYYYYYYYYYk..", "kkYYYYYYYYYYk...", "kkYYYYYYYYYYk...",
     "kkkkkkkkkkkkk...", "................", "................"],
    # Save: a floppy disk
    ["kkkkkkkkkkkkkkk.", "kbbwwwwwwwwwbbk.", "kbbwwwwwwwwwbbk.", "kbbwwwwwwwwwbbk.",
     "kbbwwwwwwwwwbbk.", "kbbbbbbbbbbbbbk.", "kbbbbbbbbbbbbbk.", "kbbbllllllllbbk.",
     "kbbblkklllllbbk.", "kbbblkklllllbbk.", "kbbblkklllllbbk.", "kbbbllllllllbbk.",
     "kkkkkkkkkkkkkkk.", "................", "................"],
    # Search: a magnifier
    ["....kkkk........", "..kkBBBBkk......", ".kBBwwBBBBk.....", ".kBwwBBBBBk.....",
     "kBBwBBBBBBBk....", "kBBBBBBBBBBk....", "kBBBBBBBBBBk....", ".kBBBBBBBBk.....",
     ".kBBBBBBBBk.....", "..kkBBBBkkk.....", "....kkkk.kkk....", "..........kkk...",
     "...........kkk..", "............kk..", "................"],
    # Search Next: a magnifier and an arrow
    ["....kkkk........", "..kkBBBBkk......", ".kBwwBBBBBk.....", "kBBwBBBBBBBk....",
     "kBBBBBBBBBBk....", "kBBBBBBBBBBk..G.", ".kBBBBBBBBk...GG", "..kkBBBBkkk.GGGG",
     "....kkkk.kkk..GG", "..........kkk.G.", "...........kk...", "................",
     "................", "................", "................"],
    # Go to Index #: a hash sign
    ["................", "....kk...kk.....", "....kk...kk.....", "..kkkkkkkkkkkk..",
     "..kkkkkkkkkkkk..", "....kk...kk.....", "....kk...kk.....", "...kk...kk......",
     "...kk...kk......", ".kkkkkkkkkkkk...", ".kkkkkkkkkkkk...", "...kk...kk......",
     "...kk...kk......", "................", "................"],
    # Add Key: a green plus
    ["................", "......GGGG......", "......GGGG......", "......GGGG......",
     "......GGGG......", ".GGGGGGGGGGGGGG.", ".GGGGGGGGGGGGGG.", ".GGGGGGGGGGGGGG.",
     ".GGGGGGGGGGGGGG.", "......GGGG......", "......GGGG......", "......GGGG......",
     "......GGGG......", "................", "................"],
    # Delete Key: a red cross
    ["................", ".rr..........rr.", ".rrr........rrr.", "..rrr......rrr..",
     "...rrr....rrr...", "....rrr..rrr....", ".....rrrrrr.....", "......rrrr......",
     ".....rrrrrr.....", "....rrr..rrr....", "...rrr....rrr...", "..rrr......rrr..",
     ".rrr........rrr.", ".rr..........rr.", "................"],
    # Colors: four colour squares
    ["................", ".kkkkkkk.kkkkkkk", ".krrrrrk.kGGGGGk", ".krrrrrk.kGGGGGk",
     ".krrrrrk.kGGGGGk", ".krrrrrk.kGGGGGk", ".kkkkkkk.kkkkkkk", "................",
     ".kkkkkkk.kkkkkkk", ".kBBBBBk.kyyyyyk", ".kBBBBBk.kyyyyyk", ".kBBBBBk.kyyyyyk",
     ".kBBBBBk.kyyyyyk", ".kkkkkkk.kkkkkkk", "................"],
    # Tbl file Import: a blue page and an arrow into it
    ["......kkkkkkkkk.", "......kBBBBBBBk.", "......kBwwwwwBk.", "......kBBBBBBBk.",
     "...G..kBwwwwBBk.", "...GG.kBBBBBBBk.", "GGGGGGkBwwwwwBk.", "GGGGGGGBBBBBBBk.",
     "GGGGGGkBwwwBBBk.", "...GG.kBBBBBBBk.", "...G..kBwwwwwBk.", "......kBBBBBBBk.",
     "......kkkkkkkkk.", "................", "................"],
    # Tabbed txt import: a page with columns and an arrow into it
    ["......kkkkkkkkk.", "......kwwwwwwwk.", "......kkk.kk.kk.", "......kwwwwwwwk.",
     "...G..kkk.kk.kk.", "...GG.kwwwwwwwk.", "GGGGGGkkk.kk.kk.", "GGGGGGGwwwwwwwk.",
     "GGGGGGkkk.kk.kk.", "...GG.kwwwwwwwk.", "...G..kkk.kk.kk.", "......kwwwwwwwk.",
     "......kkkkkkkkk.", "................", "................"],
    # Show Text as Item Text: centred lines on a dark item panel
    ["kkkkkkkkkkkkkkkk", "kggggggggggggggk", "kggggyyyyyygggk.", "kggggggggggggggk",
     "kggyyyyyyyyyyggk", "kggggggggggggggk", "kgggyyyyyyyygggk", "kggggggggggggggk",
     "kgggggwwwwgggggk", "kggggggggggggggk", "kggwwwwwwwwwwggk", "kggggggggggggggk",
     "kkkkkkkkkkkkkkkk", "................", "................"],
    # Index Numbers: "ID" over a number line
    ["................", ".kk.kkkkk.......", ".kk.kk..kk......", ".kk.kk...kk.....",
     ".kk.kk...kk.....", ".kk.kk..kk......", ".kk.kkkkk.......", "................",
     "bbbbbbbbbbbbbbbb", "b.b.b.b.b.b.b.b.", "................", ".k..kk..kk..k.k.",
     "kk....k...k.k.k.", ".k...k..kk..kkk.", ".k..kkk.kk....k."],
]


def bmp24(width, height, pixel):
    """A bottom-up 24-bit BMP file; pixel(x, y) gives (r, g, b)."""
    stride = (width * 3 + 3) & ~3
    rows = b""
    for y in range(height - 1, -1, -1):
        row = b"".join(bytes((b, g, r)) for r, g, b in (pixel(x, y) for x in range(width)))
        rows += row + b"\0" * (stride - width * 3)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + 40 + len(rows), 0, 0, 54) + info + rows


def bmp4(width, height, pixel, palette):
    """A bottom-up 16-colour BMP file; pixel(x, y) gives an index into palette."""
    stride = ((width + 1) // 2 + 3) & ~3
    rows = b""
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            row[x // 2] |= pixel(x, y) << (4 if x % 2 == 0 else 0)
        rows += bytes(row)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(rows), 2835, 2835, 16, 16)
    offset = 14 + 40 + len(pal)
    return struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset) + info + pal + rows


def icon_image(size, pixel):
    """One 32-bit image of an .ico: pixel(x, y) gives (r, g, b, a)."""
    xor = b""
    for y in range(size - 1, -1, -1):
        xor += b"".join(bytes((b, g, r, a)) for r, g, b, a in (pixel(x, y) for x in range(size)))
    and_stride = ((size + 31) // 32) * 4
    mask = b""
    for y in range(size - 1, -1, -1):
        row = bytearray(and_stride)
        for x in range(size):
            if pixel(x, y)[3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def ico(images):
    """An .ico file of (size, data) images."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def art_pixel(art, scale):
    def pixel(x, y):
        colour = PALETTE[art[y // scale][x // scale]]
        return (0, 0, 0, 0) if colour is None else colour + (255,)
    return pixel


# Strindle's icon: a page of text lines with a red colour mark, on a blue square.
MAIN_ART = [
    "................", ".bbbbbbbbbbbbbb.", ".bbbbbbbbbbbbbb.", ".bbwwwwwwwwwwbb.",
    ".bbwkkkkkkkkwbb.", ".bbwwwwwwwwwwbb.", ".bbwrrrwkkkkwbb.", ".bbwwwwwwwwwwbb.",
    ".bbwkkkkkkwwwbb.", ".bbwwwwwwwwwwbb.", ".bbwkkkkGGGGwbb.", ".bbwwwwwwwwwwbb.",
    ".bbwwwwwwwwwwbb.", ".bbbbbbbbbbbbbb.", ".bbbbbbbbbbbbbb.", "................",
]
UP_ART = [
    "................", ".......kk.......", "......kGGk......", ".....kGGGGk.....",
    "....kGGGGGGk....", "...kGGGGGGGGk...", "..kGGGGGGGGGGk..", ".kkkkGGGGGGkkkk.",
    "....kGGGGGGk....", "....kGGGGGGk....", "....kGGGGGGk....", "....kGGGGGGk....",
    "....kGGGGGGk....", "....kkkkkkkk....", "................", "................",
]
DOWN_ART = list(reversed(UP_ART))
# The browse button: an open folder, 16 x 16, grey background.
BROWSE_ART = [
    "................", "................", "................", ".kkkk...........",
    "kyyyyk..........", "kyyyyykkkkkkk...", "kyyyyyyyyyyyk...", "kyykkkkkkkkkkkk.",
    "kyykYYYYYYYYYYk.", "kykYYYYYYYYYYk..", "kykYYYYYYYYYYk..", "kkYYYYYYYYYYk...",
    "kkYYYYYYYYYYk...", "kkkkkkkkkkkkk...", "................", "................",
]


def main():
    for name, art in (("strindle.ico", MAIN_ART), ("up.ico", UP_ART), ("down.ico", DOWN_ART)):
        with open(name, "wb") as f:
            f.write(ico([(16, icon_image(16, art_pixel(art, 1))), (32, icon_image(32, art_pixel(art, 2)))]))

    for image in TOOLBAR:
        assert len(image) == 15 and all(len(row) == 16 for row in image), image
    width = 16 * len(TOOLBAR)

    def toolbar_pixel(x, y):
        colour = PALETTE[TOOLBAR[x // 16][y][x % 16]]
        return GREY if colour is None else colour
    with open("toolbar.bmp", "wb") as f:
        f.write(bmp24(width, 15, toolbar_pixel))

    palette16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
                 (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
                 (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    browse_index = {'.': 7, 'k': 0, 'y': 11, 'Y': 3}
    with open("browse.bmp", "wb") as f:
        f.write(bmp4(16, 16, lambda x, y: browse_index[BROWSE_ART[y][x]], palette16))


if __name__ == "__main__":
    main()
