// "Tovrix - WebCapture" as a real dialog under Wine: with the scripted page for the browser
// (navigation states, the address box, Capture saving through WM_SAVE_CAPTURE, the layout), and
// with the system's own control, which this Wine lacks: the dialog must still open and say so.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include "CWebBrowserDlg.h"
#include "SaveWindow.h"
#include "ScriptedWebView.h"
#include "TestSupport.h"
#include "WindowMessages.h"
#include "resource.h"

using testing_support::MessageBoxRecorder;

namespace {

constexpr UINT kRunScript = WM_APP + 210;

// The dialog with the scripted page; a script runs inside the dialog's own loop once it shows.
class TestWebDlg : public CWebBrowserDlg {
public:
    std::function<void(TestWebDlg&)> onShown;
    ScriptedWebView* page = nullptr;  // owned by the dialog while it is open
    std::function<void(ScriptedWebView&)> preparePage;
    bool useSystemControl = false;

    bool Enabled(int id) const { return ::IsWindowEnabled(GetDlgItem(id)) != FALSE; }
    void Click(int id) const { ::SendMessageW(GetDlgItem(id), BM_CLICK, 0, 0); }
    RECT ClientRectOf(int id) const {
        RECT r{};
        ::GetWindowRect(GetDlgItem(id), &r);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

protected:
    std::unique_ptr<IWebView> CreateView(HWND dialog, const RECT& place, UINT id) override {
        if (useSystemControl) return CWebBrowserDlg::CreateView(dialog, place, id);
        // The scripted page has no window of its own: a plain one stands in its place.
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, place.left, place.top,
                          place.right - place.left, place.bottom - place.top, dialog,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
        auto view = std::make_unique<ScriptedWebView>();
        page = view.get();
        if (preparePage) preparePage(*view);
        return view;
    }
    BOOL OnInitDialog() override {
        BOOL result = CWebBrowserDlg::OnInitDialog();
        PostMessage(kRunScript);
        return result;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kRunScript) {
            if (onShown) onShown(*this);
            return 0;
        }
        return CWebBrowserDlg::WindowProc(msg, wParam, lParam);
    }
};

ScriptedWebView::Document TallPage() {
    ScriptedWebView::Document d;
    d.body = SIZE{982, 5000};
    d.scrollRange = POINT{0, 4300};
    d.scroll = POINT{0, 250};
    return d;
}

TEST(WebCaptureDialog, OpensNavigatingToTheStartAddressWithBackAndForwardOff) {
    TestWebDlg dlg;
    dlg.SetStartAddress(L"https://tovrix.example/start");
    dlg.onShown = [](TestWebDlg& d) {
        EXPECT_EQ(d.GetWindowText(), L"Tovrix - WebCapture");
        EXPECT_TRUE(::GetWindowLongPtrW(d.m_hWnd, GWL_STYLE) & WS_THICKFRAME);
        EXPECT_TRUE(::GetWindowLongPtrW(d.m_hWnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        EXPECT_NE(d.SendMessage(WM_GETICON, ICON_BIG), 0);
        ASSERT_EQ(d.page->navigations.size(), 1u);
        EXPECT_EQ(d.page->navigations[0], L"https://tovrix.example/start");
        EXPECT_FALSE(d.Enabled(IDC_WEB_BACK));
        EXPECT_FALSE(d.Enabled(IDC_WEB_FORWARD));
        // Navigating: nothing to capture until the page has come.
        EXPECT_FALSE(d.Enabled(IDC_WEB_CAPTURE));
        d.page->Complete(L"https://tovrix.example/start#top");
        EXPECT_TRUE(d.Enabled(IDC_WEB_CAPTURE));
        EXPECT_EQ(d.GetDlgItemText(IDC_WEB_ADDRESS), L"https://tovrix.example/start#top");

        // The engine's command states drive Back and Forward; the buttons drive the engine.
        d.page->events->OnBackEnabled(true);
        EXPECT_TRUE(d.Enabled(IDC_WEB_BACK));
        EXPECT_FALSE(d.Enabled(IDC_WEB_FORWARD));
        d.page->events->OnForwardEnabled(true);
        EXPECT_TRUE(d.Enabled(IDC_WEB_FORWARD));
        d.Click(IDC_WEB_BACK);
        d.Click(IDC_WEB_FORWARD);
        d.Click(IDC_WEB_FORWARD);
        EXPECT_EQ(d.page->backs, 1);
        EXPECT_EQ(d.page->forwards, 2);
        d.page->events->OnBackEnabled(false);
        EXPECT_FALSE(d.Enabled(IDC_WEB_BACK));
        d.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(WebCaptureDialog, EnterInTheAddressBoxAndGoNavigateWithoutClosing) {
    TestWebDlg dlg;
    bool openAfterEnter = false;
    dlg.onShown = [&](TestWebDlg& d) {
        HWND address = d.GetDlgItem(IDC_WEB_ADDRESS);
        d.SetDlgItemText(IDC_WEB_ADDRESS, L"https://tovrix.example/typed");
        ::SetFocus(address);
        // Through the dialog's loop, where Enter becomes the default button.
        ::PostMessageW(address, WM_KEYDOWN, VK_RETURN, 0);
        ::PostMessageW(address, WM_KEYUP, VK_RETURN, 0xC0000000);
        testing_support::PumpMessages(0);
        openAfterEnter = d.IsWindow() != FALSE;
        d.SetDlgItemText(IDC_WEB_ADDRESS, L"https://tovrix.example/go");
        d.Click(IDOK);
        d.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(openAfterEnter);
}

TEST(WebCaptureDialog, CaptureSavesTheWholePageAndStaysOpen) {
    SaveWindow frame;
    CScreenImage picture;
    frame.picture = &picture;
    TestWebDlg dlg;
    dlg.SetTarget(&picture, frame.hwnd);
    dlg.preparePage = [](ScriptedWebView& page) { page.documents = {TallPage()}; };
    dlg.onShown = [&](TestWebDlg& d) {
        d.page->Complete(L"https://tovrix.example/long");
        MessageBoxRecorder boxes;
        d.Click(IDC_WEB_CAPTURE);
        EXPECT_TRUE(boxes.Texts().empty());
        EXPECT_EQ(frame.saves, 1);
        EXPECT_EQ(frame.savedSize.cx, 982);
        EXPECT_EQ(frame.savedSize.cy, 4980);
        EXPECT_EQ(d.page->viewSize.cy, 700);
        EXPECT_EQ(d.page->documents[0].scroll.y, 250);
        // Again, for another page: the dialog is still there.
        d.Click(IDC_WEB_CAPTURE);
        EXPECT_EQ(frame.saves, 2);
        d.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(WebCaptureDialog, WhatCannotBeCapturedIsSaidAndNothingSaved) {
    struct Case {
        const char* what;
        std::vector<ScriptedWebView::Document> documents;
        const wchar_t* message;
    } cases[] = {
        {"no page", {}, CWebBrowserDlg::kNothingToCaptureText},
        {"a page as tall as the view", {ScriptedWebView::Document{true, {3000, 700}, {2018, 0}, {0, 0}}},
         CWebBrowserDlg::kNothingToCaptureText},
        {"a page too tall for any picture", {ScriptedWebView::Document{true, {982, 300000}, {0, 200000}, {0, 0}}},
         CWebBrowserDlg::kTooLargeText},
    };
    for (const Case& c : cases) {
        SaveWindow frame;
        CScreenImage picture;
        TestWebDlg dlg;
        dlg.SetTarget(&picture, frame.hwnd);
        dlg.preparePage = [&](ScriptedWebView& page) { page.documents = c.documents; };
        MessageBoxRecorder boxes;
        dlg.onShown = [&](TestWebDlg& d) {
            d.Click(IDC_WEB_CAPTURE);
            d.PostMessage(WM_COMMAND, IDCANCEL);
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.what;
        ASSERT_EQ(boxes.Texts().size(), 1u) << c.what;
        EXPECT_EQ(boxes.Texts()[0], c.message) << c.what;
        EXPECT_EQ(boxes.Messages()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OK)) << c.what;
        EXPECT_EQ(frame.saves, 0) << c.what;
        EXPECT_TRUE(picture.IsNull()) << c.what;
    }
}

TEST(WebCaptureDialog, TheViewAndTheTopRowFollowTheSize) {
    TestWebDlg dlg;
    dlg.onShown = [](TestWebDlg& d) {
        MINMAXINFO limits{};
        d.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        EXPECT_EQ(limits.ptMinTrackSize.x, 600);
        EXPECT_EQ(limits.ptMinTrackSize.y, 500);

        const RECT backBefore = d.ClientRectOf(IDC_WEB_BACK);
        RECT window{}, client{};
        d.GetWindowRect(&window);
        d.GetClientRect(&client);
        const int frameX = (window.right - window.left) - client.right;
        const int frameY = (window.bottom - window.top) - client.bottom;
        ::SetWindowPos(d.m_hWnd, nullptr, 0, 0, 900 + frameX, 640 + frameY, SWP_NOMOVE | SWP_NOZORDER);
        const struct { int id; RECT expected; } cases[] = {
            {IDC_WEB_BROWSER, {12, 36, 12 + 876, 36 + 592}},
            {IDOK, {900 - 112, 11, 900 - 112 + 37, 32}},
            {IDC_WEB_CAPTURE, {900 - 71, 11, 900 - 71 + 60, 32}},
            {IDC_WEB_ADDRESS, {194, 11, 194 + 900 - 315, 32}},
            {IDC_WEB_BACK, backBefore},
        };
        for (const auto& c : cases) {
            RECT got = d.ClientRectOf(c.id);
            EXPECT_TRUE(::EqualRect(&got, &c.expected))
                << c.id << ": " << got.left << "," << got.top << "-" << got.right << "," << got.bottom;
        }
        d.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

// With the system's own control. This Wine has none (its HTML engine is switched off): the
// dialog opens all the same, says that pages cannot be shown, and Go and Capture only say so
// again. Where a control exists, Go and Capture must still be harmless on an empty view.
TEST(WebCaptureDialog, WithoutTheSystemsBrowserControlTheDialogStillOpensAndSaysSo) {
    SaveWindow frame;
    CScreenImage picture;
    TestWebDlg dlg;
    dlg.useSystemControl = true;
    dlg.SetTarget(&picture, frame.hwnd);
    dlg.SetStartAddress(L"https://tovrix.example/");
    MessageBoxRecorder boxes;
    bool hadView = false;
    dlg.onShown = [&](TestWebDlg& d) {
        hadView = d.GetView() != nullptr;
        ASSERT_NE(d.GetDlgItem(IDC_WEB_BROWSER), nullptr);
        if (!hadView) {
            EXPECT_EQ(GetWindowTextString(d.GetDlgItem(IDC_WEB_BROWSER)), CWebBrowserDlg::kUnavailableText);
        }
        d.SetDlgItemText(IDC_WEB_ADDRESS, L"https://tovrix.example/other");
        d.Click(IDOK);
        ::EnableWindow(d.GetDlgItem(IDC_WEB_CAPTURE), TRUE);
        d.Click(IDC_WEB_CAPTURE);
        d.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(frame.saves, 0);
    if (!hadView) {
        ASSERT_EQ(boxes.Texts().size(), 2u);
        EXPECT_EQ(boxes.Texts()[0], CWebBrowserDlg::kUnavailableText);
        EXPECT_EQ(boxes.Texts()[1], CWebBrowserDlg::kUnavailableText);
    }
}

}  // namespace
