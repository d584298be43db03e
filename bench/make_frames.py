#!/usr/bin/env python3
"""Writes screen-like test frames (binary PPM) for the GIF benchmark.

    make_frames.py OUTDIR [--count N] [--size WxH] [--seed S]

Each frame is a desktop: a smooth wallpaper, a photo-like area with noise, and a few windows
with title bars, toolbars and lines of text-like strokes; a window and the text scroll a little
from frame to frame, as in a recording of someone working.
"""
import argparse
import os
import random


class Frame:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.data = bytearray(width * height * 3)

    def fill(self, x, y, w, h, colour):
        x0, y0 = max(x, 0), max(y, 0)
        x1, y1 = min(x + w, self.width), min(y + h, self.height)
        if x1 <= x0 or y1 <= y0:
            return
        row = bytes(colour) * (x1 - x0)
        for yy in range(y0, y1):
            start = (yy * self.width + x0) * 3
            self.data[start:start + len(row)] = row

    def blit_row(self, x, y, row):
        if not 0 <= y < self.height:
            return
        n = min(len(row) // 3, self.width - x)
        start = (y * self.width + x) * 3
        self.data[start:start + n * 3] = row[:n * 3]

    def save(self, path):
        with open(path, 'wb') as f:
            f.write(b'P6\n%d %d\n255\n' % (self.width, self.height))
            f.write(self.data)


def wallpaper(frame):
    for y in range(frame.height):
        t = y * 255 // max(frame.height - 1, 1)
        row = bytearray()
        for x in range(0, frame.width, 8):
            c = (20 + t // 4, 60 + (x * 80 // frame.width), 120 + t // 2)
            row += bytes(c) * min(8, frame.width - x)
        frame.blit_row(0, y, row)


def photo(frame, x, y, w, h, rng):
    for yy in range(h):
        row = bytearray()
        for xx in range(w):
            r = (xx * 3 + yy) % 256
            g = (128 + (xx - yy) // 2) % 256
            b = (yy * 2) % 256
            n = rng.randrange(-12, 13)
            row += bytes((min(255, max(0, r + n)), min(255, max(0, g + n)), min(255, max(0, b - n))))
        frame.blit_row(x, y + yy, row)


def window(frame, x, y, w, h, title_colour, scroll, rng):
    frame.fill(x - 1, y - 1, w + 2, h + 2, (90, 90, 90))
    frame.fill(x, y, w, 24, title_colour)
    for i in range(3):
        frame.fill(x + w - 22 - i * 22, y + 4, 16, 16, (235, 235, 235))
    frame.fill(x, y + 24, w, 28, (240, 240, 240))
    for i in range(6):
        frame.fill(x + 6 + i * 30, y + 28, 22, 20, (200, 210, 230))
    frame.fill(x, y + 52, w, h - 52, (255, 255, 255))
    line_rng = random.Random(1234)
    top = y + 58 - scroll
    line = 0
    while top < y + h - 12:
        cx = x + 10
        width_left = w - 20 - line_rng.randrange(0, w // 3)
        colour = (20, 20, 20) if line % 7 else (30, 60, 170)
        while width_left > 0:
            word = line_rng.randrange(12, 60)
            if top >= y + 54:
                for k in range(0, min(word, width_left), 3):
                    frame.fill(cx + k, top + line_rng.randrange(0, 3), 2, 8 + line_rng.randrange(0, 3), colour)
            cx += word + 6
            width_left -= word + 6
        top += 16
        line += 1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('outdir')
    parser.add_argument('--count', type=int, default=30)
    parser.add_argument('--size', default='800x600')
    parser.add_argument('--seed', type=int, default=5)
    args = parser.parse_args()
    width, height = (int(v) for v in args.size.split('x'))
    os.makedirs(args.outdir, exist_ok=True)
    base = Frame(width, height)
    rng = random.Random(args.seed)
    wallpaper(base)
    photo(base, width * 5 // 8, height // 16, width // 3, height // 3, rng)
    for i in range(args.count):
        frame = Frame(width, height)
        frame.data[:] = base.data
        window(frame, width // 20, height // 10, width // 2, height * 7 // 10, (40, 80, 160), i * 3, rng)
        window(frame, width // 3 + i * 4, height // 2, width // 2, height * 4 // 10, (60, 130, 70), i, rng)
        frame.fill(width // 2 + i * 7 % (width // 3), height // 3 + i * 5 % (height // 4), 12, 18, (0, 0, 0))
        frame.save(os.path.join(args.outdir, 'frame%03d.ppm' % i))


if __name__ == '__main__':
    main()
