#!/usr/bin/env python3
"""Draws the settings dialog's banner (bitmap 220): the camera mark and the name on a blue band,
440 x 60 pixels at 100 %, at every display scale."""
import math

from make_resources import DPIS, Canvas, camera, px, scaled_path, write_bmp24

# A 5 x 7 pixel font for the few letters the banner needs.
GLYPHS = {
    'T': ['11111', '00100', '00100', '00100', '00100', '00100', '00100'],
    'O': ['01110', '10001', '10001', '10001', '10001', '10001', '01110'],
    'V': ['10001', '10001', '10001', '10001', '01010', '01010', '00100'],
    'R': ['11110', '10001', '10001', '11110', '10100', '10010', '10001'],
    'I': ['11111', '00100', '00100', '00100', '00100', '00100', '11111'],
    'X': ['10001', '01010', '00100', '00100', '00100', '01010', '10001'],
}


def snap(v):
    return int(math.floor(v + 0.5))


def text(canvas, x, y, word, scale, color):
    """The 5 x 7 font with `scale` pixels (any number) per font pixel."""
    for letter in word:
        for row, bits in enumerate(GLYPHS[letter]):
            for col, bit in enumerate(bits):
                if bit == '1':
                    canvas.rect(snap(x + col * scale), snap(y + row * scale), snap(x + (col + 1) * scale),
                                snap(y + (row + 1) * scale), color)
        x += 6 * scale


def banner(dpi):
    k = dpi / 96.0
    width, height = px(440, dpi), px(60, dpi)
    c = Canvas(width, height)
    for y in range(height):
        y100 = int(y / k)
        c.rect(0, y, width, y + 1, (20, 60 + y100 // 2, 200 - y100, 255))
    size = px(48, dpi)
    mark = camera(size)
    for y in range(size):
        for x in range(size):
            r, g, b, a = mark.pixels[y][x]
            if a:
                c.put(px(10, dpi) + x, px(6, dpi) + y, (r, g, b, 255))
    text(c, px(72, dpi), px(16, dpi), 'TOVRIX', 4 * k, (255, 255, 255, 255))
    c.rect(px(72, dpi), px(50, dpi), px(72 + 35 * 4, dpi), px(52, dpi), (255, 210, 60, 255))
    return c


if __name__ == '__main__':
    for dpi in DPIS:
        write_bmp24(scaled_path('banner.bmp', dpi), banner(dpi))
