#include "CWnd.h"
#include <commctrl.h>
#include "MessageBox.h"

namespace {
// Each window's object pointer is kept in a window property so that control classes (whose
// GWLP_USERDATA may be in use) and our own classes share one lookup.
const wchar_t kObjectProp[] = L"Tovrix.CWnd";
}

CWnd::~CWnd() {
    // A window that outlives its object must not call back into freed memory.
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        HWND hwnd = m_hWnd;
        if (m_subclassed) {
            UnsubclassWindow();
        } else {
            Detach();
        }
        ::DestroyWindow(hwnd);
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<CWnd*>(::GetPropW(hwnd, kObjectProp)) : nullptr;
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    ::SetPropW(hwnd, kObjectProp, this);
}

void CWnd::Detach() {
    if (m_hWnd) ::RemovePropW(m_hWnd, kObjectProp);
    m_hWnd = nullptr;
}

ATOM CWnd::RegisterClass(const wchar_t* className, UINT style, HICON icon, HCURSOR cursor,
                         HBRUSH background) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (::GetClassInfoExW(instance, className, &wc)) return static_cast<ATOM>(1);
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &CWnd::WndProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return ::RegisterClassExW(&wc);
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu) {
    HWND hwnd = ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                                  menu, ::GetModuleHandleW(nullptr), this);
    return hwnd != nullptr;
}

LRESULT CALLBACK CWnd::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandle(hwnd);
    if (!wnd && msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        wnd = static_cast<CWnd*>(cs->lpCreateParams);
        if (wnd) wnd->Attach(hwnd);
    }
    if (!wnd) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    return wnd->Dispatch(msg, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR data) {
    auto* wnd = reinterpret_cast<CWnd*>(data);
    if (!wnd || wnd->m_hWnd != hwnd) return ::DefSubclassProc(hwnd, msg, wParam, lParam);
    return wnd->Dispatch(msg, wParam, lParam);
}

LRESULT CWnd::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Handlers may pump messages (modal loops); keep the outer message for its Default().
    CurrentMessage saved = m_current;
    m_current = {msg, wParam, lParam};
    // A handler may destroy the window (Exit, WM_CLOSE), and a heap-owned window deletes itself
    // on its last message: after that nothing here may touch the object.
    bool deleted = false;
    bool* outerDeleted = m_deletedFlag;
    m_deletedFlag = &deleted;
    LRESULT result = WindowProc(msg, wParam, lParam);
    if (deleted) {
        if (outerDeleted) *outerDeleted = true;
        return result;
    }
    m_deletedFlag = outerDeleted;
    m_current = saved;
    if (msg == WM_NCDESTROY) {
        if (m_subclassed) UnsubclassWindow(); else Detach();
        if (m_deletedFlag) *m_deletedFlag = true;
        m_deletedFlag = nullptr;
        PostNcDestroy();
    }
    return result;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd) return FALSE;
    if (!::SetWindowSubclass(hwnd, &CWnd::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this)))
        return FALSE;
    Attach(hwnd);
    m_subclassed = true;
    return TRUE;
}

HWND CWnd::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    if (hwnd && m_subclassed) ::RemoveWindowSubclass(hwnd, &CWnd::SubclassProc, 1);
    m_subclassed = false;
    Detach();
    return hwnd;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(msg, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_subclassed) return ::DefSubclassProc(m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_current.msg, m_current.wParam, m_current.lParam);
}

BOOL CWnd::ScreenToClient(RECT* rc) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rc), 2);
    return TRUE;
}

std::wstring GetWindowTextString(HWND hwnd) {
    if (!hwnd) return {};
    int length = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) const {
    LONG_PTR style = GetStyle();
    LONG_PTR changed = (style & ~static_cast<LONG_PTR>(remove)) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, changed);
    if (swpFlags) SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) const {
    LONG_PTR style = GetExStyle();
    LONG_PTR changed = (style & ~static_cast<LONG_PTR>(remove)) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, changed);
    if (swpFlags) SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

int CWnd::MessageBox(const std::wstring& text, const std::wstring& caption, UINT type) const {
    return ShowMessageBox(m_hWnd, text, caption, type);
}
