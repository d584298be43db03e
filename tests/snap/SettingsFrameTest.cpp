// "선택영역" in the settings dialog: the frame opens over the stored rectangle, its confirmed
// hole becomes the capture area shown in the label, written to the real settings file on OK,
// and is exactly what a key release captures.
#include <gtest/gtest.h>
#include "CHoverButton.h"
#include "CIni.h"
#include "CaptureSteps.h"
#include "SettingsFile.h"
#include "SettingsTestSupport.h"
#include "SnapTestSupport.h"
#include "TestSupport.h"

using testing_support::MessageBoxRecorder;
using testing_support::TempFolder;

namespace {

class SettingsFrame : public testing::Test {
protected:
    TempFolder folder;
    std::wstring iniPath() { return folder.File(L"Tovrix.ini"); }

    void StoreFixedRect(const RECT& rect) {
        CaptureSettings s;
        ApplyFirstRunDefaults(s, folder.Path());
        s.area = AreaFixedRect;
        s.areaRect = rect;
        CIni ini;
        ini.SetPath(iniPath());
        ASSERT_TRUE(WriteSettingsFile(ini, s));
    }
    std::wstring StoredRegion() {
        CIni ini;
        ini.SetPath(iniPath());
        return ini.GetString(kSettingsSection, L"Region", L"");
    }
};

// What to do to the frame once the settings dialog has opened it.
std::function<void(CSnapDlg&)> g_frameStep;

void CALLBACK LookForFrame(HWND window, UINT, UINT_PTR id, DWORD) {
    CSnapDlg* frame = snap_test::FindWindowObject<CSnapDlg>();
    if (!frame) return;  // not open yet: the next tick
    ::KillTimer(window, id);
    auto step = std::move(g_frameStep);
    step(*frame);
}

// Runs `step` on the frame from within its own loop, once the settings dialog has opened it.
void WhenFrameShown(HWND dialog, std::function<void(CSnapDlg&)> step) {
    g_frameStep = std::move(step);
    ::SetTimer(dialog, 0x5A, USER_TIMER_MINIMUM, LookForFrame);
}

TEST_F(SettingsFrame, TheConfirmedHoleIsStoredShownAndCaptured) {
    StoreFixedRect(RECT{100, 100, 500, 400});
    TestSettingsDlg dlg(iniPath());
    bool dialogHidden = false;
    RECT openedAt{};
    dlg.onOpen = [&](TestSettingsDlg& d) {
        WhenFrameShown(d.m_hWnd, [&](CSnapDlg& frame) {
            dialogHidden = !d.IsWindowVisible();
            openedAt = snap_test::WindowRect(frame.m_hWnd);
            // Moved and sized as the system's move and size loop would.
            ::SetWindowPos(frame.m_hWnd, nullptr, 196, 126, 808, 628, SWP_NOZORDER);
            frame.GetOkButton()->SendMessage(BM_CLICK);
        });
        d.Choose(IDC_AREA_COMBO, 1);
        EXPECT_TRUE(d.IsWindowVisible());
        EXPECT_EQ(d.GetDlgItemText(IDC_AREA_LABEL), L"캡쳐영역(800X600)");
        d.PostMessage(WM_COMMAND, IDOK);
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dialogHidden);
    EXPECT_EQ(openedAt.left, 96);
    EXPECT_EQ(openedAt.top, 76);
    EXPECT_EQ(StoredRegion(), L"2:0:200:150:1000:750");
    // A key release captures exactly that rectangle.
    RECT captured = CaptureRectForArea(dlg.GetLiveSettings(), nullptr);
    EXPECT_EQ(captured.left, 200);
    EXPECT_EQ(captured.top, 150);
    EXPECT_EQ(captured.right, 1000);
    EXPECT_EQ(captured.bottom, 750);
}

TEST_F(SettingsFrame, EscAndAHoleOffTheScreenKeepTheStoredRectangle) {
    struct Case { const char* what; bool offScreen; size_t messages; };
    for (const Case& c : {Case{"Esc", false, 0}, Case{"a hole beside the screen", true, 1}}) {
        StoreFixedRect(RECT{100, 100, 500, 400});
        TestSettingsDlg dlg(iniPath());
        MessageBoxRecorder boxes;
        dlg.onOpen = [&](TestSettingsDlg& d) {
            WhenFrameShown(d.m_hWnd, [&](CSnapDlg& frame) {
                if (c.offScreen) {
                    const int right = ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
                    ::SetWindowPos(frame.m_hWnd, nullptr, right + 10, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                    frame.GetOkButton()->SendMessage(BM_CLICK);
                } else {
                    frame.PostMessage(WM_COMMAND, IDCANCEL);
                }
            });
            d.Choose(IDC_AREA_COMBO, 1);
            EXPECT_EQ(d.area, AreaFixedRect) << c.what;
            EXPECT_EQ(d.GetDlgItemText(IDC_AREA_LABEL), L"캡쳐영역(400X300)") << c.what;
            d.PostMessage(WM_COMMAND, IDOK);
        };
        ASSERT_EQ(dlg.DoModal(), IDOK) << c.what;
        EXPECT_EQ(boxes.Texts().size(), c.messages) << c.what;
        if (c.messages) {
            EXPECT_EQ(boxes.Texts()[0], CTovrixDlg::kOffScreenAreaText);
        }
        EXPECT_EQ(StoredRegion(), L"2:0:100:100:500:400") << c.what;
    }
}

}  // namespace
