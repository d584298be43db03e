#include "CFrameWnd.h"
#include "CWinApp.h"

namespace {
const wchar_t kFrameClass[] = L"TovrixFrame";
}

BOOL CFrameWnd::Create(const wchar_t* title, DWORD style, const RECT* rect, HWND parent,
                       HMENU menu, DWORD exStyle) {
    if (!RegisterClass(kFrameClass, CS_DBLCLKS, nullptr, nullptr,
                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)))
        return FALSE;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
    if (rect) {
        x = rect->left;
        y = rect->top;
        cx = rect->right - rect->left;
        cy = rect->bottom - rect->top;
    }
    return CreateEx(exStyle, kFrameClass, title, style, x, y, cx, cy, parent, menu);
}

BOOL CFrameWnd::OnCommand(WPARAM, LPARAM) {
    return FALSE;
}

LRESULT CFrameWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) return 0;
        break;
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_DESTROY: {
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) {
            app->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        break;
    }
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

void CFrameWnd::PostNcDestroy() {
    delete this;
}
