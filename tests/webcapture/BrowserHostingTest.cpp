// How the web capture dialog hosts the system's web browser control, against a stand-in control
// of the tests' own (BrowserStandIn.c) registered under the control's class id: this Wine has
// no HTML engine, so the real control shows nothing. The stand-in writes down what the container
// asks of it: the control is put into silent mode (no script-error boxes), keys meant for the
// page reach it through the dialog's message filter, and the page is drawn whole (index -1).
// Registering a stand-in browser would change what every other test meets, so this program runs
// only in a Wine prefix of its own, which browser_hosting.sh makes and names in
// TOVRIX_BROWSER_PREFIX.
#include <gtest/gtest.h>
#include <cstdlib>
#include <functional>
#include <string>
#include "CWebBrowserDlg.h"
#include "ModulePath.h"
#include "SaveWindow.h"
#include "TestSupport.h"
#include "WindowMessages.h"
#include "resource.h"

namespace {

const wchar_t kServerKey[] =
    L"Software\\Classes\\CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}\\InprocServer32";
const wchar_t kStandInDll[] = L"browser_standin.dll";
const COLORREF kStandInPage = RGB(12, 34, 56);  // what the stand-in's Draw paints
constexpr UINT kStep = WM_APP + 230;

bool RegisterStandIn() {
    const std::wstring dll = GetModuleFolder() + L"\\" + kStandInDll;
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kServerKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const wchar_t model[] = L"Apartment";
    const bool ok =
        ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(dll.c_str()),
                         static_cast<DWORD>((dll.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS &&
        ::RegSetValueExW(key, L"ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(model), sizeof(model)) ==
            ERROR_SUCCESS;
    ::RegCloseKey(key);
    return ok;
}

// What the stand-in recorded, one call a line; empty when it was never loaded.
std::wstring StandInLog() {
    HMODULE dll = ::GetModuleHandleW(kStandInDll);
    using Log = int(__cdecl*)(wchar_t*, int);
    auto log = dll ? reinterpret_cast<Log>(reinterpret_cast<void*>(::GetProcAddress(dll, "StandInLog"))) : nullptr;
    if (!log) return {};
    std::wstring text(static_cast<size_t>(log(nullptr, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(log(text.data(), static_cast<int>(text.size()))));
    return text;
}

size_t Count(const std::wstring& text, const std::wstring& line) {
    size_t count = 0;
    for (size_t at = text.find(line); at != std::wstring::npos; at = text.find(line, at + 1)) ++count;
    return count;
}

// The dialog with the system's control; steps run inside its own loop, each posted after what
// the one before it posted.
class HostingDlg : public CWebBrowserDlg {
public:
    std::vector<std::function<void(HostingDlg&)>> steps;

protected:
    BOOL OnInitDialog() override {
        BOOL result = CWebBrowserDlg::OnInitDialog();
        PostMessage(kStep);
        return result;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kStep) {
            if (m_next < steps.size()) steps[m_next++](*this);
            if (m_next < steps.size()) PostMessage(kStep);
            else PostMessage(WM_COMMAND, IDCANCEL);
            return 0;
        }
        return CWebBrowserDlg::WindowProc(msg, wParam, lParam);
    }

private:
    size_t m_next = 0;
};

TEST(BrowserHosting, TheControlIsSilentTakesThePagesKeysAndIsDrawnWhole) {
    if (!std::getenv("TOVRIX_BROWSER_PREFIX")) GTEST_SKIP() << "runs only in a Wine prefix of its own";
    ASSERT_TRUE(RegisterStandIn());
    CScreenImage picture;
    SaveWindow save;
    save.picture = &picture;
    HostingDlg dlg;
    dlg.SetTarget(&picture, save.hwnd);
    dlg.SetStartAddress(L"file:///C:/standin/start.html");
    bool hosted = false;
    SIZE view{0, 0};
    dlg.steps = {
        [&](HostingDlg& d) {
            hosted = d.GetView() != nullptr;
            if (hosted) d.GetView()->GetViewSize(view);
            // Keys typed on the page: through the dialog's loop, as the user's keys come.
            HWND page = d.GetDlgItem(IDC_WEB_BROWSER);
            ::SetFocus(page);
            ::PostMessageW(page, WM_KEYDOWN, VK_TAB, 0x000F0001);
            ::PostMessageW(page, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        },
        [&](HostingDlg& d) { d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WEB_CAPTURE, BN_CLICKED)); },
    };
    dlg.DoModal();

    ASSERT_TRUE(hosted) << "the stand-in control was not made";
    const std::wstring log = StandInLog();
    EXPECT_EQ(Count(log, L"put_Silent -1\n"), 1u) << std::string(log.begin(), log.end());
    EXPECT_EQ(Count(log, L"TranslateAccelerator 256 9\n"), 1u) << "Tab did not reach the page";
    EXPECT_EQ(Count(log, L"TranslateAccelerator 256 13\n"), 1u) << "Enter did not reach the page";
    // Enter on the page is the page's: it did not press Go, which would navigate again.
    EXPECT_EQ(Count(log, L"Navigate2 file:///C:/standin/start.html 14\n"), 1u);
    EXPECT_EQ(Count(log, L"Navigate2 "), 1u);
    EXPECT_EQ(Count(log, L"Draw 1 -1\n"), 1u) << "not drawn with index -1";
    EXPECT_EQ(Count(log, L"unexpected"), 0u) << std::string(log.begin(), log.end());
    // The whole page: the view widened by nothing (it does not scroll across), lengthened by
    // what the page scrolls, less the scroll-bar strips.
    EXPECT_EQ(save.saves, 1);
    EXPECT_EQ(save.savedSize.cx, view.cx - 18);
    EXPECT_EQ(save.savedSize.cy, 3000 - 20);
    EXPECT_EQ(save.savedCorner, kStandInPage);
}

}  // namespace
