#!/usr/bin/env python3
"""Writes the frames of a screen recording session (binary PPM) for the GIF size benchmark.

    make_session.py SCENE OUTDIR [--count N] [--size WxH] [--seed S]

SCENE is one of:
  typing  text typed into an editor window over a gradient wallpaper while the pointer wanders;
  drag    a window dragged across a photo-like background;
  scroll  a page of text (with a photo in it) scrolling 20 pixels a frame;
  menu    a menu opening and closing over a desktop, the pointer moving over its items.

The frames are what a recorder at 10 frames a second would see: anti-aliased text, a pointer,
shadows over the wallpaper, a taskbar. The seed changes the colours, the words, the places and
the pointer's path, so that sessions of the same kind that the benchmark never saw can be made.
"""
import argparse
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_frames  # noqa: E402  (its Frame: fill and save)


def clamp(v):
    return 0 if v < 0 else 255 if v > 255 else int(v)


def blend(fg, bg, a):
    return tuple(clamp(b + (f - b) * a) for f, b in zip(fg, bg))


class Frame(make_frames.Frame):
    """A frame of make_frames.py with what the sessions draw besides."""

    def __init__(self, width, height, data=None):
        super().__init__(width, height)
        if data is not None:
            self.data = bytearray(data)

    def copy(self):
        return Frame(self.width, self.height, self.data)

    def get(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            i = (y * self.width + x) * 3
            self.data[i:i + 3] = bytes(colour)

    def darken(self, x, y, w, h, factor):
        """A shadow: the pixels below keep their colour, darker."""
        x0, y0 = max(x, 0), max(y, 0)
        x1, y1 = min(x + w, self.width), min(y + h, self.height)
        for yy in range(y0, y1):
            start = (yy * self.width + x0) * 3
            end = (yy * self.width + x1) * 3
            self.data[start:end] = bytes(int(v * factor) for v in self.data[start:end])

    def paste(self, x, y, other, sx=0, sy=0, w=None, h=None):
        """Copies a part of another frame (a pre-drawn window or page) to (x, y)."""
        w = other.width - sx if w is None else w
        h = other.height - sy if h is None else h
        if x < 0:
            sx, w = sx - x, w + x
            x = 0
        if y < 0:
            sy, h = sy - y, h + y
            y = 0
        w = min(w, self.width - x)
        h = min(h, self.height - y)
        if w <= 0 or h <= 0:
            return
        for yy in range(h):
            src = ((sy + yy) * other.width + sx) * 3
            dst = ((y + yy) * self.width + x) * 3
            self.data[dst:dst + w * 3] = other.data[src:src + w * 3]


# A font of the benchmark's own: each character is a few strokes drawn on a grid twice as fine
# as the screen and averaged down, so that its edges carry the grey levels of anti-aliased text.
class Font:
    HEIGHT = 12

    def __init__(self, seed):
        self.glyphs = {}
        self.seed = seed

    def glyph(self, ch):
        if ch in self.glyphs:
            return self.glyphs[ch]
        rng = random.Random(ord(ch) * 7919 + self.seed)
        if ch == ' ':
            g = (4, [[0] * 4 for _ in range(self.HEIGHT)])
            self.glyphs[ch] = g
            return g
        narrow = ch in 'iljtf.,:;!\'|1'
        wide = ch in 'mwMW'
        w = 3 if narrow else 9 if wide else rng.choice((5, 6, 6, 7))
        tall = ch.isupper() or ch.isdigit() or ch in 'bdfhklt'
        low = ch in 'gjpqy,'
        sub_w, sub_h = w * 2, self.HEIGHT * 2
        top = 2 if tall else 8
        bottom = 22 if low else 18
        grid = [[0] * sub_w for _ in range(sub_h)]

        def stroke(x0, y0, x1, y1, width=2):
            steps = int(max(abs(x1 - x0), abs(y1 - y0), 1) * 2)
            for s in range(steps + 1):
                px = x0 + (x1 - x0) * s / steps
                py = y0 + (y1 - y0) * s / steps
                for dx in range(width):
                    for dy in range(width):
                        gx, gy = int(px) + dx, int(py) + dy
                        if 0 <= gx < sub_w and 0 <= gy < sub_h:
                            grid[gy][gx] = 1

        if ch in '.,':
            stroke(1, 16, 1, 18 if ch == '.' else 21)
        elif narrow:
            stroke(2, top, 2, bottom - 1)
            if ch in 'ij':
                grid[top - 2 if top > 3 else 0][2] = 1
        else:
            right = sub_w - 3
            parts = rng.sample(('left', 'right', 'mid', 'topbar', 'midbar', 'botbar', 'bowl', 'diag'), 3)
            for part in parts:
                if part == 'left':
                    stroke(1, top, 1, bottom - 1)
                elif part == 'right':
                    stroke(right, top if tall else 8, right, bottom - 1)
                elif part == 'mid':
                    stroke(sub_w // 2 - 1, top, sub_w // 2 - 1, bottom - 1)
                elif part == 'topbar':
                    stroke(1, top, right, top)
                elif part == 'midbar':
                    stroke(1, (top + bottom) // 2, right, (top + bottom) // 2)
                elif part == 'botbar':
                    stroke(1, bottom - 2, right, bottom - 2)
                elif part == 'bowl':
                    cx, cy = sub_w / 2 - 1, (8 + 18) / 2
                    rx, ry = sub_w / 2 - 2, 5
                    for a in range(0, 360, 12):
                        stroke(cx + rx * math.cos(math.radians(a)), cy + ry * math.sin(math.radians(a)),
                               cx + rx * math.cos(math.radians(a + 12)), cy + ry * math.sin(math.radians(a + 12)))
                else:
                    stroke(1, bottom - 1, right, top)
        cover = []
        for y in range(self.HEIGHT):
            row = []
            for x in range(w):
                row.append((grid[2 * y][2 * x] + grid[2 * y][2 * x + 1] + grid[2 * y + 1][2 * x] +
                            grid[2 * y + 1][2 * x + 1]) / 4)
            cover.append(row)
        g = (w + 1, cover)
        self.glyphs[ch] = g
        return g

    def width(self, text):
        return sum(self.glyph(ch)[0] for ch in text)

    def draw(self, frame, x, y, text, colour, background=None):
        """Draws text with its top at y; over a known background colour or over the pixels."""
        for ch in text:
            advance, cover = self.glyph(ch)
            for gy, row in enumerate(cover):
                for gx, a in enumerate(row):
                    if a:
                        px, py = x + gx, y + gy
                        if 0 <= px < frame.width and 0 <= py < frame.height:
                            bg = background if background is not None else frame.get(px, py)
                            frame.put(px, py, blend(colour, bg, a))
            x += advance
        return x


class Words:
    def __init__(self, rng):
        self.rng = rng
        syllables = ['ka', 'ri', 'to', 'ne', 'sa', 'mo', 'lu', 'pe', 'di', 'ra', 'ven', 'tor', 'is', 'an',
                     'el', 'um', 'ex', 'po', 'qua', 'ste', 'gra', 'fi', 'no', 'be', 'cu', 'wal', 'zen']
        self.words = [''.join(rng.choice(syllables) for _ in range(rng.choice((1, 1, 2, 2, 3))))
                      for _ in range(300)]

    def sentence(self, length):
        out = []
        while sum(len(w) + 1 for w in out) < length:
            word = self.rng.choice(self.words)
            if not out:
                word = word.capitalize()
            out.append(word)
        return ' '.join(out) + self.rng.choice(('.', '.', ',', '.'))


def gradient_wallpaper(width, height, rng):
    a = [rng.randrange(0, 120) for _ in range(3)]
    b = [rng.randrange(90, 256) for _ in range(3)]
    angle = rng.uniform(0.2, 1.2)
    cx, cy = math.cos(angle), math.sin(angle)
    span = width * abs(cx) + height * abs(cy)
    frame = Frame(width, height)
    data = frame.data
    for y in range(height):
        base = y * cy
        i = y * width * 3
        for x in range(width):
            t = (x * cx + base) / span
            # a slight curve, as in the gradients of real wallpapers
            t = t * t * (3 - 2 * t)
            data[i] = int(a[0] + (b[0] - a[0]) * t)
            data[i + 1] = int(a[1] + (b[1] - a[1]) * t)
            data[i + 2] = int(a[2] + (b[2] - a[2]) * t)
            i += 3
    return frame


def photo(width, height, rng):
    """A landscape-like picture: a sky, hills and a textured ground, with fine grain."""
    frame = Frame(width, height)
    data = frame.data
    cell = 16
    gw, gh = width // cell + 2, height // cell + 2
    coarse = [[rng.uniform(-1, 1) for _ in range(gw)] for _ in range(gh)]
    sky_top = (rng.randrange(40, 110), rng.randrange(90, 160), rng.randrange(170, 240))
    sky_low = (rng.randrange(170, 230), rng.randrange(180, 230), rng.randrange(200, 250))
    ground = (rng.randrange(50, 110), rng.randrange(90, 150), rng.randrange(20, 70))
    far = (rng.randrange(80, 140), rng.randrange(100, 150), rng.randrange(110, 170))
    horizon = [height * 0.45 + 40 * math.sin(x / width * 5 + rng.uniform(0, 6)) +
               15 * math.sin(x / width * 17) for x in range(width)]
    grain = random.Random(rng.randrange(1 << 30))
    for y in range(height):
        gy = y / cell
        y0 = int(gy)
        fy = gy - y0
        row0, row1 = coarse[y0], coarse[y0 + 1]
        i = y * width * 3
        for x in range(width):
            gx = x / cell
            x0 = int(gx)
            fx = gx - x0
            n = (row0[x0] * (1 - fx) + row0[x0 + 1] * fx) * (1 - fy) + (row1[x0] * (1 - fx) + row1[x0 + 1] * fx) * fy
            h = horizon[x]
            if y < h:
                t = y / h
                c = [sky_top[k] + (sky_low[k] - sky_top[k]) * t + n * 10 for k in range(3)]
            elif y < h + 30:
                c = [far[k] + n * 25 for k in range(3)]
            else:
                t = (y - h) / (height - h)
                c = [ground[k] * (0.7 + 0.6 * t) + n * 45 for k in range(3)]
            g = grain.randrange(-7, 8)
            data[i] = clamp(c[0] + g)
            data[i + 1] = clamp(c[1] + g)
            data[i + 2] = clamp(c[2] + g)
            i += 3
    return frame


POINTER = [
    "B",
    "BB",
    "BWB",
    "BWWB",
    "BWWWB",
    "BWWWWB",
    "BWWWWWB",
    "BWWWWWWB",
    "BWWWWWWWB",
    "BWWWWWWWWB",
    "BWWWWWBBBBB",
    "BWWBWWB",
    "BWB BWWB",
    "BB  BWWB",
    "B    BWWB",
    "     BWWB",
    "      BB",
]


def draw_pointer(frame, x, y):
    for dy, row in enumerate(POINTER):
        for dx, c in enumerate(row):
            if c == 'B':
                frame.put(x + dx, y + dy, (0, 0, 0))
            elif c == 'W':
                frame.put(x + dx, y + dy, (255, 255, 255))


class Wander:
    """A pointer that drifts towards targets, pausing now and then."""

    def __init__(self, rng, width, height, start):
        self.rng, self.width, self.height = rng, width, height
        self.x, self.y = start
        self.target = start
        self.pause = 0

    def step(self):
        if self.pause > 0:
            self.pause -= 1
            return int(self.x), int(self.y)
        dx, dy = self.target[0] - self.x, self.target[1] - self.y
        dist = math.hypot(dx, dy)
        if dist < 4:
            self.pause = self.rng.choice((0, 2, 5, 9))
            self.target = (self.rng.randrange(20, self.width - 30), self.rng.randrange(20, self.height - 60))
            return int(self.x), int(self.y)
        speed = min(dist, self.rng.uniform(6, 28))
        self.x += dx / dist * speed
        self.y += dy / dist * speed
        return int(self.x), int(self.y)


def taskbar(frame, rng, font):
    h = 36
    y = frame.height - h
    colour = (rng.randrange(20, 60), rng.randrange(20, 60), rng.randrange(40, 80))
    frame.fill(0, y, frame.width, h, colour)
    frame.fill(0, y, frame.width, 1, tuple(min(255, c + 40) for c in colour))
    for i in range(6):
        x = 8 + i * 44
        for yy in range(24):
            for xx in range(24):
                t = (xx + yy) / 48
                frame.put(x + xx, y + 6 + yy, blend((80 + 30 * i, 200 - 20 * i, 120 + 15 * i), (20, 40, 90), t))
    font.draw(frame, frame.width - 60, y + 12, '10:42', (235, 235, 235), colour)


def window_frame(width, height, title, rng, font, body=(255, 255, 255)):
    """A window drawn once: border, title bar with buttons and a white client area."""
    win = Frame(width, height)
    win.fill(0, 0, width, height, (110, 110, 110))
    title_a = (rng.randrange(20, 80), rng.randrange(60, 130), rng.randrange(140, 220))
    title_b = tuple(min(255, c + 60) for c in title_a)
    for x in range(1, width - 1):
        win.fill(x, 1, 1, 26, blend(title_b, title_a, x / width))
    font.draw(win, 10, 8, title, (255, 255, 255))
    for i in range(3):
        win.fill(width - 26 - i * 26, 6, 18, 16, (230, 230, 230))
    win.fill(1, 27, width - 2, 24, (240, 240, 240))
    for i, label in enumerate(('File', 'Edit', 'View', 'Help')):
        font.draw(win, 8 + i * 48, 33, label, (30, 30, 30), (240, 240, 240))
    win.fill(1, 51, width - 2, height - 52, body)
    return win


def write(frames_dir, index, frame):
    frame.save(os.path.join(frames_dir, 'frame%03d.ppm' % index))


def scene_typing(out, count, width, height, rng):
    font = Font(rng.randrange(1000))
    words = Words(rng)
    base = gradient_wallpaper(width, height, rng)
    taskbar(base, rng, font)
    wx, wy = rng.randrange(40, 120), rng.randrange(30, 80)
    ww, wh = width * 6 // 10, height * 6 // 10
    base.darken(wx + 6, wy + 6, ww, wh, 0.6)
    base.paste(wx, wy, window_frame(ww, wh, 'Notes - Editor', rng, font))
    text = ' '.join(words.sentence(rng.randrange(40, 90)) for _ in range(12))
    pointer = Wander(rng, width, height, (width * 3 // 4, height // 2))
    typed = 0
    line_x, line_y = wx + 10, wy + 60
    page = base.copy()
    caret = None
    for i in range(count):
        # about six characters a second, with short pauses between words now and then
        if rng.random() < 0.85:
            for _ in range(rng.choice((0, 1, 1, 1, 2))):
                if typed >= len(text):
                    break
                ch = text[typed]
                typed += 1
                if line_x + font.width(ch) > wx + ww - 12:
                    line_x, line_y = wx + 10, line_y + 16
                line_x = font.draw(page, line_x, line_y, ch, (20, 20, 20), (255, 255, 255))
        frame = page.copy()
        if (i // 5) % 2 == 0:
            frame.fill(line_x + 1, line_y, 1, 13, (0, 0, 0))
        px, py = pointer.step()
        draw_pointer(frame, px, py)
        write(out, i, frame)


def scene_drag(out, count, width, height, rng):
    font = Font(rng.randrange(1000))
    words = Words(rng)
    base = photo(width, height, rng)
    taskbar(base, rng, font)
    ww, wh = width * 4 // 10, height * 45 // 100
    win = window_frame(ww, wh, 'Pictures', rng, font)
    for k in range(8):
        font.draw(win, 12, 60 + k * 16, words.sentence(rng.randrange(20, 40))[:ww // 7], (30, 30, 30), (255, 255, 255))
    x, y = rng.randrange(20, 120), rng.randrange(20, 100)
    # still, a long drag across the picture, a pause, a short drag back, still again
    plan = [(0, 0)] * 8
    tx, ty = rng.randrange(width // 2, width - ww), rng.randrange(height // 4, height - wh - 40)
    steps = 45
    plan += [((tx - x) / steps, (ty - y) / steps)] * steps
    plan += [(0, 0)] * 12
    plan += [(-(tx - x) / steps * 1.5, -(ty - y) / steps * 0.5)] * 15
    plan += [(0, 0)] * max(0, count - len(plan))
    fx, fy = float(x), float(y)
    grab = (rng.randrange(60, ww - 100), 12)
    pointer_free = Wander(rng, width, height, (x + grab[0], y + grab[1]))
    for i in range(count):
        dx, dy = plan[i]
        fx, fy = fx + dx, fy + dy
        frame = base.copy()
        ix, iy = int(fx), int(fy)
        frame.darken(ix + 6, iy + 6, ww, wh, 0.6)
        frame.paste(ix, iy, win)
        if dx or dy or i < 8:
            px, py = ix + grab[0], iy + grab[1]
            pointer_free.x, pointer_free.y = px, py
            pointer_free.target = (px, py)
        else:
            px, py = pointer_free.step() if i > len(plan) - 30 else (int(pointer_free.x), int(pointer_free.y))
        draw_pointer(frame, px, py)
        write(out, i, frame)


def scene_scroll(out, count, width, height, rng):
    font = Font(rng.randrange(1000))
    words = Words(rng)
    base = gradient_wallpaper(width, height, rng)
    taskbar(base, rng, font)
    wx, wy, ww, wh = 20, 10, width - 40, height - 60
    base.paste(wx, wy, window_frame(ww, wh, 'Reader - document', rng, font))
    view_x, view_y, view_w, view_h = wx + 1, wy + 51, ww - 18, wh - 52
    scroll = 20
    page = Frame(view_w, view_h + scroll * count + 40)
    page.fill(0, 0, page.width, page.height, (255, 255, 255))
    y = 16
    heading = (rng.randrange(0, 60), rng.randrange(40, 110), rng.randrange(120, 200))
    picture_at = rng.randrange(300, 900)
    while y < page.height - 20:
        if y >= picture_at and picture_at >= 0:
            pic = photo(page.width * 45 // 100, 150, rng)
            page.paste(40, y, pic)
            font.draw(page, 40, y + 156, words.sentence(30), (90, 90, 90), (255, 255, 255))
            y += 190
            picture_at = -1
            continue
        font.draw(page, 24, y, words.sentence(rng.randrange(15, 30)), heading, (255, 255, 255))
        y += 24
        for _ in range(rng.randrange(3, 8)):
            line = words.sentence(rng.randrange(60, 110))
            while font.width(line) > page.width - 48:
                line = line[:-3]
            font.draw(page, 24, y, line, (25, 25, 25), (255, 255, 255))
            y += 16
        y += 14
    pointer = (view_x + view_w + 8, view_y + 60)
    for i in range(count):
        # a few still frames while reading, then 20 pixels a frame
        offset = max(0, i - 5) * scroll
        frame = base.copy()
        frame.paste(view_x, view_y, page, 0, offset, view_w, view_h)
        track_x = view_x + view_w
        frame.fill(track_x, view_y, 16, view_h, (235, 235, 235))
        thumb = view_y + int(offset / page.height * view_h)
        frame.fill(track_x + 2, thumb, 12, 60, (170, 170, 170))
        draw_pointer(frame, pointer[0], thumb + 20)
        write(out, i, frame)


def scene_menu(out, count, width, height, rng):
    font = Font(rng.randrange(1000))
    words = Words(rng)
    base = gradient_wallpaper(width, height, rng)
    for k in range(5):
        x, y = 24, 24 + k * 84
        for yy in range(40):
            for xx in range(40):
                base.put(x + xx, y + yy, blend((250, 200 - k * 30, 60 + k * 40), (40, 90, 200), (xx + yy) / 80))
        font.draw(base, x - 4, y + 46, words.words[k][:8], (255, 255, 255))
    wx, wy, ww, wh = width // 3, height // 8, width // 2, height // 2
    base.darken(wx + 6, wy + 6, ww, wh, 0.6)
    base.paste(wx, wy, window_frame(ww, wh, 'Settings', rng, font))
    taskbar(base, rng, font)
    items = [words.sentence(rng.randrange(8, 18))[:-1] for _ in range(9)]
    mw, ih = 200, 22
    mh = len(items) * ih + 8
    highlight = (rng.randrange(0, 60), rng.randrange(80, 140), rng.randrange(180, 240))

    def draw_menu(frame, x, y, rows, selected):
        height_now = min(mh, rows)
        frame.darken(x + 4, y + 4, mw, height_now, 0.7)
        frame.fill(x, y, mw, height_now, (120, 120, 120))
        frame.fill(x + 1, y + 1, mw - 2, height_now - 2, (248, 248, 248))
        for k, label in enumerate(items):
            iy = y + 4 + k * ih
            if iy + ih > y + height_now:
                break
            bg = (248, 248, 248)
            fg = (20, 20, 20)
            if k == selected:
                frame.fill(x + 3, iy, mw - 6, ih, highlight)
                bg, fg = highlight, (255, 255, 255)
            font.draw(frame, x + 28, iy + 5, label[:24], fg, bg)
            if k in (3, 6):
                frame.fill(x + 8, iy + ih - 1, mw - 16, 1, (200, 200, 200))

    pointer = Wander(rng, width, height, (width // 2, height * 3 // 4))
    i = 0
    while i < count:
        # the pointer goes to a place, the menu opens there in three steps, the pointer runs
        # down a few items, and the menu closes
        ox, oy = rng.randrange(120, width - mw - 40), rng.randrange(60, height - mh - 60)
        pointer.target = (ox, oy)
        while i < count and math.hypot(pointer.x - ox, pointer.y - oy) > 4:
            frame = base.copy()
            draw_pointer(frame, *pointer.step())
            write(out, i, frame)
            i += 1
        opened = 0
        selected = -1
        stay = rng.randrange(6, 14)
        for step in range(3 + stay):
            if i >= count:
                break
            opened = mh * min(step + 1, 3) // 3
            if step >= 3 and rng.random() < 0.7:
                selected = min(len(items) - 1, selected + 1)
            frame = base.copy()
            draw_menu(frame, ox, oy, opened, selected)
            px, py = (ox + 40, oy + 4 + selected * ih + 10) if selected >= 0 else (ox, oy)
            pointer.x, pointer.y = px, py
            draw_pointer(frame, px, py)
            write(out, i, frame)
            i += 1
        pointer.target = (rng.randrange(40, width - 40), rng.randrange(40, height - 80))
        pointer.pause = 0


SCENES = {'typing': scene_typing, 'drag': scene_drag, 'scroll': scene_scroll, 'menu': scene_menu}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('scene', choices=sorted(SCENES))
    parser.add_argument('outdir')
    parser.add_argument('--count', type=int, default=100)
    parser.add_argument('--size', default='800x600')
    parser.add_argument('--seed', type=int, default=1)
    args = parser.parse_args()
    width, height = (int(v) for v in args.size.split('x'))
    os.makedirs(args.outdir, exist_ok=True)
    rng = random.Random('%s-%d' % (args.scene, args.seed))
    SCENES[args.scene](args.outdir, args.count, width, height, rng)


if __name__ == '__main__':
    main()
