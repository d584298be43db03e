#include "CWinApp.h"
#include "CWnd.h"

namespace {
CWinApp* g_app = nullptr;
}  // namespace

BOOL AfxPreTranslateMessage(MSG* msg) {
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = CWnd::FromHandle(hwnd);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
        // GetParent of a top-level window is its owner, whose keys are its own business.
        if (!(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) break;
    }
    return FALSE;
}

CWinApp::CWinApp(const wchar_t* appName) : m_appName(appName ? appName : L"") {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() {
    return g_app;
}

BOOL CWinApp::PumpMessage() {
    MSG msg;
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        if (got == 0) m_exitCode = static_cast<int>(msg.wParam);
        return FALSE;
    }
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

int CWinApp::Run() {
    if (m_pMainWnd && m_pMainWnd->m_hWnd) {
        while (PumpMessage()) {
        }
    }
    return ExitInstance();
}

int AfxWinMain(HINSTANCE instance, const wchar_t* cmdLine, int cmdShow) {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = cmdLine ? cmdLine : L"";
    app->m_nCmdShow = cmdShow;
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}
