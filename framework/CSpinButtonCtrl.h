#pragma once
// An up-down control: thin forwards to the common control. With UDS_SETBUDDYINT it keeps the
// number in its buddy edit; its parent is told of changes by UDN_DELTAPOS and WM_VSCROLL.
#include "CWnd.h"
#include <commctrl.h>

class CSpinButtonCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateControl(UPDOWN_CLASSW, L"", style, rect, parent, id);
    }
    HWND SetBuddy(HWND buddy) const { return reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy))); }
    HWND GetBuddy() const { return reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY)); }
    void SetRange32(int lower, int upper) const { SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
    void GetRange32(int& lower, int& upper) const {
        SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    }
    // The position; *failed (if given) is set when the buddy holds no number in range.
    int GetPos32(BOOL* failed = nullptr) const {
        return static_cast<int>(SendMessage(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(failed)));
    }
    int SetPos32(int pos) const { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, pos)); }
    BOOL SetAccel(int count, UDACCEL* accel) const {
        return static_cast<BOOL>(SendMessage(UDM_SETACCEL, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(accel)));
    }
    int SetBase(int base) const { return static_cast<int>(SendMessage(UDM_SETBASE, static_cast<WPARAM>(base))); }
};
