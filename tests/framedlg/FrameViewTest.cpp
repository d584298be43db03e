// The frame preview in a real window: the picture 1:1 with its black outline on grey, the white
// area without a picture, the tracker with its size written in it, the tracker carried along by
// scrolling, and the tracker moved and resized with real mouse input.
#include <gtest/gtest.h>
#include <memory>
#include "CGifFrameImage.h"
#include "CGifFrameView.h"
#include "FrameDlgTestSupport.h"

using framedlg_test::Canvas;
using framedlg_test::Gradient;
using framedlg_test::Host;
using framedlg_test::MakePicture;
using framedlg_test::MouseDrag;
using framedlg_test::ReadClient;
using testing_support::PumpMessages;

namespace {

const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

bool Same(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

class FrameView : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.m_hWnd);
        ASSERT_TRUE(view.Create(&host, RECT{0, 0, 360, 260}));
        view.OnInitialUpdate();
        RECT client{};
        view.GetClientRect(&client);
        clientSize = {client.right, client.bottom};
        PumpMessages(50);
    }
    // A client point of the view on the screen.
    POINT Screen(POINT client) {
        view.ClientToScreen(&client);
        return client;
    }
    RECT Tracker() { return view.GetTrackerRect(); }
    void Scroll(UINT msg, UINT request, int times) {
        for (int i = 0; i < times; ++i) view.SendMessage(msg, request, 0);
    }

    Host host{RECT{100, 100, 520, 420}};
    CGifFrameView view;
    SIZE clientSize{};
};

TEST_F(FrameView, WithoutPictureAWhiteAreaOf300By200OnGrey) {
    EXPECT_EQ(view.GetPictureSize().cx, 300);
    EXPECT_EQ(view.GetPictureSize().cy, 200);
    view.ShowPicture(nullptr);
    Canvas shown(clientSize.cx, clientSize.cy);
    ReadClient(view.m_hWnd, shown);
    EXPECT_EQ(shown.At(0, 0), kWhite);
    EXPECT_EQ(shown.At(299, 199), kWhite);
    EXPECT_EQ(shown.At(300, 100), kGrey);
    EXPECT_EQ(shown.At(150, 200), kGrey);
    EXPECT_EQ(shown.At(clientSize.cx - 1, clientSize.cy - 1), kGrey);
    // No tracker unless asked for.
    RECT none = view.GetTrackerRect();
    EXPECT_TRUE(::IsRectEmpty(&none));
}

