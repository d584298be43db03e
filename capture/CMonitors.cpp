#include "CMonitors.h"
#include <algorithm>

namespace {
// A named CALLBACK: on i686 the system calls it as __stdcall, which a lambda cannot be.
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* list = reinterpret_cast<std::vector<std::unique_ptr<CMonitor>>*>(data);
    list->push_back(std::make_unique<CMonitor>(monitor));
    return TRUE;
}
}  // namespace

CMonitors::CMonitors() {
    // The count taken first is only a size hint: a monitor arriving between the two calls is
    // kept rather than dropped.
    m_monitors.reserve(static_cast<size_t>(std::max(0, ::GetSystemMetrics(SM_CMONITORS))));
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&m_monitors));
}

const CMonitor* CMonitors::GetMonitor(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return m_monitors[static_cast<size_t>(index)].get();
}

int CMonitors::IndexOf(const CMonitor* monitor) const {
    for (int i = 0; i < GetCount(); ++i)
        if (m_monitors[static_cast<size_t>(i)].get() == monitor) return i;
    return -1;
}

const CMonitor* CMonitors::MonitorFromPoint(int x, int y) const {
    for (const auto& monitor : m_monitors)
        if (monitor->ContainsPoint(x, y)) return monitor.get();
    return nullptr;
}

RECT CMonitors::GetUnionRect() const {
    RECT result{};
    for (const auto& monitor : m_monitors) {
        RECT rect;
        if (monitor->GetMonitorRect(rect)) ::UnionRect(&result, &result, &rect);
    }
    return result;
}

void GetVirtualScreenRect(RECT& rect) {
    rect.left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    rect.top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    rect.right = rect.left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    rect.bottom = rect.top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
}
