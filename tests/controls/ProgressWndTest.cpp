// The progress window over an owner of this thread: captions by step, its remembered or centred
// position in a real profile file, and the message pump with Esc and the cancel button.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "CAppProfile.h"
#include "CProgressWnd.h"
#include "ControlsTestSupport.h"
#include "TestSupport.h"

namespace {
using testing_support::PumpMessages;
using testing_support::TempFolder;
using controls_test::Click;
using controls_test::SendKey;

// A plain visible window that counts the WM_APP messages it gets.
class Owner : public CWnd {
public:
    Owner() {
        RegisterClass(L"ProgressTestOwner", 0, nullptr, nullptr,
                      static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        CreateEx(0, L"ProgressTestOwner", L"Owner", WS_POPUP | WS_VISIBLE, 300, 200, 400, 300, nullptr, nullptr);
    }
    int appMessages = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_APP) {
            ++appMessages;
            return 0;
        }
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

class ProgressWnd : public testing::Test {
protected:
    void SetUp() override {
        m_profile = m_folder.File(L"Tovrix.ini");
        CAppProfile::SetPath(m_profile);
        ASSERT_TRUE(m_owner.IsWindow());
        PumpMessages(50);
    }
    void TearDown() override { PumpMessages(); }

    int Stored(const wchar_t* key) const {
        return static_cast<int>(::GetPrivateProfileIntW(L"Settings", key, -12345, m_profile.c_str()));
    }
    void Store(int x, int y) const {
        ::WritePrivateProfileStringW(L"Settings", L"X", std::to_wstring(x).c_str(), m_profile.c_str());
        ::WritePrivateProfileStringW(L"Settings", L"Y", std::to_wstring(y).c_str(), m_profile.c_str());
    }
    static POINT Centre(HWND hwnd) {
        RECT rc{};
        ::GetWindowRect(hwnd, &rc);
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }

    TempFolder m_folder;
    std::wstring m_profile;
    Owner m_owner;
};

TEST_F(ProgressWnd, CaptionShowsThePercentageOfEachStep) {
    CProgressWnd progress(&m_owner, L"Progress", TRUE);
    ASSERT_TRUE(progress.IsWindow());
    EXPECT_TRUE(progress.IsWindowVisible());
    EXPECT_TRUE(progress.GetExStyle() & WS_EX_TOPMOST);
    EXPECT_EQ(::GetWindow(progress, GW_OWNER), m_owner.m_hWnd);
    EXPECT_NE(::GetForegroundWindow(), progress.m_hWnd) << "showing it took the activation";
    EXPECT_EQ(progress.GetWindowText(), L"Progress");

    progress.SetRange(0, 7, 1);
    progress.SetText(L"Save......");
    EXPECT_EQ(progress.GetDlgItemText(CProgressWnd::kTextId), L"Save......");
    std::vector<std::wstring> captions;
    std::vector<int> previous;
    for (int i = 0; i < 7; ++i) {
        previous.push_back(progress.StepIt());
        progress.PumpMessages(TRUE);
        captions.push_back(progress.GetWindowText());
    }
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"Progress [14%]", L"Progress [29%]", L"Progress [43%]",
                                                   L"Progress [57%]", L"Progress [71%]", L"Progress [86%]",
                                                   L"Progress [100%]"}));
    EXPECT_EQ(previous, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(::SendMessageW(progress.GetDlgItem(CProgressWnd::kBarId), PBM_GETPOS, 0, 0), 7);

    // Text longer than the window keeps 511 characters.
    progress.SetText(L"%ls", std::wstring(700, L'x').c_str());
    EXPECT_EQ(progress.GetDlgItemText(CProgressWnd::kTextId).size(), 511u);
}

TEST_F(ProgressWnd, EqualEndsShowZeroPercent) {
    CProgressWnd progress(&m_owner, L"Saving", FALSE);
    progress.SetRange(0, 10, 1);
    progress.SetPos(5);
    EXPECT_EQ(progress.GetWindowText(), L"Saving [50%]");
    progress.SetRange(3, 3, 1);
    for (int position : {3, 100, -4}) {
        progress.SetPos(position);
        EXPECT_EQ(progress.GetWindowText(), L"Saving [0%]") << "position " << position;
    }
}

