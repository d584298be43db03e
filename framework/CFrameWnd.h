#pragma once
// A top-level frame window: registers its class once, and lives on the heap, deleting itself
// after its last message. Destroying the application's main frame ends the message loop.
#include "CWnd.h"

class CFrameWnd : public CWnd {
public:
    CFrameWnd() = default;

    BOOL Create(const wchar_t* title, DWORD style = WS_OVERLAPPEDWINDOW,
                const RECT* rect = nullptr, HWND parent = nullptr, HMENU menu = nullptr,
                DWORD exStyle = 0);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Menu and control commands; FALSE passes the command on to the default processing.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    void PostNcDestroy() override;
};
