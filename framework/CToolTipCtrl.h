#pragma once
// A tooltip window: thin forwards to the common control. Tools are windows (TTF_IDISHWND) or
// rectangles of a window; the control follows the mouse over them by subclassing (TTF_SUBCLASS).
#include "CWnd.h"
#include <commctrl.h>

class CToolTipCtrl : public CWnd {
public:
    // A top-level popup owned by `owner`, above other windows.
    BOOL Create(HWND owner, DWORD style = TTS_ALWAYSTIP | TTS_NOPREFIX) {
        if (!CreateControl(TOOLTIPS_CLASSW, L"", WS_POPUP | style, RECT{}, owner, 0, WS_EX_TOPMOST)) return FALSE;
        m_owner = owner;
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return TRUE;
    }
    // A tool for the whole of `tool` (the owner or one of its children).
    BOOL AddTool(HWND tool, const std::wstring& text) const {
        TTTOOLINFOW info = ToolInfo(tool);
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.lpszText = const_cast<wchar_t*>(text.c_str());
        return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
    }
    void DelTool(HWND tool) const {
        TTTOOLINFOW info = ToolInfo(tool);
        info.uFlags = TTF_IDISHWND;
        SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    void UpdateTipText(const std::wstring& text, HWND tool) const {
        TTTOOLINFOW info = ToolInfo(tool);
        info.uFlags = TTF_IDISHWND;
        info.lpszText = const_cast<wchar_t*>(text.c_str());
        SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    }
    std::wstring GetText(HWND tool) const {
        wchar_t buffer[1024] = {};
        TTTOOLINFOW info = ToolInfo(tool);
        info.uFlags = TTF_IDISHWND;
        info.lpszText = buffer;
        SendMessage(TTM_GETTEXTW, static_cast<WPARAM>(sizeof(buffer) / sizeof(buffer[0])), reinterpret_cast<LPARAM>(&info));
        return buffer;
    }
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    void Activate(BOOL activate) const { SendMessage(TTM_ACTIVATE, activate); }
    void Pop() const { SendMessage(TTM_POP); }
    // For tools that do not subclass: hands the tooltip a mouse message of the tool.
    void RelayEvent(MSG* msg) const { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
    int SetMaxTipWidth(int width) const { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }

private:
    HWND m_owner = nullptr;

    TTTOOLINFOW ToolInfo(HWND tool) const {
        TTTOOLINFOW info{};
        // The size of the structure the control's version 6 knows (with lpReserved).
        info.cbSize = sizeof(info);
        info.hwnd = m_owner;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        return info;
    }
};
