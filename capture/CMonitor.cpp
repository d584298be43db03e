#include "CMonitor.h"

BOOL CMonitor::GetMonitorRect(RECT& rect) const {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(m_monitor, &info)) {
        ::SetRectEmpty(&rect);
        return FALSE;
    }
    rect = info.rcMonitor;
    return TRUE;
}

BOOL CMonitor::GetDeviceName(std::wstring& name) const {
    MONITORINFOEXW info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(m_monitor, &info)) {
        name.clear();
        return FALSE;
    }
    name = info.szDevice;
    return TRUE;
}

bool CMonitor::ContainsPoint(int x, int y) const {
    RECT rect;
    if (!GetMonitorRect(rect)) return false;
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}
