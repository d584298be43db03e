#pragma once
// The editor's drawn shapes: their kinds, the packed points items store, the arrowheads, and
// the one routine that draws a line, rectangle, ellipse or arrow on any device context.
#include <windows.h>
#include <cstdint>

enum ShapeKind : int32_t {
    ShapeFreehand = 0,
    ShapeLine = 1,
    ShapeRectangle = 2,
    ShapeEllipse = 3,
    ShapeArrow = 4,
    ShapeDoubleArrow = 5,
    ShapeText = 6,
};

// A point stored in 32 bits: x in the low half, y in the high half, both signed 16-bit, so that
// shapes dragged beyond the top or left edge keep their negative coordinates.
inline uint32_t PackPoint(int x, int y) {
    return static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(x))) |
           (static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(y))) << 16);
}
inline POINT UnpackPoint(uint32_t packed) {
    return POINT{static_cast<int16_t>(packed & 0xFFFF), static_cast<int16_t>(packed >> 16)};
}

// The three corners of the filled head at the end (x2, y2) of a line from (x1, y1): 15 pixels
// long and 15 wide whatever the pen.
void ArrowheadAtEnd(int x1, int y1, int x2, int y2, POINT head[3]);
// The head at the start (x1, y1) of a double arrow.
void ArrowheadAtStart(int x1, int y1, int x2, int y2, POINT head[3]);

// Draws a shape of kind 1 to 5 from (x1, y1) to (x2, y2) with a solid pen in the DC's current
// raster operation; the DC's pen and brush are put back afterwards. Other kinds draw nothing.
void DrawShape(HDC dc, int kind, int x1, int y1, int x2, int y2, int penWidth, COLORREF color);
