// The web capture opened from the real main frame's tray menu while the capture key runs the
// editor: the editor holds the frame's picture, so the dialog's Capture and WM_SAVE_CAPTURE must
// wait until it ends.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include "CMainFrame.h"
#include "CPresentDlg.h"
#include "CWebBrowserDlg.h"
#include "ScriptedWebView.h"
#include "TestSupport.h"
#include "TrayTestSupport.h"
#include "WindowMessages.h"
#include "resource.h"

using testing_support::LaterInTheLoop;
using testing_support::ListFiles;
using testing_support::TempFolder;

namespace {

// The frame's own web capture dialog, with a scripted tall page in place of the system's
// browser (which renders nothing here); `inside` runs from the dialog's loop once it shows.
class FrameWithScriptedPage : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    std::function<void(CWebBrowserDlg&)> inside;

protected:
    class PageDlg : public CWebBrowserDlg {
    public:
        PageDlg(CWnd* parent, std::function<void(CWebBrowserDlg&)>& inside) : CWebBrowserDlg(parent), m_inside(inside) {}

    protected:
        std::unique_ptr<IWebView> CreateView(HWND dialog, const RECT& place, UINT id) override {
            // The scripted page has no window of its own: a plain one stands in its place.
            ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, place.left, place.top,
                              place.right - place.left, place.bottom - place.top, dialog,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
            auto view = std::make_unique<ScriptedWebView>();
            ScriptedWebView::Document page;
            page.body = SIZE{982, 3000};
            page.scrollRange = POINT{0, 2300};
            view->documents = {page};
            m_page = view.get();
            return view;
        }
        BOOL OnInitDialog() override {
            const BOOL result = CWebBrowserDlg::OnInitDialog();
            m_page->Complete(L"https://tovrix.example/long");
            m_later = std::make_unique<LaterInTheLoop>([this] { m_inside(*this); });
            return result;
        }

    private:
        std::function<void(CWebBrowserDlg&)>& m_inside;
        ScriptedWebView* m_page = nullptr;
        std::unique_ptr<LaterInTheLoop> m_later;
    };

    void RunWebCaptureDialog() override {
        PageDlg web(this, inside);
        web.SetTarget(&GetPicture(), m_hWnd);
        web.DoModal();
    }
};

// The capture key with "편집후저장" while the web capture is open: the editor holds the frame's
// picture (the dialog under it stays usable, the editor having no owner), so the dialog's
// Capture, and WM_SAVE_CAPTURE from anyone, must leave the picture alone until the editor ends.
TEST(TrayWebCapture, CaptureWaitsWhileACapturesEditorHoldsThePicture) {
    TempFolder folder;
    CaptureSettings settings;
    settings.saveType = Png;
    settings.saveFolder = folder.Path();
    settings.area = AreaFixedRect;
    settings.areaRect = RECT{700, 500, 900, 650};
    settings.checkEdit = 1;
    settings.shutter = 0;
    int named = 0;
    auto* frame = new FrameWithScriptedPage(
        settings, [&] { return folder.File(L"shot" + std::to_wstring(++named) + L".png"); }, nullptr);
    ASSERT_TRUE(frame->CreateHidden());
    HWND frameWindow = frame->m_hWnd;

    SIZE underTheEditor{0, 0};
    size_t filesUnderTheEditor = 99;
    LRESULT saveAnswer = 0;
    CMainFrame::CaptureResult captured = CMainFrame::CaptureResult::Ignored;
    SIZE afterTheEditor{0, 0};
    frame->inside = [&](CWebBrowserDlg& web) {
        LaterInTheLoop inEditor([&] {
            ::SendMessageW(web.GetDlgItem(IDC_WEB_CAPTURE), BM_CLICK, 0, 0);
            saveAnswer = ::SendMessageW(frameWindow, WM_SAVE_CAPTURE, 0, 0);
            underTheEditor = SIZE{frame->GetPicture().GetWidth(), frame->GetPicture().GetHeight()};
            filesUnderTheEditor = ListFiles(folder.Path()).size();
            HWND editor = testing_support::FindOwnWindow(
                [](HWND window) { return dynamic_cast<CPresentDlg*>(CWnd::FromHandle(window)) != nullptr; });
            if (editor) ::PostMessageW(editor, WM_COMMAND, ID_EDITOR_FINISH, 0);
        });
        captured = frame->OnKeyboardEvent(tray_test::KeyEvent(VK_SNAPSHOT, WM_KEYUP));
        // With the editor gone, Capture saves the page.
        ::SendMessageW(web.GetDlgItem(IDC_WEB_CAPTURE), BM_CLICK, 0, 0);
        afterTheEditor = SIZE{frame->GetPicture().GetWidth(), frame->GetPicture().GetHeight()};
        web.PostMessage(WM_COMMAND, IDCANCEL, 0);
    };
    ::SendMessageW(frameWindow, WM_COMMAND, ID_TRAY_WEB_CAPTURE, 0);

    EXPECT_EQ(underTheEditor.cx, 200);
    EXPECT_EQ(underTheEditor.cy, 150);
    EXPECT_EQ(filesUnderTheEditor, 0u);
    EXPECT_NE(saveAnswer, 0);
    EXPECT_EQ(captured, CMainFrame::CaptureResult::Saved);
    EXPECT_EQ(afterTheEditor.cx, 982);
    EXPECT_EQ(ListFiles(folder.Path()).size(), 2u);
    // The capture saved what the screen showed, not the page.
    tray_test::Decoded shot = tray_test::DecodeFile(folder.File(L"shot1.png"));
    EXPECT_EQ(shot.width, 200);
    EXPECT_EQ(shot.height, 150);
    ::DestroyWindow(frameWindow);
}

}  // namespace
