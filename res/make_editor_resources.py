#!/usr/bin/env python3
"""Draws the capture editor's pictures: the pen toolbar's skins, its background and the
editor's two pointers, each at every display scale (run it after changing a drawing).

Skin buttons hold four states side by side (normal, on, hover, held); the toolbar's hover
buttons hold normal, pressed, hover and, for undo and redo, disabled. Both are loaded with
LR_LOADMAP3DCOLORS, so the pure greys 128, 192 and 223 are avoided: they would turn into the
system's 3-D colours. The pointers hold one picture per scale (32, 40, 48 and 64 pixels).
"""
import math
import os

from make_resources import DPIS, HERE, Canvas, hairline, px, scaled_path, write_bmp24, write_cur

# The sixteen swatches, four rows of four, in the toolbar's order.
PEN_COLORS = [
    (0, 0, 0), (218, 14, 14), (11, 212, 29), (18, 27, 216),
    (89, 89, 89), (243, 138, 10), (12, 232, 182), (128, 75, 22),
    (180, 180, 180), (215, 23, 224), (255, 121, 243), (236, 236, 19),
    (255, 255, 255), (161, 240, 66), (174, 247, 237), (241, 136, 136),
]

INK = (34, 40, 52, 255)
WHITE = (255, 255, 255, 255)

# Panels of the four skin states: fill and border.
SKIN_STATES = [
    ((238, 241, 247, 255), (150, 160, 178, 255)),   # normal
    ((178, 204, 242, 255), (44, 86, 160, 255)),     # on
    ((216, 229, 250, 255), (96, 138, 206, 255)),    # hover
    ((150, 184, 234, 255), (30, 62, 128, 255)),     # held
]

# A 5 x 7 pixel font for the few words the pictures carry.
GLYPHS = {
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'K': ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'P': ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'V': ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    'X': ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    'I': ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    ' ': ["00000"] * 7,
}


def snap(v):
    return int(math.floor(v + 0.5))


def text(c, x, y, word, color, scale=1):
    """The 5 x 7 font with `scale` pixels (any number, not only whole ones) per font pixel."""
    for ch in word:
        for row, bits in enumerate(GLYPHS[ch]):
            for col, bit in enumerate(bits):
                if bit == '1':
                    c.rect(snap(x + col * scale), snap(y + row * scale), snap(x + (col + 1) * scale),
                           snap(y + (row + 1) * scale), color)
        x += 6 * scale


def text_width(word, scale=1):
    return (6 * len(word) - 1) * scale


def line(c, x0, y0, x1, y1, width, color):
    """A straight stroke with round ends: every pixel whose centre lies within width / 2."""
    r = width / 2.0
    for y in range(int(min(y0, y1) - r - 1), int(max(y0, y1) + r + 2)):
        for x in range(int(min(x0, x1) - r - 1), int(max(x0, x1) + r + 2)):
            px, py = x + 0.5, y + 0.5
            dx, dy = x1 - x0, y1 - y0
            length2 = dx * dx + dy * dy
            t = 0 if length2 == 0 else max(0, min(1, ((px - x0) * dx + (py - y0) * dy) / length2))
            qx, qy = x0 + t * dx, y0 + t * dy
            if (px - qx) ** 2 + (py - qy) ** 2 <= r * r:
                c.put(x, y, color)


def polygon(c, points, color):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    for y in range(int(min(ys)), int(max(ys)) + 1):
        for x in range(int(min(xs)), int(max(xs)) + 1):
            px, py = x + 0.5, y + 0.5
            inside = False
            for i in range(len(points)):
                ax, ay = points[i]
                bx, by = points[i - 1]
                if (ay > py) != (by > py) and px < ax + (py - ay) * (bx - ax) / (by - ay):
                    inside = not inside
            if inside:
                c.put(x, y, color)


def ring(c, cx, cy, rx, ry, width, color):
    """An ellipse outline of the given stroke width."""
    for y in range(int(cy - ry - width), int(cy + ry + width) + 1):
        for x in range(int(cx - rx - width), int(cx + rx + width) + 1):
            px, py = x + 0.5 - cx, y + 0.5 - cy
            outer = (px / (rx + width / 2.0)) ** 2 + (py / (ry + width / 2.0)) ** 2
            inner = (px / max(rx - width / 2.0, 0.1)) ** 2 + (py / max(ry - width / 2.0, 0.1)) ** 2
            if outer <= 1 and inner >= 1:
                c.put(x, y, color)