TEST_F(ProgressWnd, RemembersItsLastPositionInTheProfile) {
    {
        CProgressWnd progress(&m_owner, L"Progress", TRUE);
        progress.SetWindowPos(nullptr, 210, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EXPECT_EQ(Stored(L"X"), 210);
    EXPECT_EQ(Stored(L"Y"), 160);

    CProgressWnd again(&m_owner, L"Progress", TRUE);
    RECT rc{};
    again.GetWindowRect(&rc);
    EXPECT_EQ(rc.left, 210);
    EXPECT_EQ(rc.top, 160);
}

TEST_F(ProgressWnd, UnusablePositionsCentreTheWindowOverItsOwner) {
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN), screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    struct Case { int x, y; bool stored; };
    const Case cases[] = {{0, 0, false}, {-1, -1, true}, {screenWidth, 100, true}, {100, screenHeight, true},
                          {-30, 100, true}};
    const POINT ownerCentre = Centre(m_owner);
    for (const Case& c : cases) {
        ::DeleteFileW(m_profile.c_str());
        if (c.stored) Store(c.x, c.y);
        CProgressWnd progress(&m_owner, L"Progress", TRUE);
        const POINT centre = Centre(progress);
        EXPECT_NEAR(centre.x, ownerCentre.x, 1) << c.x << ", " << c.y;
        EXPECT_NEAR(centre.y, ownerCentre.y, 1) << c.x << ", " << c.y;
    }
    // The top-left pixel of the primary screen is a usable position.
    Store(0, 0);
    CProgressWnd corner(&m_owner, L"Progress", TRUE);
    RECT rc{};
    corner.GetWindowRect(&rc);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
}

// Pumps as the job would, between steps, until the user's input has cancelled (or long after).
bool PumpUntilCancelled(CProgressWnd& progress) {
    for (int i = 0; i < 200 && !progress.Cancelled(); ++i) {
        progress.PumpMessages(TRUE);
        ::Sleep(10);
    }
    return progress.Cancelled() != FALSE;
}

TEST_F(ProgressWnd, PumpDispatchesWaitingMessagesAndKeepsTheQuitMessage) {
    CProgressWnd progress(&m_owner, L"Progress", TRUE);
    m_owner.PostMessage(WM_APP);
    m_owner.PostMessage(WM_APP);
    progress.PumpMessages(TRUE);
    EXPECT_EQ(m_owner.appMessages, 2);

    ::PostQuitMessage(3);
    progress.PumpMessages(TRUE);
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message was lost";
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(progress.Cancelled());
}

TEST_F(ProgressWnd, EscWhilePumpingCancelsHidesAndStopsPumping) {
    CProgressWnd progress(&m_owner, L"Progress", TRUE);
    progress.SetRange(0, 4, 1);
    progress.StepIt();
    progress.SetWindowPos(nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetForegroundWindow(m_owner);
    ::SetFocus(m_owner);
    PumpMessages(100);
    ASSERT_EQ(::GetFocus(), m_owner.m_hWnd);

    SendKey(VK_ESCAPE);
    ASSERT_TRUE(PumpUntilCancelled(progress));
    EXPECT_FALSE(progress.IsWindowVisible());
    EXPECT_EQ(Stored(L"X"), 120) << "cancelling saves the position";
    EXPECT_EQ(Stored(L"Y"), 90);

    // Cancelled, the pump leaves the queue alone.
    m_owner.PostMessage(WM_APP);
    progress.PumpMessages(TRUE);
    EXPECT_EQ(m_owner.appMessages, 0);
    // The job goes on: its next step shows the window again.
    progress.StepIt();
    EXPECT_TRUE(progress.IsWindowVisible());
    EXPECT_EQ(progress.GetWindowText(), L"Progress [50%]");
    PumpMessages(50);
    EXPECT_EQ(m_owner.appMessages, 1);
}

TEST_F(ProgressWnd, CancelButtonCancels) {
    CProgressWnd progress(&m_owner, L"Progress", TRUE);
    progress.SetWindowPos(nullptr, 700, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND button = progress.GetDlgItem(CProgressWnd::kCancelId);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(GetWindowTextString(button), L" Cancel ");
    RECT rc{};
    ::GetWindowRect(button, &rc);
    ASSERT_GT(rc.right - rc.left, 10) << "the cancel button has no room";
    RECT bar{};
    ::GetWindowRect(progress.GetDlgItem(CProgressWnd::kBarId), &bar);
    EXPECT_LT(bar.right, rc.left) << "the bar runs under the button";
    PumpMessages(50);
    Click(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    ASSERT_TRUE(PumpUntilCancelled(progress));
    EXPECT_FALSE(progress.IsWindowVisible());
}

}  // namespace
