#!/usr/bin/env python3
"""Draws Kelvanor's banner bitmaps and window icon (original artwork) into resources/art.

Each banner pair is shown as the exclusive-or of its two bitmaps, so one bitmap of a pair is a
key pattern and the other the picture combined with that key: neither alone shows the picture.
Run it again after changing a drawing; the generated files are kept in the repository.
"""
import os
import struct

OUT = os.path.join(os.path.dirname(__file__), "..", "resources", "art")

FONT = {  # 5x7 capitals, one string of five bits a row
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    " ": ["00000"] * 7,
}


class Canvas:
    def __init__(self, w, h, colour):
        self.w, self.h = w, h
        self.px = [[colour] * w for _ in range(h)]

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.px[y][x] = colour

    def rounded(self, x0, y0, x1, y1, r, colour):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                cx = min(max(x, x0 + r), x1 - 1 - r)
                cy = min(max(y, y0 + r), y1 - 1 - r)
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.px[y][x] = colour

    def text(self, x, y, s, scale, colour):
        for ch in s:
            for row, bits in enumerate(FONT[ch]):
                for col, b in enumerate(bits):
                    if b == "1":
                        self.rect(x + col * scale, y + row * scale, x + (col + 1) * scale,
                                  y + (row + 1) * scale, colour)
            x += 6 * scale


def xor(a, b):
    return tuple(p ^ q for p, q in zip(a, b))


def write_bmp8(path, canvas):
    colours = sorted({c for row in canvas.px for c in row})
    assert len(colours) <= 256, path
    index = {c: i for i, c in enumerate(colours)}
    palette = b"".join(bytes((c[2], c[1], c[0], 0)) for c in colours) + b"\0" * 4 * (256 - len(colours))
    stride = (canvas.w + 3) & ~3
    rows = b"".join(bytes(index[c] for c in row) + b"\0" * (stride - canvas.w) for row in reversed(canvas.px))
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    offset = 14 + len(header) + len(palette)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + header + palette + rows)


def write_ico32(path, canvas, transparent):
    w, h = canvas.w, canvas.h
    pixels = b"".join(
        bytes((c[2], c[1], c[0], 0 if c == transparent else 255)) for row in reversed(canvas.px) for c in row)
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(canvas.px):
        bits = 0
        line = bytearray(mask_stride)
        for x, c in enumerate(row):
            if c == transparent:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + pixels + bytes(mask)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 22) + image)


NAVY, STEEL, DARK, SCREEN, GOLD, WHITE, SKY, GREEN = (
    (20, 40, 90), (150, 160, 175), (60, 65, 75), (90, 200, 140), (225, 180, 60), (250, 250, 250),
    (205, 225, 245), (30, 120, 70))


def terminal_picture():
    c = Canvas(276, 101, SKY)
    c.rounded(20, 12, 150, 96, 10, STEEL)      # terminal body
    c.rect(34, 22, 136, 46, DARK)              # display frame
    c.rect(37, 25, 133, 43, SCREEN)
    c.text(42, 27, "KELV", 2, GREEN)
    for i in range(3):                         # keypad
        for j in range(4):
            c.rounded(40 + j * 24, 54 + i * 13, 58 + j * 24, 63 + i * 13, 2, DARK)
    c.rect(150, 40, 168, 52, DARK)             # card slot
    c.rounded(160, 30, 262, 62, 5, WHITE)      # the card, half inserted
    c.rounded(222, 38, 244, 54, 3, GOLD)       # its contacts
    c.rect(232, 38, 234, 54, DARK)
    c.rect(222, 45, 244, 47, DARK)
    return c


def banner_picture():
    c = Canvas(245, 32, NAVY)
    c.rect(0, 28, 245, 32, GOLD)
    c.text(8, 4, "KELVANOR", 3, WHITE)
    return c


