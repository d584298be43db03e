// Modal dialogs run in the framework's own loop: accelerators and the dialog keys work there,
// owners are disabled and come back, nested loops end innermost first, and WM_QUIT ends every
// loop it passes through. Modeless dialogs get their keys from the application's loop.
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "CDialog.h"
#include "CWinApp.h"
#include "MessageArgs.h"
#include "TestSupport.h"
#include "framework_test_ids.h"

namespace {

constexpr UINT kPressCtrl = WM_APP + 10;
constexpr UINT kReleaseCtrl = WM_APP + 11;
constexpr UINT kRunInner = WM_APP + 12;
constexpr UINT kEndNow = WM_APP + 13;

void SetCtrlDown(bool down) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    keys[VK_LCONTROL] = keys[VK_CONTROL];
    ::SetKeyboardState(keys);
}

// A dialog that records its accelerator commands and how it was ended, and runs test steps
// posted to it.
class LoopDlg : public CDialog {
public:
    explicit LoopDlg(CWnd* owner = nullptr) : CDialog(IDD_CONTROLS, owner) {}
    std::function<void(LoopDlg&)> onInit;
    std::function<void(LoopDlg&)> onRunInner;
    std::vector<UINT> accelerated;
    std::vector<std::wstring> endedBy;
    bool everShown = false;

    HWND Field() const { return GetDlgItem(IDC_FIELD); }

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (onInit) onInit(*this);
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        CommandArgs command = CommandArgsFrom(wParam, lParam);
        if (command.code == 1 && !command.control) {
            accelerated.push_back(command.id);
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
    void OnOK() override {
        endedBy.push_back(L"OK");
        CDialog::OnOK();
    }
    void OnCancel() override {
        endedBy.push_back(L"Cancel");
        CDialog::OnCancel();
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_SHOWWINDOW:
            if (wParam) everShown = true;
            break;
        case kPressCtrl:
            SetCtrlDown(true);
            return 0;
        case kReleaseCtrl:
            SetCtrlDown(false);
            return 0;
        case kRunInner:
            if (onRunInner) onRunInner(*this);
            return 0;
        case kEndNow:
            EndDialog(static_cast<INT_PTR>(wParam));
            return 0;
        }
        return CDialog::WindowProc(msg, wParam, lParam);
    }
};

// A key pressed and released, with the scan code that a keyboard would give it.
// Counts the key presses that reach a control.
class KeyCountingField : public CWnd {
public:
    std::vector<UINT> keysDown;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_KEYDOWN) keysDown.push_back(static_cast<UINT>(wParam));
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

void PostKey(HWND target, UINT vk) {
    LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(target, WM_KEYDOWN, vk, scan | 1);
    ::PostMessageW(target, WM_KEYUP, vk, scan | static_cast<LPARAM>(0xC0000001u));
}

