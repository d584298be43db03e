// Grid placement and the overlays drawn on real bitmaps: nothing by default, the caption where
// the grid puts it on the frame being drawn, turned by its angle, the logo read from a file the
// test wrote and drawn over the caption, and nothing for a logo that cannot be read.
#include <gtest/gtest.h>
#include <cstdlib>
#include <string>
#include "OverlayTestSupport.h"

using overlay_test::Canvas;
using overlay_test::LoadedOverlay;

namespace {

const COLORREF kBackground = RGB(255, 255, 255);
const COLORREF kLogoLeft = RGB(0, 0, 255);
const COLORREF kLogoRight = RGB(0, 200, 0);

// A bold caption large enough that its pixels show clearly where it went.
std::string CaptionKeys(int position, int marginX = 10, int marginY = 10, int angle = 0) {
    return "LetterIs=1\r\nLetter=Wide\r\nThickness=2\r\nTextColor=255\r\nOutlineColor=0\r\n"
           "FontName=Arial\r\nFontDesc=-40:0:0:0:700:0:0:0:0:3:2:1:34\r\n"
           "TextPos=" + std::to_string(position) + "\r\nTextPosX=" + std::to_string(marginX) +
           "\r\nTextPosY=" + std::to_string(marginY) + "\r\nAngle=" + std::to_string(angle) + "\r\n";
}

SIZE CaptionSize(const CLogoDoc& doc) {
    Canvas scratch(4, 4, kBackground);
    Gdiplus::Graphics graphics(scratch.dc());
    OutlineTextRenderer renderer;
    return renderer.MeasureString(graphics, doc.m_text.c_str(), doc.RotatedCaptionFont());
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

TEST(GridPlacement, NineCellsAndOutside) {
    const SIZE frame{640, 480};
    const SIZE object{100, 20};
    struct Case { int position; POINT expected; };
    const Case cases[] = {
        {0, {10, 12}},  {1, {270, 12}},  {2, {530, 12}},
        {3, {10, 230}}, {4, {270, 230}}, {5, {530, 230}},
        {6, {10, 448}}, {7, {270, 448}}, {8, {530, 448}},
        {-1, {0, 0}},   {9, {0, 0}},     {100, {0, 0}},
    };
    for (const Case& c : cases) {
        POINT at = GridPlacement(frame, object, 10, 12, c.position);
        EXPECT_EQ(at.x, c.expected.x) << "position " << c.position;
        EXPECT_EQ(at.y, c.expected.y) << "position " << c.position;
    }
    // Centred axes ignore the margins and divide towards zero, also for an object larger than
    // the frame.
    POINT centred = GridPlacement(SIZE{51, 40}, SIZE{100, 11}, 300, 300, 4);
    EXPECT_EQ(centred.x, -24);
    EXPECT_EQ(centred.y, 14);
}

TEST(OverlayRender, DefaultsDrawNothing) {
    LoadedOverlay loaded;
    Canvas canvas(200, 120, kBackground);
    loaded.overlay.ApplyOverlay(canvas.dc());
    EXPECT_EQ(canvas.CountUnlike(kBackground), 0);
}

// The 640 x 480 case: the caption's box at position 8 ends its margins away from the bottom
// right corner, measured with the rotated font.
TEST(OverlayRender, CaptionOriginAtBottomRightOfTheReference) {
    LoadedOverlay loaded(CaptionKeys(8));
    CLogoDoc& doc = loaded.overlay.GetDocument();
    doc.SetReferenceSize(SIZE{640, 480});
    const SIZE text = CaptionSize(doc);
    ASSERT_GT(text.cx, 0);
    Canvas scratch(4, 4, kBackground);
    Gdiplus::Graphics graphics(scratch.dc());
    POINT at = doc.CaptionOrigin(graphics, doc.RotatedCaptionFont());
    EXPECT_EQ(at.x, 640 - text.cx - 10);
    EXPECT_EQ(at.y, 480 - text.cy - 10);
}

// Recorded frames place the overlays against their own size, whatever the reference size is
// (0 x 0 before the preview was ever opened, or the preview's size from before the recording
// area changed).
TEST(OverlayRender, CaptionPixelsLandInTheirCellOfTheFrameBeingDrawn) {
    for (int position : {0, 2, 4, 6, 8}) {
        for (SIZE reference : {SIZE{0, 0}, SIZE{900, 700}}) {
            LoadedOverlay loaded(CaptionKeys(position, 12, 9));
            CLogoDoc& doc = loaded.overlay.GetDocument();
            doc.SetReferenceSize(reference);
            Canvas canvas(360, 240, kBackground);
            loaded.overlay.ApplyOverlay(canvas.dc());

            const SIZE text = CaptionSize(doc);
            const POINT at = GridPlacement(SIZE{360, 240}, text, 12, 9, position);
            const int rim = 2;
            const RECT cell{at.x - rim, at.y - rim, at.x + text.cx + rim, at.y + text.cy + rim};
            const RECT drawn = canvas.BoxUnlike(kBackground);
            SCOPED_TRACE("position " + std::to_string(position) + " reference " +
                         std::to_string(reference.cx) + " cell " + Describe(cell) + " drawn " +
                         Describe(drawn));
            EXPECT_TRUE(Inside(drawn, cell));
            // The glyphs fill most of their box across.
            EXPECT_GT(drawn.right - drawn.left, text.cx * 3 / 4);
            EXPECT_GT(canvas.CountIn(drawn, RGB(255, 0, 0)), 200);
        }
    }
}

TEST(OverlayRender, AngleTurnsTheCaptionCounterClockwise) {
    auto drawnBox = [](int angle, Canvas& canvas) {
        LoadedOverlay loaded(CaptionKeys(6, 20, 20, angle));
        loaded.overlay.ApplyOverlay(canvas.dc());
        return canvas.BoxUnlike(kBackground);
    };
    Canvas flat(300, 300, kBackground);
    Canvas upright(300, 300, kBackground);
    const RECT level = drawnBox(0, flat);
    const RECT turned = drawnBox(90, upright);
    EXPECT_GT(level.right - level.left, level.bottom - level.top);
    EXPECT_GT(turned.bottom - turned.top, turned.right - turned.left);
    // Turned about the text box's top-left corner: the text runs upwards from there.
    EXPECT_LE(turned.bottom, level.top + 4);
    EXPECT_LE(std::abs(turned.left - level.left), 10);

    // A whole turn more draws the same pixels.
    Canvas five(300, 300, kBackground);
    Canvas threeSixtyFive(300, 300, kBackground);
    drawnBox(5, five);
    drawnBox(365, threeSixtyFive);
    EXPECT_GT(five.CountUnlike(kBackground), 200);
    int different = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) different += five.At(x, y) != threeSixtyFive.At(x, y);
    EXPECT_EQ(different, 0);
}

// The logo of both file kinds, from a file the test wrote, drawn whole at its own size in the
// caption's cell and over the caption.
TEST(OverlayRender, LogoCoversTheCaptionInTheSameCell) {
    for (const wchar_t* name : {L"logo.png", L"logo.bmp"}) {
        testing_support::TempFolder pictures;
        const std::wstring path = pictures.File(name);
        ASSERT_TRUE(overlay_test::WritePicture(path, 40, 24, kLogoLeft, kLogoRight));
        for (int position : {0, 8}) {
            std::string keys = CaptionKeys(position, 10, 10) + "LogoIs=1\r\nLogoPosX=10\r\nLogoPosY=10\r\n" +
                               "LogoPos=" + std::to_string(position) + "\r\nLogoPath=" +
                               std::string(path.begin(), path.end()) + "\r\n";
            LoadedOverlay loaded(keys);
            ASSERT_TRUE(loaded.overlay.GetDocument().HasLogo());
            Canvas canvas(320, 200, kBackground);
            loaded.overlay.ApplyOverlay(canvas.dc());

            const POINT at = GridPlacement(SIZE{320, 200}, SIZE{40, 24}, 10, 10, position);
            const RECT left{at.x, at.y, at.x + 20, at.y + 24};
            const RECT right{at.x + 20, at.y, at.x + 40, at.y + 24};
            SCOPED_TRACE(std::to_wstring(position) + L" " + name);
            EXPECT_EQ(canvas.CountIn(left, kLogoLeft), 20 * 24);
            EXPECT_EQ(canvas.CountIn(right, kLogoRight), 20 * 24);
            // The caption, larger than the logo, still shows around it.
            const RECT drawn = canvas.BoxUnlike(kBackground);
            EXPECT_GT(drawn.right - drawn.left, 60);
            EXPECT_GT(canvas.CountIn(drawn, RGB(255, 0, 0)), 100);
            // Nothing of the logo outside its place.
            EXPECT_EQ(canvas.CountIn(RECT{0, 0, 320, 200}, kLogoLeft), 20 * 24);
        }
    }
}

TEST(OverlayRender, ALogoThatCannotBeReadDrawsNothing) {
    testing_support::TempFolder pictures;
    const std::wstring notAPicture = pictures.File(L"notes.png");
    overlay_test::WriteIni(notAPicture, "this is no picture");
    for (const std::wstring& path : {pictures.File(L"missing.png"), notAPicture, std::wstring()}) {
        LoadedOverlay loaded("LogoIs=1\r\nLogoPath=" + std::string(path.begin(), path.end()) + "\r\n");
        EXPECT_TRUE(loaded.overlay.IsLogoOn());
        EXPECT_FALSE(loaded.overlay.GetDocument().HasLogo());
        Canvas canvas(200, 120, kBackground);
        loaded.overlay.ApplyOverlay(canvas.dc());
        EXPECT_EQ(canvas.CountUnlike(kBackground), 0);
    }
    // An empty caption does not keep the logo from being drawn.
    const std::wstring logo = pictures.File(L"logo.png");
    ASSERT_TRUE(overlay_test::WritePicture(logo, 10, 10, kLogoLeft, kLogoLeft));
    LoadedOverlay loaded("LetterIs=1\r\nLetter=\r\nLogoIs=1\r\nLogoPath=" +
                         std::string(logo.begin(), logo.end()) + "\r\n");
    Canvas canvas(200, 120, kBackground);
    loaded.overlay.ApplyOverlay(canvas.dc());
    EXPECT_EQ(canvas.CountIn(RECT{10, 10, 20, 20}, kLogoLeft), 100);
    EXPECT_EQ(canvas.CountUnlike(kBackground), 100);
}

}  // namespace
