#pragma once
// A child window that shows content larger than itself with scroll bars: derived views draw the
// whole content at its own coordinates in OnDraw, and the view paints the visible part from a
// back buffer. The previews of text, overlays and frames derive from it.
#include "CWnd.h"
#include "GdiObject.h"

class CScrollView : public CWnd {
public:
    BOOL Create(const RECT& rect, HWND parent, UINT id,
                DWORD style = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL,
                DWORD exStyle = WS_EX_CLIENTEDGE);

    // The size of the content in pixels, and how far one click on a scroll arrow moves.
    void SetScrollSizes(SIZE total, SIZE line = {16, 16});
    SIZE GetTotalSize() const { return m_total; }
    // The content point at the client area's top-left corner.
    POINT GetScrollPosition() const { return m_position; }
    // Scrolls so that this content point is at the top-left corner, as far as the content goes.
    void ScrollToPosition(POINT position);
    // A client point (of a mouse message) as a point of the content.
    POINT ClientToContent(POINT client) const { return {client.x + m_position.x, client.y + m_position.y}; }
    // Outside the content and under a content smaller than the view.
    void SetBackgroundColor(COLORREF color) { m_background = color; }

protected:
    // Draws the content at its own coordinates; the origin is already shifted by the position.
    virtual void OnDraw(HDC dc) = 0;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void UpdateBars();
    void OnScroll(int bar, UINT request);
    void OnPaint();

    SIZE m_total{};
    SIZE m_line{16, 16};
    POINT m_position{};
    COLORREF m_background = ::GetSysColor(COLOR_APPWORKSPACE);
    CBitmap m_backBuffer;
    SIZE m_bufferSize{};
};
