// The whole-page capture against a scripted page: which document scrolls, the picture's size
// and pixels, the view's size and scroll position put back, and the refusals.
#include <gtest/gtest.h>
#include "ScriptedWebView.h"
#include "WebPageCapture.h"

namespace {

using Doc = ScriptedWebView::Document;

// A page whose body is `height` tall and `width` wide in the stand-in's 1000 x 700 view, whose
// vertical scroll bar leaves 982 pixels of width: a body up to that wide does not scroll sideways.
Doc Page(long width, long height, POINT scroll = {0, 0}) {
    Doc d;
    d.body = SIZE{width, height};
    d.scrollRange = POINT{std::max(0L, width - 1000 + 18), std::max(0L, height - 700)};
    d.scroll = scroll;
    return d;
}
Doc NoBody() {
    Doc d;
    d.hasBody = false;
    return d;
}

TEST(WebPageCapture, TheTallestBodyTallerThanTheViewScrolls) {
    struct Case {
        const char* what;
        std::vector<Doc> documents;
        int expected;
    } cases[] = {
        {"no page", {}, -1},
        {"a page that fits", {Page(800, 700)}, -1},
        {"a page only wider than the view", {Page(3000, 600)}, -1},
        {"a tall page", {Page(800, 5000)}, 0},
        {"a page without a body", {NoBody()}, -1},
        {"a short page with a tall frame", {Page(800, 600), Page(800, 3000)}, 1},
        {"the taller of two frames", {Page(800, 600), Page(800, 3000), Page(800, 5000)}, 2},
        {"equal heights: the earlier", {Page(800, 600), Page(800, 5000), Page(800, 5000)}, 1},
        {"the page taller than its frames", {Page(800, 4000), Page(800, 3000)}, 0},
        {"a frame without a body is skipped", {Page(800, 600), NoBody(), Page(800, 2000)}, 2},
        {"a frameset page with a tall frame", {NoBody(), Page(800, 2500)}, 1},
    };
    for (const Case& c : cases) {
        ScriptedWebView view;
        view.documents = c.documents;
        EXPECT_EQ(FindScrollingDocument(view, 700), c.expected) << c.what;
    }
}

TEST(WebPageCapture, ATallPageIsRenderedWholeAndTheViewPutBack) {
    ScriptedWebView view;
    view.documents = {Page(982, 5000, POINT{0, 1234})};
    CScreenImage picture;
    ASSERT_EQ(CaptureWholePage(view, picture), WebCaptureResult::Captured);
    // sy = 4300, sx = 0: the view grows to 1000 x 5000, less the scroll-bar strips.
    EXPECT_EQ(picture.GetWidth(), 982);
    EXPECT_EQ(picture.GetHeight(), 4980);
    EXPECT_EQ(view.renders, 1);
    EXPECT_EQ(view.renderedAt.cx, 1000);
    EXPECT_EQ(view.renderedAt.cy, 5000);
    // Put back: the size, and the scroll position the user had.
    EXPECT_EQ(view.viewSize.cx, 1000);
    EXPECT_EQ(view.viewSize.cy, 700);
    EXPECT_EQ(view.documents[0].scroll.x, 0);
    EXPECT_EQ(view.documents[0].scroll.y, 1234);
    // The whole page at natural scale from the top-left corner: the page's top band, the
    // bottom band just above the cut strip, the right band just left of it.
    EXPECT_EQ(picture.PixelAt(500, 5), ScriptedWebView::kTop);
    EXPECT_EQ(picture.PixelAt(500, 4979), ScriptedWebView::kBottom);
    EXPECT_EQ(picture.PixelAt(500, 4970), ScriptedWebView::kBottom);
    EXPECT_EQ(picture.PixelAt(500, 4969), ScriptedWebView::kPage);
    EXPECT_EQ(picture.PixelAt(981, 2500), ScriptedWebView::kRight);
    EXPECT_EQ(picture.PixelAt(971, 2500), ScriptedWebView::kPage);
}

TEST(WebPageCapture, AWideAndTallPageGrowsBothWays) {
    ScriptedWebView view;
    view.documents = {Page(2500, 3000, POINT{300, 40})};
    CScreenImage picture;
    ASSERT_EQ(CaptureWholePage(view, picture), WebCaptureResult::Captured);
    const long sx = 2500 - 1000 + 18, sy = 3000 - 700;
    EXPECT_EQ(picture.GetWidth(), sx + 1000 - 18);
    EXPECT_EQ(picture.GetHeight(), sy + 700 - 20);
    EXPECT_EQ(view.documents[0].scroll.x, 300);
    EXPECT_EQ(view.documents[0].scroll.y, 40);
}

TEST(WebPageCapture, AFrameIsScrolledThroughItsOwnRootElement) {
    ScriptedWebView view;
    view.documents = {Page(1000, 600), Page(1000, 3000, POINT{0, 77}), Page(1000, 5000, POINT{0, 500})};
    CScreenImage picture;
    ASSERT_EQ(CaptureWholePage(view, picture), WebCaptureResult::Captured);
    EXPECT_EQ(picture.GetHeight(), 4300 + 700 - 20);
    EXPECT_EQ(view.documents[2].scroll.y, 500);
    EXPECT_EQ(view.documents[1].scroll.y, 77) << "another frame was scrolled";
}

TEST(WebPageCapture, RefusalsLeaveThePictureAndTheViewAlone) {
    struct Case {
        const char* what;
        std::vector<Doc> documents;
        HRESULT render;
        WebCaptureResult expected;
    } cases[] = {
        {"no page", {}, S_OK, WebCaptureResult::NothingToCapture},
        {"not taller than the view, even though wider", {Page(4000, 700)}, S_OK, WebCaptureResult::NothingToCapture},
        {"taller than any picture can be", {Page(1000, 200700)}, S_OK, WebCaptureResult::TooLarge},
        {"wider than any picture can be", {Page(200000, 5000)}, S_OK, WebCaptureResult::TooLarge},
        {"too many pixels, though no side is too long", {Page(20000, 30000)}, S_OK, WebCaptureResult::TooLarge},
        {"the engine cannot render", {Page(1000, 5000)}, E_FAIL, WebCaptureResult::Failed},
    };
    for (const Case& c : cases) {
        ScriptedWebView view;
        view.documents = c.documents;
        for (Doc& d : view.documents) d.scroll = POINT{std::min(5L, d.scrollRange.x), std::min(9L, d.scrollRange.y)};
        view.renderResult = c.render;
        CScreenImage picture;
        ASSERT_TRUE(picture.CreateBlank(RECT{0, 0, 7, 5}));
        EXPECT_EQ(CaptureWholePage(view, picture), c.expected) << c.what;
        EXPECT_EQ(picture.GetWidth(), 7) << c.what;
        EXPECT_EQ(view.viewSize.cx, 1000) << c.what;
        EXPECT_EQ(view.viewSize.cy, 700) << c.what;
        for (const Doc& d : view.documents) {
            EXPECT_EQ(d.scroll.x, std::min(5L, d.scrollRange.x)) << c.what;
            EXPECT_EQ(d.scroll.y, std::min(9L, d.scrollRange.y)) << c.what;
        }
        if (c.expected != WebCaptureResult::Failed) {
            EXPECT_TRUE(view.resizes.empty()) << c.what;
        }
    }
}

}  // namespace
