#!/usr/bin/env python3
"""Draws the skins of the shared controls into res/, at every display scale (run it after
changing a drawing).

frame_fixed.png     the fixed-region frame: a dark title strip over a hole with eight handles;
frame_record.png    the recording frame: a purple border, eight handles and a move symbol;
record_button.bmp   the recorder's Record/Stop button, four 60 x 72 states side by side.

The two frames are nine-patch pictures: their outermost pixels are not picture but marks
(opaque black). Top row: stretchable columns; left column: stretchable rows; bottom row and right
column: guide marks that the frame windows turn into the hole, the handles and the title strip at
any size. Everything else in the mark border is fully transparent. At every scale the mark border
stays one pixel wide and the stretchable columns and rows one pixel each; the fixed runs between
them, and everything drawn in them, are drawn at the scale.
"""
import struct
import zlib

from make_resources import DPIS, Canvas, hairline, px, scaled_path, write_bmp24

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


class Axis:
    """One axis of a nine-patch drawn at a DPI: maps a coordinate of the 100 % picture (mark
    border included, so the inside starts at 1) to the picture at the DPI. The fixed runs between
    the one-pixel stretch runs are scaled; the stretch runs stay one pixel."""

    def __init__(self, inner, stretch, dpi):
        self.dpi = dpi
        self.stretch = sorted(stretch)
        self.runs = []  # (start, end, scaled start) of each fixed run, 100 % picture coordinates
        start, scaled = 1, 1
        for s in self.stretch + [inner + 1]:
            self.runs.append((start, s, scaled))
            scaled += px(s - start, dpi)
            if s <= inner:
                scaled += 1  # the stretch pixel
            start = s + 1
        self.size = scaled + 1  # with the far mark pixel

    def at(self, u):
        """A pixel edge u (a start, or one past an end) of the 100 % picture."""
        if u <= 0:
            return 0
        for (start, end, scaled) in self.runs:
            if u <= end:
                return scaled + px(max(u, start) - start, self.dpi)
        return self.size - 1 + (u - self.runs[-1][1])

    def marks(self):
        return [self.at(s) for s in self.stretch]

    def guides(self, guides):
        """Guide marks given as (pixel, 'start' or 'end'): a start lands on its scaled first
        pixel, an end on the last pixel before the next 100 % pixel's place."""
        return [self.at(g) if kind == 'start' else self.at(g + 1) - 1 for g, kind in guides]


class NinePatch:
    """A nine-patch canvas at a DPI that draws in 100 % picture coordinates."""

    def __init__(self, inner_width, inner_height, stretch_x, stretch_y, guide_x, guide_y, dpi):
        self.dpi = dpi
        self.x = Axis(inner_width, stretch_x, dpi)
        self.y = Axis(inner_height, stretch_y, dpi)
        self.c = Canvas(self.x.size, self.y.size)
        for x in self.x.marks():
            self.c.put(x, 0, MARK)
        for y in self.y.marks():
            self.c.put(0, y, MARK)
        for x in self.x.guides(guide_x):
            self.c.put(x, self.c.height - 1, MARK)
        for y in self.y.guides(guide_y):
            self.c.put(self.c.width - 1, y, MARK)

    def box(self, x0, y0, x1, y1):
        """A rectangle of the 100 % picture (x1 and y1 exclusive) at the DPI."""
        return self.x.at(x0), self.y.at(y0), self.x.at(x1), self.y.at(y1)

    def rect(self, x0, y0, x1, y1, color):
        self.c.rect(*self.box(x0, y0, x1, y1), color)

    def outline(self, x0, y0, x1, y1, color):
        """A one-pixel outline at 100 % (x1, y1 inclusive): its sides are where the 100 % pixels
        land, so that the inside meets the guide marks exactly."""
        self.rect(x0, y0, x1 + 1, y0 + 1, color)
        self.rect(x0, y1, x1 + 1, y1 + 1, color)
        self.rect(x0, y0, x0 + 1, y1 + 1, color)
        self.rect(x1, y0, x1 + 1, y1 + 1, color)

    def handle(self, x, y, fill, edge):
        """A 12 x 12 handle (at 100 %) with its top-left pixel at (x, y), outlined with a line
        of the scale's width."""
        x0, y0, x1, y1 = self.box(x, y, x + 12, y + 12)
        self.c.rect(x0, y0, x1, y1, fill)
        self.c.frame(x0, y0, x1, y1, edge, hairline(self.dpi))


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3)) + (255,)


