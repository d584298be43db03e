#include "MessageBox.h"
#include "CInteraction.h"
#include "CWinApp.h"
#include "CWnd.h"

namespace {
MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}
}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    CInteraction waiting;
    std::wstring title = caption;
    if (title.empty()) {
        CWinApp* app = AfxGetApp();
        title = app ? app->m_appName : L"";
    }
    if (Handler()) return Handler()(owner, text, title, type);
    return ::MessageBoxW(owner, text.c_str(), title.c_str(), type);
}

int AfxMessageBox(const std::wstring& text, UINT type) {
    CWinApp* app = AfxGetApp();
    HWND owner = ::GetActiveWindow();
    if (!owner && app && app->m_pMainWnd) owner = app->m_pMainWnd->m_hWnd;
    return ShowMessageBox(owner, text, L"", type);
}
