#include "SnapTestSupport.h"
#include <utility>
#include "CCustomSizeDlg.h"

namespace snap_test {
namespace {
constexpr UINT kRunShown = WM_APP + 200;
constexpr UINT kRunStep = WM_APP + 201;

struct Search {
    std::vector<HWND> found;
};
BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
    reinterpret_cast<Search*>(data)->found.push_back(window);
    return TRUE;
}
}  // namespace

void TestSnapDlg::Later(std::function<void()> step) {
    m_steps.push_back(std::move(step));
    PostMessage(kRunStep, m_steps.size() - 1);
}

BOOL TestSnapDlg::OnInitDialog() {
    BOOL result = CSnapDlg::OnInitDialog();
    PostMessage(kRunShown);
    return result;
}

LRESULT TestSnapDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kRunShown:
        if (onShown) onShown(*this);
        return 0;
    case kRunStep:
        if (wParam < m_steps.size()) {
            auto step = std::move(m_steps[wParam]);
            if (step) step();
        }
        return 0;
    }
    return CSnapDlg::WindowProc(msg, wParam, lParam);
}

template <typename T>
T* FindWindowObject() {
    Search search;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&search));
    for (HWND window : search.found)
        if (auto* object = dynamic_cast<T*>(CWnd::FromHandle(window))) return object;
    return nullptr;
}
template CCustomSizeDlg* FindWindowObject<CCustomSizeDlg>();
template CSnapDlg* FindWindowObject<CSnapDlg>();

RECT WindowRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

}  // namespace snap_test
