// The nine-patch picture: its border read from the program's two frame skins and from PNG files
// made here, drawings at and above the inner size checked pixel by pixel, guide rectangles.
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "CNinePatch.h"
#include "ControlsTestSupport.h"
#include "resource.h"

namespace {
using controls_test::EncodePng;
using controls_test::Opaque;
using controls_test::Surface;

constexpr COLORREF kBackground = RGB(0, 128, 64);
constexpr uint32_t kMark = 0xFF000000u;

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) +
           ", " + std::to_string(r.bottom) + ")";
}

TEST(NinePatch, ReadsTheMarksOfTheFixedRegionFrame) {
    CNinePatch skin;
    ASSERT_TRUE(skin.LoadPng(IDB_FIXED_FRAME));
    EXPECT_EQ(skin.GetWidth(), 52);
    EXPECT_EQ(skin.GetHeight(), 72);
    const CNinePatch::Axis& h = skin.Horizontal();
    EXPECT_EQ(h.innerSize, 50);
    EXPECT_EQ(h.stretchPixels, 2);
    EXPECT_EQ(h.stretchRuns, 2);
    EXPECT_EQ(h.runFlags, (std::vector<int>{0, 1, 0, 1, 0}));
    EXPECT_EQ(h.runStarts, (std::vector<int>{1, 19, 20, 32, 33, 51}));
    const CNinePatch::Axis& v = skin.Vertical();
    EXPECT_EQ(v.innerSize, 70);
    EXPECT_EQ(v.runFlags, (std::vector<int>{0, 1, 0, 1, 0}));
    EXPECT_EQ(v.runStarts, (std::vector<int>{1, 39, 40, 52, 53, 71}));
    EXPECT_EQ(skin.GuideX(), (std::vector<int>{1, 5, 7, 18, 20, 31, 33, 44, 46, 50}));
    EXPECT_EQ(skin.GuideY(), (std::vector<int>{2, 19, 25, 27, 38, 40, 51, 53, 64, 66}));
    EXPECT_TRUE(skin.DestinationX().empty()) << "nothing is drawn yet";
}

TEST(NinePatch, ReadsTheMarksOfTheRecordingFrame) {
    CNinePatch skin;
    ASSERT_TRUE(skin.LoadPng(IDB_RECORD_FRAME));
    EXPECT_EQ(skin.GetWidth(), 67);
    EXPECT_EQ(skin.GetHeight(), 67);
    EXPECT_EQ(skin.Horizontal().runStarts, (std::vector<int>{1, 19, 20, 47, 48, 66}));
    EXPECT_EQ(skin.Vertical().runStarts, (std::vector<int>{1, 19, 20, 47, 48, 66}));
    EXPECT_EQ(skin.GuideX(), (std::vector<int>{5, 7, 18, 20, 28, 39, 46, 48, 59, 61}));
    EXPECT_EQ(skin.GuideY(), (std::vector<int>{5, 7, 18, 20, 27, 38, 46, 48, 59, 61}));
}

// The recording frame's picture as described: purple border, key-coloured inside, handles.
TEST(NinePatch, RecordingFramePictureHasItsColours) {
    int w = 0, h = 0;
    std::vector<uint32_t> p = controls_test::DecodePngResource(IDB_RECORD_FRAME, &w, &h);
    ASSERT_EQ(w, 67);
    auto at = [&](int x, int y) { return p[static_cast<size_t>(y) * w + x]; };
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(at(i, 33), 0xFFA300BBu) << "left border at x " << i;
        EXPECT_EQ(at(66 - i, 33), 0xFFA300BBu) << "right border";
        EXPECT_EQ(at(33, i), 0xFFA300BBu) << "top border";
        EXPECT_EQ(at(33, 66 - i), 0xFFA300BBu) << "bottom border";
    }
    EXPECT_EQ(at(5, 5), 0xFFFF00FFu) << "the inside is the key colour";
    EXPECT_EQ(at(7, 7), 0xFF3F3F3Fu) << "handle outline";
    EXPECT_EQ(at(12, 12), 0xFFFBE2FCu) << "handle fill";
    EXPECT_EQ(at(18, 18), 0xFF3F3F3Fu) << "the top-left handle is 12 pixels wide";
    EXPECT_EQ(at(19, 19), 0xFFFF00FFu);
    EXPECT_EQ(at(0, 0), 0x00000000u) << "corners of the mark border stay empty";
}

