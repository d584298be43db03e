// The framework's window objects under Wine: message dispatch, default processing, object
// lifetimes, dialogs with data exchange and the picture's shared device context.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "CDialog.h"
#include "CFrameWnd.h"
#include "CImage.h"
#include "CWinApp.h"
#include "DataExchange.h"
#include "TestSupport.h"
#include "framework_test_ids.h"

using testing_support::MessageBoxRecorder;
using testing_support::PumpMessages;

namespace {

// Records what reaches its WindowProc and answers one private message itself.
class RecordingWnd : public CWnd {
public:
    static constexpr UINT kPing = WM_APP + 1;
    std::vector<UINT> seen;
    bool* destroyedFlag = nullptr;
    ~RecordingWnd() override {
        if (destroyedFlag) *destroyedFlag = true;
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(msg);
        switch (msg) {
        case kPing:
            return static_cast<LRESULT>(wParam) * 2;
        case WM_SETTEXT: {
            // The default processing stores the text; the handler only adds to it.
            LRESULT stored = Default();
            return stored;
        }
        }
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

const wchar_t kTestClass[] = L"TovrixFrameworkTest";

TEST(Window, MessagesReachTheObjectFromCreationToDestruction) {
    ASSERT_NE(CWnd::RegisterClass(kTestClass), 0);
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, kTestClass, L"창", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    EXPECT_EQ(CWnd::FromHandle(wnd.m_hWnd), &wnd);
    EXPECT_NE(std::find(wnd.seen.begin(), wnd.seen.end(), WM_NCCREATE), wnd.seen.end());
    EXPECT_NE(std::find(wnd.seen.begin(), wnd.seen.end(), WM_CREATE), wnd.seen.end());

    EXPECT_EQ(wnd.SendMessage(RecordingWnd::kPing, 21), 42);
    EXPECT_TRUE(wnd.SetWindowText(L"제목"));
    EXPECT_EQ(wnd.GetWindowText(), L"제목");

    HWND hwnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
    EXPECT_EQ(wnd.seen.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST(Window, AnObjectGoingAwayTakesItsWindowAlong) {
    CWnd::RegisterClass(kTestClass);
    HWND hwnd = nullptr;
    {
        RecordingWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, kTestClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        hwnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST(Window, SubclassedControlsRouteThroughTheObjectAndKeepTheirOwnBehaviour) {
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    {
        RecordingWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(edit));
        ::SetWindowTextW(edit, L"abc");
        EXPECT_NE(std::find(wnd.seen.begin(), wnd.seen.end(), static_cast<UINT>(WM_SETTEXT)), wnd.seen.end());
        EXPECT_EQ(wnd.GetWindowText(), L"abc");  // the edit control's own processing ran
        EXPECT_EQ(wnd.UnsubclassWindow(), edit);
    }
    // After unsubclassing, the control lives on by itself.
    EXPECT_TRUE(::IsWindow(edit));
    ::SetWindowTextW(edit, L"xyz");
    ::DestroyWindow(edit);
}

class CountingFrame : public CFrameWnd {
public:
    explicit CountingFrame(bool* deleted) : m_deleted(deleted) {}
    ~CountingFrame() override { *m_deleted = true; }

private:
    bool* m_deleted;
};

TEST(Frame, AHeapFrameDeletesItselfAndTheMainFrameEndsTheLoop) {
    CWinApp app(L"Tovrix");
    bool deleted = false;
    auto* frame = new CountingFrame(&deleted);
    ASSERT_TRUE(frame->Create(L"Tovrix"));
    app.m_pMainWnd = frame;
    frame->PostMessage(WM_CLOSE);
    // Run() returns once the main frame is gone and WM_QUIT arrived.
    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST(Frame, RunWithoutAMainWindowReturnsAtOnce) {
    CWinApp app(L"Tovrix");
    app.SetExitCode(7);
    EXPECT_EQ(app.Run(), 7);
}

// A dialog whose members travel to its controls and back.
class ExchangeDlg : public CDialog {
public:
    ExchangeDlg() : CDialog(IDD_EXCHANGE) {}
    std::wstring text = L"한글";
    int number = 42;
    bool checked = true;
    int radio = 2;
    int combo = 1;
    std::function<void(ExchangeDlg&)> onInit;
    COLORREF staticColour = RGB(0, 0, 0);

protected:
    BOOL OnInitDialog() override {
        for (const wchar_t* item : {L"가", L"나", L"다"})
            ::SendDlgItemMessageW(m_hWnd, IDC_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        CDialog::OnInitDialog();
        if (onInit) onInit(*this);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, IDC_TEXT, text);
        DDX_Text(dx, IDC_NUMBER, number);
        DDV_MinMaxInt(dx, number, 10, 8000);
        DDX_Check(dx, IDC_CHECK, checked);
        DDX_Radio(dx, IDC_RADIO1, radio);
        DDX_CBIndex(dx, IDC_COMBO, combo);
    }
};

TEST(Dialog, MembersGoToTheControlsAndComeBackOnOk) {
    ExchangeDlg dlg;
    dlg.onInit = [](ExchangeDlg& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_TEXT), L"한글");
        EXPECT_EQ(d.GetDlgItemText(IDC_NUMBER), L"42");
        EXPECT_EQ(::IsDlgButtonChecked(d.m_hWnd, IDC_CHECK), BST_CHECKED);
        EXPECT_EQ(::IsDlgButtonChecked(d.m_hWnd, IDC_RADIO3), BST_CHECKED);
        EXPECT_EQ(::SendDlgItemMessageW(d.m_hWnd, IDC_COMBO, CB_GETCURSEL, 0, 0), 1);

        d.SetDlgItemText(IDC_TEXT, L"바뀐 글");
        d.SetDlgItemText(IDC_NUMBER, L" 640 ");
        ::CheckDlgButton(d.m_hWnd, IDC_CHECK, BST_UNCHECKED);
        ::CheckRadioButton(d.m_hWnd, IDC_RADIO1, IDC_RADIO3, IDC_RADIO1);
        ::SendDlgItemMessageW(d.m_hWnd, IDC_COMBO, CB_SETCURSEL, 2, 0);
        d.PostMessage(WM_COMMAND, IDOK);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.text, L"바뀐 글");
    EXPECT_EQ(dlg.number, 640);
    EXPECT_FALSE(dlg.checked);
    EXPECT_EQ(dlg.radio, 0);
    EXPECT_EQ(dlg.combo, 2);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(Dialog, BadNumbersKeepTheDialogOpenWithTheStandardMessages) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"12a", L"정수를 입력하십시오."},
        {L"", L"정수를 입력하십시오."},
        {L"99999999999", L"정수를 입력하십시오."},
        {L"9", L"10에서 8000 사이의 정수를 입력하십시오."},
        {L"8001", L"10에서 8000 사이의 정수를 입력하십시오."},
    };
    for (const Case& c : cases) {
        MessageBoxRecorder boxes;
        ExchangeDlg dlg;
        bool stillOpenAfterOk = false;
        dlg.onInit = [&](ExchangeDlg& d) {
            d.SetDlgItemText(IDC_NUMBER, c.typed);
            d.SetDlgItemText(IDC_TEXT, L"그대로");
            d.SendMessage(WM_COMMAND, IDOK);
            stillOpenAfterOk = ::IsWindow(d.m_hWnd) != FALSE;
            d.PostMessage(WM_COMMAND, IDCANCEL);
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(stillOpenAfterOk) << c.typed;
        ASSERT_EQ(boxes.Texts().size(), 1u) << c.typed;
        EXPECT_EQ(boxes.Texts()[0], c.message);
        // Text that is no integer never reaches the member; a range check looks at the value
        // already taken, as the range rule is about the number, not the text.
        if (std::wstring(c.message) == kMsgEnterInteger) {
            EXPECT_EQ(dlg.number, 42) << c.typed;
        }
    }
}

TEST(Dialog, ModelessDialogsEndByDestroyingTheirWindow) {
    ExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_FALSE(dlg.IsModal());
    EXPECT_TRUE(dlg.IsWindow());
    dlg.EndDialog(IDOK);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(Image, NestedUsersShareOneDeviceContextAndTheBitmapIsFreeAfterwards) {
    CImage image;
    HDC screen = ::GetDC(nullptr);
    image.Attach(::CreateCompatibleBitmap(screen, 20, 10));
    ::ReleaseDC(nullptr, screen);
    ASSERT_FALSE(image.IsNull());
    EXPECT_EQ(image.GetWidth(), 20);
    EXPECT_EQ(image.GetHeight(), 10);

    HDC outer = image.GetDC();
    HDC inner = image.GetDC();
    EXPECT_EQ(outer, inner);
    image.ReleaseDC();
    // Still selected for the outer user: drawing through it reaches the bitmap.
    EXPECT_NE(::SetPixel(outer, 3, 4, RGB(1, 2, 3)), static_cast<COLORREF>(-1));
    image.ReleaseDC();
    EXPECT_EQ(::GetCurrentObject(outer, OBJ_BITMAP), nullptr) << "the DC must be gone";

    HBITMAP bitmap = image.Detach();
    EXPECT_TRUE(image.IsNull());
    HDC check = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(check, bitmap);
    ASSERT_NE(old, nullptr) << "a bitmap still selected elsewhere cannot be selected again";
    EXPECT_EQ(::GetPixel(check, 3, 4), RGB(1, 2, 3));
    ::SelectObject(check, old);
    ::DeleteDC(check);
    EXPECT_TRUE(::DeleteObject(bitmap));
}

}  // namespace

namespace {

// A modeless dialog that its owner deletes from inside one of the dialog's own handlers, as
// the settings dialog does with the monitor chooser when it reports a click.
class SelfEndingDlg : public CDialog {
public:
    SelfEndingDlg() : CDialog(IDD_EXCHANGE) {}
    std::function<void()> onClick;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_LBUTTONDOWN && onClick) {
            onClick();  // deletes this object
            return 0;
        }
        return CDialog::WindowProc(msg, wParam, lParam);
    }
};

TEST(Dialog, AnOwnerMayDeleteAModelessDialogFromInsideItsHandler) {
    auto* dlg = new SelfEndingDlg;
    ASSERT_TRUE(dlg->Create());
    HWND hwnd = dlg->m_hWnd;
    bool deleted = false;
    dlg->onClick = [&] {
        dlg->EndDialog(IDOK);
        delete dlg;
        deleted = true;
    };
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, 0, 0);
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(::IsWindow(hwnd));
}

}  // namespace
