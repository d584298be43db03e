#!/usr/bin/env python3
"""Draws the skins of the shared controls into res/ (run it after changing a drawing).

frame_fixed.png     the fixed-region frame: a dark title strip over a hole with eight handles;
frame_record.png    the recording frame: a purple border, eight handles and a move symbol;
record_button.bmp   the recorder's Record/Stop button, four 60 x 72 states side by side.

The two frames are nine-patch pictures: their outermost pixels are not picture but marks
(opaque black). Top row: stretchable columns; left column: stretchable rows; bottom row and right
column: guide marks that the frame windows turn into the hole, the handles and the title strip at
any size. Everything else in the mark border is fully transparent.
"""
import os
import struct
import zlib

from make_resources import HERE, Canvas, write_bmp24

MARK = (0, 0, 0, 255)
KEY = (255, 0, 255, 255)  # the frames' see-through colour; the window region leaves it out


def write_png(path, canvas):
    """A straight-alpha RGBA PNG, one IDAT, no filtering."""
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = bytearray()
    for row in canvas.pixels:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)
    header = struct.pack('>IIBBBBB', canvas.width, canvas.height, 8, 6, 0, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
                + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def nine_patch(inner_width, inner_height, stretch_x, stretch_y, guide_x, guide_y):
    """A canvas of the inner size plus the mark border, with the marks set (picture coordinates:
    the inner area runs from 1 to inner size)."""
    c = Canvas(inner_width + 2, inner_height + 2)
    for x in stretch_x:
        c.put(x, 0, MARK)
    for y in stretch_y:
        c.put(0, y, MARK)
    for x in guide_x:
        c.put(x, c.height - 1, MARK)
    for y in guide_y:
        c.put(c.width - 1, y, MARK)
    return c


def outline(c, x0, y0, x1, y1, color):
    """A one-pixel rectangle outline; x1 and y1 inclusive."""
    for x in range(x0, x1 + 1):
        c.put(x, y0, color)
        c.put(x, y1, color)
    for y in range(y0, y1 + 1):
        c.put(x0, y, color)
        c.put(x1, y, color)


def handle(c, x, y, fill, edge):
    """A 12 x 12 handle square with its top-left pixel at (x, y)."""
    c.rect(x, y, x + 12, y + 12, fill)
    outline(c, x, y, x + 11, y + 11, edge)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3)) + (255,)


def fixed_frame():
    """52 x 72 with marks. Stretch columns 19 and 32, rows 39 and 52. Guide x 1, 5, 7, 18, 20,
    31, 33, 44, 46, 50; guide y 2, 19, 25, 27, 38, 40, 51, 53, 64, 66. So: a top edge line (y 1),
    the title strip (y 2-19, the whole width), the hole (x 5-46, y 25-66) framed 4 pixels wide,
    and 12 x 12 handles two pixels inside the hole at its corners and edge middles."""
    c = nine_patch(50, 70, [19, 32], [39, 52],
                   [1, 5, 7, 18, 20, 31, 33, 44, 46, 50], [2, 19, 25, 27, 38, 40, 51, 53, 64, 66])
    frame = (52, 58, 70, 255)
    c.rect(1, 1, 51, 71, frame)
    c.rect(1, 1, 51, 2, (110, 122, 146, 255))          # top edge highlight
    top, bottom = (58, 66, 82), (28, 31, 38)           # title strip: a soft vertical gradient
    for y in range(2, 20):
        c.rect(1, y, 51, y + 1, mix(top, bottom, (y - 2) / 17))
    c.rect(1, 20, 51, 21, (20, 22, 27, 255))           # shadow under the strip
    accent = (0, 150, 255, 255)                        # thin line around the hole
    outline(c, 4, 24, 47, 67, accent)
    c.rect(5, 25, 47, 67, KEY)
    fill, edge = (232, 242, 255, 255), (30, 34, 42, 255)
    for hx in (7, 20, 33):
        for hy in (27, 40, 53):
            if (hx, hy) != (20, 40):
                handle(c, hx, hy, fill, edge)
    return c


