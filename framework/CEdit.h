#pragma once
// An edit control: thin forwards to the EDIT class.
#include "CWnd.h"

class CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateControl(L"EDIT", L"", style, rect, parent, id, WS_EX_CLIENTEDGE);
    }
    void GetSel(int& start, int& end) const {
        DWORD s = 0, e = 0;
        SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        start = static_cast<int>(s);
        end = static_cast<int>(e);
    }
    void SetSel(int start, int end, BOOL noScroll = FALSE) const {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
        if (!noScroll) SendMessage(EM_SCROLLCARET);
    }
    void ReplaceSel(const std::wstring& text, BOOL canUndo = FALSE) const {
        SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void SetLimitText(UINT max) const { SendMessage(EM_SETLIMITTEXT, max); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) const { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    BOOL GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
    void SetModify(BOOL modified = TRUE) const { SendMessage(EM_SETMODIFY, modified); }
    BOOL CanUndo() const { return static_cast<BOOL>(SendMessage(EM_CANUNDO)); }
    BOOL Undo() const { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
    void Cut() const { SendMessage(WM_CUT); }
    void Copy() const { SendMessage(WM_COPY); }
    void Paste() const { SendMessage(WM_PASTE); }
};