TEST(ModalLoop, AcceleratorsAndTypingReachAModalDialog) {
    LoopDlg dlg;
    KeyCountingField fieldKeys;
    ASSERT_TRUE(dlg.LoadAccelTable(IDR_TEST_ACCEL));
    dlg.onInit = [&](LoopDlg& d) {
        HWND field = d.Field();
        fieldKeys.SubclassWindow(field);
        PostKey(field, VK_F5);       // Refresh
        PostKey(field, 'Z');         // no Ctrl: an ordinary key for the field
        ::PostMessageW(d.m_hWnd, kPressCtrl, 0, 0);
        PostKey(field, 'Z');         // Ctrl+Z: Undo
        ::PostMessageW(d.m_hWnd, kReleaseCtrl, 0, 0);
        ::PostMessageW(d.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    SetCtrlDown(false);
    EXPECT_EQ(dlg.accelerated, std::vector<UINT>({ID_ACCEL_REFRESH, ID_ACCEL_UNDO}));
    EXPECT_EQ(dlg.endedBy, std::vector<std::wstring>({L"Cancel"}));
    EXPECT_EQ(fieldKeys.keysDown, std::vector<UINT>({'Z'})) << "only the key that is no accelerator reaches the field";
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(ModalLoop, DialogKeysWorkInAModalDialog) {
    struct Case {
        UINT key;
        INT_PTR result;
    };
    for (const Case& c : {Case{VK_RETURN, IDOK}, Case{VK_ESCAPE, IDCANCEL}}) {
        LoopDlg dlg;
        dlg.onInit = [&](LoopDlg& d) {
            d.SetDlgItemText(IDC_FIELD, L"1");  // the field takes no part in data exchange
            PostKey(d.Field(), c.key);
            // Should the key be lost, the dialog still ends, with a result the test rejects.
            ::PostMessageW(d.m_hWnd, kEndNow, 99, 0);
        };
        EXPECT_EQ(dlg.DoModal(), c.result) << c.key;
    }
}

const wchar_t kOwnerClass[] = L"TovrixModalOwner";

class OwnerWnd : public CWnd {};

TEST(ModalLoop, NestedLoopsEndInnermostFirstAndGiveTheOwnersBack) {
    CWnd::RegisterClass(kOwnerClass);
    OwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, kOwnerClass, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                               nullptr, nullptr));
    std::vector<std::wstring> order;
    bool ownerDisabledDuringOuter = false, outerDisabledDuringInner = false;
    bool innerOpenAfterOuterEnded = false, outerEnabledAfterInner = false;

    LoopDlg outer(&owner);
    outer.onInit = [&](LoopDlg& d) {
        ownerDisabledDuringOuter = !::IsWindowEnabled(owner.m_hWnd);
        ::PostMessageW(d.m_hWnd, kRunInner, 0, 0);
    };
    outer.onRunInner = [&](LoopDlg& o) {
        LoopDlg inner(&o);
        inner.onInit = [&](LoopDlg& i) {
            outerDisabledDuringInner = !::IsWindowEnabled(o.m_hWnd);
            // The outer dialog is asked to end while the inner one still runs.
            ::PostMessageW(o.m_hWnd, kEndNow, 11, 0);
            ::PostMessageW(i.m_hWnd, kEndNow, 22, 0);
        };
        INT_PTR innerResult = inner.DoModal();
        order.push_back(L"inner " + std::to_wstring(innerResult));
        outerEnabledAfterInner = ::IsWindowEnabled(o.m_hWnd) != FALSE;
        innerOpenAfterOuterEnded = innerResult == 22;
    };
    INT_PTR outerResult = outer.DoModal();
    order.push_back(L"outer " + std::to_wstring(outerResult));

    EXPECT_EQ(order, std::vector<std::wstring>({L"inner 22", L"outer 11"}));
    EXPECT_TRUE(ownerDisabledDuringOuter);
    EXPECT_TRUE(outerDisabledDuringInner);
    EXPECT_TRUE(innerOpenAfterOuterEnded);
    EXPECT_TRUE(outerEnabledAfterInner);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
}

TEST(ModalLoop, QuitEndsEveryLoopAndIsPostedAgain) {
    for (bool nested : {false, true}) {
        SCOPED_TRACE(nested ? "nested" : "single");
        CWnd::RegisterClass(kOwnerClass);
        OwnerWnd owner;
        ASSERT_TRUE(owner.CreateEx(0, kOwnerClass, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                   nullptr, nullptr));
        INT_PTR innerResult = 0;
        LoopDlg outer(&owner);
        outer.onInit = [&](LoopDlg& d) {
            if (nested) {
                ::PostMessageW(d.m_hWnd, kRunInner, 0, 0);
            } else {
                ::PostQuitMessage(7);
            }
        };
        outer.onRunInner = [&](LoopDlg& o) {
            LoopDlg inner(&o);
            inner.onInit = [](LoopDlg&) { ::PostQuitMessage(9); };
            innerResult = inner.DoModal();
        };
        EXPECT_EQ(outer.DoModal(), IDCANCEL);
        if (nested) {
            EXPECT_EQ(innerResult, IDCANCEL);
        }
        EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
        MSG msg{};
        ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            << "the application's loop must still see WM_QUIT";
        EXPECT_EQ(msg.wParam, static_cast<WPARAM>(nested ? 9 : 7));
    }
}

TEST(ModalLoop, ADialogEndedWhileInitialisingIsNeverShown) {
    LoopDlg dlg;
    dlg.onInit = [](LoopDlg& d) { d.EndDialog(5); };
    EXPECT_EQ(dlg.DoModal(), 5);
    EXPECT_FALSE(dlg.everShown);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

// Runs the application's own loop for as long as messages are waiting.
void RunAppLoop(CWinApp& app) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT || !app.PumpMessage()) break;
    }
}

TEST(ModelessKeys, TabEnterAndEscapeReachAModelessDialogThroughTheApplicationLoop) {
    CWinApp app(L"Tovrix");
    struct Case {
        UINT key;
        bool stillOpen;
        int focusAfter;  // 0: not checked
        const wchar_t* endedBy;
    };
    const Case cases[] = {
        {VK_TAB, true, IDC_SECOND, nullptr},
        {VK_RETURN, false, 0, L"OK"},
        {VK_ESCAPE, false, 0, L"Cancel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        LoopDlg dlg;
        ASSERT_TRUE(dlg.Create());
        dlg.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(dlg.m_hWnd);
        ::SetFocus(dlg.Field());
        ASSERT_EQ(::GetFocus(), dlg.Field());
        PostKey(dlg.Field(), c.key);
        RunAppLoop(app);
        EXPECT_EQ(dlg.IsWindow() != FALSE, c.stillOpen);
        if (c.focusAfter) {
            EXPECT_EQ(::GetFocus(), dlg.GetDlgItem(c.focusAfter));
        }
        if (c.endedBy) {
            EXPECT_EQ(dlg.endedBy, std::vector<std::wstring>({c.endedBy}));
        } else {
            EXPECT_TRUE(dlg.endedBy.empty());
        }
        dlg.DestroyWindow();
    }
}

TEST(ModelessKeys, AnAcceleratorTableAttachedToAModelessWindowWorksFromTheApplicationLoop) {
    CWinApp app(L"Tovrix");
    LoopDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.ShowWindow(SW_SHOW);
    HACCEL table = ::LoadAcceleratorsW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TEST_ACCEL));
    ASSERT_NE(table, nullptr);
    dlg.SetAcceleratorTable(table);
    PostKey(dlg.Field(), VK_F5);
    RunAppLoop(app);
    EXPECT_EQ(dlg.accelerated, std::vector<UINT>({ID_ACCEL_REFRESH}));
    dlg.SetAcceleratorTable(nullptr);
    PostKey(dlg.Field(), VK_F5);
    RunAppLoop(app);
    EXPECT_EQ(dlg.accelerated.size(), 1u) << "a detached table translates nothing";
    dlg.DestroyWindow();
}

}  // namespace
