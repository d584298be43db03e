#include "CCutControl.h"
#include "MessageArgs.h"
#include "PickerScreens.h"

namespace {
// A window rectangle from the system, in the picker's coordinates.
bool WindowRectAt(HWND window, POINT origin, RECT& rect) {
    if (!::GetWindowRect(window, &rect)) return false;
    ::OffsetRect(&rect, -origin.x, -origin.y);
    return true;
}
}  // namespace

CCutControl::CCutControl() : m_frameBounds(&GetExtendedFrameBounds) {}

RECT CCutControl::GetSelection() const {
    return ToPicker(m_resultRect);
}

BOOL CCutControl::OnInitDialog() {
    CScreenPickerDlg::OnInitDialog();
    Invalidate(TRUE);
    ForceForeground(m_hWnd);
    return TRUE;
}

LRESULT CCutControl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove(MousePoint(lParam));
        break;
    case WM_LBUTTONDOWN:
        if (OnLButtonDown()) return 0;
        break;
    }
    return CScreenPickerDlg::WindowProc(msg, wParam, lParam);
}

HWND CCutControl::TopLevelWindowAt(POINT point, RECT& rect) const {
    const POINT origin{m_screenRect.left, m_screenRect.top};
    // Only the windows below the picker: the picker itself covers everything.
    for (HWND window = ::GetWindow(m_hWnd, GW_HWNDNEXT); window;
         window = ::GetWindow(window, GW_HWNDNEXT)) {
        if (WindowRectAt(window, origin, rect) && ::PtInRect(&rect, point) &&
            ::IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

HWND CCutControl::FindChildAt(HWND window, POINT point, POINT origin, RECT& rect) {
    HWND first = window ? ::GetWindow(window, GW_CHILD) : nullptr;
    if (!first) return nullptr;
    if (HWND deeper = FindChildAt(first, point, origin, rect)) return deeper;
    // Visibility is not asked at this level: a hidden child can be found.
    for (HWND child = first; child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (WindowRectAt(child, origin, rect) && ::PtInRect(&rect, point)) return child;
    }
    return nullptr;
}

void CCutControl::OnMouseMove(POINT point) {
    RECT topRect{};
    HWND top = TopLevelWindowAt(point, topRect);
    if (!top) return;
    RECT childRect{};
    HWND child = FindChildAt(top, point, POINT{m_screenRect.left, m_screenRect.top}, childRect);
    HWND candidate = child ? child : top;
    // Moving within the highlighted window repaints nothing.
    if (candidate != m_highlighted) Highlight(candidate, child ? childRect : topRect);
}

void CCutControl::Highlight(HWND window, const RECT& rect) {
    HDC back = BackBuffer();
    CopyToBackBuffer(m_dark, m_highlightRect);
    CopyToBackBuffer(m_bright, rect);
    {
        CPen red(PS_SOLID, 3, RGB(255, 0, 0));
        CSelectObject brush(back, ::GetStockObject(NULL_BRUSH));
        CSelectObject pen(back, red);
        // Shrunk by one pixel, so that the three-pixel line ends at the rectangle's edge.
        ::Rectangle(back, rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
    }
    RECT changed;
    ::UnionRect(&changed, &m_highlightRect, &rect);
    ::InvalidateRect(m_hWnd, &changed, FALSE);
    // Shown at once rather than when the queue runs dry: the frame follows the pointer.
    UpdateWindow();
    m_highlightRect = rect;
    m_highlighted = window;
}

bool CCutControl::OnLButtonDown() {
    if (!m_highlighted) return false;
    RECT frame{};
    if (!m_frameBounds || FAILED(m_frameBounds(m_highlighted, frame))) {
        if (!::GetWindowRect(m_highlighted, &frame)) ::SetRectEmpty(&frame);
    }
    // The pictures hold the virtual screen only: a window reaching past its edge is cut there,
    // rather than handing out pixels nobody grabbed.
    if (!::IntersectRect(&m_resultRect, &frame, &m_screenRect)) ::SetRectEmpty(&m_resultRect);
    OnOK();
    return true;
}
