#!/usr/bin/env python3
"""Draws the capture editor's pictures: the pen toolbar's skins, its background and the
editor's two pointers (run it after changing a drawing).

Skin buttons hold four states side by side (normal, on, hover, held); the toolbar's hover
buttons hold normal, pressed, hover and, for undo and redo, disabled. Both are loaded with
LR_LOADMAP3DCOLORS, so the pure greys 128, 192 and 223 are avoided: they would turn into the
system's 3-D colours.
"""
import math
import os
import struct

from make_resources import HERE, Canvas, icon_image, write_bmp24

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


def text(c, x, y, word, color, scale=1):
    for ch in word:
        for row, bits in enumerate(GLYPHS[ch]):
            for col, bit in enumerate(bits):
                if bit == '1':
                    c.rect(x + col * scale, y + row * scale, x + (col + 1) * scale,
                           y + (row + 1) * scale, color)
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


def frame(c, x0, y0, x1, y1, color):
    c.rect(x0, y0, x1, y0 + 1, color)
    c.rect(x0, y1 - 1, x1, y1, color)
    c.rect(x0, y0, x0 + 1, y1, color)
    c.rect(x1 - 1, y0, x1, y1, color)


def arrowhead(c, tip, tail, length, half, color):
    angle = math.atan2(tail[1] - tip[1], tail[0] - tip[0])
    cs, sn = math.cos(angle), math.sin(angle)
    polygon(c, [tip,
                (tip[0] + length * cs - half * sn, tip[1] + length * sn + half * cs),
                (tip[0] + length * cs + half * sn, tip[1] + length * sn - half * cs)], color)


# ---- skin buttons: four 28 x 28 states ------------------------------------------------------

def skin_strip(size, draw_glyph):
    strip = Canvas(size * 4, size)
    for state, (fill, border) in enumerate(SKIN_STATES):
        x0 = state * size
        strip.rect(x0, 0, x0 + size, size, fill)
        frame(strip, x0, 0, x0 + size, size, border)
        shift = 1 if state in (1, 3) else 0
        draw_glyph(strip, x0 + shift, shift)
    return strip


def pen_size_glyph(index):
    radius = 1.0 + 1.5 * index  # pen widths 2, 5, 8, 11, 14, 17 shown as growing dots
    return lambda c, x, y: c.disc(x + 14, y + 14, radius, INK)


def tool_glyph(index):
    def pen(c, x, y):
        line(c, x + 8, y + 20, x + 19, y + 9, 4, (52, 96, 176, 255))
        polygon(c, [(x + 5, y + 23), (x + 6.5, y + 18.5), (x + 9.5, y + 21.5)], INK)
        line(c, x + 18, y + 10, x + 21, y + 7, 4, (214, 86, 60, 255))

    def straight(c, x, y):
        line(c, x + 6, y + 22, x + 22, y + 6, 2.2, INK)

    def rectangle(c, x, y):
        frame(c, x + 6, y + 8, x + 23, y + 21, INK)
        frame(c, x + 7, y + 9, x + 22, y + 20, INK)

    def ellipse(c, x, y):
        ring(c, x + 14, y + 14, 8.5, 6.5, 2, INK)

    def arrow(c, x, y):
        line(c, x + 6, y + 22, x + 17, y + 11, 2.2, INK)
        arrowhead(c, (x + 22, y + 6), (x + 6, y + 22), 8, 4.5, INK)

    def double_arrow(c, x, y):
        line(c, x + 10, y + 18, x + 18, y + 10, 2.2, INK)
        arrowhead(c, (x + 22, y + 6), (x + 6, y + 22), 8, 4.5, INK)
        arrowhead(c, (x + 6, y + 22), (x + 22, y + 6), 8, 4.5, INK)

    return [pen, straight, rectangle, ellipse, arrow, double_arrow][index]


def swatch_strip(rgb):
    """Four 15 x 15 states of one colour: plain, marked (on), lit (hover), pressed (held)."""
    color = rgb + (255,)
    strip = Canvas(60, 15)
    for state in range(4):
        x0 = state * 15
        fill, border = SKIN_STATES[state]
        strip.rect(x0, 0, x0 + 15, 15, fill)
        if state == 0:
            strip.rect(x0 + 2, 2, x0 + 13, 13, color)
            frame(strip, x0 + 2, 2, x0 + 13, 13, (96, 104, 120, 255))
        elif state == 2:
            strip.rect(x0 + 1, 1, x0 + 14, 14, color)
            frame(strip, x0 + 1, 1, x0 + 14, 14, border)
        else:
            # The chosen colour: a dark frame with a white inner ring, readable on any swatch.
            strip.rect(x0 + 3, 3, x0 + 12, 12, color)
            frame(strip, x0, 0, x0 + 15, 15, (16, 24, 40, 255))
            frame(strip, x0 + 1, 1, x0 + 14, 14, (16, 24, 40, 255))
            frame(strip, x0 + 2, 2, x0 + 13, 13, WHITE)
    return strip


# ---- hover buttons: normal, pressed, hover (and disabled) ----------------------------------

HOVER_PANELS = [
    ((246, 247, 250, 255), (170, 178, 196, 255)),   # normal
    ((170, 198, 240, 255), (40, 80, 150, 255)),     # pressed
    ((222, 234, 252, 255), (96, 138, 206, 255)),    # hover
    ((236, 237, 240, 255), (200, 202, 208, 255)),   # disabled
]


