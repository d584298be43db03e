#pragma once
// The arguments of common window messages as typed values, so that no window unpacks lParam and
// wParam by hand (and none forgets that mouse coordinates are signed on multi-monitor desktops).
#include <windows.h>
// (windowsx.h is left out on purpose: its SubclassWindow macro would hide CWnd::SubclassWindow.)

// WM_MOUSEMOVE, WM_xBUTTONDOWN/UP/DBLCLK (client coordinates), WM_NCxxx, WM_MOUSEWHEEL,
// WM_CONTEXTMENU (screen coordinates; -1, -1 for a context menu asked for from the keyboard).
inline POINT MousePoint(LPARAM lParam) {
    return {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
}
// The lParam of a mouse message at a point (for messages sent in tests or forwarded on).
inline LPARAM MouseLParam(POINT point) {
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(point.x)),
                      static_cast<WORD>(static_cast<SHORT>(point.y)));
}
// The MK_* keys and buttons held during a mouse message (also of WM_MOUSEWHEEL).
inline UINT MouseKeys(WPARAM wParam) {
    return GET_KEYSTATE_WPARAM(wParam);
}
// WM_MOUSEWHEEL: positive away from the user, in multiples of WHEEL_DELTA.
inline int WheelDelta(WPARAM wParam) {
    return GET_WHEEL_DELTA_WPARAM(wParam);
}

// The lParam of WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN and WM_SYSKEYUP.
struct KeyFlags {
    UINT repeatCount;
    UINT scanCode;
    bool extended;  // right-hand Ctrl/Alt, arrows and the keys above them, numeric keypad Enter
    bool altDown;   // the context code: Alt held (system keys)
    bool wasDown;   // the key was already down: an auto-repeat
    bool released;  // the transition: set for key-up messages
};
inline KeyFlags KeyFlagsFromLParam(LPARAM lParam) {
    auto bits = static_cast<DWORD>(lParam);
    return {bits & 0xFFFFu, (bits >> 16) & 0xFFu, (bits & (1u << 24)) != 0,
            (bits & (1u << 29)) != 0, (bits & (1u << 30)) != 0, (bits & (1u << 31)) != 0};
}
// Whether a key is down at the moment of the message being handled (Ctrl, Shift, Alt: VK_*).
inline bool IsKeyDown(int virtualKey) {
    return ::GetKeyState(virtualKey) < 0;
}

// WM_COMMAND: a menu item or accelerator (control null, code 0 or 1) or a control notification.
struct CommandArgs {
    UINT id;
    UINT code;       // BN_CLICKED, EN_CHANGE, ...; 1 for an accelerator
    HWND control;    // null for menus and accelerators
};
inline CommandArgs CommandArgsFrom(WPARAM wParam, LPARAM lParam) {
    return {LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)};
}

// WM_HSCROLL / WM_VSCROLL: the request (SB_*), the 16-bit thumb position of SB_THUMBTRACK and
// SB_THUMBPOSITION (GetScrollInfo has the full one), and the scroll bar or control that sent
// it (null for a window's own bars).
struct ScrollArgs {
    UINT request;
    int position;
    HWND control;
};
inline ScrollArgs ScrollArgsFrom(WPARAM wParam, LPARAM lParam) {
    return {LOWORD(wParam), static_cast<int>(HIWORD(wParam)),
            reinterpret_cast<HWND>(lParam)};
}

// WM_SIZE: the kind (SIZE_RESTORED, SIZE_MINIMIZED, ...) and the new client size.
struct SizeArgs {
    UINT type;
    int width;
    int height;
};
inline SizeArgs SizeArgsFrom(WPARAM wParam, LPARAM lParam) {
    return {static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)};
}

// WM_DPICHANGED: the window's new DPI (the same for x and y) and the window rectangle the
// system suggests for it, in screen coordinates (empty when a sender gave none).
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
struct DpiChangedArgs {
    UINT dpi;
    RECT suggested;
};
inline DpiChangedArgs DpiChangedArgsFrom(WPARAM wParam, LPARAM lParam) {
    return {LOWORD(wParam), lParam ? *reinterpret_cast<const RECT*>(lParam) : RECT{}};
}
