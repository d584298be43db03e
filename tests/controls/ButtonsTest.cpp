// The skin, hover and colour buttons on a real dialog, driven by the mouse and the keyboard
// through the system's input queue; what they show is read back from the screen.
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <memory>
#include <vector>
#include "CColorButton.h"
#include "CDialog.h"
#include "CHoverButton.h"
#include "CxSkinButton.h"
#include "ControlsTestSupport.h"
#include "controls_test_ids.h"
#include "resource.h"

namespace {
using namespace controls_test;

const COLORREF kNormal = RGB(200, 0, 0), kPressed = RGB(0, 160, 0), kHover = RGB(0, 0, 200),
               kHeld = RGB(200, 200, 0);

// A modeless dialog that records which buttons reported a click.
class ButtonsDialog : public CDialog {
public:
    ButtonsDialog() : CDialog(IDD_TEST_BUTTONS) {}
    std::vector<UINT> clicks;
    int Clicks(UINT id) const {
        int n = 0;
        for (UINT c : clicks) n += c == id;
        return n;
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (HIWORD(wParam) == BN_CLICKED) {
            clicks.push_back(LOWORD(wParam));
            if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
};

class Buttons : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dialog.Create(IDD_TEST_BUTTONS));
        m_dialog.SetWindowPos(HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE);
        ::SetForegroundWindow(m_dialog);
        m_dialog.UpdateWindow();
        for (auto [button, id] : {std::pair{&m_radio1, IDC_TEST_RADIO1}, std::pair{&m_radio2, IDC_TEST_RADIO2},
                                  std::pair{&m_radio3, IDC_TEST_RADIO3}, std::pair{&m_check, IDC_TEST_CHECK},
                                  std::pair{&m_push, IDC_TEST_PUSH}}) {
            ASSERT_TRUE(button->SubclassDlgItem(id, m_dialog));
            ASSERT_TRUE(button->LoadSkin(IDB_TEST_SKIN));
        }
        ASSERT_TRUE(m_record.SubclassDlgItem(IDC_TEST_RECORD, m_dialog));
        ASSERT_TRUE(m_record.LoadSkin(IDB_RECORD_BUTTON));
        m_record.SetTextFormat(DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
        ASSERT_TRUE(m_colour.SubclassDlgItem(IDC_TEST_COLOR, m_dialog));
        Park();
        PumpBriefly();
    }
    void TearDown() override {
        Park();
        m_dialog.DestroyWindow();
        PumpBriefly();
    }
    // The pointer waits on the dialog's empty lower right part.
    void Park() { MoveMouse(ScreenPoint(m_dialog, 560, 300)); }
    static SIZE SizeOf(HWND hwnd) {
        RECT rc{};
        ::GetWindowRect(hwnd, &rc);
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
    }
    // Creates a hover button at a place of the dialog's empty lower part.
    std::unique_ptr<CHoverButton> Hover(int x, int width, int height) {
        // The dialog repaints first, so that the button's snapshot shows the dialog only.
        m_dialog.RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        auto button = std::make_unique<CHoverButton>();
        EXPECT_TRUE(button->Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{x, 200, x + width, 200 + height},
                                   m_dialog, 1300));
        return button;
    }

    ButtonsDialog m_dialog;
    CxSkinButton m_radio1, m_radio2, m_radio3, m_check, m_push, m_record;
    CColorButton m_colour;
};

