#pragma once
// Base of every window the program owns: binds an HWND to a C++ object so that messages reach a
// virtual WindowProc, whose switch calls typed OnXxx handlers and falls back to Default().
#include <windows.h>
#include <string>
#include "GdiObject.h"

// The whole text of any window (empty if it has none).
std::wstring GetWindowTextString(HWND hwnd);

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Creates a window of a class registered with CWnd::WndProc (see RegisterClass).
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  int x, int y, int width, int height, HWND parent, HMENU menu);
    // Routes an existing window (usually a dialog control) through this object's WindowProc.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(int id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, id)); }
    // Creates a child control of a system class (BUTTON, EDIT, a common control) and routes it
    // through this object, as SubclassDlgItem does for controls of a dialog template.
    BOOL CreateControl(const wchar_t* className, const wchar_t* text, DWORD style,
                       const RECT& rect, HWND parent, UINT id, DWORD exStyle = 0);
    HWND UnsubclassWindow();
    BOOL DestroyWindow();

    // Registers a window class whose procedure dispatches to CWnd objects; returns its atom.
    // Asking again for a class registered here with the same settings returns the same atom;
    // a name taken with other settings (or by a class that is not ours) is a failure, 0 with
    // ERROR_CLASS_ALREADY_EXISTS, never the first caller's cursor or brush in disguise. Each
    // window type with a cursor, brush or style of its own registers a class name of its own.
    static ATOM RegisterClass(const wchar_t* className, UINT style = 0, HICON icon = nullptr,
                              HCURSOR cursor = nullptr, HBRUSH background = nullptr);

    // The C++ object behind a window created or subclassed here, or null.
    static CWnd* FromHandle(HWND hwnd);

    // Gives a window a look at a queued message before it is dispatched (keyboard filtering of
    // modeless windows); TRUE means the message was handled and is dropped. The default
    // translates the window's accelerator table, if it has one.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Keys of this table become WM_COMMAND messages to this window (code 1) while the focus is in
    // it or its children, in the application's loop and in modal loops alike. The table is not
    // owned: tables loaded from resources need no freeing; one made by CreateAcceleratorTable
    // must outlive its use here.
    void SetAcceleratorTable(HACCEL table) { m_accelerators = table; }
    BOOL LoadAccelTable(UINT id) {
        m_accelerators = ::LoadAcceleratorsW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
        return m_accelerators != nullptr;
    }
    HACCEL GetAcceleratorTable() const { return m_accelerators; }

    // Thin forwards with Win32's own names.
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    BOOL UpdateWindow() const { return ::UpdateWindow(m_hWnd); }
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL Invalidate(BOOL erase = TRUE) const { return ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL RedrawWindow(UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) const {
        return ::RedrawWindow(m_hWnd, nullptr, nullptr, flags);
    }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    BOOL MoveWindow(const RECT& rc, BOOL repaint = TRUE) const {
        return ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, repaint);
    }
    BOOL GetWindowRect(RECT* rc) const { return ::GetWindowRect(m_hWnd, rc); }
    BOOL GetClientRect(RECT* rc) const { return ::GetClientRect(m_hWnd, rc); }
    BOOL ScreenToClient(RECT* rc) const;
    BOOL SetWindowText(const std::wstring& text) const { return ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const { return GetWindowTextString(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    BOOL SetDlgItemText(int id, const std::wstring& text) const {
        return ::SetDlgItemTextW(m_hWnd, id, text.c_str());
    }
    std::wstring GetDlgItemText(int id) const { return GetWindowTextString(::GetDlgItem(m_hWnd, id)); }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::SendMessageW(m_hWnd, msg, wp, lp);
    }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::PostMessageW(m_hWnd, msg, wp, lp);
    }
    HICON SetIcon(HICON icon, BOOL big) const {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                   reinterpret_cast<LPARAM>(icon)));
    }
    LONG_PTR GetStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    LONG_PTR GetExStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0) const;
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0) const;
    int MessageBox(const std::wstring& text, const std::wstring& caption = L"", UINT type = MB_OK) const;
    // Timers: WM_TIMER with the id reaches this window.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) const { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) const { return ::KillTimer(m_hWnd, id); }
    // Mouse capture: every mouse message goes to this window until ReleaseCapture; the window
    // that loses it gets WM_CAPTURECHANGED.
    HWND SetCapture() const { return ::SetCapture(m_hWnd); }
    static BOOL ReleaseCapture() { return ::ReleaseCapture(); }
    BOOL HasCapture() const { return m_hWnd && ::GetCapture() == m_hWnd; }
    // Asks for WM_MOUSELEAVE (TME_LEAVE) and WM_MOUSEHOVER (TME_HOVER) once; asked again after
    // each of them.
    BOOL TrackMouseEvent(DWORD flags = TME_LEAVE, DWORD hoverTime = HOVER_DEFAULT) const {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = flags;
        track.hwndTrack = m_hWnd;
        track.dwHoverTime = hoverTime;
        return ::TrackMouseEvent(&track);
    }
    // Gives the window a shape. The region belongs to the window from then on (the system frees
    // it), so the holder lets go of it only when the window took it.
    BOOL SetWindowRgn(CRgn&& region, BOOL redraw = TRUE) const {
        if (!::SetWindowRgn(m_hWnd, region.get(), redraw)) return FALSE;
        (void)region.Detach();
        return TRUE;
    }
    // Takes the window back to its rectangle.
    BOOL ClearWindowRgn(BOOL redraw = TRUE) const { return ::SetWindowRgn(m_hWnd, nullptr, redraw); }
    // Layered windows (WS_EX_LAYERED): one alpha or colour key for the whole window...
    BOOL SetLayeredWindowAttributes(COLORREF key, BYTE alpha, DWORD flags) const {
        return ::SetLayeredWindowAttributes(m_hWnd, key, alpha, flags);
    }
    // ...or a 32-bit picture with per-pixel alpha from a memory DC, at a screen position.
    BOOL UpdateLayeredWindow(HDC source, POINT sourceAt, POINT screenAt, SIZE size,
                             BYTE alpha = 255) const {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
        return ::UpdateLayeredWindow(m_hWnd, nullptr, &screenAt, &size, source, &sourceAt, 0,
                                     &blend, ULW_ALPHA);
    }
    UINT GetDlgCtrlID() const { return static_cast<UINT>(::GetDlgCtrlID(m_hWnd)); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void SetFont(HFONT font, BOOL redraw = TRUE) const {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw, 0));
    }
    BOOL InvalidateRect(const RECT* rc, BOOL erase = TRUE) const { return ::InvalidateRect(m_hWnd, rc, erase); }
    BOOL ClientToScreen(POINT* pt) const { return ::ClientToScreen(m_hWnd, pt); }
    BOOL ScreenToClient(POINT* pt) const { return ::ScreenToClient(m_hWnd, pt); }