TEST_F(FrameView, APictureIsShownOneToOneWithABlackOutline) {
    CGifFrameImage picture;
    ASSERT_TRUE(MakePicture(picture, 200, 120));
    view.ShowPicture(&picture);
    EXPECT_EQ(view.GetPictureSize().cx, 200);
    EXPECT_EQ(view.GetPictureSize().cy, 120);
    EXPECT_EQ(view.GetTotalSize().cx, 200);
    Canvas shown(clientSize.cx, clientSize.cy);
    ReadClient(view.m_hWnd, shown);
    for (POINT p : {POINT{0, 0}, POINT{199, 0}, POINT{0, 119}, POINT{199, 119}, POINT{100, 0}, POINT{0, 60}})
        EXPECT_EQ(shown.At(p.x, p.y), kBlack) << p.x << "," << p.y;
    for (POINT p : {POINT{1, 1}, POINT{100, 60}, POINT{198, 118}})
        EXPECT_EQ(shown.At(p.x, p.y), Gradient(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_EQ(shown.At(200, 60), kGrey);
    EXPECT_EQ(shown.At(100, 120), kGrey);

    // Back to none: the smaller white area, the rest grey again.
    view.ShowPicture(nullptr);
    ReadClient(view.m_hWnd, shown);
    EXPECT_EQ(shown.At(100, 60), kWhite);
    EXPECT_EQ(shown.At(250, 150), kWhite);
}

TEST_F(FrameView, TheTrackerIsDrawnWithItsSizeAndMovesWithTheScroll) {
    CGifFrameImage picture;
    ASSERT_TRUE(MakePicture(picture, 600, 500, [](int, int) { return RGB(40, 200, 40); }));
    view.ShowPicture(&picture);
    view.EnableTracker();
    RECT tracker = Tracker();
    EXPECT_TRUE(Same(tracker, RECT{10, 10, 110, 110}));
    Canvas shown(clientSize.cx, clientSize.cy);
    ReadClient(view.m_hWnd, shown);
    // The outline on the rectangle, the handles outside its corners, the size text inside.
    EXPECT_EQ(shown.At(10, 60), kBlack);
    EXPECT_EQ(shown.At(109, 60), kBlack);
    EXPECT_EQ(shown.At(5, 5), kBlack);
    EXPECT_EQ(shown.At(114, 114), kBlack);
    EXPECT_EQ(shown.At(30, 30), RGB(40, 200, 40));
    int textPixels = 0;
    for (int y = 50; y < 70; ++y)
        for (int x = 20; x < 100; ++x) textPixels += shown.At(x, y) != RGB(40, 200, 40);
    EXPECT_GT(textPixels, 20) << "no \"100 x 100\" in the middle";

    // Two lines right, one down: the tracker goes with the content.
    Scroll(WM_HSCROLL, SB_LINEDOWN, 2);
    Scroll(WM_VSCROLL, SB_LINEDOWN, 1);
    const POINT position = view.GetScrollPosition();
    EXPECT_EQ(position.x, 32);
    EXPECT_EQ(position.y, 16);
    tracker = Tracker();
    EXPECT_TRUE(Same(tracker, RECT{-22, -6, 78, 94}));
    ReadClient(view.m_hWnd, shown);
    EXPECT_EQ(shown.At(77, 40), kBlack);
    EXPECT_EQ(shown.At(109, 40), RGB(40, 200, 40));
    Scroll(WM_HSCROLL, SB_TOP, 1);
    tracker = Tracker();
    EXPECT_TRUE(Same(tracker, RECT{10, -6, 110, 94}));
}

TEST_F(FrameView, TheMouseMovesAndResizesTheTracker) {
    CGifFrameImage picture;
    ASSERT_TRUE(MakePicture(picture, 300, 220));
    view.ShowPicture(&picture);
    view.EnableTracker();
    struct Drag {
        POINT from, to;  // view client points
        RECT after;
    };
    const Drag drags[] = {
        {{60, 60}, {90, 80}, {40, 30, 140, 130}},       // the middle moves it
        {{143, 133}, {173, 153}, {40, 30, 170, 150}},   // the bottom-right handle resizes it
        {{36, 26}, {56, 56}, {60, 60, 170, 150}},       // the top-left handle
        {{115, 56}, {115, 50}, {60, 54, 170, 150}},     // the top edge's handle
        {{300, 200}, {250, 180}, {60, 54, 170, 150}},   // off the tracker: nothing
        {{173, 102}, {10, 102}, {60, 54, 61, 150}},     // the right edge stops short of the left
    };
    for (const Drag& d : drags) {
        SCOPED_TRACE(testing::Message() << "drag from " << d.from.x << "," << d.from.y);
        MouseDrag drag(view.m_hWnd, Screen(d.from), Screen(d.to));
        ASSERT_TRUE(drag.Wait());
        RECT tracker = Tracker();
        EXPECT_TRUE(Same(tracker, d.after))
            << tracker.left << "," << tracker.top << "," << tracker.right << "," << tracker.bottom;
    }
    // The picture shows the tracker where it is now.
    Canvas shown(clientSize.cx, clientSize.cy);
    ReadClient(view.m_hWnd, shown);
    EXPECT_EQ(shown.At(60, 100), kBlack);
    EXPECT_EQ(shown.At(55, 100), kBlack);  // the left handle's band
}

TEST_F(FrameView, EscapeDuringADragPutsTheTrackerBackAndTheCursorShowsWhatADragWouldDo) {
    CGifFrameImage picture;
    ASSERT_TRUE(MakePicture(picture, 300, 220));
    view.ShowPicture(&picture);
    view.EnableTracker();
    {
        MouseDrag drag(view.m_hWnd, Screen({60, 60}), Screen({150, 120}), true);
        ASSERT_TRUE(drag.Wait());
    }
    RECT tracker = Tracker();
    EXPECT_TRUE(Same(tracker, RECT{10, 10, 110, 110}));
    Canvas shown(clientSize.cx, clientSize.cy);
    ReadClient(view.m_hWnd, shown);
    EXPECT_EQ(shown.At(10, 60), kBlack);

    struct Pointer {
        POINT at;
        const wchar_t* shape;  // nullptr: not a sizing cursor
    };
    const Pointer pointers[] = {
        {{113, 113}, IDC_SIZENWSE}, {{6, 6}, IDC_SIZENWSE},  {{113, 6}, IDC_SIZENESW},
        {{6, 113}, IDC_SIZENESW},   {{58, 6}, IDC_SIZENS},   {{113, 58}, IDC_SIZEWE},
        {{60, 60}, IDC_SIZEALL},    {{200, 180}, nullptr},
    };
    const wchar_t* sizing[] = {IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZENS, IDC_SIZEWE, IDC_SIZEALL};
    for (const Pointer& p : pointers) {
        SCOPED_TRACE(testing::Message() << "pointer at " << p.at.x << "," << p.at.y);
        framedlg_test::MoveMouse(Screen(p.at));
        POINT now{};
        for (int i = 0; i < 200 && (!::GetCursorPos(&now) || now.x != Screen(p.at).x || now.y != Screen(p.at).y); ++i)
            PumpMessages(10);
        PumpMessages(30);
        const HCURSOR cursor = ::GetCursor();
        if (p.shape) {
            EXPECT_EQ(cursor, ::LoadCursorW(nullptr, p.shape));
        } else {
            for (const wchar_t* shape : sizing) EXPECT_NE(cursor, ::LoadCursorW(nullptr, shape));
        }
    }
}

}  // namespace
