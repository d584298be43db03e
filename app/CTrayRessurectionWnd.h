#pragma once
// A hidden top-level window that hears the shell announce a new taskbar ("TaskbarCreated", for
// example after the shell restarted) and has its tray icon put itself back.
#include "CFrameWnd.h"

class CTrayNotifyIcon;

class CTrayRessurectionWnd : public CFrameWnd {
public:
    explicit CTrayRessurectionWnd(CTrayNotifyIcon& icon) : m_icon(icon) {}

    // Creates the window hidden; it is never shown.
    BOOL Create();

    // The shell's broadcast when its taskbar is (re)created; registered once per process.
    static UINT TaskbarCreatedMessage();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnTaskbarCreated();
    // Owned by its tray icon, not by the heap.
    void PostNcDestroy() override {}

private:
    CTrayNotifyIcon& m_icon;
};
