// Outlined text against GDI's own idea of the same glyphs: the fill covers the glyphs, the
// outline forms a rim outside them as wide as half the pen, the font description reads back
// field for field, and text at a picture's edge is clipped, not shifted.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include "EditorTestSupport.h"
#include "FontDescription.h"
#include "OutlineTextRenderer.h"
#include "TextItemSettings.h"

using editor_test::Canvas;
using editor_test::ChannelDifference;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kFill = RGB(230, 20, 20);
const COLORREF kOutline = RGB(20, 20, 230);

LOGFONTW TestFont(int height = -72, int weight = 700, const wchar_t* face = L"Tahoma") {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    ::lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return font;
}

TextItemSettings TextItem(const wchar_t* text, int x, int y, int thickness, int alpha = 255) {
    TextItemSettings item;
    item.textColor = kFill;
    item.outlineColor = kOutline;
    item.outlineAlpha = alpha;
    item.thickness = thickness;
    item.x = x;
    item.y = y;
    EXPECT_TRUE(SetTextItemFont(item, TestFont()));
    item.text = text;
    return item;
}

// The glyphs' area as GDI fills the same text path: the reference the outlined text is held to.
std::vector<bool> GlyphMask(int width, int height, const LOGFONTW& font, const wchar_t* text,
                            POINT origin) {
    Canvas canvas(width, height);
    HFONT gdiFont = ::CreateFontIndirectW(&font);
    HGDIOBJ oldFont = ::SelectObject(canvas.dc(), gdiFont);
    ::SetBkMode(canvas.dc(), TRANSPARENT);
    ::SetPolyFillMode(canvas.dc(), WINDING);
    ::BeginPath(canvas.dc());
    ::TextOutW(canvas.dc(), origin.x, origin.y, text, ::lstrlenW(text));
    ::EndPath(canvas.dc());
    HGDIOBJ oldBrush = ::SelectObject(canvas.dc(), ::GetStockObject(BLACK_BRUSH));
    ::FillPath(canvas.dc());
    ::SelectObject(canvas.dc(), oldBrush);
    ::SelectObject(canvas.dc(), oldFont);
    ::DeleteObject(gdiFont);
    std::vector<bool> mask;
    for (COLORREF p : canvas.Pixels()) mask.push_back(p != kWhite);
    return mask;
}

// For every pixel the distance to the nearest pixel on the other side of the mask's edge
// (outside pixels: to the glyphs; inside pixels: to the background), up to `limit`.
std::vector<double> EdgeDistance(const std::vector<bool>& mask, int width, int height, int limit) {
    std::vector<double> distance(mask.size(), limit + 1.0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool inside = mask[static_cast<size_t>(y) * width + x];
            double best = limit + 1.0;
            for (int dy = -limit; dy <= limit; ++dy) {
                for (int dx = -limit; dx <= limit; ++dx) {
                    int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
                    if (mask[static_cast<size_t>(ny) * width + nx] == inside) continue;
                    best = std::min(best, std::sqrt(double(dx * dx + dy * dy)));
                }
            }
            distance[static_cast<size_t>(y) * width + x] = best;
        }
    }
    return distance;
}

struct Ring {
    int glyphCore = 0, glyphCoreWrong = 0;  // well inside the glyphs: must be the fill
    int rim = 0, rimWrong = 0;              // just outside: the outline's colour
    int beyond = 0, beyondWrong = 0;             // beyond the pen: untouched
};

Ring Classify(const Canvas& canvas, const std::vector<bool>& mask, const std::vector<double>& d,
              double rimFrom, double rimTo, double farFrom) {
    Ring ring;
    std::vector<COLORREF> pixels = canvas.Pixels();
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (mask[i]) {
            if (d[i] >= 2.0) {
                ++ring.glyphCore;
                if (ChannelDifference(pixels[i], kFill) > 8) ++ring.glyphCoreWrong;
            }
        } else if (d[i] >= rimFrom && d[i] <= rimTo) {
            ++ring.rim;
            if (ChannelDifference(pixels[i], kOutline) > 8) ++ring.rimWrong;
        } else if (d[i] >= farFrom) {
            ++ring.beyond;
            if (pixels[i] != kWhite) ++ring.beyondWrong;
        }
    }
    return ring;
}

