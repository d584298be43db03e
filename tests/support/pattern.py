#!/usr/bin/env python3
"""Writes the known screen picture (binary PPM) that scripts/test paints on the virtual display.

Pixel (x, y) is red x & 255, green y & 255, blue ((x >> 8) * 40 + (y >> 8) * 10) & 255, so every
pixel of a 1280 x 800 screen has its own colour; PatternColor in TestSupport.h is the same rule.
"""
import sys

width, height, path = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
rows = []
for y in range(height):
    g = y & 255
    hi = (y >> 8) * 10
    rows.append(bytes(b for x in range(width) for b in (x & 255, g, ((x >> 8) * 40 + hi) & 255)))
with open(path, 'wb') as f:
    f.write(b'P6\n%d %d\n255\n' % (width, height))
    f.write(b''.join(rows))
