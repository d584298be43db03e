#include "VectorShapes.h"
#include <algorithm>
#include <cmath>
#include "DeviceContext.h"
#include "GdiObject.h"

namespace {
const double kHeadLength = 15.0;
const double kHeadHalfWidth = kHeadLength / 2;

int Trunc(double value) {
    return static_cast<int>(value);  // towards zero, as the heads have always been cut
}

void DrawHead(HDC dc, const POINT head[3], COLORREF color) {
    CBrush fill(color);
    CSelectObject brush(dc, fill);
    ::Polygon(dc, head, 3);
}
}  // namespace

void ArrowheadAtEnd(int x1, int y1, int x2, int y2, POINT head[3]) {
    const double theta = std::atan2(static_cast<double>(y1 - y2), static_cast<double>(x1 - x2));
    const double c = std::cos(theta), s = std::sin(theta);
    const double l = kHeadLength, h = kHeadHalfWidth;
    head[0] = POINT{x2, y2};
    head[1] = POINT{x2 + Trunc(l * c - h * s), y2 + Trunc(l * s + h * c)};
    head[2] = POINT{x2 + Trunc(l * c + h * s), y2 - Trunc(h * c - l * s)};
}

void ArrowheadAtStart(int x1, int y1, int x2, int y2, POINT head[3]) {
    const double theta = std::atan2(static_cast<double>(y1 - y2), static_cast<double>(x1 - x2));
    const double c = std::cos(theta), s = std::sin(theta);
    const double l = kHeadLength, h = kHeadHalfWidth;
    head[0] = POINT{x1, y1};
    head[1] = POINT{x1 + Trunc(-l * c - h * s), y1 + Trunc(-l * s + h * c)};
    head[2] = POINT{x1 + Trunc(-l * c + h * s), y1 - Trunc(h * c + l * s)};
}

void DrawShape(HDC dc, int kind, int x1, int y1, int x2, int y2, int penWidth, COLORREF color) {
    if (kind < ShapeLine || kind > ShapeDoubleArrow) return;
    CPen pen(PS_SOLID, penWidth, color);
    CSelectObject selectPen(dc, pen);
    switch (kind) {
    case ShapeLine:
        ::MoveToEx(dc, x1, y1, nullptr);
        ::LineTo(dc, x2, y2);
        break;
    case ShapeRectangle:
    case ShapeEllipse: {
        CSelectObject hollow(dc, ::GetStockObject(NULL_BRUSH));
        const int left = std::min(x1, x2), right = std::max(x1, x2);
        const int top = std::min(y1, y2), bottom = std::max(y1, y2);
        if (kind == ShapeRectangle)
            ::Rectangle(dc, left, top, right, bottom);
        else
            ::Ellipse(dc, left, top, right, bottom);
        break;
    }
    case ShapeArrow:
    case ShapeDoubleArrow: {
        ::MoveToEx(dc, x1, y1, nullptr);
        ::LineTo(dc, x2, y2);
        POINT head[3];
        if (kind == ShapeDoubleArrow) {
            ArrowheadAtStart(x1, y1, x2, y2, head);
            DrawHead(dc, head, color);
        }
        ArrowheadAtEnd(x1, y1, x2, y2, head);
        DrawHead(dc, head, color);
        break;
    }
    }
}