TEST_F(Buttons, SkinKindsComeFromTheTemplateStyleAndSkinsSizeTheButton) {
    struct Case { CxSkinButton* button; UINT kind; LONG width, height; };
    const Case cases[] = {{&m_radio1, CxSkinButton::RadioButton, 20, 20}, {&m_check, CxSkinButton::CheckBox, 20, 20},
                          {&m_push, CxSkinButton::PushButton, 20, 20},
                          // A template style of BS_OWNERDRAW counts as a check box.
                          {&m_record, CxSkinButton::CheckBox, 60, 72}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.button->GetKind(), c.kind) << c.button->GetDlgCtrlID();
        EXPECT_EQ(c.button->GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);
        SIZE size = SizeOf(*c.button);
        EXPECT_EQ(size.cx, c.width);
        EXPECT_EQ(size.cy, c.height);
        if (c.button != &m_record) {
            EXPECT_EQ(ScreenPixel(*c.button, 2, 2), kNormal);
        }
    }
    // A push button never reports on.
    m_push.SendMessage(BM_SETCHECK, 1);
    EXPECT_EQ(m_push.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(ScreenPixel(m_push, 10, 10), kNormal);
    // A missing skin leaves the button plain.
    EXPECT_FALSE(m_push.LoadSkin(9999));
    m_push.Invalidate();
    EXPECT_EQ(ScreenPixel(m_push, 10, 10), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(Buttons, SkinShowsHoverUntilThePointerLeaves) {
    MoveMouse(CentreOf(m_check));
    ASSERT_TRUE(PumpUntil([&] { return m_check.IsTracking(); }));
    EXPECT_EQ(ScreenPixel(m_check, 10, 10), kHover);
    Park();
    ASSERT_TRUE(PumpUntil([&] { return !m_check.IsTracking(); }));
    EXPECT_EQ(ScreenPixel(m_check, 10, 10), kNormal);
    // Hovering again needs a new move.
    MoveMouse(CentreOf(m_check));
    ASSERT_TRUE(PumpUntil([&] { return m_check.IsTracking(); }));
}

TEST_F(Buttons, RadioClicksSwitchTheGroup) {
    Click(CentreOf(m_radio1));
    ASSERT_TRUE(PumpUntil([&] { return m_dialog.Clicks(IDC_TEST_RADIO1) == 1; }));
    EXPECT_TRUE(m_radio1.IsOn());
    EXPECT_EQ(ScreenPixel(m_radio1, 10, 10), kPressed);

    Click(CentreOf(m_radio1));
    ASSERT_TRUE(PumpUntil([&] { return m_dialog.Clicks(IDC_TEST_RADIO1) == 2; }));
    EXPECT_TRUE(m_radio1.IsOn()) << "clicking a radio button that is on switched it off";

    Click(CentreOf(m_radio2));
    ASSERT_TRUE(PumpUntil([&] { return m_dialog.Clicks(IDC_TEST_RADIO2) == 1 && !m_radio1.IsOn(); }));
    EXPECT_TRUE(m_radio2.IsOn());
    EXPECT_FALSE(m_radio3.IsOn());
    EXPECT_EQ(m_radio1.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(ScreenPixel(m_radio1, 10, 10), kNormal);
    EXPECT_FALSE(m_check.IsOn()) << "the switch-off crossed into the next group";

    // Switching on from code tells the group too.
    m_radio3.SetCheck(BST_CHECKED);
    ASSERT_TRUE(PumpUntil([&] { return !m_radio2.IsOn(); }));
    EXPECT_TRUE(m_radio3.IsOn());
}

TEST_F(Buttons, PressMovedOffAndReleasedReportsNoClick) {
    MoveMouse(CentreOf(m_push));
    MouseButton(true);
    ASSERT_TRUE(PumpUntil([&] { return m_push.IsHeld(); }));
    EXPECT_TRUE(m_push.GetState() & BST_PUSHED);
    EXPECT_EQ(ScreenPixel(m_push, 10, 10), kHeld);

    Park();
    ASSERT_TRUE(PumpUntil([&] { return !(m_push.GetState() & BST_PUSHED); })) << "pushed state off the button";
    EXPECT_EQ(ScreenPixel(m_push, 10, 10), kHeld) << "the held picture stays while held";
    MoveMouse(CentreOf(m_push));
    ASSERT_TRUE(PumpUntil([&] { return (m_push.GetState() & BST_PUSHED) != 0; })) << "pushed again over it";

    Park();
    ASSERT_TRUE(PumpUntil([&] { return !(m_push.GetState() & BST_PUSHED); }));
    MouseButton(false);
    ASSERT_TRUE(PumpUntil([&] { return !m_push.IsHeld(); }));
    PumpBriefly();
    EXPECT_EQ(m_dialog.Clicks(IDC_TEST_PUSH), 0);
    EXPECT_EQ(ScreenPixel(m_push, 10, 10), kNormal);

    // Released over it, the press is a click.
    Click(CentreOf(m_push));
    ASSERT_TRUE(PumpUntil([&] { return m_dialog.Clicks(IDC_TEST_PUSH) == 1; }));
    EXPECT_FALSE(m_push.IsOn());
}

TEST_F(Buttons, DoubleClickOnACheckBoxTogglesTwice) {
    Click(CentreOf(m_check));
    ASSERT_TRUE(PumpUntil([&] { return m_dialog.Clicks(IDC_TEST_CHECK) == 1; }));
    EXPECT_TRUE(m_check.IsOn());
    EXPECT_EQ(ScreenPixel(m_check, 10, 10), kPressed);

    // The second press of a double click arrives as WM_LBUTTONDBLCLK.
    const POINT centre = CentreOf(m_check);
    Click(centre);
    Click(centre);
    ASSERT_TRUE(PumpUntil([&] { return m_dialog.Clicks(IDC_TEST_CHECK) == 3; }));
    EXPECT_TRUE(m_check.IsOn());
    // The same from messages: a double click without a preceding press still presses.
    ::SendMessageW(m_check, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    ::SendMessageW(m_check, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    PumpBriefly();
    EXPECT_FALSE(m_check.IsOn());
    EXPECT_EQ(m_dialog.Clicks(IDC_TEST_CHECK), 4);
}

TEST_F(Buttons, SpaceTogglesACheckBoxOncePerPressAndSwitchesARadioOn) {
    ::SetForegroundWindow(m_dialog);
    m_check.SetFocus();
    PumpBriefly();
    ASSERT_EQ(::GetFocus(), m_check.m_hWnd);
    SendKey(VK_SPACE);
    ASSERT_TRUE(PumpUntil([&] { return m_dialog.Clicks(IDC_TEST_CHECK) == 1; }));
    EXPECT_TRUE(m_check.IsOn());
    // Held down with auto-repeats: still one toggle.
    SendKey(VK_SPACE, 3);
    ASSERT_TRUE(PumpUntil([&] { return m_dialog.Clicks(IDC_TEST_CHECK) == 2; }));
    EXPECT_FALSE(m_check.IsOn());

    m_radio1.SetCheck(BST_CHECKED);
    m_radio3.SetFocus();
    SendKey(VK_SPACE);
    ASSERT_TRUE(PumpUntil([&] { return m_radio3.IsOn() && !m_radio1.IsOn(); }));
}

TEST_F(Buttons, OwnerDrawnRecordButtonTogglesAndShowsTheStopPicture) {
    const COLORREF record = ScreenPixel(m_record, 30, 32);
    EXPECT_EQ(record, RGB(214, 30, 38));
    Click(CentreOf(m_record));
    ASSERT_TRUE(PumpUntil([&] { return m_dialog.Clicks(IDC_TEST_RECORD) == 1; }));
    EXPECT_TRUE(m_record.IsOn());
    Park();
    PumpBriefly();
    EXPECT_EQ(ScreenPixel(m_record, 30, 32), RGB(150, 20, 28)) << "not the stop picture";
    Click(CentreOf(m_record));
    ASSERT_TRUE(PumpUntil([&] { return m_dialog.Clicks(IDC_TEST_RECORD) == 2; }));
    EXPECT_FALSE(m_record.IsOn());
    Park();
    ASSERT_TRUE(PumpUntil([&] { return !m_record.IsTracking(); }));
    EXPECT_EQ(ScreenPixel(m_record, 30, 32), record);
}

TEST_F(Buttons, HoverStripsSizeTheButtonToOneState) {
    struct Case { UINT id; bool strip, disabled; LONG stateWidth, buttonWidth; };
    const Case cases[] = {{IDB_TEST_HOVER3, true, false, 28, 28}, {IDB_TEST_HOVER4, true, true, 28, 28},
                          {IDB_TEST_SINGLE, false, false, 16, 100}};
    for (const Case& c : cases) {
        auto button = Hover(20, 100, 100);
        ASSERT_TRUE(button->LoadStateBitmap(c.id, c.strip, c.disabled));
        EXPECT_EQ(button->GetStateSize().cx, c.stateWidth) << c.id;
        EXPECT_EQ(SizeOf(*button).cx, c.buttonWidth) << c.id;
    }
    auto missing = Hover(20, 50, 50);
    EXPECT_FALSE(missing->LoadStateBitmap(9999, true, true));
}

TEST_F(Buttons, HoverStripStates) {
    const COLORREF face = ScreenPixel(m_dialog, 30, 330);
    struct Case { UINT id; bool withDisabled; bool transparent; bool enabled; bool pressed; COLORREF middle, corner; };
    const Case cases[] = {
        {IDB_TEST_HOVER4, true, false, true, false, kNormal, RGB(255, 0, 255)},
        {IDB_TEST_HOVER4, true, false, true, true, kPressed, RGB(255, 0, 255)},
        {IDB_TEST_HOVER4, true, false, false, false, kHeld, RGB(255, 0, 255)},  // the disabled state
        {IDB_TEST_HOVER4, true, true, false, false, kNormal, face},  // transparent: state 0
        {IDB_TEST_HOVER3, false, false, false, false, kNormal, RGB(255, 0, 255)},  // no fourth state
    };
    for (const Case& c : cases) {
        auto button = Hover(20, 50, 50);
        ASSERT_TRUE(button->LoadStateBitmap(c.id, true, c.withDisabled));
        button->SetHighlightBrushes(RGB(1, 2, 3), RGB(4, 5, 6));
        if (c.transparent) button->SetTransparentColor(RGB(255, 0, 255));
        button->EnableWindow(c.enabled);
        if (c.pressed) button->SetState(TRUE);
        button->Invalidate();
        EXPECT_EQ(ScreenPixel(*button, 14, 14), c.middle) << c.id << " case " << (&c - cases);
        EXPECT_EQ(ScreenPixel(*button, 1, 1), c.corner) << c.id << " case " << (&c - cases);
    }
}

TEST_F(Buttons, SinglePictureIsCentredOverThePressedFill) {
    const COLORREF face = ScreenPixel(m_dialog, 30, 330);
    auto button = Hover(20, 100, 100);
    ASSERT_TRUE(button->LoadStateBitmap(IDB_TEST_SINGLE, false, false));
    button->SetTransparentColor(RGB(255, 0, 255));
    button->SetHighlightBrushes(RGB(200, 200, 100), RGB(200, 100, 200));
    button->Invalidate();
    EXPECT_EQ(ScreenPixel(*button, 42 + 4, 42 + 4), RGB(0, 0, 0)) << "the picture is not at (42, 42)";
    EXPECT_EQ(ScreenPixel(*button, 42 + 7, 42 + 7), RGB(255, 255, 255));
    EXPECT_EQ(ScreenPixel(*button, 42 + 3, 42 + 3), face) << "magenta shows what lies behind";
    EXPECT_EQ(ScreenPixel(*button, 10, 10), face);

    button->SetState(TRUE);
    EXPECT_EQ(ScreenPixel(*button, 42 + 3, 42 + 3), RGB(200, 100, 200)) << "magenta shows the pressed fill";
    EXPECT_EQ(ScreenPixel(*button, 42 + 7, 42 + 7), RGB(255, 255, 255));
    EXPECT_EQ(ScreenPixel(*button, 0, 0), RGB(0, 0, 0)) << "the frame inside the fill";
    EXPECT_EQ(ScreenPixel(*button, 99, 50), RGB(0, 0, 0));
}

TEST_F(Buttons, HoverButtonShowsItsTipAndLeaves) {
    const COLORREF face = ScreenPixel(m_dialog, 30, 330);
    auto button = Hover(20, 60, 40);
    button->SetTipText(L"윈도우 찾기", TRUE);
    button->SetHighlightBrushes(RGB(200, 200, 100), RGB(200, 100, 200));
    ASSERT_NE(button->GetToolTip(), nullptr);
    EXPECT_FALSE(button->IsHovered());

    MoveMouse(CentreOf(*button));
    ASSERT_TRUE(PumpUntil([&] { return button->IsHovered(); }));
    EXPECT_EQ(ScreenPixel(*button, 10, 10), RGB(200, 200, 100));
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(button->GetToolTip()) != FALSE; })) << "no tooltip";
    wchar_t text[64] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = *button;
    tool.uId = 1;
    tool.lpszText = text;
    ::SendMessageW(button->GetToolTip(), TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"윈도우 찾기");

    Park();
    ASSERT_TRUE(PumpUntil([&] { return !button->IsHovered(); }));
    EXPECT_EQ(ScreenPixel(*button, 10, 10), face);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(button->GetToolTip()); })) << "the tip stayed";
}

