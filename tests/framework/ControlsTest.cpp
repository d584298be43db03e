// The thin control wrappers, the scrolling view and the common dialogs, on real controls.
#include <gtest/gtest.h>
#include <vector>
#include "CColorDialog.h"
#include "CComboBox.h"
#include "CEdit.h"
#include "CFileDialog.h"
#include "CFontDialog.h"
#include "CImageList.h"
#include "CListCtrl.h"
#include "CProgressCtrl.h"
#include "CScrollView.h"
#include "CSpinButtonCtrl.h"
#include "CStatic.h"
#include "CTabCtrl.h"
#include "CToolTipCtrl.h"
#include "DeviceContext.h"
#include "MessageArgs.h"
#include "TestSupport.h"

using testing_support::PumpMessages;

namespace {

const wchar_t kHostClass[] = L"TovrixControlsHost";

// A top-level window the controls live in.
class Host : public CWnd {
public:
    Host() {
        CWnd::RegisterClass(kHostClass, 0, nullptr, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        CreateEx(0, kHostClass, L"컨트롤", WS_POPUP | WS_VISIBLE, 0, 0, 600, 500, nullptr, nullptr);
    }
};

CBitmap SolidBitmap(int width, int height, COLORREF color) {
    CClientDC screen(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(screen, width, height);
    CMemoryDC memory(screen);
    CSelectObject select(memory, bitmap);
    CBrush brush(color);
    RECT all{0, 0, width, height};
    ::FillRect(memory, &all, brush);
    return bitmap;
}

TEST(Controls, AListViewShowsItemsWithPicturesFromAnImageListItDoesNotOwn) {
    Host host;
    CImageList thumbnails;
    ASSERT_TRUE(thumbnails.Create(32, 24, ILC_COLOR32, 4, 4));
    CBitmap red = SolidBitmap(32, 24, RGB(255, 0, 0)), blue = SolidBitmap(32, 24, RGB(0, 0, 255));
    EXPECT_EQ(thumbnails.Add(red), 0);
    EXPECT_EQ(thumbnails.Add(blue), 1);
    {
        CListCtrl list;
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_ICON, {0, 0, 400, 300}, host, 100));
        EXPECT_EQ(list.SetImageList(thumbnails, LVSIL_NORMAL), nullptr);
        EXPECT_EQ(list.GetImageList(LVSIL_NORMAL), thumbnails.get());
        EXPECT_EQ(list.InsertItem(0, L"첫 장", 1), 0);
        EXPECT_EQ(list.InsertItem(1, L"둘째 장", 0), 1);
        EXPECT_EQ(list.GetItemCount(), 2);
        EXPECT_EQ(list.GetItemText(1, 0), L"둘째 장");
        EXPECT_EQ(list.GetItemImage(0), 1);
        EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
        EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
        EXPECT_EQ(list.GetSelectedCount(), 1u);
        EXPECT_TRUE(list.DeleteItem(0));
        EXPECT_EQ(list.GetItemText(0, 0), L"둘째 장");
    }
    // The list view is gone; the pictures are still ours.
    EXPECT_EQ(thumbnails.GetImageCount(), 2);
    IMAGEINFO info{};
    EXPECT_TRUE(::ImageList_GetImageInfo(thumbnails, 1, &info));
}

// Counts the up-down control's notifications that its parent reflects back to it.
class CountingSpin : public CSpinButtonCtrl {
public:
    std::vector<int> deltas;

protected:
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == UDN_DELTAPOS) {
            deltas.push_back(reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta);
            *result = 0;  // allow the change
            return TRUE;
        }
        return CSpinButtonCtrl::OnChildNotify(msg, wParam, lParam, result);
    }
};

TEST(Controls, AnUpDownControlStepsItsBuddyAndHearsItsOwnNotifications) {
    Host host;
    CEdit buddy;
    ASSERT_TRUE(buddy.Create(WS_CHILD | WS_VISIBLE | ES_NUMBER, {10, 10, 80, 30}, host, 101));
    CountingSpin spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_ALIGNRIGHT,
                            {80, 10, 100, 30}, host, 102));
    spin.SetBuddy(buddy);
    EXPECT_EQ(spin.GetBuddy(), buddy.m_hWnd);
    spin.SetRange32(1, 10);
    spin.SetPos32(9);
    EXPECT_EQ(buddy.GetWindowText(), L"9");
    // Arrow keys in the buddy step the control (it notifies its parent first).
    for (int i = 0; i < 3; ++i) buddy.SendMessage(WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(spin.GetPos32(), 10) << "the range's end holds";
    EXPECT_EQ(buddy.GetWindowText(), L"10");
    EXPECT_FALSE(spin.deltas.empty());
    EXPECT_EQ(spin.deltas.front(), 1);
    int lower = 0, upper = 0;
    spin.GetRange32(lower, upper);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 10);
}

