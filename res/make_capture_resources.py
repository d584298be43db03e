#!/usr/bin/env python3
"""Draws the on-screen pickers' pointer: a utility knife whose blade tip is the hot spot.

The knife lies diagonally in a 32 x 32 cursor (at 100 %), handle at the upper right, the
snapped-off blade reaching down to the lower left corner, so that the point that cuts is the
point that selects. Written as a .cur file (an icon file of type 2 whose entries carry the hot
spot) with one picture per display scale: 32, 40, 48 and 64 pixels, each drawn from the same
shape at its resolution. Run it after changing the drawing.
"""
import math
import os

from make_resources import DPIS, HERE, Canvas, px, write_cur

HOT_SPOT = (0, 30)

OUTLINE = (0, 0, 0, 255)
BLADE = (215, 220, 228, 255)
EDGE = (150, 156, 166, 255)
HANDLE = (245, 196, 40, 255)
GRIP = (180, 130, 10, 255)


def axis(x, y):
    """(distance along the knife from the tip, distance across it) of pixel (x, y)'s centre.

    The axis runs from the tip's pixel (0, 30) towards the upper right at 45 degrees."""
    dx, dy = x - HOT_SPOT[0], HOT_SPOT[1] - y
    return (dx + dy) / math.sqrt(2), (dy - dx) / math.sqrt(2)


def knife(dpi):
    """The knife at a DPI, and its hot spot: every pixel is classified by where its centre lies
    on the 100 % drawing."""
    k = dpi / 96.0
    size = px(32, dpi)
    c = Canvas(size, size)
    for y in range(size):
        for x in range(size):
            t, d = axis((x + 0.5) / k - 0.5, (y + 0.5) / k - 0.5)
            if t < 0 or t > 42:
                continue
            if t < 18:
                # Blade: a wedge widening from the tip; its lower side is the sharpened edge,
                # with two snap-off scores across it.
                half = 0.8 + t * 0.16
                if abs(d) <= half:
                    if abs(d) > half - 1.0:
                        colour = OUTLINE
                    elif d < -half + 2.0 or int(t) in (7, 12):
                        colour = EDGE
                    else:
                        colour = BLADE
                    c.put(x, y, colour)
            else:
                # Handle: a wider yellow body with a darker grip line down its middle.
                half = 4.6
                if abs(d) <= half:
                    if abs(d) > half - 1.0 or t > 41:
                        colour = OUTLINE
                    elif abs(d) < 0.8:
                        colour = GRIP
                    else:
                        colour = HANDLE
                    c.put(x, y, colour)
    # The tip itself must be opaque: it is where the pointer is.
    hot_spot = (px(HOT_SPOT[0], dpi), px(HOT_SPOT[1], dpi))
    c.put(hot_spot[0], hot_spot[1], OUTLINE)
    return c, hot_spot[0], hot_spot[1]


def main():
    write_cur(os.path.join(HERE, 'knife.cur'), [knife(dpi) for dpi in DPIS])


if __name__ == '__main__':
    main()
