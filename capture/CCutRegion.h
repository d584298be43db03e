#pragma once
// The region picker of the "cut at capture" area: the frozen screen shown dimmed, a white
// crosshair following the pointer, and a rectangle dragged with the left button shown at full
// brightness; releasing the button chooses it.
#include <windows.h>
#include "CScaledCursor.h"
#include "CScreenPickerDlg.h"
#include "GdiObject.h"

class CCutRegion : public CScreenPickerDlg {
public:
    CCutRegion();

protected:
    RECT GetSelection() const override { return m_selection; }
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnLButtonDown(POINT point);
    void OnMouseMove(POINT point);
    void OnLButtonUp();
    BOOL OnSetCursor();
    void DrawCrosshair(POINT point);

    int m_dragging = 0;               // 1 from the press until the picker ends
    POINT m_dragStart{};              // picker coordinates, as all points and rectangles here
    POINT m_lastDragPoint{};
    POINT m_lastPointer{-1, -1};      // (-1, -1) until the first move: no crosshair drawn yet
    RECT m_selection{};               // normalized; empty until the first move while dragging
    RECT m_dirtyRect{};               // where the back buffer was last made bright
    CPen m_crosshairPen;
    CScaledCursor m_cursor;  // the knife, at the scale of the monitor under the pointer
};