TEST(Controls, ComboTabProgressEditStaticAndTooltipForwards) {
    Host host;

    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, {10, 10, 200, 200}, host, 110));
    for (const wchar_t* item : {L"가", L"나", L"다"}) combo.AddString(item);
    EXPECT_EQ(combo.GetCount(), 3);
    EXPECT_EQ(combo.SetCurSel(2), 2);
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(combo.GetLBText(1), L"나");
    EXPECT_EQ(combo.FindStringExact(-1, L"다"), 2);
    EXPECT_EQ(combo.GetLBText(7), L"");

    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, {10, 50, 300, 250}, host, 111));
    for (const wchar_t* page : {L"로고", L"캡션", L"크기"}) tabs.InsertItem(tabs.GetItemCount(), page);
    EXPECT_EQ(tabs.GetItemCount(), 3);
    EXPECT_EQ(tabs.SetCurSel(1), 0);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    RECT pages{0, 0, 290, 200};
    tabs.AdjustRect(FALSE, &pages);
    EXPECT_GT(pages.top, 0) << "the pages sit below the tabs";

    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, {10, 260, 300, 280}, host, 112));
    progress.SetRange32(0, 40);
    progress.SetStep(7);
    progress.SetPos(10);
    progress.StepIt();
    EXPECT_EQ(progress.GetPos(), 17);
    int lower = -1, upper = -1;
    progress.GetRange(lower, upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 40);

    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, {10, 290, 300, 310}, host, 113));
    edit.SetWindowText(L"화면 캡쳐");
    edit.SetSel(3, 5);
    edit.ReplaceSel(L"녹화", TRUE);
    EXPECT_EQ(edit.GetWindowText(), L"화면 녹화");
    int start = -1, end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 5);
    EXPECT_EQ(end, 5);
    EXPECT_TRUE(edit.CanUndo());
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(edit.GetWindowText(), L"화면 캡쳐");

    CStatic picture;
    ASSERT_TRUE(picture.Create(L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, {10, 320, 50, 350}, host));
    CBitmap green = SolidBitmap(16, 16, RGB(0, 255, 0));
    picture.SetBitmap(green);
    EXPECT_EQ(picture.GetBitmap(), green.get());

    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(host));
    EXPECT_TRUE(tips.AddTool(edit, L"파일 이름"));
    EXPECT_EQ(tips.GetToolCount(), 1);
    EXPECT_EQ(tips.GetText(edit), L"파일 이름");
    tips.UpdateTipText(L"접두어", edit);
    EXPECT_EQ(tips.GetText(edit), L"접두어");
}

// Content of 1000 x 800 whose colour tells each 100-pixel block from the others.
COLORREF BlockColor(int x, int y) {
    return RGB((x / 100) * 25, (y / 100) * 30, 200);
}

class BlocksView : public CScrollView {
protected:
    void OnDraw(HDC dc) override {
        for (int by = 0; by < 8; ++by) {
            for (int bx = 0; bx < 10; ++bx) {
                CBrush brush(BlockColor(bx * 100, by * 100));
                RECT block{bx * 100, by * 100, bx * 100 + 100, by * 100 + 100};
                ::FillRect(dc, &block, brush);
            }
        }
    }
};

COLORREF ViewPixel(const CWnd& view, int x, int y) {
    view.RedrawWindow(RDW_INVALIDATE | RDW_UPDATENOW);
    CClientDC dc(view.m_hWnd);
    return ::GetPixel(dc, x, y);
}

