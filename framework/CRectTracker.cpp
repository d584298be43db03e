#include "CRectTracker.h"
#include <algorithm>
#include "DeviceContext.h"
#include "GdiObject.h"
#include "MessageArgs.h"

namespace {
RECT Normalized(const RECT& rect) {
    return {std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
            std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
}

// Which edges a part of the tracker drags: left, top, right, bottom.
struct Edges {
    bool left, top, right, bottom;
};
Edges EdgesOf(int hit) {
    switch (hit) {
    case CRectTracker::hitTopLeft: return {true, true, false, false};
    case CRectTracker::hitTopRight: return {false, true, true, false};
    case CRectTracker::hitBottomRight: return {false, false, true, true};
    case CRectTracker::hitBottomLeft: return {true, false, false, true};
    case CRectTracker::hitTop: return {false, true, false, false};
    case CRectTracker::hitRight: return {false, false, true, false};
    case CRectTracker::hitBottom: return {false, false, false, true};
    case CRectTracker::hitLeft: return {true, false, false, false};
    default: return {true, true, true, true};  // the middle moves as a whole
    }
}
}  // namespace

RECT CRectTracker::HandleRect(int handle) const {
    const RECT r = Normalized(m_rect);
    const int h = m_nHandleSize;
    const LONG midX = (r.left + r.right) / 2 - h / 2;
    const LONG midY = (r.top + r.bottom) / 2 - h / 2;
    // Outside: the handle lies beyond the edge; inside: within it.
    const bool outside = (m_nStyle & resizeOutside) != 0;
    const LONG left = outside ? r.left - h : r.left;
    const LONG top = outside ? r.top - h : r.top;
    const LONG right = outside ? r.right : r.right - h;
    const LONG bottom = outside ? r.bottom : r.bottom - h;
    POINT at{};
    switch (handle) {
    case hitTopLeft: at = {left, top}; break;
    case hitTopRight: at = {right, top}; break;
    case hitBottomRight: at = {right, bottom}; break;
    case hitBottomLeft: at = {left, bottom}; break;
    case hitTop: at = {midX, top}; break;
    case hitRight: at = {right, midY}; break;
    case hitBottom: at = {midX, bottom}; break;
    case hitLeft: at = {left, midY}; break;
    default: return {};
    }
    return {at.x, at.y, at.x + h, at.y + h};
}

void CRectTracker::GetTrueRect(RECT* rect) const {
    *rect = Normalized(m_rect);
    if (m_nStyle & (resizeOutside | hatchedBorder)) ::InflateRect(rect, m_nHandleSize, m_nHandleSize);
}

void CRectTracker::Draw(HDC dc) const {
    const RECT r = Normalized(m_rect);
    const int saved = ::SaveDC(dc);
    {
        CBrush hatch(::CreateHatchBrush(HS_BDIAGONAL, RGB(0, 0, 0)));
        ::SetBkMode(dc, OPAQUE);
        ::SetBkColor(dc, RGB(255, 255, 255));
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
        if (m_nStyle & hatchInside) ::FillRect(dc, &r, hatch);
        if (m_nStyle & hatchedBorder) {
            const int h = m_nHandleSize;
            const RECT bands[4] = {{r.left - h, r.top - h, r.right + h, r.top},
                                   {r.left - h, r.bottom, r.right + h, r.bottom + h},
                                   {r.left - h, r.top, r.left, r.bottom},
                                   {r.right, r.top, r.right + h, r.bottom}};
            for (const RECT& band : bands) ::FillRect(dc, &band, hatch);
        }
        if (m_nStyle & (solidLine | dottedLine)) {
            CPen pen((m_nStyle & dottedLine) ? PS_DOT : PS_SOLID, 1, RGB(0, 0, 0));
            CSelectObject usePen(dc, pen);
            CSelectObject hollow(dc, ::GetStockObject(HOLLOW_BRUSH));
            ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
        }
        if (HasHandles()) {
            CBrush black(RGB(0, 0, 0));
            for (int handle = hitTopLeft; handle <= hitLeft; ++handle) {
                const RECT box = HandleRect(handle);
                ::FillRect(dc, &box, black);
            }
        }
    }
    ::RestoreDC(dc, saved);
}

int CRectTracker::HitTest(POINT point) const {
    RECT whole;
    GetTrueRect(&whole);
    if (!::PtInRect(&whole, point)) return hitNothing;
    if (HasHandles()) {
        // Corners first: on a small rectangle they win over the edge middles they overlap.
        for (int handle = hitTopLeft; handle <= hitLeft; ++handle) {
            const RECT box = HandleRect(handle);
            if (::PtInRect(&box, point)) return handle;
        }
    }
    return hitMiddle;
}

BOOL CRectTracker::SetCursor(HWND wnd, UINT nHitTest) const {
    if (nHitTest != HTCLIENT) return FALSE;
    POINT point{};
    if (!::GetCursorPos(&point) || !::ScreenToClient(wnd, &point)) return FALSE;
    const wchar_t* shape = nullptr;
    switch (HitTest(point)) {
    case hitNothing: return FALSE;
    case hitTopLeft: case hitBottomRight: shape = IDC_SIZENWSE; break;
    case hitTopRight: case hitBottomLeft: shape = IDC_SIZENESW; break;
    case hitTop: case hitBottom: shape = IDC_SIZENS; break;
    case hitLeft: case hitRight: shape = IDC_SIZEWE; break;
    default: shape = IDC_SIZEALL; break;
    }
    ::SetCursor(::LoadCursorW(nullptr, shape));
    return TRUE;
}

void CRectTracker::OnChangedRect(HWND wnd, const RECT& oldRect) {
    CRectTracker before(oldRect, m_nStyle);
    before.m_nHandleSize = m_nHandleSize;
    RECT oldArea, newArea;
    before.GetTrueRect(&oldArea);
    GetTrueRect(&newArea);
    ::InvalidateRect(wnd, &oldArea, FALSE);
    ::InvalidateRect(wnd, &newArea, FALSE);
    ::UpdateWindow(wnd);
}

BOOL CRectTracker::Track(HWND wnd, POINT point) {
    const int hit = HitTest(point);
    if (hit == hitNothing || !::IsWindow(wnd)) return FALSE;
    const RECT original = m_rect;
    const RECT start = Normalized(m_rect);
    const Edges edges = EdgesOf(hit);
    const bool moveWhole = hit == hitMiddle;

    auto follow = [&](POINT at) {
        const LONG dx = at.x - point.x, dy = at.y - point.y;
        RECT moved = start;
        if (moveWhole) {
            ::OffsetRect(&moved, dx, dy);
        } else {
            // A dragged edge stops short of the opposite one, so the rectangle never turns over.
            if (edges.left) moved.left = std::min(start.left + dx, start.right - m_sizeMin.cx);
            if (edges.right) moved.right = std::max(start.right + dx, start.left + m_sizeMin.cx);
            if (edges.top) moved.top = std::min(start.top + dy, start.bottom - m_sizeMin.cy);
            if (edges.bottom) moved.bottom = std::max(start.bottom + dy, start.top + m_sizeMin.cy);
        }
        if (!::EqualRect(&moved, &m_rect)) {
            const RECT old = m_rect;
            m_rect = moved;
            OnChangedRect(wnd, old);
        }
    };

    ::SetCapture(wnd);
    bool cancelled = false;
    for (bool done = false; !done;) {
        if (::GetCapture() != wnd) {
            cancelled = true;  // another window took the mouse (a menu, a message box, the system)
            break;
        }
        MSG msg;
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the loops outside
            cancelled = true;
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            if (msg.hwnd != wnd) break;
            follow(MousePoint(msg.lParam));
            done = msg.message == WM_LBUTTONUP;
            continue;
        case WM_RBUTTONDOWN:
            cancelled = done = true;
            continue;
        case WM_KEYDOWN:
            if (msg.wParam != VK_ESCAPE) break;
            cancelled = done = true;
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (::GetCapture() == wnd) ::ReleaseCapture();

    if (cancelled) {
        if (!::EqualRect(&m_rect, &original)) {
            const RECT old = m_rect;
            m_rect = original;
            OnChangedRect(wnd, old);
        }
        return FALSE;
    }
    const bool changed = !::EqualRect(&m_rect, &start);
    if (!changed) m_rect = start;
    return changed;
}
