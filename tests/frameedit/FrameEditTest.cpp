// The frame editor as the user meets it, on frames of one colour each: the strip of thumbnails
// and the totals, selection by mouse and keys, playback step by step, delays (presets, faster,
// slower), reversing, deleting around the current frame and down to nothing, copying a frame,
// the context menu, and what closing and "저장" leave behind (the GIF decoded back).
#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include "FrameEditTestSupport.h"
#include "RecorderTestSupport.h"
#include "resource.h"

using namespace frameedit_testing;
using testing_support::ListFiles;
using testing_support::MessageBoxRecorder;
using testing_support::PumpMessages;

namespace {

const COLORREF kRed = RGB(220, 0, 0), kGreen = RGB(0, 200, 0), kBlue = RGB(0, 0, 230);
const COLORREF kYellow = RGB(240, 220, 0), kCyan = RGB(0, 210, 220), kWhite = RGB(255, 255, 255);

TEST_F(FrameEditor, OpensOnTheFirstFrameWithOneThumbnailPerFrameAndTheTotals) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 200}, {40, 30, kBlue, 300}});
    Open();
    EXPECT_EQ(dialog->GetWindowText(), L"프레임 편집");
    ExpectStripMatchesStore();
    EXPECT_EQ(ItemTexts(), (std::vector<std::wstring>{L"0.10 초", L"0.20 초", L"0.30 초"}));
    EXPECT_EQ(Label(IDC_FRAMEEDIT_COUNT), L"3");
    EXPECT_EQ(Label(IDC_FRAMEEDIT_DURATION), L"0.60 초");
    EXPECT_EQ(Label(IDC_FRAMEEDIT_SIZE), L"40 X 30");
    EXPECT_EQ(Label(IDC_FRAMEEDIT_PLAY), L"Play");
    EXPECT_EQ(dialog->GetCurrent(), 0);
    EXPECT_EQ(Selected(), std::vector<int>{0});
    EXPECT_EQ(::GetFocus(), dialog->GetList().m_hWnd);
    // Icons aligned left, several of them selectable.
    const LONG_PTR style = dialog->GetList().GetStyle();
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_ICON);
    EXPECT_EQ(style & LVS_ALIGNMASK, LVS_ALIGNLEFT);
    EXPECT_EQ(style & LVS_SINGLESEL, 0);
    // The preview sits in the placeholder's rectangle and shows the first frame.
    EXPECT_EQ(::GetDlgCtrlID(dialog->GetPreview().m_hWnd), IDC_FRAMEEDIT_PREVIEW);
    EXPECT_TRUE(Near(PreviewPixel(20, 15), kRed, 0));
}

TEST_F(FrameEditor, ThumbnailsAreTheFramesShrunkWithTheirNumberInABlackBorder) {
    AddFrames({{150, 150, kGreen, 100}, {300, 75, kBlue, 100}});
    Open();
    for (int i = 0; i < 2; ++i) {
        // Drawn back out of the image list onto a white bitmap.
        CGifFrameImage out;
        recorder_testing::FillSolid(out, 75, 75, kWhite);
        HDC dc = out.GetDC();
        dialog->GetImageList().Draw(dc, dialog->ThumbnailImage(i), POINT{0, 0});
        out.ReleaseDC();
        EXPECT_EQ(out.PixelAt(0, 40), RGB(0, 0, 0)) << i;
        EXPECT_EQ(out.PixelAt(74, 40), RGB(0, 0, 0)) << i;
        EXPECT_EQ(out.PixelAt(40, 74), RGB(0, 0, 0)) << i;
        EXPECT_TRUE(Near(out.PixelAt(60, 60), i == 0 ? kGreen : kBlue, 0)) << i;
        // The number is written in the top-left corner.
        int dark = 0;
        for (int y = 2; y < 16; ++y)
            for (int x = 2; x < 10; ++x) dark += out.PixelAt(x, y) == RGB(0, 0, 0);
        EXPECT_GT(dark, 3) << i;
    }
}