// Draws the skin and returns how many inner pixels differ from the picture under the expected
// mapping of destination columns and rows to picture columns and rows.
int CountDifferences(const Surface& surface, const std::vector<uint32_t>& picture, int pictureWidth,
                     const std::vector<int>& columns, const std::vector<int>& rows) {
    int differences = 0;
    for (size_t y = 0; y < rows.size(); ++y) {
        for (size_t x = 0; x < columns.size(); ++x) {
            const uint32_t expected = picture[static_cast<size_t>(rows[y]) * pictureWidth + columns[x]];
            if (surface.At(static_cast<int>(x), static_cast<int>(y)) != Opaque(expected)) ++differences;
        }
    }
    return differences;
}

// Picture columns for the destination columns of the fixed frame drawn with the given shares.
std::vector<int> Mapping(const std::vector<int>& starts, const std::vector<int>& widths) {
    std::vector<int> map;
    for (size_t run = 0; run + 1 < starts.size(); ++run) {
        const int pictureWidth = starts[run + 1] - starts[run];
        for (int i = 0; i < widths[run]; ++i) map.push_back(starts[run] + (i < pictureWidth ? i : 0));
    }
    return map;
}

TEST(NinePatch, InnerSizeReproducesThePictureAndLargerSizesStretchOnlyTheMarkedRuns) {
    int w = 0, h = 0;
    const std::vector<uint32_t> picture = controls_test::DecodePngResource(IDB_FIXED_FRAME, &w, &h);
    ASSERT_EQ(w, 52);
    CNinePatch skin;
    ASSERT_TRUE(skin.LoadPng(IDB_FIXED_FRAME));
    const std::vector<int> startsX{1, 19, 20, 32, 33, 51}, startsY{1, 39, 40, 52, 53, 71};

    struct Case { int width, height; std::vector<int> widths, heights; };
    const Case cases[] = {
        {50, 70, {18, 1, 12, 1, 18}, {38, 1, 12, 1, 18}},
        // Extra 5 (and 5) shared as 3 + 2: the first stretch run takes the remainder.
        {53, 73, {18, 3, 12, 2, 18}, {38, 3, 12, 2, 18}},
        {300, 120, {18, 126, 12, 126, 18}, {38, 26, 12, 26, 18}},
    };
    for (const Case& c : cases) {
        Surface surface(c.width + 10, c.height + 10, kBackground);
        ASSERT_TRUE(skin.Draw(surface.dc(), 0, 0, c.width, c.height));
        std::vector<int> destX{0}, destY{0};
        for (int v : c.widths) destX.push_back(destX.back() + v);
        for (int v : c.heights) destY.push_back(destY.back() + v);
        EXPECT_EQ(skin.DestinationX(), destX) << c.width << " x " << c.height;
        EXPECT_EQ(skin.DestinationY(), destY) << c.width << " x " << c.height;
        EXPECT_EQ(CountDifferences(surface, picture, w, Mapping(startsX, c.widths), Mapping(startsY, c.heights)), 0)
            << c.width << " x " << c.height;
        EXPECT_EQ(surface.At(c.width, c.height - 1), kBackground) << "drawn beyond the width";
        EXPECT_EQ(surface.At(c.width - 1, c.height), kBackground) << "drawn beyond the height";
    }
}