TEST(OutlineText, FillCoversTheGlyphsAndTheOutlineShowsHalfThePenOutside) {
    const int width = 260, height = 120;
    const POINT origin{20, 10};
    const wchar_t* text = L"HTE";  // straight strokes: both rasterisers agree on their edges
    std::vector<bool> mask = GlyphMask(width, height, TestFont(), text, origin);
    std::vector<double> distance = EdgeDistance(mask, width, height, 9);

    Canvas canvas(width, height);
    OutlineTextRenderer renderer;
    ASSERT_TRUE(DrawTextItem(canvas.dc(), renderer, TextItem(text, origin.x, origin.y, 10)));
    // A pen of 10 leaves a rim of 5: solid out to 3.5 from the glyphs, nothing from about 6 on.
    Ring ring = Classify(canvas, mask, distance, 1.5, 3.5, 7.0);
    EXPECT_GT(ring.glyphCore, 1000);
    EXPECT_GT(ring.rim, 1000);
    EXPECT_GT(ring.beyond, 10000);
    EXPECT_EQ(ring.glyphCoreWrong, 0);
    EXPECT_EQ(ring.rimWrong, 0);
    EXPECT_EQ(ring.beyondWrong, 0);
    EXPECT_EQ(renderer.GetThickness(), 10);
    EXPECT_EQ(renderer.GetFillColor(), Gdiplus::Color(255, 230, 20, 20).GetValue());
}

TEST(OutlineText, NoPenAndATransparentPenBothLeaveTheGlyphsBare) {
    const int width = 260, height = 120;
    const POINT origin{20, 10};
    const wchar_t* text = L"HOT";
    std::vector<bool> mask = GlyphMask(width, height, TestFont(), text, origin);
    std::vector<double> distance = EdgeDistance(mask, width, height, 3);

    Canvas noPen(width, height), transparentPen(width, height);
    OutlineTextRenderer renderer;
    ASSERT_TRUE(DrawTextItem(noPen.dc(), renderer, TextItem(text, origin.x, origin.y, 0)));
    ASSERT_TRUE(DrawTextItem(transparentPen.dc(), renderer, TextItem(text, origin.x, origin.y, 6, 0)));
    // Nothing beyond the anti-aliased edge of the glyphs themselves.
    Ring ring = Classify(noPen, mask, distance, 100, 100, 2.0);
    EXPECT_GT(ring.glyphCore, 1000);
    EXPECT_EQ(ring.glyphCoreWrong, 0);
    EXPECT_EQ(ring.beyondWrong, 0);
    int blueish = 0;
    for (COLORREF p : noPen.Pixels())
        if (GetBValue(p) > GetRValue(p) + 40) ++blueish;
    EXPECT_EQ(blueish, 0);
    EXPECT_EQ(noPen.Pixels(), transparentPen.Pixels());
}

TEST(OutlineText, TextAtTheEdgeIsClippedByThePictureNotMoved) {
    const wchar_t* text = L"Edge";
    struct Case { int x, y; };
    for (const Case& c : {Case{150, 10}, Case{10, 55}, Case{-40, -30}, Case{170, 60}}) {
        SCOPED_TRACE(testing::Message() << "at " << c.x << "," << c.y);
        Canvas small(200, 100), large(600, 300);
        OutlineTextRenderer renderer;
        // The large picture has the small one's origin at (200, 100).
        DrawTextItem(small.dc(), renderer, TextItem(text, c.x, c.y, 4));
        ASSERT_TRUE(DrawTextItem(large.dc(), renderer, TextItem(text, c.x + 200, c.y + 100, 4)));
        int differ = 0, drawn = 0;
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 200; ++x) {
                if (small.At(x, y) != kWhite) ++drawn;
                if (ChannelDifference(small.At(x, y), large.At(x + 200, y + 100)) > 2) ++differ;
            }
        }
        EXPECT_GT(drawn, 100);
        EXPECT_EQ(differ, 0);
    }
}

TEST(OutlineText, EmptyTextDrawsNothingAndTheGraphicsObjectKeepsWorking) {
    Canvas canvas(100, 60);
    Gdiplus::Graphics graphics(canvas.dc());
    OutlineTextRenderer renderer;
    renderer.SetStyle(Gdiplus::Color(255, 255, 0, 0), Gdiplus::Color(255, 0, 0, 255), 4);
    EXPECT_FALSE(renderer.DrawString(graphics, TestFont(-20), L"", POINT{5, 5}));
    EXPECT_FALSE(renderer.DrawString(graphics, TestFont(-20), nullptr, POINT{5, 5}));
    Gdiplus::SolidBrush green(Gdiplus::Color(255, 0, 200, 0));
    EXPECT_EQ(graphics.FillRectangle(&green, 50, 30, 10, 10), Gdiplus::Ok);
    graphics.Flush(Gdiplus::FlushIntentionSync);
    EXPECT_EQ(canvas.At(55, 35), RGB(0, 200, 0));
    EXPECT_EQ(canvas.CountUnlike(kWhite), 100);
}