// More frames than the strip keeps thumbnails for: each item shown still gets its own frame's
// thumbnail, the ones seen long ago made again, and the pictures stay as many as before.
TEST_F(FrameEditor, ThumbnailsOfAStripLongerThanTheirPicturesAreMadeWhenShown) {
    const int count = CGifFrameEditDlg::kThumbnailSlots + 12;
    std::vector<SolidFrame> frames;
    for (int i = 0; i < count; ++i) frames.push_back({40, 30, RGB(4 * i, 250 - 4 * i, 100), 100});
    AddFrames(frames);
    Open();
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < count; ++i) {
            const int image = dialog->ThumbnailImage(i);
            ASSERT_GE(image, 0) << i;
            CGifFrameImage out;
            recorder_testing::FillSolid(out, 75, 75, kWhite);
            HDC dc = out.GetDC();
            dialog->GetImageList().Draw(dc, image, POINT{0, 0});
            out.ReleaseDC();
            EXPECT_TRUE(Near(out.PixelAt(60, 60), RGB(4 * i, 250 - 4 * i, 100), 0)) << "item " << i << " pass " << pass;
        }
    }
    EXPECT_EQ(dialog->GetImageList().GetImageCount(), CGifFrameEditDlg::kThumbnailSlots);
    // The strip still matches the store item for item, and paints what it asks for: the items
    // on the screen show their own frames (not the current one, drawn as selected).
    ExpectStripMatchesStore();
    CListCtrl& list = dialog->GetList();
    list.RedrawWindow(RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    PumpMessages();
    for (int i : {1, 3}) {
        RECT icon{};
        ASSERT_TRUE(ListView_GetItemRect(list.m_hWnd, i, &icon, LVIR_ICON));
        HDC dc = ::GetDC(list.m_hWnd);
        const COLORREF shown = ::GetPixel(dc, (icon.left + icon.right) / 2 + 10, (icon.top + icon.bottom) / 2 + 10);
        ::ReleaseDC(list.m_hWnd, dc);
        EXPECT_TRUE(Near(shown, RGB(4 * i, 250 - 4 * i, 100), 0)) << "item " << i << " shows " << std::hex << shown;
    }
}

TEST_F(FrameEditor, FasterAndSlowerScaleEveryDelayAndTruncate) {
    struct Case {
        int button;
        std::vector<uint32_t> before, after;
        const wchar_t* total;
    };
    const Case cases[] = {
        {IDC_FRAMEEDIT_SLOWER, {100, 200, 300}, {110, 220, 330}, L"0.66 초"},
        {IDC_FRAMEEDIT_FASTER, {100, 200, 300}, {90, 180, 270}, L"0.54 초"},
        {IDC_FRAMEEDIT_FASTER, {33, 0, 66}, {29, 0, 59}, L"0.09 초"},
        {IDC_FRAMEEDIT_SLOWER, {33, 0, 66}, {36, 0, 72}, L"0.11 초"},
    };
    for (const Case& c : cases) {
        store.Clear();
        AddFrames({{20, 20, kRed, c.before[0]}, {20, 20, kGreen, c.before[1]}, {20, 20, kBlue, c.before[2]}});
        Open();
        Click(c.button);
        EXPECT_EQ(Delays(), c.after) << c.button;
        EXPECT_EQ(Label(IDC_FRAMEEDIT_DURATION), c.total) << c.button;
        ExpectStripMatchesStore();
        TearDown();
    }
}

