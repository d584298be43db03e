#include "CGifFrameView.h"
#include <string>
#include "CScreenImage.h"
#include "DeviceContext.h"
#include "GdiObject.h"
#include "MessageArgs.h"

namespace {
const SIZE kEmptySize{300, 200};
}

CGifFrameView::CGifFrameView() {
    SetBackgroundColor(RGB(128, 128, 128));
}

BOOL CGifFrameView::Create(CWnd* parent, const RECT& rect, UINT id) {
    return CScrollView::Create(rect, parent ? parent->m_hWnd : nullptr, id,
                               WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE);
}

void CGifFrameView::OnInitialUpdate() {
    m_pictureSize = kEmptySize;
    SetScrollSizes(m_pictureSize);
}

void CGifFrameView::ShowPicture(CScreenImage* picture) {
    m_picture = picture;
    const SIZE size = picture ? SIZE{picture->GetWidth(), picture->GetHeight()} : kEmptySize;
    const bool resized = size.cx != m_pictureSize.cx || size.cy != m_pictureSize.cy;
    m_pictureSize = size;
    // A smaller picture uncovers background that must be painted again.
    if (m_hWnd) Invalidate(resized ? TRUE : FALSE);
    SetScrollSizes(size);
}

void CGifFrameView::EnableTracker() {
    m_trackerEnabled = true;
    m_tracker.m_rect = {10, 10, 110, 110};
    m_tracker.m_nStyle = CRectTracker::solidLine | CRectTracker::hatchedBorder | CRectTracker::resizeOutside;
    m_trackerScroll = GetScrollPosition();
    if (m_hWnd) Invalidate(FALSE);
}

RECT CGifFrameView::GetTrackerRect() const {
    if (!m_trackerEnabled) return {};
    // The tracker is held in client coordinates, as the classic tracker is; content scrolled
    // since then has carried it along.
    RECT rect = m_tracker.m_rect;
    const POINT position = GetScrollPosition();
    ::OffsetRect(&rect, m_trackerScroll.x - position.x, m_trackerScroll.y - position.y);
    return rect;
}

void CGifFrameView::SyncTracker() {
    m_tracker.m_rect = GetTrackerRect();
    m_trackerScroll = GetScrollPosition();
}

void CGifFrameView::OnDraw(HDC dc) {
    if (m_picture) {
        m_picture->Draw(dc, 0, 0);
        CPen black(PS_SOLID, 1, RGB(0, 0, 0));
        CSelectObject pen(dc, black);
        CSelectObject hollow(dc, ::GetStockObject(HOLLOW_BRUSH));
        ::Rectangle(dc, 0, 0, m_pictureSize.cx, m_pictureSize.cy);
    } else {
        const RECT area{0, 0, kEmptySize.cx, kEmptySize.cy};
        ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    if (!m_trackerEnabled) return;
    SyncTracker();
    RECT tracker = m_tracker.m_rect;
    if (::IsRectEmpty(&tracker)) return;
    // The DC draws content coordinates; the tracker lives in client ones.
    const POINT position = GetScrollPosition();
    ::OffsetRect(&tracker, position.x, position.y);
    // The tracker may reach past the picture onto the grey around it.
    ::SelectClipRgn(dc, nullptr);
    const std::wstring size = std::to_wstring(tracker.right - tracker.left) + L" x " +
                              std::to_wstring(tracker.bottom - tracker.top);
    {
        CSelectObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        ::DrawTextW(dc, size.c_str(), static_cast<int>(size.size()), &tracker,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    CRectTracker drawn(tracker, m_tracker.m_nStyle);
    drawn.m_nHandleSize = m_tracker.m_nHandleSize;
    drawn.Draw(dc);
}

BOOL CGifFrameView::OnLButtonDown(POINT point) {
    SyncTracker();
    if (m_tracker.HitTest(point) == CRectTracker::hitNothing) return FALSE;
    RECT before, after;
    m_tracker.GetTrueRect(&before);
    (void)m_tracker.Track(m_hWnd, point);
    m_tracker.GetTrueRect(&after);
    InvalidateRect(&before, FALSE);
    InvalidateRect(&after, FALSE);
    return TRUE;
}

LRESULT CGifFrameView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (m_trackerEnabled && OnLButtonDown(MousePoint(lParam))) return 0;
        break;
    case WM_SETCURSOR:
        if (m_trackerEnabled && reinterpret_cast<HWND>(wParam) == m_hWnd) {
            SyncTracker();
            if (m_tracker.SetCursor(m_hWnd, LOWORD(lParam))) return TRUE;
        }
        break;
    }
    return CScrollView::WindowProc(msg, wParam, lParam);
}
