#pragma once
// All display monitors, in the system's enumeration order, and the rectangles that describe the
// whole desktop: the union of the monitors and the virtual screen.
#include <windows.h>
#include <memory>
#include <vector>
#include "CMonitor.h"

class CMonitors {
public:
    // Enumerates the monitors now; a monitor plugged in later needs a new CMonitors.
    CMonitors();

    int GetCount() const { return static_cast<int>(m_monitors.size()); }
    // Null for an index outside the list.
    const CMonitor* GetMonitor(int index) const;
    // The index of the monitor with this identity, or -1.
    int IndexOf(const CMonitor* monitor) const;
    // The first monitor containing the point, or null.
    const CMonitor* MonitorFromPoint(int x, int y) const;
    // UnionRect of every monitor rectangle, starting from the empty rectangle.
    RECT GetUnionRect() const;

private:
    std::vector<std::unique_ptr<CMonitor>> m_monitors;
};

// The rectangle of the whole virtual screen from the system metrics.
void GetVirtualScreenRect(RECT& rect);
