#include "CScrollView.h"
#include <algorithm>
#include "DeviceContext.h"
#include "MessageArgs.h"

namespace {
const wchar_t kScrollViewClass[] = L"TovrixScrollView";
}

BOOL CScrollView::Create(const RECT& rect, HWND parent, UINT id, DWORD style, DWORD exStyle) {
    // No class brush: the view paints every pixel itself.
    if (!RegisterClass(kScrollViewClass, CS_DBLCLKS)) return FALSE;
    if (!CreateEx(exStyle, kScrollViewClass, L"", style, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, parent,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
        return FALSE;
    UpdateBars();
    return TRUE;
}

void CScrollView::SetScrollSizes(SIZE total, SIZE line) {
    m_total = {std::max(0L, total.cx), std::max(0L, total.cy)};
    m_line = {std::max(1L, line.cx), std::max(1L, line.cy)};
    if (m_hWnd) {
        UpdateBars();
        Invalidate(FALSE);
    }
}

void CScrollView::ScrollToPosition(POINT position) {
    m_position = position;
    if (m_hWnd) {
        UpdateBars();
        Invalidate(FALSE);
    }
}

void CScrollView::UpdateBars() {
    // Showing one bar narrows the client area and may call for the other: settle twice.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client;
        GetClientRect(&client);
        const LONG visible[2] = {client.right, client.bottom};
        const LONG total[2] = {m_total.cx, m_total.cy};
        LONG* position[2] = {&m_position.x, &m_position.y};
        for (int axis = 0; axis < 2; ++axis) {
            LONG furthest = std::max(0L, total[axis] - visible[axis]);
            *position[axis] = std::clamp(*position[axis], 0L, furthest);
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            info.nMin = 0;
            info.nMax = furthest > 0 ? static_cast<int>(total[axis] - 1) : 0;
            info.nPage = furthest > 0 ? static_cast<UINT>(visible[axis]) : 0;
            info.nPos = static_cast<int>(*position[axis]);
            ::SetScrollInfo(m_hWnd, axis == 0 ? SB_HORZ : SB_VERT, &info, TRUE);
        }
    }
}

void CScrollView::OnScroll(int bar, UINT request) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ::GetScrollInfo(m_hWnd, bar, &info);
    LONG line = bar == SB_HORZ ? m_line.cx : m_line.cy;
    LONG page = std::max<LONG>(static_cast<LONG>(info.nPage), line);
    LONG target = bar == SB_HORZ ? m_position.x : m_position.y;
    switch (request) {
    case SB_LINEUP: target -= line; break;
    case SB_LINEDOWN: target += line; break;
    case SB_PAGEUP: target -= page; break;
    case SB_PAGEDOWN: target += page; break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: target = info.nTrackPos; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = info.nMax; break;
    default: return;
    }
    POINT position = m_position;
    (bar == SB_HORZ ? position.x : position.y) = target;
    ScrollToPosition(position);
}

void CScrollView::OnPaint() {
    CPaintDC dc(m_hWnd);
    RECT client;
    GetClientRect(&client);
    if (client.right <= 0 || client.bottom <= 0) return;
    if (!m_backBuffer || m_bufferSize.cx < client.right || m_bufferSize.cy < client.bottom) {
        m_backBuffer.CreateCompatibleBitmap(dc, client.right, client.bottom);
        m_bufferSize = {client.right, client.bottom};
    }
    CMemoryDC memory(dc);
    CSelectObject bitmap(memory, m_backBuffer);
    CBrush background(m_background);
    ::FillRect(memory, &client, background);
    POINT oldOrigin;
    ::SetViewportOrgEx(memory, -m_position.x, -m_position.y, &oldOrigin);
    // Nothing is drawn past the content's size, so the background shows there.
    ::IntersectClipRect(memory, 0, 0, m_total.cx, m_total.cy);
    OnDraw(memory);
    ::SelectClipRgn(memory, nullptr);
    ::SetViewportOrgEx(memory, oldOrigin.x, oldOrigin.y, nullptr);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
}

LRESULT CScrollView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;  // the back buffer covers every pixel
    case WM_SIZE:
        UpdateBars();
        Invalidate(FALSE);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam) break;  // a scroll bar control of the content: the parent's business
        OnScroll(msg == WM_HSCROLL ? SB_HORZ : SB_VERT, ScrollArgsFrom(wParam, lParam).request);
        return 0;
    case WM_MOUSEWHEEL: {
        // Three lines a notch, as the system's default wheel setting.
        LONG lines = -WheelDelta(wParam) * 3 / WHEEL_DELTA;
        ScrollToPosition({m_position.x, m_position.y + lines * m_line.cy});
        return 0;
    }
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}