TEST_F(Buttons, FillColourIgnoresHoverAndPress) {
    auto button = Hover(20, 100, 100);
    ASSERT_TRUE(button->LoadStateBitmap(IDB_TEST_HOVER4, true, true));
    button->SetFillColor(RGB(10, 20, 30), 28, 28);
    EXPECT_EQ(SizeOf(*button).cx, 28);
    EXPECT_EQ(ScreenPixel(*button, 1, 1), RGB(10, 20, 30));
    MoveMouse(CentreOf(*button));
    ASSERT_TRUE(PumpUntil([&] { return button->IsHovered(); }));
    EXPECT_EQ(ScreenPixel(*button, 14, 14), RGB(10, 20, 30));
    button->SetState(TRUE);
    EXPECT_EQ(ScreenPixel(*button, 0, 0), RGB(10, 20, 30));
}

TEST_F(Buttons, CaptionIsDrawnInItsColour) {
    auto button = Hover(20, 65, 20);
    ::SetWindowTextW(*button, L"640X360");
    button->SetTextFont(10, RGB(0, 0, 255), DT_CENTER | DT_SINGLELINE, false);
    button->Invalidate();
    int blue = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 65; x += 2) blue += ScreenPixel(*button, x, y) == RGB(0, 0, 255);
    }
    EXPECT_GT(blue, 10) << "no caption";
    button->SetCaption(L"", true);
    blue = 0;
    for (int x = 0; x < 65; x += 2) blue += ScreenPixel(*button, x, 8) == RGB(0, 0, 255);
    EXPECT_EQ(blue, 0);
}

