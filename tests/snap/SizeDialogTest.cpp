// "영역크기" driven in-process: presets and arrows clicked on the real controls, values typed into
// the real boxes, refusals answered through the message-box recorder.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include "CCustomSizeDlg.h"
#include "TestSupport.h"
#include "resource.h"

using testing_support::MessageBoxRecorder;

namespace {

class TestSizeDlg : public CCustomSizeDlg {
public:
    std::function<void(TestSizeDlg&)> onOpen;

    std::wstring Box(int id) const { return GetDlgItemText(id); }
    void Click(int id) const { ::SendMessageW(GetDlgItem(id), BM_CLICK, 0, 0); }
    // A press and release on the upper or lower half of an up-down control, as the mouse gives.
    void ClickArrow(int spinId, bool up) const {
        HWND spin = GetDlgItem(spinId);
        RECT rc;
        ::GetClientRect(spin, &rc);
        LPARAM at = MAKELPARAM(rc.right / 2, up ? rc.bottom / 4 : rc.bottom * 3 / 4);
        ::SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(spin, WM_LBUTTONUP, 0, at);
    }

protected:
    BOOL OnInitDialog() override {
        BOOL result = CCustomSizeDlg::OnInitDialog();
        if (onOpen) onOpen(*this);
        return result;
    }
};

TEST(SizeDialog, OpensWithTheSizeGivenAndNoPresetChosen) {
    TestSizeDlg dlg;
    dlg.onOpen = [](TestSizeDlg& d) {
        EXPECT_EQ(d.GetWindowText(), L"영역크기");
        EXPECT_EQ(d.Box(IDC_SIZE_WIDTH), L"640");
        EXPECT_EQ(d.Box(IDC_SIZE_HEIGHT), L"360");
        for (int id = IDC_SIZE_PRESET_FIRST; id <= IDC_SIZE_PRESET_LAST; ++id)
            EXPECT_EQ(::IsDlgButtonChecked(d.m_hWnd, id), BST_UNCHECKED) << id;
        d.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModalWithSize(640, 360), IDCANCEL);
}

TEST(SizeDialog, EachPresetFillsBothBoxesAndIsTheResult) {
    struct Case { int id; const wchar_t* caption; unsigned width, height; };
    const Case cases[] = {
        {1089, L"640 X 360", 640, 360},   {1090, L"800 X 450", 800, 450},
        {1091, L"1024 X 567", 1024, 567}, {1092, L"640 X 480", 640, 480},
        {1093, L"800 X 600", 800, 600},   {1094, L"1024 X 768", 1024, 768},
        {1095, L"1280 X 720", 1280, 720},
    };
    for (const Case& c : cases) {
        TestSizeDlg dlg;
        dlg.onOpen = [&](TestSizeDlg& d) {
            EXPECT_EQ(GetWindowTextString(d.GetDlgItem(c.id)), c.caption);
            d.Click(c.id);
            EXPECT_EQ(d.Box(IDC_SIZE_WIDTH), std::to_wstring(c.width));
            EXPECT_EQ(d.Box(IDC_SIZE_HEIGHT), std::to_wstring(c.height));
            d.PostMessage(WM_COMMAND, IDOK);
        };
        MessageBoxRecorder boxes;
        ASSERT_EQ(dlg.DoModalWithSize(300, 200), IDOK) << c.caption;
        EXPECT_EQ(dlg.m_width, c.width) << c.caption;
        EXPECT_EQ(dlg.m_height, c.height) << c.caption;
        EXPECT_TRUE(boxes.Texts().empty());
    }
}

TEST(SizeDialog, ArrowsStepTheBoxesWithinTheLimits) {
    struct Case { unsigned width, height; int spin; bool up; const wchar_t* width2; const wchar_t* height2; };
    const Case cases[] = {
        {640, 360, IDC_SIZE_WIDTH_SPIN, true, L"641", L"360"},
        {640, 360, IDC_SIZE_WIDTH_SPIN, false, L"639", L"360"},
        {640, 360, IDC_SIZE_HEIGHT_SPIN, true, L"640", L"361"},
        {640, 360, IDC_SIZE_HEIGHT_SPIN, false, L"640", L"359"},
        {10000, 45, IDC_SIZE_WIDTH_SPIN, true, L"10000", L"45"},   // no step past the top
        {10000, 45, IDC_SIZE_HEIGHT_SPIN, false, L"10000", L"45"}, // nor below the bottom
    };
    for (const Case& c : cases) {
        TestSizeDlg dlg;
        dlg.onOpen = [&](TestSizeDlg& d) {
            d.ClickArrow(c.spin, c.up);
            EXPECT_EQ(d.Box(IDC_SIZE_WIDTH), c.width2);
            EXPECT_EQ(d.Box(IDC_SIZE_HEIGHT), c.height2);
            d.PostMessage(WM_COMMAND, IDCANCEL);
        };
        EXPECT_EQ(dlg.DoModalWithSize(c.width, c.height), IDCANCEL);
    }
    // What was typed counts: the arrow steps from the box, not from the size given.
    TestSizeDlg dlg;
    dlg.onOpen = [](TestSizeDlg& d) {
        d.SetDlgItemText(IDC_SIZE_HEIGHT, L"500");
        d.ClickArrow(IDC_SIZE_HEIGHT_SPIN, true);
        d.ClickArrow(IDC_SIZE_HEIGHT_SPIN, true);
        EXPECT_EQ(d.Box(IDC_SIZE_HEIGHT), L"502");
        d.PostMessage(WM_COMMAND, IDOK);
    };
    ASSERT_EQ(dlg.DoModalWithSize(640, 360), IDOK);
    EXPECT_EQ(dlg.m_height, 502u);
}

TEST(SizeDialog, TypedValuesAreCheckedOnConfirm) {
    const std::wstring range = L"45에서 10000 사이의 정수를 입력하십시오.";
    const std::wstring positive = L"양의 정수를 입력하십시오.";
    struct Case { const wchar_t* width; const wchar_t* height; std::wstring refusal; };
    const Case cases[] = {
        {L"800", L"30", range},
        {L"44", L"300", range},
        {L"10001", L"300", range},
        {L"abc", L"300", positive},
        {L"-50", L"300", positive},
        {L"", L"300", positive},
        {L"12.5", L"300", positive},
        {L"99999999999", L"300", positive},
        {L"45", L"10000", L""},
        {L" 1024 ", L"567", L""},
    };
    for (const Case& c : cases) {
        TestSizeDlg dlg;
        bool stayedOpen = false;
        dlg.onOpen = [&](TestSizeDlg& d) {
            d.SetDlgItemText(IDC_SIZE_WIDTH, c.width);
            d.SetDlgItemText(IDC_SIZE_HEIGHT, c.height);
            d.SendMessage(WM_COMMAND, IDOK);
            stayedOpen = d.IsWindow() && !c.refusal.empty();
            d.PostMessage(WM_COMMAND, IDCANCEL);
        };
        MessageBoxRecorder boxes;
        const INT_PTR result = dlg.DoModalWithSize(640, 360);
        if (c.refusal.empty()) {
            EXPECT_EQ(result, IDOK) << c.width << " x " << c.height;
            EXPECT_TRUE(boxes.Texts().empty());
        } else {
            EXPECT_EQ(result, IDCANCEL) << c.width << " x " << c.height;
            EXPECT_TRUE(stayedOpen);
            ASSERT_EQ(boxes.Texts().size(), 1u) << c.width << " x " << c.height;
            EXPECT_EQ(boxes.Texts()[0], c.refusal);
        }
    }
}

}  // namespace