TEST(NinePatch, DrawsAtItsOrigin) {
    CNinePatch skin;
    ASSERT_TRUE(skin.LoadPng(IDB_RECORD_FRAME));
    Surface surface(120, 120, kBackground);
    ASSERT_TRUE(skin.Draw(surface.dc(), 30, 20, 70, 80));
    EXPECT_EQ(surface.At(29, 50), kBackground);
    EXPECT_EQ(surface.At(30, 50), RGB(163, 0, 187));
    EXPECT_EQ(surface.At(99, 99), RGB(163, 0, 187));
    EXPECT_EQ(surface.At(100, 99), kBackground);
    EXPECT_EQ(surface.At(60, 19), kBackground);
    // Guide rectangles stay relative to the drawing's origin.
    EXPECT_TRUE(SameRect(skin.GetGuideRect(0, 0, 9, 9), RECT{4, 4, 66, 76}));
}

TEST(NinePatch, GuideRectanglesOfTheFixedRegionFrame) {
    CNinePatch skin;
    ASSERT_TRUE(skin.LoadPng(IDB_FIXED_FRAME));
    struct Size { int W, H; };
    for (Size s : {Size{53, 73}, Size{640, 384}, Size{101, 200}}) {
        Surface surface(s.W, s.H, kBackground);
        ASSERT_TRUE(skin.Draw(surface.dc(), 0, 0, s.W, s.H));
        const int W = s.W, H = s.H;
        const int a = (W - 48) - (W - 48) / 2, c = (H - 68) - (H - 68) / 2;
        struct Guide { int x0, y0, x1, y1; RECT expected; const char* name; };
        const Guide guides[] = {
            {0, 0, 9, 1, {0, 1, W, 19}, "title strip"},
            {1, 0, 8, 1, {4, 1, W - 4, 19}, "button strip"},
            {1, 2, 8, 9, {4, 24, W - 4, H - 4}, "hole"},
            {2, 3, 3, 4, {6, 26, 18, 38}, "top-left"},
            {4, 3, 5, 4, {18 + a, 26, 30 + a, 38}, "top"},
            {6, 3, 7, 4, {W - 18, 26, W - 6, 38}, "top-right"},
            {2, 5, 3, 6, {6, 38 + c, 18, 50 + c}, "left"},
            {6, 5, 7, 6, {W - 18, 38 + c, W - 6, 50 + c}, "right"},
            {2, 7, 3, 8, {6, H - 18, 18, H - 6}, "bottom-left"},
            {4, 7, 5, 8, {18 + a, H - 18, 30 + a, H - 6}, "bottom"},
            {6, 7, 7, 8, {W - 18, H - 18, W - 6, H - 6}, "bottom-right"},
        };
        for (const Guide& g : guides) {
            RECT got = skin.GetGuideRect(g.x0, g.y0, g.x1, g.y1);
            EXPECT_TRUE(SameRect(got, g.expected)) << g.name << " at " << W << " x " << H << ": " << Text(got)
                                                   << " instead of " << Text(g.expected);
        }
        // The handles are drawn where their guides say: outline on the edge, fill inside.
        RECT top = skin.GetGuideRect(4, 3, 5, 4);
        EXPECT_NE(surface.At(top.left, top.top), surface.At(top.left + 5, top.top + 5));
        EXPECT_EQ(surface.At(top.left - 1, top.top + 5), RGB(255, 0, 255)) << "left of the top handle";
    }
}

