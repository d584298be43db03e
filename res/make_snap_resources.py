#!/usr/bin/env python3
"""Draws the fixed-region frame's two button pictures into res/, at every display scale (run it
after changing a drawing).

snap_find.bmp   "윈도우 찾기": a white magnifier, 16 x 16 at 100 %;
snap_ok.bmp     "OK": a yellow check mark, 16 x 16 at 100 %.

Both lie on magenta, which the hover button leaves transparent, so the frame's title strip
shows around the drawing. At 100 % they are drawn pixel by pixel; at the other scales from the
same strokes at the scale's resolution.
"""

from make_resources import DPIS, Canvas, px, scaled_path, write_bmp24

KEY = (255, 0, 255, 255)


def magnifier(dpi):
    k = dpi / 96.0
    size = px(16, dpi)
    c = Canvas(size, size, KEY)
    white = (255, 255, 255, 255)
    # The lens: a ring between radii 3.4 and 5.4 (at 100 %) around (6.5, 6.5).
    for y in range(size):
        for x in range(size):
            d = ((x + 0.5) / k - 6.5) ** 2 + ((y + 0.5) / k - 6.5) ** 2
            if 3.4 ** 2 <= d <= 5.4 ** 2:
                c.put(x, y, white)
    # The handle, three pixels thick (at 100 %), down to the lower right corner: the pixels whose
    # centre lies within 1.5 of the diagonal from (10, 10.5) on, measured across the rows.
    for y in range(size):
        for x in range(size):
            u, v = (x + 0.5) / k, (y + 0.5) / k
            if v >= 10 and abs(u - v) <= 1.5:
                c.put(x, y, white)
    return c


def check_mark(dpi):
    k = dpi / 96.0
    size = px(16, dpi)
    c = Canvas(size, size, KEY)
    yellow = (255, 220, 0, 255)
    # The short stroke down to the bottom of the tick, then the long one up to the right, three
    # pixels high (at 100 %): at 100 % these pixel centres, at other scales the same strokes
    # drawn as lines through them.
    short = [(2, 8), (3, 9), (4, 10), (5, 11), (6, 12)]
    long_ = [(7, 11), (8, 10), (9, 9), (10, 8), (11, 7), (12, 6), (13, 5), (14, 4)]
    if dpi == 96:
        for (x, y) in short + long_:
            for t in (-1, 0, 1):
                c.put(x, y + t, yellow)
        return c
    for y in range(size):
        for x in range(size):
            u, v = (x + 0.5) / k - 0.5, (y + 0.5) / k - 0.5
            for (a, b) in ((short[0], short[-1]), (long_[0], long_[-1])):
                # Within half a pixel across and 1.5 up or down of the stroke's centre line.
                if a[0] - 0.5 <= u <= b[0] + 0.5:
                    centre = a[1] + (b[1] - a[1]) * (min(max(u, a[0]), b[0]) - a[0]) / (b[0] - a[0])
                    if abs(v - centre) <= 1.5:
                        c.put(x, y, yellow)
                        break
    return c


def main():
    for dpi in DPIS:
        write_bmp24(scaled_path('snap_find.bmp', dpi), magnifier(dpi))
        write_bmp24(scaled_path('snap_ok.bmp', dpi), check_mark(dpi))


if __name__ == '__main__':
    main()
