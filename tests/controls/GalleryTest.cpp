// A gallery for the eye: every control in every state written as a PNG file into "gallery"
// beside the test program (build/<arch>/tests/controls/gallery). The test checks that each
// picture was written and reads back at the size shown.
#include <windows.h>
#include <gtest/gtest.h>
#include <objidl.h>
#include <gdiplus.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "CColorButton.h"
#include "CDialog.h"
#include "CHoverButton.h"
#include "CNinePatch.h"
#include "CProgressWnd.h"
#include "CxSkinButton.h"
#include "CAppProfile.h"
#include "ControlsTestSupport.h"
#include "ModulePath.h"
#include "TestSupport.h"
#include "controls_test_ids.h"
#include "resource.h"

namespace {
using namespace controls_test;

class Gallery : public testing::Test {
protected:
    void SetUp() override {
        m_folder = GetModuleFolder() + L"\\gallery";
        ::CreateDirectoryW(m_folder.c_str(), nullptr);
    }
    // Writes what the screen shows around a window (a small margin included).
    void Shoot(HWND hwnd, const std::wstring& name, int margin = 3) {
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
        PumpBriefly();
        RECT rc{};
        ::GetWindowRect(hwnd, &rc);
        ::InflateRect(&rc, margin, margin);
        Expect(name, SaveScreenPicture(rc, File(name)), rc.right - rc.left, rc.bottom - rc.top);
    }
    void Expect(const std::wstring& name, bool saved, int width, int height) {
        EXPECT_TRUE(saved) << "could not write the picture";
        Gdiplus::Bitmap back(File(name).c_str(), FALSE);
        EXPECT_EQ(static_cast<int>(back.GetWidth()), width);
        EXPECT_EQ(static_cast<int>(back.GetHeight()), height);
        ++m_written;
    }
    std::wstring File(const std::wstring& name) const { return m_folder + L"\\" + name + L".png"; }

