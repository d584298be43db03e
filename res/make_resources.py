#!/usr/bin/env python3
"""Draws the program's pictures and sounds into res/ (run it after changing a drawing).

Everything here is drawn from code: shapes in a tiny pixel canvas written out as ICO, BMP or
WAV, so the resources can be reproduced and changed without an image editor.

Pictures of windows are drawn at each display scale the program knows, 100, 125, 150 and 200 %
(DPIS): the drawing code takes the DPI and draws its shapes at that resolution, never by
stretching the 100 % pixels. A picture of w pixels at 100 % is px(w, dpi) pixels wide at a DPI,
exactly the size the program lays it out at. The 100 % picture is res/NAME, the others
res/125/NAME, res/150/NAME and res/200/NAME; their resource ids are the 100 % one plus 10000,
20000 and 30000 (framework/Dpi.h).
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

DPIS = (96, 120, 144, 192)
SCALED_ID_STEP = 10000


def px(value, dpi):
    """A length at 100 % in pixels at a DPI, rounded as the program's MulDiv rounds."""
    v = value * dpi / 96.0
    return int(math.floor(v + 0.5)) if v >= 0 else -int(math.floor(-v + 0.5))


def hairline(dpi):
    """The width of a one-pixel line at a DPI: one pixel up to 125 %, two from 150 %."""
    return max(1, px(1, dpi))


def scaled_path(name, dpi):
    """Where a picture drawn at a DPI goes."""
    if dpi == 96:
        return os.path.join(HERE, name)
    folder = os.path.join(HERE, str(dpi * 100 // 96))
    os.makedirs(folder, exist_ok=True)
    return os.path.join(folder, name)


class Canvas:
    """RGBA pixels, rows from the top."""

    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = color

    def rect(self, x0, y0, x1, y1, color):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, color)

    def rounded_rect(self, x0, y0, x1, y1, radius, color):
        for y in range(y0, y1):
            for x in range(x0, x1):
                cx = min(max(x, x0 + radius), x1 - 1 - radius)
                cy = min(max(y, y0 + radius), y1 - 1 - radius)
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius + radius:
                    self.put(x, y, color)

    def frame(self, x0, y0, x1, y1, color, width=1):
        """The outline of a rectangle, `width` pixels wide, inside it (x1, y1 exclusive)."""
        self.rect(x0, y0, x1, y0 + width, color)
        self.rect(x0, y1 - width, x1, y1, color)
        self.rect(x0, y0, x0 + width, y1, color)
        self.rect(x1 - width, y0, x1, y1, color)

    def disc(self, cx, cy, r, color):
        for y in range(int(cy - r - 1), int(cy + r + 2)):
            for x in range(int(cx - r - 1), int(cx + r + 2)):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, color)


def camera(size):
    """The program's mark: a rounded camera body with a lens, in blue and white."""
    c = Canvas(size, size)
    s = size / 32.0
    body = (40, 96, 200, 255)
    dark = (20, 48, 110, 255)
    c.rounded_rect(int(10 * s), int(5 * s), int(20 * s), int(10 * s), max(1, int(2 * s)), dark)
    c.rounded_rect(int(2 * s), int(8 * s), int(30 * s), int(27 * s), max(1, int(4 * s)), body)
    c.disc(16 * s, 17.5 * s, 7 * s, (255, 255, 255, 255))
    c.disc(16 * s, 17.5 * s, 5 * s, dark)
    c.disc(14.5 * s, 16 * s, 1.6 * s, (200, 220, 255, 255))
    c.rect(int(24 * s), int(10 * s), int(27 * s), int(12 * s), (255, 210, 60, 255))
    return c


def icon_image(canvas):
    """One 32-bit icon image: BITMAPINFOHEADER (double height), XOR pixels, AND mask."""
    w, h = canvas.width, canvas.height
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in reversed(range(h)):
        for (r, g, b, a) in canvas.pixels[y]:
            xor += bytes((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(h)):
        row = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(canvas.pixels[y]):
            if a == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(xor) + bytes(mask)


def write_ico(path, canvases):
    images = [icon_image(c) for c in canvases]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack('<BBBBHHII', c.width % 256, c.height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


def write_cur(path, pictures):
    """A cursor file with one entry per (canvas, hot x, hot y), typically one per display scale:
    the system takes the entry of the size it asks for."""
    images = [icon_image(canvas) for canvas, _, _ in pictures]
    out = bytearray(struct.pack('<HHH', 0, 2, len(pictures)))
    offset = 6 + 16 * len(pictures)
    for (canvas, hot_x, hot_y), image in zip(pictures, images):
        out += struct.pack('<BBBBHHII', canvas.width % 256, canvas.height % 256, 0, 0, hot_x, hot_y,
                           len(image), offset)
        offset += len(image)
    with open(path, 'wb') as f:
        f.write(bytes(out) + b''.join(images))


def write_bmp24(path, canvas):
    w, h = canvas.width, canvas.height
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(h)):
        row = bytearray()
        for (r, g, b, _) in canvas.pixels[y]:
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        pixels += row
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + bytes(pixels))


def main():
    write_ico(os.path.join(HERE, 'tovrix.ico'), [camera(16), camera(32), camera(48)])


if __name__ == '__main__':
    main()
