#!/usr/bin/env python3
"""Draws the settings dialog's banner (bitmap 220): the camera mark and the name on a blue band."""
import os

from make_resources import HERE, Canvas, camera, write_bmp24

# A 5 x 7 pixel font for the few letters the banner needs.
GLYPHS = {
    'T': ['11111', '00100', '00100', '00100', '00100', '00100', '00100'],
    'O': ['01110', '10001', '10001', '10001', '10001', '10001', '01110'],
    'V': ['10001', '10001', '10001', '10001', '01010', '01010', '00100'],
    'R': ['11110', '10001', '10001', '11110', '10100', '10010', '10001'],
    'I': ['11111', '00100', '00100', '00100', '00100', '00100', '11111'],
    'X': ['10001', '01010', '00100', '00100', '00100', '01010', '10001'],
}


def text(canvas, x, y, word, scale, color):
    for letter in word:
        for row, bits in enumerate(GLYPHS[letter]):
            for col, bit in enumerate(bits):
                if bit == '1':
                    canvas.rect(x + col * scale, y + row * scale, x + (col + 1) * scale,
                                y + (row + 1) * scale, color)
        x += 6 * scale


def banner(width=440, height=60):
    c = Canvas(width, height)
    for y in range(height):
        shade = 200 - y
        c.rect(0, y, width, y + 1, (20, 60 + y // 2, shade, 255))
    mark = camera(48)
    for y in range(48):
        for x in range(48):
            r, g, b, a = mark.pixels[y][x]
            if a:
                c.put(10 + x, 6 + y, (r, g, b, 255))
    text(c, 72, 16, 'TOVRIX', 4, (255, 255, 255, 255))
    c.rect(72, 50, 72 + 35 * 4, 52, (255, 210, 60, 255))
    return c


if __name__ == '__main__':
    write_bmp24(os.path.join(HERE, 'banner.bmp'), banner())