TEST(NinePatch, GuideRectanglesOfTheRecordingFrame) {
    CNinePatch skin;
    ASSERT_TRUE(skin.LoadPng(IDB_RECORD_FRAME));
    for (int W : {65, 66, 400}) {
        const int H = W + 51;
        Surface surface(W, H, kBackground);
        ASSERT_TRUE(skin.Draw(surface.dc(), 0, 0, W, H));
        const int s = (W - 63) - (W - 63) / 2, t = (H - 63) - (H - 63) / 2;
        struct Guide { int x0, y0, x1, y1; RECT expected; const char* name; };
        const Guide guides[] = {
            {0, 0, 9, 9, {4, 4, W - 4, H - 4}, "area"},
            {1, 1, 2, 2, {6, 6, 18, 18}, "top-left"},
            {4, 1, 5, 2, {26 + s, 6, 38 + s, 18}, "top"},
            {7, 4, 8, 5, {W - 18, 25 + t, W - 6, 37 + t}, "right"},
            {4, 7, 5, 8, {26 + s, H - 18, 38 + s, H - 6}, "bottom"},
            {7, 7, 8, 8, {W - 18, H - 18, W - 6, H - 6}, "bottom-right"},
            {3, 3, 6, 6, {18 + s, 18 + t, 45 + s, 45 + t}, "centre"},
        };
        for (const Guide& g : guides) {
            RECT got = skin.GetGuideRect(g.x0, g.y0, g.x1, g.y1);
            EXPECT_TRUE(SameRect(got, g.expected)) << g.name << " at " << W << " x " << H << ": " << Text(got);
        }
        // Guides of one index give a rectangle one pixel wide and high.
        EXPECT_TRUE(SameRect(skin.GetGuideRect(9, 9, 9, 9), RECT{W - 5, H - 5, W - 4, H - 4}));
    }
}

TEST(NinePatch, RefusesSizesBelowTheInnerSizeAndInvalidGuides) {
    CNinePatch skin;
    ASSERT_TRUE(skin.LoadPng(IDB_FIXED_FRAME));
    const RECT none{0, 0, 0, 0};
    EXPECT_TRUE(SameRect(skin.GetGuideRect(0, 0, 9, 9), none)) << "before any drawing";

    Surface surface(80, 80, kBackground);
    ASSERT_TRUE(skin.Draw(surface.dc(), 0, 0, 60, 75));
    EXPECT_FALSE(SameRect(skin.GetGuideRect(0, 0, 9, 9), none));
    for (RECT bad : {RECT{-1, 0, 9, 9}, RECT{0, 0, 10, 9}, RECT{0, 0, 9, 10}, RECT{5, 0, 4, 9}, RECT{0, 5, 9, 4}}) {
        EXPECT_TRUE(SameRect(skin.GetGuideRect(bad.left, bad.top, bad.right, bad.bottom), none)) << Text(bad);
    }

    Surface fresh(80, 80, kBackground);
    EXPECT_FALSE(skin.Draw(fresh.dc(), 0, 0, 49, 70)) << "one column short";
    EXPECT_TRUE(SameRect(skin.GetGuideRect(0, 0, 9, 9), none)) << "the refused drawing still counts";
    EXPECT_FALSE(skin.Draw(fresh.dc(), 0, 0, 50, 69)) << "one row short";
    EXPECT_TRUE(skin.DestinationX().empty());
    EXPECT_EQ(fresh.At(10, 30), kBackground) << "a refused drawing drew";
    EXPECT_EQ(fresh.At(25, 10), kBackground);

    CNinePatch missing;
    EXPECT_FALSE(missing.LoadPng(9999));
    EXPECT_TRUE(missing.IsNull());
    EXPECT_FALSE(missing.Draw(fresh.dc(), 0, 0, 60, 80));
    const BYTE notPng[] = {'B', 'M', 0, 0, 0, 0};
    EXPECT_FALSE(missing.LoadPng(notPng, sizeof(notPng)));
    // A picture that is all border has nothing to draw.
    std::vector<BYTE> tiny = EncodePng(2, 2, std::vector<uint32_t>(4, kMark));
    ASSERT_FALSE(tiny.empty());
    EXPECT_FALSE(missing.LoadPng(tiny.data(), tiny.size()));
    // A failed load forgets the picture held before.
    ASSERT_TRUE(skin.LoadPng(notPng, sizeof(notPng)) == FALSE);
    EXPECT_TRUE(skin.IsNull());
    EXPECT_TRUE(skin.GuideX().empty());
}