TEST_F(FrameEditor, DelayPresetsSetEverySelectedFrame) {
    AddFrames({{20, 20, kRed, 100}, {20, 20, kGreen, 100}, {20, 20, kBlue, 100}});
    Open();
    const std::pair<UINT, uint32_t> presets[] = {
        {ID_FRAMEEDIT_DELAY_NONE, 0},    {ID_FRAMEEDIT_DELAY_100MS, 100}, {ID_FRAMEEDIT_DELAY_200MS, 200},
        {ID_FRAMEEDIT_DELAY_500MS, 500}, {ID_FRAMEEDIT_DELAY_1S, 1000},   {ID_FRAMEEDIT_DELAY_2S, 2000},
        {ID_FRAMEEDIT_DELAY_5S, 5000},   {ID_FRAMEEDIT_DELAY_10S, 10000},
    };
    for (const auto& preset : presets) {
        Select({0, 2});
        Command(preset.first);
        EXPECT_EQ(Delays(), (std::vector<uint32_t>{preset.second, 100, preset.second})) << preset.first;
        ExpectStripMatchesStore();
        EXPECT_EQ(Label(IDC_FRAMEEDIT_DURATION), CGifFrameEditDlg::SecondsText((2.0 * preset.second + 100) * 0.001));
    }
    // Nothing selected: nothing changes.
    Select({});
    Command(ID_FRAMEEDIT_DELAY_1S);
    EXPECT_EQ(Delays(), (std::vector<uint32_t>{10000, 100, 10000}));
}

TEST_F(FrameEditor, AClickOrAnArrowKeyMakesAFrameCurrent) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 100}, {40, 30, kBlue, 100}, {40, 30, kYellow, 100}});
    Open();
    CListCtrl& list = dialog->GetList();
    // A left click on the third thumbnail: the list sees the press and the release.
    RECT item{};
    item.left = LVIR_ICON;
    ASSERT_TRUE(list.SendMessage(LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item)));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    list.PostMessage(WM_LBUTTONUP, 0, at);
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    PumpMessages(20);
    EXPECT_EQ(dialog->GetCurrent(), 2);
    EXPECT_TRUE(Near(PreviewPixel(20, 15), kBlue, 0));

    struct Step {
        WPARAM key;
        int current;
    };
    const Step steps[] = {{VK_LEFT, 1}, {VK_LEFT, 0}, {VK_LEFT, 0}, {VK_RIGHT, 1},
                          {VK_RIGHT, 2}, {VK_RIGHT, 3}, {VK_RIGHT, 3}};
    for (const Step& step : steps) {
        list.SendMessage(WM_KEYDOWN, step.key, 0);
        PumpMessages();
        EXPECT_EQ(dialog->GetCurrent(), step.current) << step.key;
    }
    EXPECT_TRUE(Near(PreviewPixel(20, 15), kYellow, 0));
}

TEST_F(FrameEditor, ReversingTwiceRestoresTheOrderAndCurrentKeepsItsIndex) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 200}, {40, 30, kBlue, 300}, {40, 30, kYellow, 400}});
    Open();
    const std::vector<GifStoredFrame*> before = Order();
    dialog->GetList().SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_EQ(dialog->GetCurrent(), 1);
    Click(IDC_FRAMEEDIT_REVERSE);
    std::vector<GifStoredFrame*> reversed(before.rbegin(), before.rend());
    EXPECT_EQ(Order(), reversed);
    EXPECT_EQ(Delays(), (std::vector<uint32_t>{400, 300, 200, 100}));
    EXPECT_EQ(dialog->GetCurrent(), 1);
    EXPECT_TRUE(Near(PreviewPixel(20, 15), kBlue, 0));
    ExpectStripMatchesStore();
    Click(IDC_FRAMEEDIT_REVERSE);
    EXPECT_EQ(Order(), before);
    EXPECT_EQ(dialog->GetCurrent(), 1);
    EXPECT_TRUE(Near(PreviewPixel(20, 15), kGreen, 0));
    ExpectStripMatchesStore();
}