def hover_strip(width, height, states, draw_glyph):
    strip = Canvas(width * states, height)
    for state in range(states):
        fill, border = HOVER_PANELS[state]
        x0 = state * width
        strip.rect(x0, 0, x0 + width, height, fill)
        frame(strip, x0, 0, x0 + width, height, border)
        ink = (170, 174, 182, 255) if state == 3 else INK
        shift = 1 if state == 1 else 0
        draw_glyph(strip, x0 + shift, shift, ink)
    return strip


def text_tool_glyph(c, x, y, ink):
    text(c, x + 9, y + 7, 'T', ink, 2)


def undo_glyph(c, x, y, ink):
    line(c, x + 11, y + 14, x + 21, y + 14, 3, ink)
    arrowhead(c, (x + 5, y + 14), (x + 21, y + 14), 8, 5, ink)


def redo_glyph(c, x, y, ink):
    line(c, x + 7, y + 14, x + 17, y + 14, 3, ink)
    arrowhead(c, (x + 23, y + 14), (x + 7, y + 14), 8, 5, ink)


def finish_glyph(c, x, y, ink):
    # A disk with a tick, over the words "SAVE" and "OK".
    body = (52, 96, 176, 255)
    c.rect(x + 15, y + 6, x + 39, y + 30, body)
    c.rect(x + 20, y + 6, x + 34, y + 14, (236, 240, 248, 255))
    c.rect(x + 30, y + 8, x + 32, y + 12, body)
    c.rect(x + 18, y + 19, x + 36, y + 30, WHITE)
    line(c, x + 21, y + 24, x + 25, y + 28, 2.2, (11, 150, 29, 255))
    line(c, x + 25, y + 28, x + 33, y + 20, 2.2, (11, 150, 29, 255))
    text(c, x + (54 - text_width('SAVE')) // 2, y + 37, 'SAVE', ink)
    text(c, x + (54 - text_width('OK', 2)) // 2, y + 47, 'OK', ink, 2)


# ---- the toolbar's background: 385 x 101 pixels --------------------------------------------

def toolbar_background():
    c = Canvas(385, 101)
    for y in range(101):
        shade = int(244 - 16 * y / 100)
        c.rect(0, y, 385, y + 1, (shade - 6, shade - 2, shade + 6, 255))
    # The strip above the buttons is where the toolbar is dragged.
    c.rect(0, 0, 385, 26, (52, 96, 176, 255))
    text(c, 8, 9, 'TOVRIX PEN', WHITE)
    for i in range(6):
        c.disc(300 + 8 * i, 13, 1.5, (150, 180, 230, 255))
    frame(c, 0, 0, 385, 101, (40, 70, 130, 255))
    return c


# ---- pointers -------------------------------------------------------------------------------

def write_cur(path, canvas, hot_x, hot_y):
    image = icon_image(canvas)
    out = struct.pack('<HHH', 0, 2, 1)
    out += struct.pack('<BBBBHHII', canvas.width % 256, canvas.height % 256, 0, 0, hot_x, hot_y,
                       len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(out + image)


def pen_hand_cursor():
    """A hand holding a pen whose tip is the hot spot (1, 1)."""
    c = Canvas(32, 32)
    outline = (0, 0, 0, 255)
    line(c, 1.5, 1.5, 17, 17, 5, outline)
    line(c, 1.5, 1.5, 17, 17, 3, (52, 96, 176, 255))
    polygon(c, [(0, 0), (5, 2), (2, 5)], outline)
    skin = (246, 206, 170, 255)
    c.disc(20, 21, 7.5, outline)
    c.disc(20, 21, 6.5, skin)
    c.disc(13.5, 16, 3.5, outline)
    c.disc(13.5, 16, 2.5, skin)
    line(c, 15, 22, 19, 18, 1, outline)
    line(c, 18, 25, 22, 21, 1, outline)
    return c


def crayon_cursor():
    """A crayon whose tip is the hot spot (6, 25)."""
    c = Canvas(32, 32)
    outline = (0, 0, 0, 255)
    wax = (218, 14, 14, 255)
    line(c, 11, 20, 26, 5, 8, outline)
    line(c, 11, 20, 26, 5, 6, wax)
    line(c, 16, 15, 21, 10, 6, (250, 236, 200, 255))
    polygon(c, [(6, 25), (8, 15.5), (15.5, 23)], outline)
    polygon(c, [(6.8, 24.2), (8.7, 17), (14.3, 22.5)], wax)
    c.put(6, 25, outline)
    return c


def main():
    for i in range(6):
        write_bmp24(os.path.join(HERE, 'pen_size%d.bmp' % i), skin_strip(28, pen_size_glyph(i)))
        write_bmp24(os.path.join(HERE, 'pen_tool%d.bmp' % i), skin_strip(28, tool_glyph(i)))
    for i, rgb in enumerate(PEN_COLORS):
        write_bmp24(os.path.join(HERE, 'pen_swatch%02d.bmp' % i), swatch_strip(rgb))
    write_bmp24(os.path.join(HERE, 'pen_toolbar.bmp'), toolbar_background())
    write_bmp24(os.path.join(HERE, 'pen_text.bmp'), hover_strip(28, 28, 3, text_tool_glyph))
    write_bmp24(os.path.join(HERE, 'pen_undo.bmp'), hover_strip(28, 28, 4, undo_glyph))
    write_bmp24(os.path.join(HERE, 'pen_redo.bmp'), hover_strip(28, 28, 4, redo_glyph))
    write_bmp24(os.path.join(HERE, 'pen_finish.bmp'), hover_strip(54, 63, 3, finish_glyph))
    write_cur(os.path.join(HERE, 'pen_hand.cur'), pen_hand_cursor(), 1, 1)
    write_cur(os.path.join(HERE, 'crayon.cur'), crayon_cursor(), 6, 25)


if __name__ == '__main__':
    main()