TEST(OutlineText, AFaceThatDoesNotExistStillDraws) {
    Canvas canvas(200, 60);
    Gdiplus::Graphics graphics(canvas.dc());
    OutlineTextRenderer renderer;
    renderer.SetStyle(Gdiplus::Color(255, 0, 0, 0), Gdiplus::Color(255, 0, 0, 0), 2);
    EXPECT_TRUE(renderer.DrawString(graphics, TestFont(-24, 400, L"No Such Face 7x"), L"Text",
                                    POINT{5, 5}));
    graphics.Flush(Gdiplus::FlushIntentionSync);
    EXPECT_GT(canvas.CountUnlike(kWhite), 50);
}

TEST(OutlineText, EscapementOf900RunsTheTextUpwardsFromItsOrigin) {
    Canvas canvas(200, 300);
    LOGFONTW font = TestFont(-30, 400);
    font.lfEscapement = font.lfOrientation = 900;
    const POINT origin{60, 250};
    {
        Gdiplus::Graphics graphics(canvas.dc());
        OutlineTextRenderer renderer;
        renderer.SetStyle(Gdiplus::Color(255, 0, 0, 0), Gdiplus::Color(255, 0, 0, 0), 0);
        ASSERT_TRUE(renderer.DrawString(graphics, font, L"Upwards", origin));
    }
    RECT box{1000, 1000, -1, -1};
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.At(x, y) == kWhite) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    ASSERT_LT(box.left, box.right);
    EXPECT_GE(box.left, origin.x - 1);
    EXPECT_LE(box.bottom, origin.y + 1);
    EXPECT_GT(box.bottom - box.top, 2 * (box.right - box.left));
}

TEST(OutlineText, MeasuresAsGdiDoesWithTheFontSelected) {
    Canvas canvas(10, 10);
    Gdiplus::Graphics graphics(canvas.dc());
    OutlineTextRenderer renderer;
    LOGFONTW font = TestFont(-20, 400);
    SIZE shortText = renderer.MeasureString(graphics, L"ab", font);
    SIZE longText = renderer.MeasureString(graphics, L"abababab", font);
    EXPECT_GT(shortText.cx, 0);
    EXPECT_GE(shortText.cy, 20);
    EXPECT_GT(longText.cx, 3 * shortText.cx);
    EXPECT_EQ(longText.cy, shortText.cy);
    SIZE empty = renderer.MeasureString(graphics, L"", font);
    EXPECT_EQ(empty.cx, 0);
}

// GDI paths of lines, Béziers, closed and open figures fill the same area once appended to a
// GDI+ path as GDI fills them itself.
TEST(OutlineText, AppendedGdiPathsFillWhatGdiFills) {
    const int width = 220, height = 130;
    Canvas gdi(width, height);
    HDC dc = gdi.dc();
    ::SetPolyFillMode(dc, WINDING);
    ::BeginPath(dc);
    // A triangle closed by CloseFigure (its last line carries the closing flag).
    ::MoveToEx(dc, 10, 10, nullptr);
    ::LineTo(dc, 60, 10);
    ::LineTo(dc, 60, 60);
    ::CloseFigure(dc);
    // A Bézier figure closed on its last curve.
    ::MoveToEx(dc, 80, 60, nullptr);
    POINT curve[6] = {{80, 0}, {140, 0}, {140, 60}, {140, 90}, {80, 90}, {80, 60}};
    ::PolyBezierTo(dc, curve, 6);
    ::CloseFigure(dc);
    // An open figure followed by another figure: the move closes it.
    ::MoveToEx(dc, 10, 70, nullptr);
    ::LineTo(dc, 60, 70);
    ::LineTo(dc, 60, 120);
    // And an open figure at the very end.
    ::MoveToEx(dc, 160, 20, nullptr);
    ::LineTo(dc, 210, 20);
    ::LineTo(dc, 210, 110);
    ::LineTo(dc, 160, 110);
    ::EndPath(dc);
    int count = ::GetPath(dc, nullptr, nullptr, 0);
    ASSERT_GT(count, 0);
    std::vector<POINT> points(static_cast<size_t>(count));
    std::vector<BYTE> types(static_cast<size_t>(count));
    ASSERT_EQ(::GetPath(dc, points.data(), types.data(), count), count);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
    ::FillPath(dc);
    ::SelectObject(dc, old);

    Canvas plus(width, height);
    {
        Gdiplus::Graphics graphics(plus.dc());
        Gdiplus::GraphicsPath path(Gdiplus::FillModeWinding);
        AppendGdiPath(path, points.data(), types.data(), count);
        Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
        ASSERT_EQ(graphics.FillPath(&black, &path), Gdiplus::Ok);
    }
    std::vector<COLORREF> a = gdi.Pixels(), b = plus.Pixels();
    int filled = 0, differ = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != kWhite) ++filled;
        if ((a[i] == kWhite) != (b[i] == kWhite)) ++differ;
    }
    EXPECT_GT(filled, 8000);
    // Only the rasterisers' edge rules may differ: a thin seam, not a missing or extra figure.
    EXPECT_LT(differ, filled / 20);
    for (POINT inside : {POINT{45, 25}, POINT{110, 45}, POINT{45, 90}, POINT{185, 65}}) {
        EXPECT_NE(plus.At(inside.x, inside.y), kWhite) << inside.x << "," << inside.y;
    }
    EXPECT_EQ(plus.At(20, 50), kWhite);   // outside the triangle
    EXPECT_EQ(plus.At(20, 110), kWhite);  // outside the closed open figure
}

