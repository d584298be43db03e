// Messages a parent receives about its controls reach the controls' own objects: an owner-drawn
// button draws itself, a label answers for its colours, notifications and clicks come back to
// the control that sent them; and the typed message arguments.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "CButton.h"
#include "CDialog.h"
#include "DeviceContext.h"
#include "GdiObject.h"
#include "MessageArgs.h"
#include "TestSupport.h"
#include "framework_test_ids.h"
#include <commctrl.h>

using testing_support::PumpMessages;

namespace {

const COLORREF kButtonFace = RGB(10, 200, 30);

// Paints itself in one colour and remembers what its parent passed on.
class SelfDrawingButton : public CButton {
public:
    std::vector<UINT> reflected;
    DRAWITEMSTRUCT lastDraw{};
    UINT lastCommandCode = 0;

protected:
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        reflected.push_back(msg);
        switch (msg) {
        case WM_DRAWITEM: {
            lastDraw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            CBrush face(kButtonFace);
            ::FillRect(lastDraw.hDC, &lastDraw.rcItem, face);
            *result = TRUE;
            return TRUE;
        }
        case WM_COMMAND:
            lastCommandCode = CommandArgsFrom(wParam, lParam).code;
            *result = 0;
            return TRUE;
        }
        return CButton::OnChildNotify(msg, wParam, lParam, result);
    }
};

// Answers the colour messages and notifications its parent gets about it.
class AnsweringControl : public CWnd {
public:
    HBRUSH brush = reinterpret_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    UINT lastNotifyCode = 0;

protected:
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLOREDIT) {
            *result = reinterpret_cast<LRESULT>(brush);
            return TRUE;
        }
        if (msg == WM_NOTIFY) {
            lastNotifyCode = reinterpret_cast<const NMHDR*>(lParam)->code;
            *result = 1234;
            return TRUE;
        }
        return CWnd::OnChildNotify(msg, wParam, lParam, result);
    }
};

// The parent either as a dialog (answers travel through the dialog manager) or as a plain window.
class ControlsDlg : public CDialog {
public:
    ControlsDlg() : CDialog(IDD_CONTROLS) {}
};

const wchar_t kParentClass[] = L"TovrixReflectionParent";

class PlainParent : public CWnd {};

struct Parents {
    ControlsDlg dialog;
    PlainParent plain;
};

// Builds the same controls under either parent: from the template (dialog) or at run time.
bool MakeControls(bool dialog, Parents& parents, SelfDrawingButton& button, AnsweringControl& label,
                  AnsweringControl& field, HWND* parent) {
    if (dialog) {
        if (!parents.dialog.Create()) return false;
        *parent = parents.dialog.m_hWnd;
        parents.dialog.ShowWindow(SW_SHOWNA);
        return button.SubclassDlgItem(IDC_OWNERDRAWN, *parent) && label.SubclassDlgItem(IDC_LABEL, *parent) &&
               field.SubclassDlgItem(IDC_FIELD, *parent);
    }
    CWnd::RegisterClass(kParentClass);
    if (!parents.plain.CreateEx(0, kParentClass, L"", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr))
        return false;
    *parent = parents.plain.m_hWnd;
    return button.Create(L"그림", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, {10, 10, 110, 50}, *parent, IDC_OWNERDRAWN) &&
           label.CreateControl(L"STATIC", L"이름", WS_CHILD | WS_VISIBLE, {10, 60, 110, 80}, *parent, IDC_LABEL) &&
           field.CreateControl(L"EDIT", L"", WS_CHILD | WS_VISIBLE, {10, 90, 110, 110}, *parent, IDC_FIELD);
}

TEST(Reflection, ControlsAnswerForThemselvesUnderADialogAndUnderAPlainWindow) {
    for (bool dialog : {true, false}) {
        SCOPED_TRACE(dialog ? "dialog parent" : "plain parent");
        Parents parents;
        SelfDrawingButton button;
        AnsweringControl label, field;
        HWND parent = nullptr;
        ASSERT_TRUE(MakeControls(dialog, parents, button, label, field, &parent));

        // The owner-drawn button is painted by its own object, through the parent.
        button.RedrawWindow();
        PumpMessages();
        ASSERT_NE(std::find(button.reflected.begin(), button.reflected.end(), static_cast<UINT>(WM_DRAWITEM)),
                  button.reflected.end());
        EXPECT_EQ(button.lastDraw.hwndItem, button.m_hWnd);
        EXPECT_EQ(button.lastDraw.CtlID, static_cast<UINT>(IDC_OWNERDRAWN));
        {
            CClientDC dc(button.m_hWnd);
            EXPECT_EQ(::GetPixel(dc, 3, 3), kButtonFace);
        }

        // A click comes back to the button as its own notification.
        button.Click();
        EXPECT_EQ(button.lastCommandCode, static_cast<UINT>(BN_CLICKED));

        // The label's brush is the parent's answer, as the control itself would ask for it.
        CBrush labelBrush(RGB(1, 2, 3));
        label.brush = labelBrush;
        CClientDC dc(label.m_hWnd);
        EXPECT_EQ(::SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                                 reinterpret_cast<LPARAM>(label.m_hWnd)),
                  reinterpret_cast<LRESULT>(labelBrush.get()));

        // A notification's answer travels back through the parent.
        NMHDR header{field.m_hWnd, IDC_FIELD, NM_CLICK};
        EXPECT_EQ(::SendMessageW(parent, WM_NOTIFY, IDC_FIELD, reinterpret_cast<LPARAM>(&header)), 1234);
        EXPECT_EQ(field.lastNotifyCode, static_cast<UINT>(NM_CLICK));
        EXPECT_EQ(label.lastNotifyCode, 0u) << "only the sender hears its notification";

        // Messages about no control (a menu command) are not reflected anywhere.
        button.reflected.clear();
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(IDC_OWNERDRAWN, 0), 0);
        EXPECT_TRUE(button.reflected.empty());
        if (dialog) parents.dialog.DestroyWindow();
    }
}