TEST(ScrollView, ShowsThePartOfTheContentAtItsPositionAndStopsAtTheEnds) {
    Host host;
    BlocksView view;
    ASSERT_TRUE(view.Create({0, 0, 300, 250}, host, 120, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0));
    view.SetScrollSizes({1000, 800}, {10, 20});
    RECT client;
    view.GetClientRect(&client);

    EXPECT_EQ(ViewPixel(view, 5, 5), BlockColor(5, 5));
    view.ScrollToPosition({350, 420});
    EXPECT_EQ(view.GetScrollPosition().x, 350);
    EXPECT_EQ(ViewPixel(view, 5, 5), BlockColor(355, 425));
    POINT content = view.ClientToContent({5, 5});
    EXPECT_EQ(content.x, 355);
    EXPECT_EQ(content.y, 425);

    // The scroll bars and the wheel move by the line sizes given.
    view.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(view.GetScrollPosition().y, 440);
    view.SendMessage(WM_HSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(view.GetScrollPosition().x, 340);
    view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(view.GetScrollPosition().y, 500);

    // Past the end the view stops with the content's last pixels at its edge.
    view.ScrollToPosition({5000, 5000});
    EXPECT_EQ(view.GetScrollPosition().x, 1000 - client.right);
    EXPECT_EQ(view.GetScrollPosition().y, 800 - client.bottom);
    EXPECT_EQ(ViewPixel(view, client.right - 1, client.bottom - 1), BlockColor(999, 799));
    view.ScrollToPosition({-50, -50});
    EXPECT_EQ(view.GetScrollPosition().x, 0);

    // Content smaller than the view does not scroll; the rest is background.
    view.SetBackgroundColor(RGB(1, 2, 3));
    view.SetScrollSizes({100, 100});
    view.ScrollToPosition({40, 40});
    EXPECT_EQ(view.GetScrollPosition().x, 0);
    EXPECT_EQ(ViewPixel(view, 150, 150), RGB(1, 2, 3));
}

// Answers the first common dialog that appears on this thread with a button.
UINT_PTR g_answerTimer = 0;
WPARAM g_answerButton = IDOK;
BOOL CALLBACK PressOnDialog(HWND hwnd, LPARAM) {
    wchar_t className[16] = {};
    ::GetClassNameW(hwnd, className, 16);
    if (::IsWindowVisible(hwnd) && std::wstring(className) == L"#32770") {
        ::PostMessageW(hwnd, WM_COMMAND, g_answerButton, 0);
        return FALSE;
    }
    return TRUE;
}
void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &PressOnDialog, 0);
}
struct AnswerCommonDialog {
    explicit AnswerCommonDialog(WPARAM button) {
        g_answerButton = button;
        g_answerTimer = ::SetTimer(nullptr, 0, 50, &AnswerTimer);
    }
    ~AnswerCommonDialog() { ::KillTimer(nullptr, g_answerTimer); }
};

TEST(CommonDialogs, OkGivesBackWhatTheDialogWasOpenedWithAndCancelGivesNothing) {
    Host host;
    {
        AnswerCommonDialog ok(IDOK);
        CColorDialog colors(RGB(12, 34, 56), CC_FULLOPEN, &host);
        EXPECT_EQ(colors.DoModal(), IDOK);
        EXPECT_EQ(colors.GetColor(), RGB(12, 34, 56));
    }
    {
        AnswerCommonDialog cancel(IDCANCEL);
        CColorDialog colors(RGB(1, 1, 1), CC_FULLOPEN, &host);
        EXPECT_EQ(colors.DoModal(), IDCANCEL);
    }
    {
        AnswerCommonDialog ok(IDOK);
        LOGFONTW font{};
        font.lfHeight = -16;
        font.lfWeight = FW_BOLD;
        wcscpy_s(font.lfFaceName, L"Tahoma");
        CFontDialog fonts(&font, CF_SCREENFONTS | CF_EFFECTS, &host);
        EXPECT_EQ(fonts.DoModal(), IDOK);
        EXPECT_EQ(fonts.GetFaceName(), L"Tahoma");
        EXPECT_EQ(fonts.GetLogFont().lfWeight, FW_BOLD);
    }
    testing_support::TempFolder folder;
    std::wstring picture = folder.File(L"그림.png");
    CloseHandle(::CreateFileW(picture.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    {
        AnswerCommonDialog ok(IDOK);
        CFileDialog open(L"그림 (*.png)|*.png|모든 파일 (*.*)|*.*||", OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, &host,
                         folder.Path());
        wcscpy_s(open.m_ofn.lpstrFile, open.m_ofn.nMaxFile, L"그림.png");
        EXPECT_EQ(open.DoModal(), IDOK);
        EXPECT_EQ(::lstrcmpiW(open.GetPathName().c_str(), picture.c_str()), 0) << open.GetPathName();
        EXPECT_EQ(open.GetFilterIndex(), 1u);
    }
}

}  // namespace