TEST_F(FrameEditor, DeletingAroundTheCurrentFrameKeepsItCurrent) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 100}, {40, 30, kBlue, 100}, {40, 30, kYellow, 100},
               {40, 30, kCyan, 100}});
    Open();
    for (int i = 0; i < 4; ++i) dialog->GetList().SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_EQ(dialog->GetCurrent(), 4);
    const std::vector<GifStoredFrame*> before = Order();
    Select({1, 3});
    Command(ID_FRAMEEDIT_DELETE);
    EXPECT_EQ(Order(), (std::vector<GifStoredFrame*>{before[0], before[2], before[4]}));
    EXPECT_EQ(dialog->GetCurrent(), 2);
    EXPECT_EQ(Selected(), std::vector<int>{2});
    EXPECT_EQ(Label(IDC_FRAMEEDIT_COUNT), L"3");
    EXPECT_EQ(Label(IDC_FRAMEEDIT_DURATION), L"0.30 초");
    EXPECT_TRUE(Near(PreviewPixel(20, 15), kCyan, 0));
    ExpectStripMatchesStore();

    // Deleting the current frame itself (the last one) makes the new last frame current.
    Select({2});
    Command(ID_FRAMEEDIT_DELETE);
    EXPECT_EQ(Order(), (std::vector<GifStoredFrame*>{before[0], before[2]}));
    EXPECT_EQ(dialog->GetCurrent(), 1);
    EXPECT_TRUE(Near(PreviewPixel(20, 15), kBlue, 0));
    ExpectStripMatchesStore();
}

TEST_F(FrameEditor, DeletingEveryFrameLeavesAnEmptyWhitePreviewAndCommandsThatDoNothing) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 100}});
    Open();
    Select({0, 1});
    Command(ID_FRAMEEDIT_DELETE);
    EXPECT_TRUE(store.GetFrames().empty());
    EXPECT_EQ(dialog->GetCurrent(), -1);
    EXPECT_EQ(Label(IDC_FRAMEEDIT_COUNT), L"0");
    EXPECT_EQ(Label(IDC_FRAMEEDIT_DURATION), L"0.00 초");
    EXPECT_EQ(Label(IDC_FRAMEEDIT_SIZE), L"300 X 200");
    EXPECT_EQ(PreviewPixel(150, 100), kWhite);
    ExpectStripMatchesStore();
    // The commands that need a current frame have none: they do nothing (and open nothing).
    MessageBoxRecorder boxes;
    Click(IDC_FRAMEEDIT_PLAY);
    EXPECT_FALSE(dialog->IsPlaying());
    EXPECT_EQ(Label(IDC_FRAMEEDIT_PLAY), L"Play");
    for (UINT command : {ID_FRAMEEDIT_DUPLICATE, ID_FRAMEEDIT_DELAY_OTHER, ID_FRAMEEDIT_EDIT}) Command(command);
    Click(IDC_FRAMEEDIT_CROP);
    for (int button : {IDC_FRAMEEDIT_FASTER, IDC_FRAMEEDIT_SLOWER, IDC_FRAMEEDIT_REVERSE}) Click(button);
    Command(ID_FRAMEEDIT_DELETE);
    Command(ID_FRAMEEDIT_DELAY_1S);
    EXPECT_TRUE(store.GetFrames().empty());
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(dialog->GetCurrent(), -1);
    ExpectStripMatchesStore();
}

TEST_F(FrameEditor, CopyingAFrameInsertsItRightAfterTheCurrentOne) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 250}, {40, 30, kBlue, 300}});
    Open();
    dialog->GetList().SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    const std::vector<GifStoredFrame*> before = Order();
    Command(ID_FRAMEEDIT_DUPLICATE);
    ASSERT_EQ(store.GetFrames().size(), 4u);
    EXPECT_EQ(dialog->GetCurrent(), 1);
    EXPECT_EQ(Order()[1], before[1]);
    EXPECT_NE(Order()[2], before[1]);
    EXPECT_EQ(Order()[3], before[2]);
    EXPECT_EQ(Delays(), (std::vector<uint32_t>{100, 250, 250, 300}));
    EXPECT_TRUE(Near(FrameColour(2), kGreen, 0));
    EXPECT_EQ(Label(IDC_FRAMEEDIT_DURATION), L"0.90 초");
    ExpectStripMatchesStore();
    // At the end the copy goes last.
    for (int i = 0; i < 3; ++i) dialog->GetList().SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_EQ(dialog->GetCurrent(), 3);
    Command(ID_FRAMEEDIT_DUPLICATE);
    EXPECT_EQ(Colours().back(), Colours()[3]);
    EXPECT_EQ(Delays(), (std::vector<uint32_t>{100, 250, 250, 300, 300}));
    ExpectStripMatchesStore();
}

