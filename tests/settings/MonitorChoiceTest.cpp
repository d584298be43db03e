// The monitor entry of the settings dialog and the chooser, on the stand-in multi-monitor
// desktops of scripts/test (TOVRIX_MONITORS).
#include <gtest/gtest.h>
#include "CMonitorSelectDlg.h"
#include "WindowMessages.h"
#include "SettingsFile.h"
#include "SettingsTestSupport.h"
#include "TestSupport.h"

using testing_support::TempFolder;

namespace {

class MonitorChoice : public testing::Test {
protected:
    void SetUp() override {
        if (::GetSystemMetrics(SM_CMONITORS) < 2) GTEST_SKIP() << "needs two monitors (TOVRIX_MONITORS)";
    }
    TempFolder folder;
};

// A click at a screen point, sent to the chooser as the mouse would.
void ClickChooserAt(CMonitorSelectDlg& chooser, POINT screen) {
    POINT client = screen;
    ::ScreenToClient(chooser.m_hWnd, &client);
    chooser.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
}

TEST_F(MonitorChoice, TheChooserCoversEveryMonitorAndEscapeDoesNotCloseIt) {
    CMonitors monitors;
    CMonitorSelectDlg chooser(CMonitorSelectDlg::kModeChooseMonitor, &monitors, nullptr);
    ASSERT_TRUE(chooser.CreateAndShow());
    RECT all = monitors.GetUnionRect(), window;
    chooser.GetWindowRect(&window);
    EXPECT_EQ(window.left, all.left - 1);
    EXPECT_EQ(window.top, all.top - 1);
    EXPECT_EQ(window.right, all.right);
    EXPECT_EQ(window.bottom, all.bottom);
    EXPECT_TRUE(chooser.GetExStyle() & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(chooser.m_hWnd, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, CMonitorSelectDlg::kVeilAlpha);

    for (int i = 0; i < monitors.GetCount(); ++i) {
        HCURSOR cursor = chooser.GetMonitorCursor(i);
        ASSERT_NE(cursor, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(cursor), &info));
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(info.xHotspot, 0u);
        BITMAP mask{};
        ::GetObjectW(info.hbmMask, sizeof(mask), &mask);
        EXPECT_EQ(mask.bmWidth, 128);
        if (info.hbmMask) ::DeleteObject(info.hbmMask);
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
    }
    EXPECT_NE(chooser.GetMonitorCursor(0), chooser.GetMonitorCursor(1));

    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        MSG msg{chooser.m_hWnd, WM_KEYDOWN, key, 0, 0, {}};
        EXPECT_TRUE(chooser.PreTranslateMessage(&msg));
        chooser.SendMessage(WM_KEYDOWN, key);
        chooser.SendMessage(WM_COMMAND, key == VK_ESCAPE ? IDCANCEL : IDOK);
        EXPECT_TRUE(chooser.IsWindow());
    }
}

TEST_F(MonitorChoice, AClickReportsTheMonitorUnderIt) {
    CMonitors monitors;
    // The parent records what the chooser reports.
    struct Parent : CWnd {
        std::vector<const CMonitor*> reported;
        LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
            if (msg == WM_MONITOR_SELECTED) {
                reported.push_back(reinterpret_cast<const CMonitor*>(wParam));
                return 0;
            }
            return CWnd::WindowProc(msg, wParam, lParam);
        }
    } parent;
    CWnd::RegisterClass(L"TovrixChooserParent");
    ASSERT_TRUE(parent.CreateEx(0, L"TovrixChooserParent", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    CMonitorSelectDlg chooser(CMonitorSelectDlg::kModeChooseMonitor, &monitors, &parent);
    ASSERT_TRUE(chooser.CreateAndShow());

    for (int i = 0; i < monitors.GetCount(); ++i) {
        RECT r;
        monitors.GetMonitor(i)->GetMonitorRect(r);
        ClickChooserAt(chooser, POINT{r.left + 10, r.top + 10});
        ClickChooserAt(chooser, POINT{r.right - 1, r.bottom - 1});
    }
    RECT all = monitors.GetUnionRect();
    ClickChooserAt(chooser, POINT{all.left - 1, all.top - 1});  // the margin outside every monitor

    ASSERT_EQ(parent.reported.size(), static_cast<size_t>(monitors.GetCount() * 2 + 1));
    for (int i = 0; i < monitors.GetCount(); ++i) {
        EXPECT_EQ(parent.reported[static_cast<size_t>(i * 2)], monitors.GetMonitor(i));
        EXPECT_EQ(parent.reported[static_cast<size_t>(i * 2 + 1)], monitors.GetMonitor(i));
    }
    EXPECT_EQ(parent.reported.back(), nullptr);
}

TEST_F(MonitorChoice, ChoosingTheSecondMonitorStoresItsRectangle) {
    TestSettingsDlg dlg(folder.File(L"Tovrix.ini"));
    bool hiddenWhileChoosing = false;
    dlg.onOpen = [&](TestSettingsDlg& d) {
        d.SetDlgItemText(IDC_SAVE_FOLDER, folder.Path());
        EXPECT_EQ(d.ComboCount(IDC_AREA_COMBO), 6);
        EXPECT_EQ(d.ComboText(IDC_AREA_COMBO, 1), L"선택 모니터");
        d.Choose(IDC_AREA_COMBO, 1);
        CMonitorSelectDlg* chooser = d.GetMonitorChooser();
        ASSERT_NE(chooser, nullptr);
        hiddenWhileChoosing = !d.IsWindowVisible();
        RECT second;
        d.GetMonitors().GetMonitor(1)->GetMonitorRect(second);
        ClickChooserAt(*chooser, POINT{second.left + 50, second.top + 50});
        EXPECT_EQ(d.GetMonitorChooser(), nullptr);
        EXPECT_TRUE(d.IsWindowVisible());
        EXPECT_EQ(d.GetDlgItemText(IDC_AREA_LABEL), L"캡쳐영역(2모니터)");
        d.PostMessage(WM_COMMAND, IDOK);
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(hiddenWhileChoosing);
    RECT second;
    dlg.GetMonitors().GetMonitor(1)->GetMonitorRect(second);
    EXPECT_EQ(dlg.area, AreaMonitor);
    EXPECT_EQ(dlg.monitorIndex, 1);
    EXPECT_TRUE(::EqualRect(&dlg.areaRect, &second));
    CIni ini;
    ini.SetPath(folder.File(L"Tovrix.ini"));
    CaptureSettings stored;
    ASSERT_TRUE(LoadSettingsFile(ini, stored, folder.Path()));
    EXPECT_TRUE(::EqualRect(&stored.areaRect, &second)) << "left " << stored.areaRect.left;
}

}  // namespace