TEST_F(Buttons, ColourButtonPaintsItsSwatch) {
    RECT rc{};
    m_colour.GetClientRect(&rc);
    const int ex = ::GetSystemMetrics(SM_CXEDGE), ey = ::GetSystemMetrics(SM_CYEDGE);
    const int left = ex + 4, top = ey + 4, right = rc.right - ex - 4 - 1, bottom = rc.bottom - ey - 4 - 1;
    const int mx = rc.right / 2, my = rc.bottom / 2;
    EXPECT_EQ(m_colour.GetColor(), RGB(255, 255, 255));
    EXPECT_EQ(m_colour.GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(ScreenPixel(m_colour, mx, my), RGB(255, 255, 255));
    EXPECT_EQ(ScreenPixel(m_colour, left, my), RGB(0, 0, 0));
    EXPECT_EQ(ScreenPixel(m_colour, right, bottom), RGB(0, 0, 0));
    EXPECT_NE(ScreenPixel(m_colour, left - 1, my), RGB(0, 0, 0)) << "outline too far out";

    m_colour.SetColor(RGB(250, 10, 100));
    EXPECT_EQ(ScreenPixel(m_colour, mx, my), RGB(250, 10, 100));
    const COLORREF raised = ScreenPixel(m_colour, rc.right - 1, rc.bottom - 1);
    m_colour.SetState(TRUE);
    EXPECT_NE(ScreenPixel(m_colour, rc.right - 1, rc.bottom - 1), raised) << "the frame is not sunken";
    EXPECT_EQ(ScreenPixel(m_colour, left, top), RGB(0, 0, 0)) << "the swatch moved";
    EXPECT_EQ(ScreenPixel(m_colour, left + 1, top + 1), RGB(250, 10, 100));
    m_colour.SetState(FALSE);

    m_colour.EnableWindow(FALSE);
    EXPECT_EQ(ScreenPixel(m_colour, mx, my), RGB(255, 30, 120));
    EXPECT_EQ(ScreenPixel(m_colour, left, my), RGB(150, 150, 150));
    EXPECT_EQ(CColorButton::Lightened(RGB(240, 0, 236)), RGB(255, 20, 255));
}

}  // namespace
