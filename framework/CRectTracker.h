#pragma once
// A rubber-band rectangle the user moves and resizes with the mouse: it draws itself (outline,
// hatched border, handles), says which part of it lies under a point, sets the matching cursor,
// and runs the drag itself in a modal loop with the mouse captured.
#include <windows.h>

class CRectTracker {
public:
    // m_nStyle: how the tracker looks and where its handles are.
    enum StyleFlags : UINT {
        solidLine = 1,      // a solid black outline on the rectangle
        dottedLine = 2,     // a dotted black outline instead
        hatchedBorder = 4,  // a hatched band of m_nHandleSize just outside the rectangle
        resizeInside = 8,   // handles inside the corners and edge middles
        resizeOutside = 16, // handles outside them
        hatchInside = 32,   // the inside hatched
    };
    // What HitTest finds; the handles in the order of the classic framework.
    enum TrackerHit : int {
        hitNothing = -1,
        hitTopLeft = 0, hitTopRight = 1, hitBottomRight = 2, hitBottomLeft = 3,
        hitTop = 4, hitRight = 5, hitBottom = 6, hitLeft = 7,
        hitMiddle = 8,
    };

    CRectTracker() = default;
    CRectTracker(const RECT& rect, UINT style) : m_rect(rect), m_nStyle(style) {}
    virtual ~CRectTracker() = default;

    RECT m_rect{};         // in the client coordinates of the window it is tracked in
    UINT m_nStyle = 0;
    int m_nHandleSize = 7;
    SIZE m_sizeMin{1, 1};  // a resize never makes the rectangle smaller than this

    void Draw(HDC dc) const;
    // The rectangle with everything drawn around it (handles and border outside).
    void GetTrueRect(RECT* rect) const;
    // hitNothing when the point (client coordinates) is off the tracker.
    int HitTest(POINT point) const;
    // For WM_SETCURSOR (nHitTest is its low word): over the tracker the cursor of the part under
    // the pointer is set and TRUE returned; elsewhere nothing happens and FALSE is returned.
    BOOL SetCursor(HWND wnd, UINT nHitTest) const;
    // A left-button press at `point` (client coordinates of wnd) on the tracker: moves it (the
    // middle) or resizes it (a handle) until the button is released, with the mouse captured;
    // Esc, the right button or a lost capture put it back. TRUE when the rectangle changed.
    // Other messages are dispatched meanwhile, so the window repaints as the rectangle moves.
    BOOL Track(HWND wnd, POINT point);

protected:
    // Called whenever Track has changed m_rect; the default repaints the window at once.
    virtual void OnChangedRect(HWND wnd, const RECT& oldRect);

private:
    RECT HandleRect(int handle) const;
    bool HasHandles() const { return (m_nStyle & (resizeInside | resizeOutside)) != 0; }
};