// The strip's context menu, item by item (0 for a separator; a submenu by its first item).
TEST(FrameEditMenu, HoldsTheDelaysTheFrameCommandsAndTheirTexts) {
    HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_GIF_FRAME_MENU));
    ASSERT_NE(menu, nullptr);
    auto items = [](HMENU popup) {
        std::vector<std::pair<UINT, std::wstring>> found;
        for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
            wchar_t text[64] = {};
            ::GetMenuStringW(popup, i, text, 64, MF_BYPOSITION);
            const UINT id = ::GetSubMenu(popup, i) ? 1 : ::GetMenuItemID(popup, i);
            found.emplace_back(id == 0xFFFFFFFFu ? 0 : id, text);
        }
        return found;
    };
    HMENU popup = ::GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    const std::vector<std::pair<UINT, std::wstring>> top = {
        {1, L"선택 프레임 시간설정"}, {ID_FRAMEEDIT_DELETE, L"선택 프레임삭제"}, {0, L""},
        {ID_FRAMEEDIT_DUPLICATE, L"한 프레임 복사"}, {ID_FRAMEEDIT_INSERT, L"이미지 삽입"}, {0, L""},
        {ID_FRAMEEDIT_EDIT, L"선택 프레임 편집"}};
    EXPECT_EQ(items(popup), top);
    const std::vector<std::pair<UINT, std::wstring>> delays = {
        {32782, L"지연없음"}, {32783, L"0.1초"}, {32784, L"0.2초"}, {32785, L"0.5초"}, {32786, L"1초"},
        {32787, L"2초"},      {32788, L"5초"},   {32789, L"10초"},  {0, L""},          {32790, L"기타설정"}};
    EXPECT_EQ(items(::GetSubMenu(popup, 0)), delays);
    ::DestroyMenu(menu);
}

// The play timer is driven by hand: the delays are long enough that the system's timer never
// comes first.
TEST_F(FrameEditor, PlaybackStepsThroughTheFramesAndWrapsAround) {
    AddFrames({{40, 30, kRed, 60000}, {40, 30, kGreen, 60000}, {40, 30, kBlue, 60000}});
    Open();
    dialog->GetList().SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    Click(IDC_FRAMEEDIT_PLAY);
    EXPECT_TRUE(dialog->IsPlaying());
    EXPECT_EQ(Label(IDC_FRAMEEDIT_PLAY), L"Stop");
    EXPECT_EQ(::GetFocus(), dialog->GetList().m_hWnd);
    const int expected[] = {2, 0, 1, 2};
    for (int current : expected) {
        dialog->SendMessage(WM_TIMER, CGifFrameEditDlg::kPlayTimer, 0);
        EXPECT_EQ(dialog->GetCurrent(), current);
        EXPECT_EQ(Selected(), std::vector<int>{current});
    }
    EXPECT_TRUE(Near(PreviewPixel(20, 15), kBlue, 0));
    Click(IDC_FRAMEEDIT_PLAY);
    EXPECT_FALSE(dialog->IsPlaying());
    EXPECT_EQ(Label(IDC_FRAMEEDIT_PLAY), L"Play");
    // A late tick after the stop moves nothing.
    dialog->SendMessage(WM_TIMER, CGifFrameEditDlg::kPlayTimer, 0);
    EXPECT_EQ(dialog->GetCurrent(), 2);
}