// A dialog whose own handler for a control's message wins over the control's object.
class DrawingParentDlg : public CDialog {
public:
    DrawingParentDlg() : CDialog(IDD_CONTROLS) {}
    int drawnHere = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_DRAWITEM) {
            ++drawnHere;
            return TRUE;
        }
        return CDialog::WindowProc(msg, wParam, lParam);
    }
};

TEST(Reflection, AParentThatHandlesTheMessageItselfKeepsIt) {
    DrawingParentDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.ShowWindow(SW_SHOWNA);
    SelfDrawingButton button;
    ASSERT_TRUE(button.SubclassDlgItem(IDC_OWNERDRAWN, dlg.m_hWnd));
    button.RedrawWindow();
    PumpMessages();
    EXPECT_GT(dlg.drawnHere, 0);
    EXPECT_EQ(std::find(button.reflected.begin(), button.reflected.end(), static_cast<UINT>(WM_DRAWITEM)),
              button.reflected.end());
    dlg.DestroyWindow();
}

TEST(MessageArgs, MousePointsAreSignedAndSurviveTheRoundTrip) {
    const POINT points[] = {{0, 0}, {5, 7}, {-1, -1}, {-1280, 300}, {2559, -799}, {32767, -32768}};
    for (POINT p : points) {
        POINT back = MousePoint(MouseLParam(p));
        EXPECT_EQ(back.x, p.x);
        EXPECT_EQ(back.y, p.y);
    }
    EXPECT_EQ(WheelDelta(MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-WHEEL_DELTA))), -WHEEL_DELTA);
    EXPECT_EQ(MouseKeys(MAKEWPARAM(MK_CONTROL | MK_LBUTTON, 120)), static_cast<UINT>(MK_CONTROL | MK_LBUTTON));
}

TEST(MessageArgs, KeyFlagsOfDownRepeatAndUpStrokes) {
    struct Case {
        LPARAM lParam;
        KeyFlags expected;
    };
    const Case cases[] = {
        // a first press of 'A' (scan code 0x1E)
        {0x001E0001, {1, 0x1E, false, false, false, false}},
        // Right arrow held: extended, auto-repeated three times
        {0x414D0003, {3, 0x4D, true, false, true, false}},
        // Alt+F4 released: the context bit and the transition
        {static_cast<LPARAM>(static_cast<LONG>(0xE03E0001u)), {1, 0x3E, false, true, true, true}},
    };
    for (const Case& c : cases) {
        KeyFlags k = KeyFlagsFromLParam(c.lParam);
        EXPECT_EQ(k.repeatCount, c.expected.repeatCount);
        EXPECT_EQ(k.scanCode, c.expected.scanCode);
        EXPECT_EQ(k.extended, c.expected.extended);
        EXPECT_EQ(k.altDown, c.expected.altDown);
        EXPECT_EQ(k.wasDown, c.expected.wasDown);
        EXPECT_EQ(k.released, c.expected.released);
    }
}

TEST(MessageArgs, CommandsAndScrollRequestsNameTheirControl) {
    HWND fake = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1234));
    CommandArgs command = CommandArgsFrom(MAKEWPARAM(1001, EN_CHANGE), reinterpret_cast<LPARAM>(fake));
    EXPECT_EQ(command.id, 1001u);
    EXPECT_EQ(command.code, static_cast<UINT>(EN_CHANGE));
    EXPECT_EQ(command.control, fake);
    ScrollArgs scroll = ScrollArgsFrom(MAKEWPARAM(SB_THUMBTRACK, 40000), 0);
    EXPECT_EQ(scroll.request, static_cast<UINT>(SB_THUMBTRACK));
    EXPECT_EQ(scroll.position, 40000);
    EXPECT_EQ(scroll.control, nullptr);
    SizeArgs size = SizeArgsFrom(SIZE_MAXIMIZED, MAKELPARAM(640, 480));
    EXPECT_EQ(size.type, static_cast<UINT>(SIZE_MAXIMIZED));
    EXPECT_EQ(size.width, 640);
    EXPECT_EQ(size.height, 480);
}

}  // namespace
