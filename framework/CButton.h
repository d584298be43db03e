#pragma once
// A push button, check box, radio button or owner-drawn button: thin forwards to the BUTTON
// class. An owner-drawn button derives from it and draws itself from the WM_DRAWITEM its parent
// reflects to OnChildNotify.
#include "CWnd.h"

class CButton : public CWnd {
public:
    BOOL Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateControl(L"BUTTON", text, style, rect, parent, id);
    }

    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL highlight) const { SendMessage(BM_SETSTATE, highlight); }
    UINT GetButtonStyle() const { return static_cast<UINT>(GetStyle() & 0xFFFF); }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) const { SendMessage(BM_SETSTYLE, style, redraw); }
    // The picture is shared, not owned: the caller keeps it alive while the button shows it.
    HBITMAP SetBitmap(HBITMAP bitmap) const {
        return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
    HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(BM_GETIMAGE, IMAGE_BITMAP)); }
    HICON SetIcon(HICON icon) const {
        return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
    }
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON)); }
    // Presses the button as a click would: the parent receives BN_CLICKED.
    void Click() const { SendMessage(BM_CLICK); }
};