TEST_F(FrameEditor, PlaybackOfOneFrameShowsItAgainAndEndsWhenEveryFrameIsDeleted) {
    AddFrames({{40, 30, kRed, 60000}});
    Open();
    Click(IDC_FRAMEEDIT_PLAY);
    for (int i = 0; i < 3; ++i) {
        dialog->SendMessage(WM_TIMER, CGifFrameEditDlg::kPlayTimer, 0);
        EXPECT_EQ(dialog->GetCurrent(), 0);
        EXPECT_TRUE(Near(PreviewPixel(20, 15), kRed, 0));
    }
    Select({0});
    Command(ID_FRAMEEDIT_DELETE);
    EXPECT_FALSE(dialog->IsPlaying());
    EXPECT_EQ(Label(IDC_FRAMEEDIT_PLAY), L"Play");
    dialog->SendMessage(WM_TIMER, CGifFrameEditDlg::kPlayTimer, 0);
    EXPECT_EQ(dialog->GetCurrent(), -1);
}

// Chooses the context menu's "선택 프레임삭제" from the keyboard once the menu shows.
void CALLBACK ChooseDelete(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    if (!menu || !::IsWindowVisible(menu)) return;
    ::KillTimer(nullptr, id);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
        ::PostMessageW(menu, WM_KEYDOWN, key, 0);
    }
}

TEST_F(FrameEditor, TheContextMenuMakesTheItemUnderThePointerCurrentAndPostsTheChosenCommand) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 100}, {40, 30, kBlue, 100}});
    Open();
    CListCtrl& list = dialog->GetList();
    RECT item{};
    item.left = LVIR_ICON;
    ASSERT_TRUE(list.SendMessage(LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)));
    POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    list.ClientToScreen(&at);
    Select({1});
    const GifStoredFrame* second = Order()[1];
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &ChooseDelete);
    list.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.m_hWnd), MAKELPARAM(at.x, at.y));
    ::KillTimer(nullptr, timer);
    PumpMessages(50);
    ASSERT_EQ(store.GetFrames().size(), 2u);
    const std::vector<GifStoredFrame*> after = Order();
    EXPECT_EQ(std::count(after.begin(), after.end(), second), 0);
    EXPECT_EQ(dialog->GetCurrent(), 1);
    ExpectStripMatchesStore();
}

TEST_F(FrameEditor, ClosingWithoutSavingWritesNothingAndLeavesTheFramesInTheStore) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 200}});
    Open();
    Click(IDC_FRAMEEDIT_REVERSE);
    const std::vector<GifStoredFrame*> edited = Order();
    dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);
    PumpMessages(20);
    EXPECT_FALSE(dialog->IsWindow());
    EXPECT_EQ(Order(), edited);
    EXPECT_TRUE(ListFiles(folder.Path()).empty());
    EXPECT_TRUE(dialog->SavedPath().empty());
}

TEST_F(FrameEditor, SaveWritesTheEditedFramesAndDelaysAndEmptiesTheStore) {
    AddFrames({{40, 30, kRed, 100}, {40, 30, kGreen, 200}, {40, 30, kBlue, 300}, {40, 30, kYellow, 400}});
    Open();
    Select({1});
    Command(ID_FRAMEEDIT_DELETE);
    Click(IDC_FRAMEEDIT_REVERSE);
    Click(IDC_FRAMEEDIT_SLOWER);
    ASSERT_EQ(Delays(), (std::vector<uint32_t>{440, 330, 110}));
    Click(IDOK);
    PumpMessages(20);
    EXPECT_FALSE(dialog->IsWindow());
    EXPECT_TRUE(store.GetFrames().empty());
    const std::wstring path = folder.File(L"TX_[20261210-211500].gif");
    EXPECT_EQ(dialog->SavedPath(), path);
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(recorder_testing::DecodeGifFile(path, gif, error)) << error;
    ASSERT_EQ(gif.frames.size(), 3u);
    EXPECT_EQ(gif.width, 40);
    EXPECT_EQ(gif.height, 30);
    const COLORREF colours[] = {kYellow, kBlue, kRed};
    const int delays[] = {44, 33, 11};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(gif.frames[i].delay, delays[i]) << i;
        EXPECT_TRUE(Near(recorder_testing::DecodedPixel(gif, i, 20, 15), colours[i])) << i;
    }
}

}  // namespace
