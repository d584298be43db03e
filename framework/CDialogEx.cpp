#include "CDialogEx.h"

void CDialogEx::SetBackgroundColor(COLORREF color) {
    m_background.Attach(::CreateSolidBrush(color));
    if (m_hWnd) Invalidate();
}

LRESULT CDialogEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CTLCOLORDLG && m_background) return reinterpret_cast<LRESULT>(m_background.get());
    return CDialog::WindowProc(msg, wParam, lParam);
}
