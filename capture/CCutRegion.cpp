#include "CCutRegion.h"
#include "MessageArgs.h"
#include "PickerScreens.h"
#include "resource.h"

namespace {
RECT Normalized(POINT a, POINT b) {
    return RECT{a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.x < b.x ? b.x : a.x,
                a.y < b.y ? b.y : a.y};
}
}  // namespace

CCutRegion::CCutRegion() : m_cursor(IDC_CUT_CURSOR) {}

BOOL CCutRegion::OnInitDialog() {
    CScreenPickerDlg::OnInitDialog();
    m_crosshairPen = CPen(PS_SOLID, 1, RGB(255, 255, 255));
    ForceForeground(m_hWnd);
    Invalidate(TRUE);
    return TRUE;
}

LRESULT CCutRegion::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return TRUE;  // the back buffer covers every pixel
    case WM_SETCURSOR:
        return OnSetCursor();
    case WM_LBUTTONDOWN:
        OnLButtonDown(MousePoint(lParam));
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(MousePoint(lParam));
        break;
    case WM_LBUTTONUP:
        if (m_dragging) {
            OnLButtonUp();
            return 0;
        }
        break;
    }
    return CScreenPickerDlg::WindowProc(msg, wParam, lParam);
}

BOOL CCutRegion::OnSetCursor() {
    HCURSOR knife = m_cursor.AtPointer();
    ::SetCursor(knife ? knife : ::LoadCursorW(nullptr, IDC_CROSS));
    return TRUE;
}

void CCutRegion::OnLButtonDown(POINT point) {
    m_dragging = 1;
    m_dragStart = point;
    m_lastDragPoint = point;
}

void CCutRegion::OnMouseMove(POINT point) {
    if (m_dragging) {
        RECT old = Normalized(m_dragStart, m_lastDragPoint);
        m_selection = Normalized(m_dragStart, point);
        // Undo the previous bright area, then show the new one: two copies, one invalidation.
        CopyToBackBuffer(m_dark, m_dirtyRect);
        CopyToBackBuffer(m_bright, m_selection);
        ::UnionRect(&m_dirtyRect, &m_selection, &old);
        ::InvalidateRect(m_hWnd, &m_dirtyRect, FALSE);
        m_lastDragPoint = point;
    }
    DrawCrosshair(point);
    m_lastPointer = point;
}

// The crosshair is drawn on the window, never into the back buffer, so repainting the two lines
// it covered takes it away. It is drawn after the selection is repainted, or the repaint would
// cut it where it crosses the selection.
void CCutRegion::DrawCrosshair(POINT point) {
    if (m_lastPointer.x < 0) return;  // the first move: no crosshair to take away or to move
    RECT vertical{m_lastPointer.x, 0, m_lastPointer.x + 1, Height()};
    RECT horizontal{0, m_lastPointer.y, Width(), m_lastPointer.y + 1};
    ::InvalidateRect(m_hWnd, &vertical, FALSE);
    ::InvalidateRect(m_hWnd, &horizontal, FALSE);
    UpdateWindow();

    CClientDC dc(m_hWnd);
    CSelectObject pen(dc, m_crosshairPen);
    ::MoveToEx(dc, point.x, 0, nullptr);
    ::LineTo(dc, point.x, Height());
    ::MoveToEx(dc, 0, point.y, nullptr);
    ::LineTo(dc, Width(), point.y);
}

void CCutRegion::OnLButtonUp() {
    // The selection is the one of the last move, not of the release point.
    OnOK();
}
