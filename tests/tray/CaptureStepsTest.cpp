// The capture pipeline's steps on their own: which keyboard events start a capture, the
// rectangle each area gives, where the cursor lands, and how a picture reaches (or fails to
// reach) its file. Pictures are grabbed from the known screen and decoded back from the files.
#include <gtest/gtest.h>
#include <fstream>
#include "CMonitors.h"
#include "CScreenImage.h"
#include "CaptureSteps.h"
#include "SavePicture.h"
#include "TestSupport.h"
#include "TrayTestSupport.h"

using testing_support::FileExists;
using testing_support::ListFiles;
using testing_support::PatternColor;
using testing_support::TempFolder;
using tray_test::DecodeFile;
using tray_test::KeyEvent;

namespace {

TEST(CaptureKey, OnlyTheConfiguredKeysReleaseOnAKeyboardStartsACapture) {
    struct Case {
        int hotKey;
        USHORT key;
        UINT message;
        DWORD device;
        bool captures;
    } cases[] = {
        {0, VK_SNAPSHOT, WM_KEYUP, RIM_TYPEKEYBOARD, true},
        {0, VK_SNAPSHOT, WM_KEYDOWN, RIM_TYPEKEYBOARD, false},   // pressed, not yet released
        {0, VK_SNAPSHOT, WM_SYSKEYUP, RIM_TYPEKEYBOARD, false},  // released while Alt is held
        {0, VK_SNAPSHOT, WM_KEYUP, RIM_TYPEMOUSE, false},
        {0, VK_F12, WM_KEYUP, RIM_TYPEKEYBOARD, false},
        {1, VK_F11, WM_KEYUP, RIM_TYPEKEYBOARD, true},
        {1, VK_F12, WM_KEYUP, RIM_TYPEKEYBOARD, false},
        {2, VK_F12, WM_KEYUP, RIM_TYPEKEYBOARD, true},
        {2, VK_F11, WM_KEYUP, RIM_TYPEKEYBOARD, false},
        {2, VK_SNAPSHOT, WM_KEYUP, RIM_TYPEKEYBOARD, false},
        // A value the settings dialog never writes names the Print key.
        {3, VK_PRINT, WM_KEYUP, RIM_TYPEKEYBOARD, true},
        {-1, VK_PRINT, WM_KEYUP, RIM_TYPEKEYBOARD, true},
        {3, VK_SNAPSHOT, WM_KEYUP, RIM_TYPEKEYBOARD, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsCaptureKeyRelease(KeyEvent(c.key, c.message, c.device), c.hotKey), c.captures)
            << "hotKey " << c.hotKey << ", key 0x" << std::hex << c.key << ", message 0x"
            << c.message << ", device " << c.device;
    }
}

// A plain window at a known place, for the foreground area.
class TestWindow {
public:
    TestWindow(DWORD style, const RECT& place) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TrayTestWindow";
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(0, L"TrayTestWindow", L"foreground", style, place.left,
                                   place.top, place.right - place.left, place.bottom - place.top,
                                   nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~TestWindow() { ::DestroyWindow(m_hwnd); }
    HWND get() const { return m_hwnd; }

private:
    HWND m_hwnd;
};

TEST(CaptureArea, EachAreaGivesItsRectangleAndThePickersNone) {
    CaptureSettings settings;
    RECT placed{100, 120, 500, 420};
    settings.areaRect = placed;

    settings.area = AreaAllMonitors;
    RECT all = CaptureRectForArea(settings, nullptr);
    RECT screen{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screen.right = screen.left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    EXPECT_TRUE(::EqualRect(&all, &screen)) << "the monitors together cover the virtual screen";

    for (int area : {int{AreaMonitor}, int{AreaFixedRect}}) {
        settings.area = area;
        RECT rect = CaptureRectForArea(settings, nullptr);
        EXPECT_TRUE(::EqualRect(&rect, &placed)) << "area " << area;
    }
    for (int area : {int{AreaRegionAtCapture}, int{AreaControlAtCapture}, 6, -1}) {
        settings.area = area;
        RECT rect = CaptureRectForArea(settings, nullptr);
        EXPECT_TRUE(::IsRectEmpty(&rect)) << "area " << area;
    }
}

TEST(CaptureArea, EmptyOrInvertedStoredRectanglesAreEmpty) {
    CaptureSettings settings;
    settings.area = AreaFixedRect;
    const RECT cases[] = {{0, 0, 0, 0}, {100, 100, 100, 300}, {500, 400, 100, 100}, {10, 50, 20, 40}};
    for (const RECT& stored : cases) {
        settings.areaRect = stored;
        RECT rect = CaptureRectForArea(settings, nullptr);
        EXPECT_TRUE(::IsRectEmpty(&rect)) << stored.left << "," << stored.top << "," << stored.right
                                          << "," << stored.bottom;
    }
}

TEST(CaptureArea, ForegroundAreaIsTheWindowsVisibleFrameOrNothing) {
    CaptureSettings settings;
    settings.area = AreaForegroundWindow;

    RECT none = CaptureRectForArea(settings, nullptr);
    EXPECT_TRUE(::IsRectEmpty(&none)) << "no foreground window, nothing to capture";

    // A window without borders: its visible frame is exactly where it was put.
    RECT place{200, 150, 500, 350};
    TestWindow popup(WS_POPUP | WS_VISIBLE, place);
    RECT rect = CaptureRectForArea(settings, popup.get());
    EXPECT_TRUE(::EqualRect(&rect, &place))
        << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;

    // A framed window: never more than its window rectangle, always its whole client area.
    TestWindow framed(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{300, 200, 700, 500});
    rect = CaptureRectForArea(settings, framed.get());
    RECT window{}, client{};
    ::GetWindowRect(framed.get(), &window);
    ::GetClientRect(framed.get(), &client);
    ::MapWindowPoints(framed.get(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT inside{};
    ::UnionRect(&inside, &rect, &window);
    EXPECT_TRUE(::EqualRect(&inside, &window)) << "the frame reaches outside the window";
    ::UnionRect(&inside, &rect, &client);
    EXPECT_TRUE(::EqualRect(&inside, &rect)) << "the frame leaves out part of the client area";

    HWND gone = framed.get();
    ::DestroyWindow(gone);
    rect = CaptureRectForArea(settings, gone);
    EXPECT_TRUE(::IsRectEmpty(&rect)) << "a window that has gone gives nothing";
}

class CursorDrawing : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tray_test::WaitForPattern()) << "the known screen is not shown";
        ASSERT_TRUE(m_picture.CaptureRect(m_rect));
        m_cursor = tray_test::SolidCursor(kCursorColour, kHotX, kHotY);
        ASSERT_NE(m_cursor, nullptr);
    }
    void TearDown() override { ::DestroyCursor(m_cursor); }

    static constexpr COLORREF kCursorColour = RGB(0, 255, 0);
    static constexpr int kHotX = 5;
    static constexpr int kHotY = 9;
    const RECT m_rect{300, 200, 500, 350};
    CScreenImage m_picture;
    HCURSOR m_cursor = nullptr;
};

TEST_F(CursorDrawing, PointerInsideDrawsTheCursorWithItsHotSpotOnThePointer) {
    POINT pointer{400, 260};
    ASSERT_TRUE(DrawCursor(m_picture, m_rect, pointer, m_cursor));
    int left = pointer.x - m_rect.left - kHotX, top = pointer.y - m_rect.top - kHotY;
    EXPECT_EQ(m_picture.PixelAt(left, top), kCursorColour);
    EXPECT_EQ(m_picture.PixelAt(left + 31, top + 31), kCursorColour);
    EXPECT_EQ(m_picture.PixelAt(left - 1, top), PatternColor(m_rect.left + left - 1, m_rect.top + top));
    EXPECT_EQ(m_picture.PixelAt(left, top - 1), PatternColor(m_rect.left + left, m_rect.top + top - 1));
}

TEST_F(CursorDrawing, PointerOutsideOrOnTheExclusiveEdgesLeavesThePictureAlone) {
    const POINT outside[] = {{299, 260}, {500, 260}, {400, 199}, {400, 350}, {10, 10}};
    for (const POINT& pointer : outside) {
        EXPECT_FALSE(DrawCursor(m_picture, m_rect, pointer, m_cursor)) << pointer.x << "," << pointer.y;
    }
    for (int y = 0; y < 150; y += 7)
        for (int x = 0; x < 200; x += 7)
            ASSERT_EQ(m_picture.PixelAt(x, y), PatternColor(m_rect.left + x, m_rect.top + y));
}

TEST_F(CursorDrawing, CursorNearTheLeftAndTopEdgesIsCutNotMoved) {
    // Inside by left and top inclusive: the cursor starts above and left of the picture.
    ASSERT_TRUE(DrawCursor(m_picture, m_rect, POINT{m_rect.left, m_rect.top}, m_cursor));
    EXPECT_EQ(m_picture.PixelAt(0, 0), kCursorColour);
    EXPECT_EQ(m_picture.PixelAt(31 - kHotX, 31 - kHotY), kCursorColour);
    EXPECT_EQ(m_picture.PixelAt(32 - kHotX, 0), PatternColor(m_rect.left + 32 - kHotX, m_rect.top));
}

TEST_F(CursorDrawing, UnreadableCursorIsSkipped) {
    EXPECT_FALSE(DrawCursor(m_picture, m_rect, POINT{400, 260}, nullptr));
    EXPECT_EQ(m_picture.PixelAt(95, 51), PatternColor(395, 251));
}

class PictureSaving : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tray_test::WaitForPattern()) << "the known screen is not shown";
    }
    TempFolder m_folder;
};

