#!/usr/bin/env python3
"""Draws the test skins of the controls' tests (run it after changing a drawing).

Each state is filled with a colour of its own so that a test can tell from one pixel which state
a button shows. No grey of 128, 192 or 223 is used: bitmap loading maps those to the system's
3-D colours.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'res'))
from make_resources import Canvas, write_bmp24  # noqa: E402

MAGENTA = (255, 0, 255, 255)
# normal, pressed, hover, held (skins) or disabled (hover strips)
STATE_COLOURS = [(200, 0, 0, 255), (0, 160, 0, 255), (0, 0, 200, 255), (200, 200, 0, 255)]


def strip(states, size, magenta_corner):
    c = Canvas(states * size, size)
    for k in range(states):
        c.rect(k * size, 0, (k + 1) * size, size, STATE_COLOURS[k])
        if magenta_corner:
            c.rect(k * size, 0, k * size + 4, 4, MAGENTA)
    return c


def single():
    """16 x 16: a white square with a one-pixel black ring, on magenta."""
    c = Canvas(16, 16, MAGENTA)
    c.rect(4, 4, 12, 12, (0, 0, 0, 255))
    c.rect(5, 5, 11, 11, (255, 255, 255, 255))
    return c


def main():
    write_bmp24(os.path.join(HERE, 'skin_test.bmp'), strip(4, 20, False))
    write_bmp24(os.path.join(HERE, 'hover3_test.bmp'), strip(3, 28, True))
    write_bmp24(os.path.join(HERE, 'hover4_test.bmp'), strip(4, 28, True))
    write_bmp24(os.path.join(HERE, 'single_test.bmp'), single())


if __name__ == '__main__':
    main()
