#include "CDialogEx.h"

CDialogEx::~CDialogEx() {
    if (m_background) ::DeleteObject(m_background);
}

void CDialogEx::SetBackgroundColor(COLORREF color) {
    if (m_background) ::DeleteObject(m_background);
    m_background = ::CreateSolidBrush(color);
    if (m_hWnd) Invalidate();
}

LRESULT CDialogEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CTLCOLORDLG && m_background) return reinterpret_cast<LRESULT>(m_background);
    return CDialog::WindowProc(msg, wParam, lParam);
}