protected:
    // The message switch. Overrides handle what they know and end with the base class call.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // What an unhandled message gets: the class's default procedure (or the subclassed one).
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Default handling of the message being dispatched right now.
    LRESULT Default();
    // WM_NOTIFY from a child control; TRUE when handled, with the answer in *result. The default
    // offers the notification to the sending control's own object.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A message that this window's parent was sent about this window (WM_DRAWITEM,
    // WM_MEASUREITEM, WM_CTLCOLOR*, WM_COMMAND and WM_NOTIFY notifications, WM_HSCROLL/WM_VSCROLL
    // of a control), offered back to it so that a control can draw and answer for itself. TRUE
    // means handled and *result is the parent's answer.
    virtual BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Offers a message about a child control to that control's object; what the parent's default
    // handling of those messages does before the default window procedure.
    BOOL ReflectChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Called after the last message (WM_NCDESTROY); heap-owned windows delete themselves here.
    virtual void PostNcDestroy() {}

    // Shared by the static procedures: dispatches one message and keeps the current message for
    // Default(); returns after detaching the object on WM_NCDESTROY.
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd);
    void Detach();

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);

    struct CurrentMessage { UINT msg; WPARAM wParam; LPARAM lParam; };
    CurrentMessage m_current{};
    bool m_subclassed = false;
    HACCEL m_accelerators = nullptr;
    // Raised when the window has had its last message (and a heap-owned object deleted itself)
    // while messages are still being dispatched to it further up the stack, so that those
    // dispatches leave the object alone.
    bool* m_deletedFlag = nullptr;

    friend class CDialog;
};
