#include "CWnd.h"
#include <commctrl.h>
#include <vector>
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

namespace {
// What this module registered, to tell a repeated registration from a clash.
struct RegisteredClass {
    std::wstring name;
    ATOM atom;
    UINT style;
    HICON icon;
    HCURSOR cursor;
    HBRUSH background;
};
std::vector<RegisteredClass>& RegisteredClasses() {
    static std::vector<RegisteredClass> classes;
    return classes;
}
}  // namespace

ATOM CWnd::RegisterClass(const wchar_t* className, UINT style, HICON icon, HCURSOR cursor,
                         HBRUSH background) {
    if (!cursor) cursor = ::LoadCursorW(nullptr, IDC_ARROW);
    for (const RegisteredClass& known : RegisteredClasses()) {
        if (::lstrcmpiW(known.name.c_str(), className) != 0) continue;
        if (known.style == style && known.icon == icon && known.cursor == cursor &&
            known.background == background)
            return known.atom;
        ::SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &CWnd::WndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    ATOM atom = ::RegisterClassExW(&wc);
    if (atom) RegisteredClasses().push_back({className, atom, style, icon, cursor, background});
    return atom;
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

BOOL CWnd::PreTranslateMessage(MSG* msg) {
    if (!m_accelerators || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
    return ::TranslateAcceleratorW(m_hWnd, m_accelerators, msg) != 0;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (msg) {
    case WM_NOTIFY:
        if (OnNotify(wParam, lParam, &result)) return result;
        break;
    case WM_COMMAND: case WM_DRAWITEM: case WM_MEASUREITEM: case WM_COMPAREITEM:
    case WM_DELETEITEM: case WM_HSCROLL: case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
        if (ReflectChildNotify(msg, wParam, lParam, &result)) return result;
        break;
    }
    return DefWindowProc(msg, wParam, lParam);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return ReflectChildNotify(WM_NOTIFY, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

namespace {
// The control a message to its parent is about, or null when it comes from no control (menus,
// accelerators, a window's own scroll bars).
HWND ChildOfMessage(HWND parent, UINT msg, LPARAM lParam) {
    switch (msg) {
    case WM_NOTIFY:
        return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        return item && item->CtlType != ODT_MENU ? ::GetDlgItem(parent, static_cast<int>(item->CtlID)) : nullptr;
    }
    case WM_COMPAREITEM:
        return lParam ? reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_DELETEITEM:
        return lParam ? reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    default:
        // WM_COMMAND, WM_HSCROLL, WM_VSCROLL and WM_CTLCOLOR* name the control in lParam.
        return reinterpret_cast<HWND>(lParam);
    }
}
}  // namespace

BOOL CWnd::ReflectChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND child = ChildOfMessage(m_hWnd, msg, lParam);
    // WM_CTLCOLORDLG names the dialog itself; a window is not its own child.
    if (!child || child == m_hWnd) return FALSE;
    CWnd* control = FromHandle(child);
    if (!control) return FALSE;
    LRESULT answer = 0;
    if (!control->OnChildNotify(msg, wParam, lParam, &answer)) return FALSE;
    if (result) *result = answer;
    return TRUE;
}

BOOL CWnd::CreateControl(const wchar_t* className, const wchar_t* text, DWORD style,
                         const RECT& rect, HWND parent, UINT id, DWORD exStyle) {
    if (m_hWnd) return FALSE;
    HWND hwnd = ::CreateWindowExW(exStyle, className, text, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return FALSE;
    if (!SubclassWindow(hwnd)) {
        ::DestroyWindow(hwnd);
        return FALSE;
    }
    return TRUE;
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