def frame(c, x0, y0, x1, y1, color, width=1):
    c.frame(x0, y0, x1, y1, color, width)


def arrowhead(c, tip, tail, length, half, color):
    angle = math.atan2(tail[1] - tip[1], tail[0] - tip[0])
    cs, sn = math.cos(angle), math.sin(angle)
    polygon(c, [tip,
                (tip[0] + length * cs - half * sn, tip[1] + length * sn + half * cs),
                (tip[0] + length * cs + half * sn, tip[1] + length * sn - half * cs)], color)


# ---- skin buttons: four 28 x 28 states (at 100 %) ------------------------------------------
# Glyphs are drawn with (x, y), the top left of their state, and k, the scale (1 at 100 %).

def skin_strip(size, draw_glyph, dpi):
    k = dpi / 96.0
    size = px(size, dpi)
    strip = Canvas(size * 4, size)
    for state, (fill, border) in enumerate(SKIN_STATES):
        x0 = state * size
        strip.rect(x0, 0, x0 + size, size, fill)
        frame(strip, x0, 0, x0 + size, size, border, hairline(dpi))
        shift = px(1, dpi) if state in (1, 3) else 0
        draw_glyph(strip, x0 + shift, shift, k)
    return strip


def pen_size_glyph(index):
    radius = 1.0 + 1.5 * index  # pen widths 2, 5, 8, 11, 14, 17 shown as growing dots
    return lambda c, x, y, k: c.disc(x + 14 * k, y + 14 * k, radius * k, INK)


def tool_glyph(index):
    def pen(c, x, y, k):
        line(c, x + 8 * k, y + 20 * k, x + 19 * k, y + 9 * k, 4 * k, (52, 96, 176, 255))
        polygon(c, [(x + 5 * k, y + 23 * k), (x + 6.5 * k, y + 18.5 * k), (x + 9.5 * k, y + 21.5 * k)], INK)
        line(c, x + 18 * k, y + 10 * k, x + 21 * k, y + 7 * k, 4 * k, (214, 86, 60, 255))

    def straight(c, x, y, k):
        line(c, x + 6 * k, y + 22 * k, x + 22 * k, y + 6 * k, 2.2 * k, INK)

    def rectangle(c, x, y, k):
        frame(c, x + snap(6 * k), y + snap(8 * k), x + snap(23 * k), y + snap(21 * k), INK, snap(2 * k))

    def ellipse(c, x, y, k):
        ring(c, x + 14 * k, y + 14 * k, 8.5 * k, 6.5 * k, 2 * k, INK)

    def arrow(c, x, y, k):
        line(c, x + 6 * k, y + 22 * k, x + 17 * k, y + 11 * k, 2.2 * k, INK)
        arrowhead(c, (x + 22 * k, y + 6 * k), (x + 6 * k, y + 22 * k), 8 * k, 4.5 * k, INK)

    def double_arrow(c, x, y, k):
        line(c, x + 10 * k, y + 18 * k, x + 18 * k, y + 10 * k, 2.2 * k, INK)
        arrowhead(c, (x + 22 * k, y + 6 * k), (x + 6 * k, y + 22 * k), 8 * k, 4.5 * k, INK)
        arrowhead(c, (x + 6 * k, y + 22 * k), (x + 22 * k, y + 6 * k), 8 * k, 4.5 * k, INK)

    return [pen, straight, rectangle, ellipse, arrow, double_arrow][index]


