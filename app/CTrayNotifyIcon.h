#pragma once
// One icon in the notification area: added with a balloon, a right click pops up the menu of the
// same id, a double click runs that menu's first item, and the icon comes back by itself when
// the shell re-creates its taskbar.
#include <windows.h>
#include <shellapi.h>
#include <memory>
#include "CTrayRessurectionWnd.h"

class CWnd;

class CTrayNotifyIcon {
public:
    CTrayNotifyIcon() = default;
    // Removes the icon.
    virtual ~CTrayNotifyIcon();
    CTrayNotifyIcon(const CTrayNotifyIcon&) = delete;
    CTrayNotifyIcon& operator=(const CTrayNotifyIcon&) = delete;

    // Adds the icon; the balloon shows once now. `notifyWnd` receives the callback message and
    // the menu's commands. False when the icon could not be added.
    [[nodiscard]] bool Create(CWnd* notifyWnd, UINT id, const wchar_t* tooltip, HICON icon,
                              const wchar_t* balloonText, const wchar_t* balloonTitle,
                              UINT callbackMessage);

    // Called by the owner with the callback message's parameters: 1 when the event was this
    // icon's and its menu could be loaded, 0 otherwise.
    virtual int HandleNotification(WPARAM wParam, LPARAM lParam);

    // Shows a balloon over the icon; false when the icon is not there.
    bool ShowBalloon(const wchar_t* text, const wchar_t* title);
    // How many balloons were shown since the icon was added (the first included).
    int GetBalloonCount() const { return m_balloons; }

    // Take the icon out of the notification area and put it back (without the balloon).
    void Hide();
    void Show();

    bool IsCreated() const { return m_created; }
    bool IsHidden() const { return m_hidden; }
    UINT GetId() const { return m_data.uID; }
    HWND GetNotifyWindow() const { return m_data.hWnd; }
    const wchar_t* GetBalloonText() const { return m_data.szInfo; }
    // The window that hears the taskbar being re-created.
    HWND GetResurrectionWindow() const { return m_resurrection ? m_resurrection->m_hWnd : nullptr; }

private:
    // Kept for the icon's life and reused for every call to the shell.
    NOTIFYICONDATAW m_data{};
    bool m_created = false;
    bool m_hidden = false;
    int m_balloons = 0;
    std::unique_ptr<CTrayRessurectionWnd> m_resurrection;
};
