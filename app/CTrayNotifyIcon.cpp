#include "CTrayNotifyIcon.h"
#include "CInteraction.h"
#include "CUniqueAny.h"
#include "CWnd.h"

namespace {
template <size_t N>
void CopyCut(wchar_t (&field)[N], const wchar_t* text) {
    ::lstrcpynW(field, text ? text : L"", static_cast<int>(N));
}
}  // namespace

CTrayNotifyIcon::~CTrayNotifyIcon() {
    if (m_resurrection && m_resurrection->IsWindow()) m_resurrection->SendMessage(WM_CLOSE);
    if (m_created) {
        m_data.uFlags = 0;
        ::Shell_NotifyIconW(NIM_DELETE, &m_data);
        m_created = false;
    }
}

bool CTrayNotifyIcon::Create(CWnd* notifyWnd, UINT id, const wchar_t* tooltip, HICON icon,
                             const wchar_t* balloonText, const wchar_t* balloonTitle,
                             UINT callbackMessage) {
    m_resurrection = std::make_unique<CTrayRessurectionWnd>(*this);
    if (!m_resurrection->Create()) return false;

    m_data = NOTIFYICONDATAW{};
    m_data.cbSize = sizeof(m_data);
    m_data.hWnd = notifyWnd ? notifyWnd->m_hWnd : nullptr;
    m_data.uID = id;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
    m_data.uCallbackMessage = callbackMessage;
    m_data.hIcon = icon;
    CopyCut(m_data.szInfo, balloonText);
    CopyCut(m_data.szInfoTitle, balloonTitle);
    CopyCut(m_data.szTip, tooltip);
    m_created = ::Shell_NotifyIconW(NIM_ADD, &m_data) != FALSE;
    if (m_created) ++m_balloons;
    return m_created;
}

bool CTrayNotifyIcon::ShowBalloon(const wchar_t* text, const wchar_t* title) {
    if (!m_created || m_hidden) return false;
    NOTIFYICONDATAW balloon = m_data;
    balloon.uFlags = NIF_INFO;
    CopyCut(balloon.szInfo, text);
    CopyCut(balloon.szInfoTitle, title);
    if (!::Shell_NotifyIconW(NIM_MODIFY, &balloon)) return false;
    CopyCut(m_data.szInfo, text);
    ++m_balloons;
    return true;
}

int CTrayNotifyIcon::HandleNotification(WPARAM wParam, LPARAM lParam) {
    if (wParam != m_data.uID) return 0;
    CUniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_data.uID)));
    if (!menu) return 0;
    HMENU popup = ::GetSubMenu(menu.get(), 0);
    if (!popup) return 0;
    HWND owner = m_data.hWnd;
    if (lParam == WM_RBUTTONUP) {
        ::SetMenuDefaultItem(popup, 0, TRUE);
        // While something waits for the user the owner refuses every command: the menu says so.
        if (CInteraction::IsRunning()) {
            for (int i = 0; i < ::GetMenuItemCount(popup); ++i)
                ::EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | MF_GRAYED);
        }
        POINT pointer{};
        ::GetCursorPos(&pointer);
        // Without the foreground the menu would not close when the user clicks elsewhere.
        ::SetForegroundWindow(owner);
        ::TrackPopupMenu(popup, TPM_LEFTBUTTON, pointer.x, pointer.y, 0, owner, nullptr);
        // Lets the menu's window go away at once instead of on the owner's next message.
        ::PostMessageW(owner, WM_NULL, 0, 0);
    } else if (lParam == WM_LBUTTONDBLCLK) {
        UINT first = ::GetMenuItemID(popup, 0);
        ::SendMessageW(owner, WM_COMMAND, first, 0);
    }
    return 1;
}

void CTrayNotifyIcon::Hide() {
    if (m_hidden) return;
    m_data.uFlags = NIF_ICON;
    ::Shell_NotifyIconW(NIM_DELETE, &m_data);
    m_hidden = true;
}

void CTrayNotifyIcon::Show() {
    if (!m_hidden) return;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    ::Shell_NotifyIconW(NIM_ADD, &m_data);
    m_hidden = false;
}