TEST_F(PictureSaving, EachFormatWritesTheGrabbedPixels) {
    struct Case {
        int saveType;
        const wchar_t* name;
        RECT rect;
        int worst;    // largest channel difference allowed
        double mean;  // and on average
    } cases[] = {
        {Bmp, L"shot.bmp", {100, 50, 400, 250}, 0, 0},
        {Png, L"shot.png", {100, 50, 400, 250}, 0, 0},
        {Jpg, L"shot.jpg", {100, 50, 400, 250}, 80, 3},
        // The encoder learns a palette of 256 colours: sixteen by sixteen pixels of the known
        // screen (256 colours) come out nearly exact, richer pictures close.
        {Gif, L"few.gif", {600, 300, 616, 316}, 12, 2},
        {Gif, L"rich.gif", {100, 50, 400, 250}, 26, 4},
    };
    for (const Case& c : cases) {
        CScreenImage picture;
        ASSERT_TRUE(picture.CaptureRect(c.rect));
        std::wstring path = m_folder.File(c.name);
        ASSERT_EQ(SavePicture(picture, path, c.saveType, 80), S_OK) << c.saveType;
        auto decoded = DecodeFile(path);
        ASSERT_EQ(decoded.width, c.rect.right - c.rect.left) << c.saveType;
        ASSERT_EQ(decoded.height, c.rect.bottom - c.rect.top) << c.saveType;
        EXPECT_LE(tray_test::WorstDifferenceFromPattern(decoded, c.rect.left, c.rect.top), c.worst)
            << "format " << c.saveType;
        EXPECT_LE(tray_test::MeanDifferenceFromPattern(decoded, c.rect.left, c.rect.top), c.mean)
            << "format " << c.saveType;
    }
    std::vector<std::wstring> files = ListFiles(m_folder.Path());
    EXPECT_EQ(files.size(), std::size(cases)) << "a temporary file was left behind";
}