    std::wstring m_folder;
    int m_written = 0;
};

TEST_F(Gallery, NinePatchFrames) {
    struct Frame { UINT id; const wchar_t* name; int width, height; };
    for (Frame f : {Frame{IDB_FIXED_FRAME, L"ninepatch_fixed_inner", 50, 70},
                    Frame{IDB_FIXED_FRAME, L"ninepatch_fixed_53x73", 53, 73},
                    Frame{IDB_FIXED_FRAME, L"ninepatch_fixed_320x200", 320, 200},
                    Frame{IDB_RECORD_FRAME, L"ninepatch_record_inner", 65, 65},
                    Frame{IDB_RECORD_FRAME, L"ninepatch_record_320x200", 320, 200}}) {
        CNinePatch skin;
        ASSERT_TRUE(skin.LoadPng(f.id));
        Surface surface(f.width + 8, f.height + 8, RGB(96, 160, 96));
        ASSERT_TRUE(skin.Draw(surface.dc(), 4, 4, f.width, f.height));
        Expect(f.name, SaveSurfacePicture(surface, File(f.name)), f.width + 8, f.height + 8);
    }
    EXPECT_EQ(m_written, 5);
}

class ButtonsDialog : public CDialog {
public:
    ButtonsDialog() : CDialog(IDD_TEST_BUTTONS) {}
};

TEST_F(Gallery, ButtonsInEveryState) {
    ButtonsDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_BUTTONS));
    dialog.SetWindowPos(HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE);
    ::SetForegroundWindow(dialog);
    dialog.UpdateWindow();
    const POINT park = ScreenPoint(dialog, 560, 300);
    MoveMouse(park);

    CxSkinButton radio, record;
    ASSERT_TRUE(radio.SubclassDlgItem(IDC_TEST_RADIO1, dialog));
    ASSERT_TRUE(radio.LoadSkin(IDB_TEST_SKIN));
    ASSERT_TRUE(record.SubclassDlgItem(IDC_TEST_RECORD, dialog));
    ASSERT_TRUE(record.LoadSkin(IDB_RECORD_BUTTON));
    record.SetTextFormat(DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
    CColorButton colour;
    ASSERT_TRUE(colour.SubclassDlgItem(IDC_TEST_COLOR, dialog));
    PumpBriefly();

    // Each skin button: normal, hover, held, on, disabled.
    for (auto [button, name] : {std::pair<CxSkinButton*, std::wstring>{&radio, L"skin_radio"},
                                std::pair<CxSkinButton*, std::wstring>{&record, L"skin_record"}}) {
        Shoot(*button, name + L"_normal");
        MoveMouse(CentreOf(*button));
        PumpUntil([&] { return button->IsTracking(); });
        Shoot(*button, name + L"_hover");
        MouseButton(true);
        PumpUntil([&] { return button->IsHeld(); });
        Shoot(*button, name + L"_held");
        MoveMouse(park);
        PumpUntil([&] { return !(button->GetState() & BST_PUSHED); });
        MouseButton(false);
        PumpUntil([&] { return !button->IsHeld() && !button->IsTracking(); });
        button->SetCheck(BST_CHECKED);
        if (button == &record) button->SetWindowText(L"Stop(F5)");
        Shoot(*button, name + L"_on");
        button->SetCheck(BST_UNCHECKED);
        if (button == &record) button->SetWindowText(L"Record(F5)");
        button->EnableWindow(FALSE);
        Shoot(*button, name + L"_disabled");
        button->EnableWindow(TRUE);
    }

    // Hover buttons: a four-state strip, a single magenta-keyed picture over the highlight
    // fills, a plain colour square and a caption.
    struct HoverLook { std::wstring name; std::function<void(CHoverButton&)> setUp; int width, height; };
    const HoverLook looks[] = {
        {L"hover_strip", [](CHoverButton& b) { b.LoadStateBitmap(IDB_TEST_HOVER4, true, true); }, 60, 60},
        {L"hover_single", [](CHoverButton& b) {
             b.LoadStateBitmap(IDB_TEST_SINGLE, false, false);
             b.SetTransparentColor(RGB(255, 0, 255));
             b.SetHighlightBrushes(RGB(200, 200, 100), RGB(200, 100, 200));
             b.SetTipText(L"윈도우 찾기", TRUE);
         }, 40, 24},
        {L"hover_fill", [](CHoverButton& b) { b.SetFillColor(RGB(218, 14, 14), 28, 28); }, 40, 40},
        {L"hover_caption", [](CHoverButton& b) {
             ::SetWindowTextW(b, L"640X360");
             b.SetTextFont(10, RGB(255, 255, 255), DT_CENTER | DT_SINGLELINE | DT_VCENTER, false);
             b.SetHighlightBrushes(RGB(200, 200, 100), RGB(200, 100, 200));
         }, 65, 20},
    };
    for (const HoverLook& look : looks) {
        dialog.RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        CHoverButton button;
        ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{20, 200, 20 + look.width, 200 + look.height},
                                  dialog, 1300));
        look.setUp(button);
        Shoot(button, look.name + L"_normal");
        MoveMouse(CentreOf(button));
        PumpUntil([&] { return button.IsHovered(); });
        Shoot(button, look.name + L"_hover");
        button.SetState(TRUE);
        Shoot(button, look.name + L"_pressed");
        button.SetState(FALSE);
        MoveMouse(park);
        PumpUntil([&] { return !button.IsHovered(); });
        button.EnableWindow(FALSE);
        Shoot(button, look.name + L"_disabled");
    }

    // The colour button: white as made, a colour, pressed, disabled.
    Shoot(colour, L"colour_default");
    colour.SetColor(RGB(250, 10, 100));
    Shoot(colour, L"colour_set");
    colour.SetState(TRUE);
    Shoot(colour, L"colour_pressed");
    colour.SetState(FALSE);
    colour.EnableWindow(FALSE);
    Shoot(colour, L"colour_disabled");
    EXPECT_EQ(m_written, 10 + 16 + 4);
}

TEST_F(Gallery, ProgressWindow) {
    testing_support::TempFolder folder;
    CAppProfile::SetPath(folder.File(L"gallery.ini"));
    CProgressWnd progress(nullptr, L"Progress", TRUE);
    progress.SetRange(0, 7, 1);
    progress.SetText(L"Save......");
    for (int i = 0; i < 3; ++i) progress.StepIt();
    Shoot(progress, L"progress_3_of_7", 0);
    EXPECT_EQ(m_written, 1);
}

}  // namespace
