#include "COverlayPage.h"
#include "OverlaySettings.h"

COverlayPage::COverlayPage(UINT templateId, int firstControl, int lastControl, bool OverlaySettings::*on)
    : CDialog(templateId), m_firstControl(firstControl), m_lastControl(lastControl), m_on(on) {}

BOOL COverlayPage::OnInitDialog() {
    ShowControls();
    return TRUE;
}

void COverlayPage::ShowControls() {
    m_ready = false;
    UpdateData(FALSE);
    ShowMoreControls();
    EnableControls();
    m_ready = true;
}

bool COverlayPage::ReadControls() {
    const OverlaySettings before = *m_settings;
    if (UpdateData(TRUE)) return true;
    *m_settings = before;
    return false;
}

void COverlayPage::EnableControls() {
    for (int id = m_firstControl; id <= m_lastControl; ++id) {
        HWND control = GetDlgItem(id);
        if (control) ::EnableWindow(control, m_settings->*m_on);
    }
}

BOOL COverlayPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    // Enter and Esc belong to the dialog that holds the page.
    if (id == IDOK || id == IDCANCEL) {
        ::SendMessageW(::GetAncestor(m_hWnd, GA_ROOT), WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    if (!m_ready || !m_settings || !m_view) return FALSE;
    return OnEdit(id, HIWORD(wParam));
}
