#!/usr/bin/env python3
"""Draws the fixed-region frame's two button pictures into res/ (run it after changing a drawing).

snap_find.bmp   "윈도우 찾기": a white magnifier, 16 x 16;
snap_ok.bmp     "OK": a yellow check mark, 16 x 16.

Both lie on magenta, which the hover button leaves transparent, so the frame's title strip
shows around the drawing.
"""
import os

from make_resources import HERE, Canvas, write_bmp24

KEY = (255, 0, 255, 255)


def magnifier():
    c = Canvas(16, 16, KEY)
    white = (255, 255, 255, 255)
    # The lens: a ring of outer radius 5 around (6.5, 6.5).
    for y in range(16):
        for x in range(16):
            d = ((x + 0.5 - 6.5) ** 2 + (y + 0.5 - 6.5) ** 2) ** 0.5
            if 3.4 <= d <= 5.4:
                c.put(x, y, white)
    # The handle, three pixels thick, down to the lower right corner.
    for i in range(10, 16):
        for t in (-1, 0, 1):
            c.put(i + t, i, white)
    return c


def check_mark():
    c = Canvas(16, 16, KEY)
    yellow = (255, 220, 0, 255)
    # The short stroke down to the bottom of the tick, then the long one up to the right.
    short = [(2, 8), (3, 9), (4, 10), (5, 11), (6, 12)]
    long_ = [(7, 11), (8, 10), (9, 9), (10, 8), (11, 7), (12, 6), (13, 5), (14, 4)]
    for (x, y) in short + long_:
        for t in (-1, 0, 1):
            c.put(x, y + t, yellow)
    return c


def main():
    write_bmp24(os.path.join(HERE, 'snap_find.bmp'), magnifier())
    write_bmp24(os.path.join(HERE, 'snap_ok.bmp'), check_mark())


if __name__ == '__main__':
    main()