def swatch_strip(rgb, dpi):
    """Four 15 x 15 states of one colour: plain, marked (on), lit (hover), pressed (held)."""
    color = rgb + (255,)
    size = px(15, dpi)
    line_width = hairline(dpi)

    def inset(n):  # the square n pixels (at 100 %) in from the state's edges
        return px(n, dpi), size - px(n, dpi)

    strip = Canvas(size * 4, size)
    for state in range(4):
        x0 = state * size
        fill, border = SKIN_STATES[state]
        strip.rect(x0, 0, x0 + size, size, fill)
        if state == 0:
            a, b = inset(2)
            strip.rect(x0 + a, a, x0 + b, b, color)
            frame(strip, x0 + a, a, x0 + b, b, (96, 104, 120, 255), line_width)
        elif state == 2:
            a, b = inset(1)
            strip.rect(x0 + a, a, x0 + b, b, color)
            frame(strip, x0 + a, a, x0 + b, b, border, line_width)
        else:
            # The chosen colour: a dark frame with a white inner ring, readable on any swatch.
            a, b = inset(3)
            strip.rect(x0 + a, a, x0 + b, b, color)
            a, b = inset(2)
            frame(strip, x0, 0, x0 + size, size, (16, 24, 40, 255), a)
            frame(strip, x0 + a, a, x0 + b, b, WHITE, line_width)
    return strip


# ---- hover buttons: normal, pressed, hover (and disabled) ----------------------------------

HOVER_PANELS = [
    ((246, 247, 250, 255), (170, 178, 196, 255)),   # normal
    ((170, 198, 240, 255), (40, 80, 150, 255)),     # pressed
    ((222, 234, 252, 255), (96, 138, 206, 255)),    # hover
    ((236, 237, 240, 255), (200, 202, 208, 255)),   # disabled
]


def hover_strip(width, height, states, draw_glyph, dpi):
    k = dpi / 96.0
    width, height = px(width, dpi), px(height, dpi)
    strip = Canvas(width * states, height)
    for state in range(states):
        fill, border = HOVER_PANELS[state]
        x0 = state * width
        strip.rect(x0, 0, x0 + width, height, fill)
        frame(strip, x0, 0, x0 + width, height, border, hairline(dpi))
        ink = (170, 174, 182, 255) if state == 3 else INK
        shift = px(1, dpi) if state == 1 else 0
        draw_glyph(strip, x0 + shift, shift, ink, k)
    return strip


def text_tool_glyph(c, x, y, ink, k):
    text(c, x + snap(9 * k), y + snap(7 * k), 'T', ink, 2 * k)


def undo_glyph(c, x, y, ink, k):
    line(c, x + 11 * k, y + 14 * k, x + 21 * k, y + 14 * k, 3 * k, ink)
    arrowhead(c, (x + 5 * k, y + 14 * k), (x + 21 * k, y + 14 * k), 8 * k, 5 * k, ink)


def redo_glyph(c, x, y, ink, k):
    line(c, x + 7 * k, y + 14 * k, x + 17 * k, y + 14 * k, 3 * k, ink)
    arrowhead(c, (x + 23 * k, y + 14 * k), (x + 7 * k, y + 14 * k), 8 * k, 5 * k, ink)