def four_way_arrow(c, cx, cy):
    """A four-way move symbol centred on (cx, cy) within 13 pixels each way: purple edge, pink
    body lighter towards the middle."""
    inside = set()
    for y in range(cy - 13, cy + 14):
        for x in range(cx - 13, cx + 14):
            dx, dy = abs(x - cx), abs(y - cy)
            shaft = (dx <= 2 and dy <= 8) or (dy <= 2 and dx <= 8)
            head_v = 8 <= dy <= 13 and dx <= 13 - dy  # up and down heads
            head_h = 8 <= dx <= 13 and dy <= 13 - dx  # left and right heads
            if shaft or head_v or head_h:
                inside.add((x, y))
    dark, mid = (120, 0, 150), (200, 60, 190)
    light, centre = (245, 160, 225), (255, 214, 244)
    for (x, y) in inside:
        edge = any((x + ex, y + ey) not in inside for ex, ey in ((1, 0), (-1, 0), (0, 1), (0, -1)))
        if edge:
            c.put(x, y, dark + (255,))
            continue
        near_edge = any((x + ex, y + ey) not in inside
                        for ex in (-2, -1, 0, 1, 2) for ey in (-2, -1, 0, 1, 2))
        d = max(abs(x - cx), abs(y - cy)) / 13
        c.put(x, y, (mid + (255,)) if near_edge else mix(centre, light, d))


def record_frame():
    """67 x 67 with marks: a 4-pixel RGB(163, 0, 187) border round a key-coloured inside, eight
    12 x 12 handles (fill RGB(251, 226, 252), outline RGB(63, 63, 63)) two pixels in from the
    border, and the move symbol in the middle. Stretch at x 19, 47 and y 19, 47 only."""
    c = nine_patch(65, 65, [19, 47], [19, 47],
                   [5, 7, 18, 20, 28, 39, 46, 48, 59, 61], [5, 7, 18, 20, 27, 38, 46, 48, 59, 61])
    c.rect(1, 1, 66, 66, (163, 0, 187, 255))
    c.rect(5, 5, 62, 62, KEY)
    fill, edge = (251, 226, 252, 255), (63, 63, 63, 255)
    xs = {'left': 7, 'middle': 28, 'right': 48}
    ys = {'top': 7, 'middle': 27, 'bottom': 48}
    for ny, hy in ys.items():
        for nx, hx in xs.items():
            if not (nx == 'middle' and ny == 'middle'):
                handle(c, hx, hy, fill, edge)
    four_way_arrow(c, 33, 33)
    return c


def record_button():
    """240 x 72: normal (record), on (stop), hover (record, lit) and held (record, pressed).
    The caption is drawn over the lower part, so the symbol sits in the upper part. The greys
    128, 192 and 223 are avoided: bitmap loading maps them to the system's 3-D colours."""
    c = Canvas(240, 72)
    looks = [
        # face top, face bottom, edge, symbol, symbol light, pressed
        ((246, 246, 248), (214, 218, 226), (96, 104, 120), (214, 30, 38), (255, 120, 120), False),
        ((226, 230, 238), (196, 202, 214), (70, 78, 94), (150, 20, 28), (220, 90, 90), True),
        ((255, 252, 240), (236, 226, 200), (170, 130, 40), (240, 40, 46), (255, 150, 150), False),
        ((206, 210, 218), (232, 234, 240), (70, 78, 94), (190, 24, 32), (240, 110, 110), True),
    ]
    for k, (top, bottom, edge, symbol, light, pressed) in enumerate(looks):
        x0 = k * 60
        for y in range(72):
            c.rect(x0, y, x0 + 60, y + 1, mix(top, bottom, y / 71))
        outline(c, x0, 0, x0 + 59, 71, edge + (255,))
        shade = (150, 156, 170, 255) if pressed else (255, 255, 255, 255)
        outline(c, x0 + 1, 1, x0 + 58, 70, shade)
        shift = 1 if pressed and k == 3 else 0
        cx, cy = x0 + 30 + shift, 27 + shift
        if k == 1:  # the stop picture: a square
            c.rounded_rect(cx - 12, cy - 12, cx + 12, cy + 12, 3, edge + (255,))
            c.rounded_rect(cx - 11, cy - 11, cx + 11, cy + 11, 3, symbol + (255,))
            c.rect(cx - 8, cy - 8, cx + 2, cy - 5, light + (255,))
        else:
            c.disc(cx, cy, 15, edge + (255,))
            c.disc(cx, cy, 14, symbol + (255,))
            c.disc(cx - 4, cy - 5, 4, light + (255,))
    return c


def main():
    write_png(os.path.join(HERE, 'frame_fixed.png'), fixed_frame())
    write_png(os.path.join(HERE, 'frame_record.png'), record_frame())
    write_bmp24(os.path.join(HERE, 'record_button.bmp'), record_button())


if __name__ == '__main__':
    main()