def key_pattern(w, h, colours):
    c = Canvas(w, h, colours[0])
    for y in range(h):
        for x in range(w):
            c.px[y][x] = colours[((x // 6) + (y // 6)) % len(colours)]
    return c


def split_pair(picture, key_colours):
    key = key_pattern(picture.w, picture.h, key_colours)
    combined = Canvas(picture.w, picture.h, (0, 0, 0))
    combined.px = [[xor(p, k) for p, k in zip(prow, krow)] for prow, krow in zip(picture.px, key.px)]
    return key, combined


def icon():
    c = Canvas(32, 32, (255, 0, 255))
    c.rounded(2, 6, 30, 26, 3, WHITE)
    c.rounded(2, 6, 30, 26, 3, NAVY)
    c.rounded(3, 7, 29, 25, 2, SKY)
    c.rounded(6, 11, 15, 20, 1, GOLD)
    c.rect(10, 11, 11, 20, DARK)
    c.rect(6, 15, 15, 16, DARK)
    c.rect(18, 12, 27, 14, NAVY)
    c.rect(18, 17, 25, 19, NAVY)
    return c

# The test console's status icons: a command going out (up), a failed call, a successful one.
BLUE, RED, LIGHT_GREEN = (30, 90, 200), (200, 30, 30), (30, 160, 60)


def status_arrow(colour, up):
    c = Canvas(32, 32, (255, 0, 255))
    for row in range(12):                      # the head: a triangle, 2 px wider each row
        y = 3 + row if up else 28 - row
        c.rect(16 - row - 1, y, 16 + row + 1, y + 1, colour)
    if up:                                     # the shaft
        c.rect(12, 15, 20, 29, colour)
    else:
        c.rect(12, 3, 20, 17, colour)
    return c


def console_icons():
    for name, colour, up in (("status-send.ico", BLUE, True), ("status-failed.ico", RED, False),
                             ("status-ok.ico", LIGHT_GREEN, False)):
        write_ico32(os.path.join(OUT, name), status_arrow(colour, up), (255, 0, 255))


def waiting_icon():
    """Y_BCS_ICON1: a card beside an hourglass, for the window shown while the terminal waits."""
    c = Canvas(32, 32, (255, 0, 255))
    c.rounded(1, 4, 19, 28, 2, NAVY)           # the card, upright
    c.rounded(2, 5, 18, 27, 2, WHITE)
    c.rounded(5, 9, 13, 16, 1, GOLD)           # its contacts
    c.rect(9, 9, 10, 16, DARK)
    c.rect(5, 12, 13, 13, DARK)
    c.rect(20, 4, 31, 6, DARK)                 # hourglass frame
    c.rect(20, 26, 31, 28, DARK)
    for y in range(6, 26):                     # two glass bulbs meeting at the waist
        half = abs(y - 16) * 5 // 10
        c.rect(25 - half, y, 26 + half, y + 1, SKY)
    for y in range(19, 26):                    # sand gathered in the lower bulb
        half = abs(y - 16) * 5 // 10
        c.rect(25 - half, y, 26 + half, y + 1, GOLD)
    c.rect(25, 12, 26, 19, GOLD)               # the falling thread
    return c


def main():
    os.makedirs(OUT, exist_ok=True)
    key1, pic1 = split_pair(terminal_picture(), [(0, 0, 0), (255, 255, 255)])
    write_bmp8(os.path.join(OUT, "banner-key.bmp"), key1)        # BITMAP1
    write_bmp8(os.path.join(OUT, "banner-picture.bmp"), pic1)    # BITMAP4
    key2, pic2 = split_pair(banner_picture(), [(0, 0, 0), (0, 255, 255)])
    write_bmp8(os.path.join(OUT, "title-key.bmp"), key2)         # BITMAP6
    write_bmp8(os.path.join(OUT, "title-picture.bmp"), pic2)     # BITMAP5
    write_ico32(os.path.join(OUT, "kelvanor.ico"), icon(), (255, 0, 255))
    write_ico32(os.path.join(OUT, "bcs-waiting.ico"), waiting_icon(), (255, 0, 255))
    console_icons()


if __name__ == "__main__":
    main()
