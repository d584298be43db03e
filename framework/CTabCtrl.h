#pragma once
// A tab control: thin forwards to the common control. The pages are the caller's windows, shown
// and hidden on TCN_SELCHANGE.
#include "CWnd.h"
#include <commctrl.h>

class CTabCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateControl(WC_TABCONTROLW, L"", style, rect, parent, id);
    }
    int InsertItem(int index, const std::wstring& text) const {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        return static_cast<int>(SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    BOOL DeleteItem(int index) const { return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(index))); }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    // Selects a tab without notifying the parent (as the control itself defines).
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index))); }
    // The display area of the pages for a window rectangle (FALSE), or the reverse (TRUE).
    void AdjustRect(BOOL larger, RECT* rect) const { SendMessage(TCM_ADJUSTRECT, larger, reinterpret_cast<LPARAM>(rect)); }
    BOOL GetItemRect(int index, RECT* rect) const {
        return static_cast<BOOL>(SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)));
    }
};