TEST_F(PictureSaving, JpegQualityFollowsTheQualityIndex) {
    CScreenImage picture;
    ASSERT_TRUE(picture.CaptureRect(RECT{0, 0, 640, 400}));
    std::vector<uintmax_t> sizes;
    for (int index = 0; index <= 4; ++index) {
        std::wstring path = m_folder.File(L"q" + std::to_wstring(index) + L".jpg");
        ASSERT_EQ(SavePicture(picture, path, Jpg, JpegQualityFor(index)), S_OK);
        std::ifstream file(path.c_str(), std::ios::binary | std::ios::ate);
        sizes.push_back(static_cast<uintmax_t>(file.tellg()));
    }
    for (size_t i = 1; i < sizes.size(); ++i)
        EXPECT_GT(sizes[i], sizes[i - 1]) << "quality " << 60 + 10 * i << " is not finer than the one below";
}

TEST_F(PictureSaving, PngRowsAreFilteredSoSmoothScreensStaySmall) {
    // The known screen is made of smooth ramps: with row filters it shrinks to a small part of
    // its raw size, without them it barely shrinks at all.
    CScreenImage picture;
    ASSERT_TRUE(picture.CaptureRect(RECT{300, 200, 940, 600}));
    std::wstring path = m_folder.File(L"smooth.png");
    ASSERT_EQ(SavePicture(picture, path, Png, 80), S_OK);
    std::ifstream file(path.c_str(), std::ios::binary | std::ios::ate);
    const std::streamoff raw = 640 * 400 * 3;
    EXPECT_LT(static_cast<std::streamoff>(file.tellg()), raw / 10);
    EXPECT_EQ(tray_test::WorstDifferenceFromPattern(DecodeFile(path), 300, 200), 0);
}

