#pragma once
// One display monitor as the system enumerates it; its rectangle is in virtual-screen pixels
// (the primary monitor's top-left corner is (0, 0)) and covers the whole monitor, not its work area.
#include <windows.h>
#include <string>

class CMonitor {
public:
    explicit CMonitor(HMONITOR monitor) : m_monitor(monitor) {}

    HMONITOR GetHandle() const { return m_monitor; }
    BOOL GetMonitorRect(RECT& rect) const;
    // The device name, such as \\.\DISPLAY1.
    BOOL GetDeviceName(std::wstring& name) const;
    // Left and top inclusive, right and bottom exclusive.
    bool ContainsPoint(int x, int y) const;

private:
    HMONITOR m_monitor;
};