TEST(FontDescription, ReadsAndWritesTheThirteenFields) {
    LOGFONTW font = ParseFontDescription(L"-13:0:0:0:400:0:0:0:0:3:2:1:34", L"Arial");
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfWidth, 0);
    EXPECT_EQ(font.lfEscapement, 0);
    EXPECT_EQ(font.lfOrientation, 0);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(font.lfUnderline, 0);
    EXPECT_EQ(font.lfStrikeOut, 0);
    EXPECT_EQ(font.lfCharSet, 0);
    EXPECT_EQ(font.lfOutPrecision, 3);
    EXPECT_EQ(font.lfClipPrecision, 2);
    EXPECT_EQ(font.lfQuality, 1);
    EXPECT_EQ(font.lfPitchAndFamily, 34);
    EXPECT_STREQ(font.lfFaceName, L"Arial");
    EXPECT_EQ(FormatFontDescription(font), L"-13:0:0:0:400:0:0:0:0:3:2:1:34");
}

TEST(FontDescription, EveryFieldGoesThroughTheTextAndBack) {
    LOGFONTW font{};
    font.lfHeight = -48;
    font.lfWidth = 7;
    font.lfEscapement = 450;
    font.lfOrientation = -450;
    font.lfWeight = 700;
    font.lfItalic = 1;
    font.lfUnderline = 1;
    font.lfStrikeOut = 1;
    font.lfCharSet = 129;
    font.lfOutPrecision = 7;
    font.lfClipPrecision = 2;
    font.lfQuality = 4;
    font.lfPitchAndFamily = 255;
    ::lstrcpyW(font.lfFaceName, L"맑은 고딕");
    TextItemSettings item;
    ASSERT_TRUE(SetTextItemFont(item, font));
    EXPECT_STREQ(item.fontDesc, L"-48:7:450:-450:700:1:1:1:129:7:2:4:255");
    LOGFONTW back = GetTextItemFont(item);
    EXPECT_EQ(std::memcmp(&back, &font, sizeof(font)), 0);
}

TEST(FontDescription, MissingOrUnreadableNumbersLeaveTheRestZero) {
    struct Case {
        const wchar_t* text;
        LONG height, weight;
        BYTE quality;
    };
    for (const Case& c : {Case{L"-20:0:0:0:700", -20, 700, 0}, Case{L"", 0, 0, 0},
                          Case{L"-20:x:0:0:700", -20, 0, 0}, Case{L"-9:0:0:0:400:0:0:0:0:0:0:5", -9, 400, 5}}) {
        LOGFONTW font = ParseFontDescription(c.text, L"Tahoma");
        EXPECT_EQ(font.lfHeight, c.height) << c.text;
        EXPECT_EQ(font.lfWeight, c.weight) << c.text;
        EXPECT_EQ(font.lfQuality, c.quality) << c.text;
        EXPECT_EQ(font.lfPitchAndFamily, 0) << c.text;
    }
    EXPECT_EQ(ParseFontDescription(nullptr, nullptr).lfHeight, 0);
}

TEST(FontDescription, FaceNamesAreCutToWhatALogFontHolds) {
    std::wstring longName(40, L'F');
    LOGFONTW font = ParseFontDescription(L"-12", longName.c_str());
    EXPECT_EQ(std::wstring(font.lfFaceName), std::wstring(31, L'F'));
}

TEST(FontDescription, ADescriptionTooLongForItsFieldIsRefused) {
    LOGFONTW font{};
    font.lfHeight = font.lfWidth = font.lfEscapement = font.lfOrientation = font.lfWeight = -2000000000;
    TextItemSettings item;
    ::lstrcpyW(item.fontDesc, L"-13");
    EXPECT_FALSE(SetTextItemFont(item, font));
    EXPECT_STREQ(item.fontDesc, L"-13");
}

}  // namespace
