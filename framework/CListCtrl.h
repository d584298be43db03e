#pragma once
// A list view: thin forwards to the common control. Image lists stay the caller's (the control
// is created with LVS_SHAREIMAGELISTS by Create), so a CImageList member outlives its use here.
#include "CWnd.h"
#include <commctrl.h>

class CListCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateControl(WC_LISTVIEWW, L"", style | LVS_SHAREIMAGELISTS, rect, parent, id, WS_EX_CLIENTEDGE);
    }
    // LVSIL_NORMAL (icons and thumbnails), LVSIL_SMALL, LVSIL_STATE; returns the previous list.
    HIMAGELIST SetImageList(HIMAGELIST list, int which) const {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list)));
    }
    HIMAGELIST GetImageList(int which) const {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(which)));
    }
    DWORD SetExtendedStyle(DWORD styles) const {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(styles)));
    }
    int InsertColumn(int index, const std::wstring& heading, int width, int format = LVCFMT_LEFT) const {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = format;
        column.cx = width;
        column.pszText = const_cast<wchar_t*>(heading.c_str());
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
    }
    // Inserts an item with its text and picture; the index it got, or -1.
    int InsertItem(int index, const std::wstring& text, int image = I_IMAGENONE) const {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = index;
        item.iImage = image;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    BOOL SetItemText(int index, int subItem, const std::wstring& text) const {
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    std::wstring GetItemText(int index, int subItem) const {
        wchar_t buffer[512] = {};
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = buffer;
        item.cchTextMax = static_cast<int>(sizeof(buffer) / sizeof(buffer[0]));
        SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    BOOL SetItemImage(int index, int image) const {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = index;
        item.iImage = image;
        return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    int GetItemImage(int index) const {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = index;
        return SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
    }
    BOOL DeleteItem(int index) const { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(index))); }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    // The next item after `after` (-1: from the start) with the LVNI_* flags, e.g. LVNI_SELECTED.
    int GetNextItem(int after, UINT flags) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(after), static_cast<LPARAM>(flags)));
    }
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    BOOL SetItemState(int index, UINT state, UINT mask) const {
        LVITEMW item{};
        item.state = state;
        item.stateMask = mask;
        return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    UINT GetItemState(int index, UINT mask) const {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(index), static_cast<LPARAM>(mask)));
    }
    BOOL EnsureVisible(int index, BOOL partialOk = FALSE) const {
        return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partialOk));
    }
    BOOL RedrawItems(int first, int last) const { return static_cast<BOOL>(SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(first), last)); }
    // The item under a client point, or -1.
    int HitTest(POINT point, UINT* flags = nullptr) const {
        LVHITTESTINFO info{};
        info.pt = point;
        int index = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
        if (flags) *flags = info.flags;
        return index;
    }
    // The value kept with an item (LVIF_PARAM).
    BOOL SetItemData(int index, LPARAM data) const {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        item.lParam = data;
        return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    LPARAM GetItemData(int index) const {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        return SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
    }
    // Where an item stands in the icon views (client coordinates).
    BOOL GetItemPosition(int index, POINT* point) const {
        return static_cast<BOOL>(SendMessage(LVM_GETITEMPOSITION, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(point)));
    }
    BOOL SetItemPosition(int index, POINT point) const {
        return static_cast<BOOL>(SendMessage(LVM_SETITEMPOSITION32, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&point)));
    }
    // The item (and sub-item) under a client point; -1 when none.
    int SubItemHitTest(POINT point) const {
        LVHITTESTINFO info{};
        info.pt = point;
        return static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    }
    BOOL SetIconSpacing(int cx, int cy) const {
        return static_cast<BOOL>(SendMessage(LVM_SETICONSPACING, 0, MAKELPARAM(cx, cy)));
    }
};