// Pictures made here: a border around a 6 x 3 inside, rows of pixels given as text.
// '#' is a mark, 'r' an opaque red pixel, 'b' opaque blue, 'h' half-transparent red, '.' empty.
std::vector<BYTE> Picture(const std::vector<std::string>& rows) {
    const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
    std::vector<uint32_t> argb;
    for (const std::string& row : rows) {
        for (char c : row) {
            switch (c) {
            case '#': argb.push_back(kMark); break;
            case 'r': argb.push_back(0xFFFF0000u); break;
            case 'b': argb.push_back(0xFF0000FFu); break;
            case 'h': argb.push_back(0x80FF0000u); break;
            case 'm': argb.push_back(0x01FFFFFFu); break;  // barely visible: still a mark
            default: argb.push_back(0x00FF00FFu); break;   // transparent, with a colour
            }
        }
    }
    return EncodePng(w, h, argb);
}

TEST(NinePatch, UnequalStretchRunsShareTheExtraSizeEqually) {
    // Columns 1 and 3-5 stretch (runs of 1 and 3 pixels); no row stretches.
    CNinePatch skin;
    std::vector<BYTE> png = Picture({
        "##.###..",
        ".rbrrrb#",
        ".rbrrrb.",
        "........",
    });
    ASSERT_TRUE(skin.LoadPng(png.data(), png.size()));
    EXPECT_EQ(skin.Horizontal().runFlags, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(skin.Horizontal().runStarts, (std::vector<int>{1, 2, 3, 6, 7}));
    EXPECT_EQ(skin.Horizontal().stretchPixels, 4);
    EXPECT_EQ(skin.Vertical().stretchRuns, 0);
    EXPECT_EQ(skin.GuideY(), (std::vector<int>{1}));
    EXPECT_TRUE(skin.GuideX().empty());

    Surface surface(12, 6, kBackground);
    // At the inner size the extra 4 is shared 2 + 2: the picture is not reproduced exactly.
    ASSERT_TRUE(skin.Draw(surface.dc(), 0, 0, 6, 5));
    EXPECT_EQ(skin.DestinationX(), (std::vector<int>{0, 2, 3, 5, 6}));
    EXPECT_EQ(skin.DestinationY(), (std::vector<int>{0, 2})) << "an axis without marks keeps its size";
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    const COLORREF row[] = {red, red, blue, red, red, blue};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(surface.At(x, 1), row[x]) << "column " << x;
    EXPECT_EQ(surface.At(0, 2), kBackground) << "the extra height is left undrawn";
    EXPECT_EQ(surface.At(6, 0), kBackground);
}

TEST(NinePatch, MarksAreAnyNonTransparentPixelAndCornersAreIgnored) {
    CNinePatch skin;
    std::vector<BYTE> png = Picture({
        "#.m.#",
        "mrrr#",
        ".rrr.",
        "#m..#",
    });
    ASSERT_TRUE(skin.LoadPng(png.data(), png.size()));
    EXPECT_EQ(skin.Horizontal().runFlags, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(skin.Vertical().runFlags, (std::vector<int>{1, 0}));
    EXPECT_EQ(skin.GuideX(), (std::vector<int>{1}));
    EXPECT_EQ(skin.GuideY(), (std::vector<int>{1}));
}

TEST(NinePatch, TransparentPixelsShowTheBackground) {
    // Straight alpha is drawn as it looks: half-transparent red over black is dark red, and the
    // colour hidden in fully transparent pixels does not show.
    CNinePatch skin;
    std::vector<BYTE> png = Picture({
        "....",
        ".h..",
        "....",
    });
    ASSERT_TRUE(skin.LoadPng(png.data(), png.size()));
    Surface surface(4, 2, RGB(0, 0, 0));
    ASSERT_TRUE(skin.Draw(surface.dc(), 0, 0, 2, 1));
    COLORREF half = surface.At(0, 0);
    EXPECT_NEAR(GetRValue(half), 128, 2);
    EXPECT_EQ(GetGValue(half), 0);
    EXPECT_EQ(GetBValue(half), 0);
    EXPECT_EQ(surface.At(1, 0), RGB(0, 0, 0));
}

}  // namespace
