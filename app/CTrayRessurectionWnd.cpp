#include "CTrayRessurectionWnd.h"
#include "CTrayNotifyIcon.h"

UINT CTrayRessurectionWnd::TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

BOOL CTrayRessurectionWnd::Create() {
    // Only top-level windows receive the broadcast, so this cannot be a message-only window.
    return CFrameWnd::Create(L"CTrayNotifyIcon Resurrection Notification Window",
                             WS_OVERLAPPEDWINDOW);
}

LRESULT CTrayRessurectionWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != 0 && msg == TaskbarCreatedMessage()) return OnTaskbarCreated();
    return CFrameWnd::WindowProc(msg, wParam, lParam);
}

LRESULT CTrayRessurectionWnd::OnTaskbarCreated() {
    if (!m_icon.IsHidden()) {
        // The delete fails harmlessly when the old taskbar took the icon with it; the add puts
        // it into the new one.
        m_icon.Hide();
        m_icon.Show();
    }
    return 0;
}
