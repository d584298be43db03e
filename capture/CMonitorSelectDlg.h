#pragma once
// The monitor chooser: a translucent veil over every monitor whose pointer names the monitor
// under it; one click reports that monitor to the parent with WM_MONITOR_SELECTED.
#include <windows.h>
#include <vector>
#include "CDialog.h"
#include "CUniqueAny.h"
#include "CMonitors.h"
#include "GdiObject.h"

class CMonitorSelectDlg : public CDialog {
public:
    static constexpr int kModeChooseMonitor = 1;
    static constexpr BYTE kVeilAlpha = 70;

    // The list is not owned and must outlive the chooser.
    CMonitorSelectDlg(int mode, const CMonitors* monitors, CWnd* parent);
    ~CMonitorSelectDlg() override;

    // Creates the chooser modeless over every monitor and shows it.
    BOOL CreateAndShow();

    int GetMode() const { return m_mode; }
    // The pointer shown over monitor `index` (null outside the list).
    HCURSOR GetMonitorCursor(int index) const;
    // The monitor at a screen point, or null.
    const CMonitor* MonitorAt(POINT screenPoint) const;

    // Enter and Escape never reach the chooser.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}      // Enter does not close the chooser:
    void OnCancel() override {}  // a click is the only way out.
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL OnEraseBkgnd(HDC dc);
    BOOL OnSetCursor();
    void OnLButtonDown(POINT clientPoint);
    void BuildMonitorCursors();

    int m_mode;
    const CMonitors* m_monitors;
    std::vector<CBitmap> m_labels;   // one label picture per monitor
    std::vector<CUniqueCursor> m_cursors;  // the pointer made from each label
};
