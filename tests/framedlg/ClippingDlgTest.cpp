// The crop dialog run modally and driven from inside its loop: the rectangle it returns is the
// tracker's in picture coordinates whether the preview is scrolled or not, a tracker partly off
// the picture gives the part on it, one wholly off is refused with a message and the dialog stays
// open, Enter and Esc do not close it, and it keeps its layout and its 300 x 200 minimum.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "CClippingDlg.h"
#include "CGifFrameImage.h"
#include "FrameDlgTestSupport.h"

using framedlg_test::Do;
using framedlg_test::MakePicture;
using framedlg_test::MouseDrag;
using framedlg_test::RunDialog;
using framedlg_test::Step;
using testing_support::MessageBoxRecorder;

namespace {

bool Same(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }
std::string Show(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

RECT ChildRect(HWND dialog, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Above the test pattern, so that the mouse reaches it.
void BringToTop(CDialog& dialog) {
    ::SetWindowPos(dialog.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(dialog.m_hWnd);
}

struct CropCase {
    const char* name;
    SIZE picture;
    int lines[2];            // scroll-bar lines right and down before the drag (16 pixels each)
    POINT from, to;          // drag in preview client points; from == to: no drag
    bool accepted;
    RECT result;             // picture coordinates
};

TEST(ClippingDlg, RunReturnsTheTrackerInPictureCoordinatesOrRefusesOneOffThePicture) {
    const std::vector<CropCase> cases = {
        {"untouched", {600, 500}, {0, 0}, {0, 0}, {0, 0}, true, {10, 10, 110, 110}},
        {"scrolled: the tracker went with the content", {600, 500}, {2, 1}, {0, 0}, {0, 0}, true, {10, 10, 110, 110}},
        {"scrolled, then moved", {600, 500}, {2, 1}, {30, 40}, {50, 50}, true, {30, 20, 130, 120}},
        {"partly off the picture", {200, 150}, {0, 0}, {60, 60}, {210, 160}, true, {160, 110, 200, 150}},
        {"resized past the picture's corner", {200, 150}, {0, 0}, {113, 113}, {263, 213}, true, {10, 10, 200, 150}},
        {"wholly off the picture", {200, 150}, {0, 0}, {60, 60}, {280, 60}, false, {}},
    };
    for (const CropCase& c : cases) {
        SCOPED_TRACE(c.name);
        CGifFrameImage picture;
        ASSERT_TRUE(MakePicture(picture, c.picture.cx, c.picture.cy));
        MessageBoxRecorder boxes;
        CClippingDlg dialog(&picture);
        std::unique_ptr<MouseDrag> drag;
        std::vector<Step> steps = {Do([&] {
            BringToTop(dialog);
            CGifFrameView& view = dialog.GetView();
            for (int i = 0; i < c.lines[0]; ++i) view.SendMessage(WM_HSCROLL, SB_LINEDOWN, 0);
            for (int i = 0; i < c.lines[1]; ++i) view.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
            if (c.from.x == c.to.x && c.from.y == c.to.y) return;
            POINT from = c.from, to = c.to;
            view.ClientToScreen(&from);
            view.ClientToScreen(&to);
            drag = std::make_unique<MouseDrag>(view.m_hWnd, from, to);
        })};
        steps.push_back([&] { return !drag || drag->Finished(); });
        steps.push_back(Do([&] { ::SendMessageW(::GetDlgItem(dialog.m_hWnd, IDOK), BM_CLICK, 0, 0); }));
        if (!c.accepted) {
            steps.push_back(Do([&] {
                ASSERT_TRUE(dialog.m_hWnd) << "a crop off the picture closed the dialog";
                ASSERT_EQ(boxes.Texts().size(), 1u);
                EXPECT_NE(boxes.Texts()[0].find(L"겹치지 않습니다"), std::wstring::npos);
            }));
        }
        const INT_PTR result = RunDialog(dialog, steps);
        EXPECT_EQ(result, c.accepted ? IDOK : IDCANCEL);
        if (c.accepted) {
            EXPECT_TRUE(Same(dialog.m_result, c.result)) << Show(dialog.m_result);
            EXPECT_TRUE(boxes.Texts().empty());
        }
    }
}

TEST(ClippingDlg, EnterAndEscapeDoNotCloseItTheCloseBoxDoes) {
    CGifFrameImage picture;
    ASSERT_TRUE(MakePicture(picture, 200, 150));
    CClippingDlg dialog(&picture);
    const INT_PTR result = RunDialog(dialog, {
        Do([&] {
            for (HWND target : {::GetFocus(), ::GetDlgItem(dialog.m_hWnd, IDOK), dialog.GetView().m_hWnd}) {
                ::PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0);
                ::PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0);
            }
        }),
        Do([&] {
            ASSERT_TRUE(dialog.m_hWnd) << "a key closed the dialog";
            ::PostMessageW(dialog.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        }),
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(::IsRectEmpty(&dialog.m_result));
}

TEST(ClippingDlg, ThePreviewFillsTheDialogAboveTheButtonAndTheDialogStaysAtLeast300By200) {
    CClippingDlg dialog(nullptr);
    RunDialog(dialog, {
        Do([&] {
            HWND view = dialog.GetView().m_hWnd;
            ASSERT_TRUE(view);
            EXPECT_EQ(::GetDlgCtrlID(view), 10001);
            const RECT button = ChildRect(dialog.m_hWnd, ::GetDlgItem(dialog.m_hWnd, IDOK));
            const RECT preview = ChildRect(dialog.m_hWnd, view);
            EXPECT_TRUE(Same(preview, RECT{7, 7, button.right, button.top - 7})) << Show(preview);
            EXPECT_EQ(GetWindowTextString(::GetDlgItem(dialog.m_hWnd, IDOK)), L"실행");
            EXPECT_EQ(dialog.GetWindowText(), L"자르기");
            // Without a picture the preview shows the empty area.
            EXPECT_EQ(dialog.GetView().GetPictureSize().cx, 300);
        }),
        Do([&] {
            MINMAXINFO info{};
            dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
            EXPECT_EQ(info.ptMinTrackSize.x, 300);
            EXPECT_EQ(info.ptMinTrackSize.y, 200);
            dialog.SetWindowPos(nullptr, 0, 0, 120, 90, SWP_NOMOVE | SWP_NOZORDER);
            RECT window{};
            dialog.GetWindowRect(&window);
            EXPECT_GE(window.right - window.left, 300);
            EXPECT_GE(window.bottom - window.top, 200);
        }),
        Do([&] {
            dialog.SetWindowPos(nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
            RECT client{};
            dialog.GetClientRect(&client);
            const LONG cx = client.right, cy = client.bottom;
            const RECT preview = ChildRect(dialog.m_hWnd, dialog.GetView().m_hWnd);
            const RECT button = ChildRect(dialog.m_hWnd, ::GetDlgItem(dialog.m_hWnd, IDOK));
            EXPECT_TRUE(Same(preview, RECT{7, 7, cx - 6, cy - 35})) << Show(preview);
            EXPECT_TRUE(Same(button, RECT{cx - 83, cy - 30, cx - 8, cy - 7})) << Show(button);
        }),
    });
}

}  // namespace