def fixed_frame(dpi):
    """52 x 72 with marks at 100 %. Stretch columns 19 and 32, rows 39 and 52. Guide x 1, 5, 7,
    18, 20, 31, 33, 44, 46, 50; guide y 2, 19, 25, 27, 38, 40, 51, 53, 64, 66. So: a top edge
    line (y 1), the title strip (y 2-19, the whole width), the hole (x 5-46, y 25-66) framed 4
    pixels wide, and 12 x 12 handles two pixels inside the hole at its corners and edge middles."""
    S, E = 'start', 'end'
    p = NinePatch(50, 70, [19, 32], [39, 52],
                  [(1, S), (5, S), (7, S), (18, E), (20, S), (31, E), (33, S), (44, E), (46, E), (50, E)],
                  [(2, S), (19, E), (25, S), (27, S), (38, E), (40, S), (51, E), (53, S), (64, E), (66, E)],
                  dpi)
    frame = (52, 58, 70, 255)
    p.rect(1, 1, 51, 71, frame)
    p.rect(1, 1, 51, 2, (110, 122, 146, 255))          # top edge highlight
    top, bottom = (58, 66, 82), (28, 31, 38)           # title strip: a soft vertical gradient
    y0, y1 = p.y.at(2), p.y.at(20)
    for y in range(y0, y1):
        p.c.rect(p.x.at(1), y, p.x.at(51), y + 1, mix(top, bottom, (y - y0) / max(1, y1 - y0 - 1)))
    p.rect(1, 20, 51, 21, (20, 22, 27, 255))           # shadow under the strip
    p.outline(4, 24, 47, 67, (0, 150, 255, 255))       # thin line around the hole
    p.rect(5, 25, 47, 67, KEY)
    fill, edge = (232, 242, 255, 255), (30, 34, 42, 255)
    for hx in (7, 20, 33):
        for hy in (27, 40, 53):
            if (hx, hy) != (20, 40):
                p.handle(hx, hy, fill, edge)
    return p.c


def four_way_arrow(p, cx, cy):
    """A four-way move symbol centred on pixel (cx, cy) of the 100 % picture, within 13 pixels
    each way: purple edge, pink body lighter towards the middle. The shape is tested at every
    pixel centre of the scaled picture, so it is drawn at the scale's resolution."""
    k = p.dpi / 96.0
    x0, y0 = p.x.at(cx - 13), p.y.at(cy - 13)
    x1, y1 = p.x.at(cx + 14), p.y.at(cy + 14)
    # The symbol's centre in scaled pixels, and the 100 % distance of a scaled pixel from it.
    mx, my = (x0 + x1) / 2.0, (y0 + y1) / 2.0

    def inside(x, y):
        dx, dy = abs(x + 0.5 - mx) / k, abs(y + 0.5 - my) / k
        shaft = (dx <= 2.5 and dy <= 8.5) or (dy <= 2.5 and dx <= 8.5)
        head_v = 7.5 <= dy <= 13.5 and dx <= 13.5 - dy  # up and down heads
        head_h = 7.5 <= dx <= 13.5 and dy <= 13.5 - dx  # left and right heads
        return shaft or head_v or head_h

    shape = {(x, y) for y in range(y0, y1) for x in range(x0, x1) if inside(x, y)}
    edge, rim = hairline(p.dpi), px(2, p.dpi)
    dark, mid = (120, 0, 150), (200, 60, 190)
    light, centre = (245, 160, 225), (255, 214, 244)
    for (x, y) in shape:
        # The edge: a line of the scale's width; the rim: what lies near the outside.
        if any((x + e, y) not in shape or (x, y + e) not in shape for e in range(-edge, edge + 1)):
            p.c.put(x, y, dark + (255,))
            continue
        near_edge = any((x + ex, y + ey) not in shape
                        for ex in range(-rim, rim + 1) for ey in range(-rim, rim + 1))
        d = max(abs(x + 0.5 - mx), abs(y + 0.5 - my)) / k / 13
        p.c.put(x, y, (mid + (255,)) if near_edge else mix(centre, light, d))