def finish_glyph(c, x, y, ink, k):
    # A disk with a tick, over the words "SAVE" and "OK".
    body = (52, 96, 176, 255)

    def box(x0, y0, x1, y1, color):
        c.rect(x + snap(x0 * k), y + snap(y0 * k), x + snap(x1 * k), y + snap(y1 * k), color)

    box(15, 6, 39, 30, body)
    box(20, 6, 34, 14, (236, 240, 248, 255))
    box(30, 8, 32, 12, body)
    box(18, 19, 36, 30, WHITE)
    line(c, x + 21 * k, y + 24 * k, x + 25 * k, y + 28 * k, 2.2 * k, (11, 150, 29, 255))
    line(c, x + 25 * k, y + 28 * k, x + 33 * k, y + 20 * k, 2.2 * k, (11, 150, 29, 255))
    text(c, x + snap((54 - text_width('SAVE')) // 2 * k), y + snap(37 * k), 'SAVE', ink, k)
    text(c, x + snap((54 - text_width('OK', 2)) // 2 * k), y + snap(47 * k), 'OK', ink, 2 * k)


# ---- the toolbar's background: 385 x 101 pixels at 100 % -----------------------------------

def toolbar_background(dpi):
    k = dpi / 96.0
    width, height = px(385, dpi), px(101, dpi)
    c = Canvas(width, height)
    for y in range(height):
        shade = int(244 - 16 * (y / k) / 100)
        c.rect(0, y, width, y + 1, (shade - 6, shade - 2, shade + 6, 255))
    # The strip above the buttons is where the toolbar is dragged.
    c.rect(0, 0, width, px(26, dpi), (52, 96, 176, 255))
    text(c, px(8, dpi), px(9, dpi), 'TOVRIX PEN', WHITE, k)
    for i in range(6):
        c.disc((300 + 8 * i) * k, 13 * k, 1.5 * k, (150, 180, 230, 255))
    frame(c, 0, 0, width, height, (40, 70, 130, 255), hairline(dpi))
    return c


# ---- pointers -------------------------------------------------------------------------------

def pen_hand_cursor(dpi):
    """A hand holding a pen whose tip is the hot spot (1, 1 at 100 %)."""
    k = dpi / 96.0
    c = Canvas(px(32, dpi), px(32, dpi))
    outline = (0, 0, 0, 255)
    line(c, 1.5 * k, 1.5 * k, 17 * k, 17 * k, 5 * k, outline)
    line(c, 1.5 * k, 1.5 * k, 17 * k, 17 * k, 3 * k, (52, 96, 176, 255))
    polygon(c, [(0, 0), (5 * k, 2 * k), (2 * k, 5 * k)], outline)
    skin = (246, 206, 170, 255)
    c.disc(20 * k, 21 * k, 7.5 * k, outline)
    c.disc(20 * k, 21 * k, 6.5 * k, skin)
    c.disc(13.5 * k, 16 * k, 3.5 * k, outline)
    c.disc(13.5 * k, 16 * k, 2.5 * k, skin)
    line(c, 15 * k, 22 * k, 19 * k, 18 * k, k, outline)
    line(c, 18 * k, 25 * k, 22 * k, 21 * k, k, outline)
    return c, px(1, dpi), px(1, dpi)


def crayon_cursor(dpi):
    """A crayon whose tip is the hot spot (6, 25 at 100 %)."""
    k = dpi / 96.0
    c = Canvas(px(32, dpi), px(32, dpi))
    outline = (0, 0, 0, 255)
    wax = (218, 14, 14, 255)
    line(c, 11 * k, 20 * k, 26 * k, 5 * k, 8 * k, outline)
    line(c, 11 * k, 20 * k, 26 * k, 5 * k, 6 * k, wax)
    line(c, 16 * k, 15 * k, 21 * k, 10 * k, 6 * k, (250, 236, 200, 255))
    polygon(c, [(6 * k, 25 * k), (8 * k, 15.5 * k), (15.5 * k, 23 * k)], outline)
    polygon(c, [(6.8 * k, 24.2 * k), (8.7 * k, 17 * k), (14.3 * k, 22.5 * k)], wax)
    hot = (px(6, dpi), px(25, dpi))
    c.put(hot[0], hot[1], outline)  # the tip is where the pointer is
    return c, hot[0], hot[1]


def main():
    for dpi in DPIS:
        for i in range(6):
            write_bmp24(scaled_path('pen_size%d.bmp' % i, dpi), skin_strip(28, pen_size_glyph(i), dpi))
            write_bmp24(scaled_path('pen_tool%d.bmp' % i, dpi), skin_strip(28, tool_glyph(i), dpi))
        for i, rgb in enumerate(PEN_COLORS):
            write_bmp24(scaled_path('pen_swatch%02d.bmp' % i, dpi), swatch_strip(rgb, dpi))
        write_bmp24(scaled_path('pen_toolbar.bmp', dpi), toolbar_background(dpi))
        write_bmp24(scaled_path('pen_text.bmp', dpi), hover_strip(28, 28, 3, text_tool_glyph, dpi))
        write_bmp24(scaled_path('pen_undo.bmp', dpi), hover_strip(28, 28, 4, undo_glyph, dpi))
        write_bmp24(scaled_path('pen_redo.bmp', dpi), hover_strip(28, 28, 4, redo_glyph, dpi))
        write_bmp24(scaled_path('pen_finish.bmp', dpi), hover_strip(54, 63, 3, finish_glyph, dpi))
    write_cur(os.path.join(HERE, 'pen_hand.cur'), [pen_hand_cursor(dpi) for dpi in DPIS])
    write_cur(os.path.join(HERE, 'crayon.cur'), [crayon_cursor(dpi) for dpi in DPIS])


if __name__ == '__main__':
    main()