TEST_F(PictureSaving, FailedSaveLeavesNothingBehind) {
    CScreenImage picture;
    ASSERT_TRUE(picture.CaptureRect(RECT{0, 0, 200, 100}));

    // The save folder has gone.
    std::wstring missing = m_folder.File(L"gone\\shot.png");
    EXPECT_NE(SavePicture(picture, missing, Png, 80), S_OK);
    EXPECT_NE(SavePicture(picture, m_folder.File(L"gone\\shot.jpg"), Jpg, 80), S_OK);
    EXPECT_NE(SavePicture(picture, m_folder.File(L"gone\\shot.gif"), Gif, 80), S_OK);

    // The picture is written completely but its name has been taken by a folder meanwhile.
    std::wstring taken = m_folder.File(L"taken.png");
    ASSERT_TRUE(::CreateDirectoryW(taken.c_str(), nullptr));
    EXPECT_NE(SavePicture(picture, taken, Png, 80), S_OK);
    EXPECT_NE(SavePicture(picture, m_folder.File(L"taken.png"), Jpg, 80), S_OK);

    // An empty picture has nothing to write.
    CScreenImage empty;
    EXPECT_NE(SavePicture(empty, m_folder.File(L"empty.png"), Png, 80), S_OK);
    EXPECT_NE(SavePicture(empty, m_folder.File(L"empty.jpg"), Jpg, 80), S_OK);
    EXPECT_NE(SavePicture(empty, m_folder.File(L"empty.gif"), Gif, 80), S_OK);

    std::vector<std::wstring> files = ListFiles(m_folder.Path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], L"taken.png");
}

TEST_F(PictureSaving, AFileThatTookTheNameIsNotOverwritten) {
    std::wstring path = m_folder.File(L"shot.png");
    {
        std::ofstream other(path.c_str(), std::ios::binary);
        other << "someone else's";
    }
    CScreenImage picture;
    ASSERT_TRUE(picture.CaptureRect(RECT{0, 0, 64, 64}));
    EXPECT_NE(SavePicture(picture, path, Png, 80), S_OK);
    std::ifstream kept(path.c_str(), std::ios::binary);
    std::string contents((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
    EXPECT_EQ(contents, "someone else's");
    EXPECT_EQ(ListFiles(m_folder.Path()).size(), 1u);
}

TEST_F(PictureSaving, ATemporaryNameInUseIsNotDisturbed) {
    // A file named like the temporary one (left by someone, or a picture of that name).
    std::wstring busy = m_folder.File(L"~shot.png");
    {
        std::ofstream other(busy.c_str(), std::ios::binary);
        other << "keep";
    }
    CScreenImage picture;
    ASSERT_TRUE(picture.CaptureRect(RECT{810, 410, 874, 474}));
    ASSERT_EQ(SavePicture(picture, m_folder.File(L"shot.png"), Png, 80), S_OK);
    EXPECT_EQ(tray_test::WorstDifferenceFromPattern(DecodeFile(m_folder.File(L"shot.png")), 810, 410), 0);
    std::ifstream kept(busy.c_str(), std::ios::binary);
    std::string contents((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
    EXPECT_EQ(contents, "keep");
    EXPECT_EQ(ListFiles(m_folder.Path()).size(), 2u);
}

}  // namespace