def record_frame(dpi):
    """67 x 67 with marks at 100 %: a 4-pixel RGB(163, 0, 187) border round a key-coloured
    inside, eight 12 x 12 handles (fill RGB(251, 226, 252), outline RGB(63, 63, 63)) two pixels in
    from the border, and the move symbol in the middle. Stretch at x 19, 47 and y 19, 47 only."""
    S, E = 'start', 'end'
    p = NinePatch(65, 65, [19, 47], [19, 47],
                  [(5, S), (7, S), (18, E), (20, S), (28, S), (39, E), (46, E), (48, S), (59, E), (61, E)],
                  [(5, S), (7, S), (18, E), (20, S), (27, S), (38, E), (46, E), (48, S), (59, E), (61, E)],
                  dpi)
    p.rect(1, 1, 66, 66, (163, 0, 187, 255))
    p.rect(5, 5, 62, 62, KEY)
    fill, edge = (251, 226, 252, 255), (63, 63, 63, 255)
    xs = {'left': 7, 'middle': 28, 'right': 48}
    ys = {'top': 7, 'middle': 27, 'bottom': 48}
    for ny, hy in ys.items():
        for nx, hx in xs.items():
            if not (nx == 'middle' and ny == 'middle'):
                p.handle(hx, hy, fill, edge)
    four_way_arrow(p, 33, 33)
    return p.c


def record_button(dpi):
    """240 x 72 at 100 %: normal (record), on (stop), hover (record, lit) and held (record,
    pressed). The caption is drawn over the lower part, so the symbol sits in the upper part. The
    greys 128, 192 and 223 are avoided: bitmap loading maps them to the system's 3-D colours."""
    k = dpi / 96.0
    w, h = px(60, dpi), px(72, dpi)
    line = hairline(dpi)
    c = Canvas(4 * w, h)
    looks = [
        # face top, face bottom, edge, symbol, symbol light, pressed
        ((246, 246, 248), (214, 218, 226), (96, 104, 120), (214, 30, 38), (255, 120, 120), False),
        ((226, 230, 238), (196, 202, 214), (70, 78, 94), (150, 20, 28), (220, 90, 90), True),
        ((255, 252, 240), (236, 226, 200), (170, 130, 40), (240, 40, 46), (255, 150, 150), False),
        ((206, 210, 218), (232, 234, 240), (70, 78, 94), (190, 24, 32), (240, 110, 110), True),
    ]
    for n, (top, bottom, edge, symbol, light, pressed) in enumerate(looks):
        x0 = n * w
        for y in range(h):
            c.rect(x0, y, x0 + w, y + 1, mix(top, bottom, y / (h - 1)))
        c.frame(x0, 0, x0 + w, h, edge + (255,), line)
        shade = (150, 156, 170, 255) if pressed else (255, 255, 255, 255)
        c.frame(x0 + line, line, x0 + w - line, h - line, shade, line)
        shift = px(1, dpi) if pressed and n == 3 else 0
        cx, cy = x0 + px(30, dpi) + shift, px(27, dpi) + shift
        if n == 1:  # the stop picture: a square
            c.rounded_rect(cx - px(12, dpi), cy - px(12, dpi), cx + px(12, dpi), cy + px(12, dpi), px(3, dpi),
                           edge + (255,))
            c.rounded_rect(cx - px(11, dpi), cy - px(11, dpi), cx + px(11, dpi), cy + px(11, dpi), px(3, dpi),
                           symbol + (255,))
            c.rect(cx - px(8, dpi), cy - px(8, dpi), cx + px(2, dpi), cy - px(5, dpi), light + (255,))
        else:
            c.disc(cx, cy, 15 * k, edge + (255,))
            c.disc(cx, cy, 14 * k, symbol + (255,))
            c.disc(cx - 4 * k, cy - 5 * k, 4 * k, light + (255,))
    return c


def main():
    for dpi in DPIS:
        write_png(scaled_path('frame_fixed.png', dpi), fixed_frame(dpi))
        write_png(scaled_path('frame_record.png', dpi), record_frame(dpi))
        write_bmp24(scaled_path('record_button.bmp', dpi), record_button(dpi))


if __name__ == '__main__':
    main()
