#pragma once
// The window and control picker of the "control at capture" area: over the frozen, dimmed
// screen, the window or control under the pointer is shown bright in a red frame; a click
// chooses its visible frame.
#include <windows.h>
#include "CScreenPickerDlg.h"

class CCutControl : public CScreenPickerDlg {
public:
    // How the visible frame of the clicked window is asked for (screen coordinates; a failure
    // code sends the picker to the window rectangle instead).
    using FrameBoundsQuery = HRESULT (*)(HWND window, RECT& rect);

    CCutControl();

    // The desktop window manager by default; another query where it must be stood in for.
    void SetFrameBoundsQuery(FrameBoundsQuery query) { m_frameBounds = query; }

    HWND GetHighlightedWindow() const { return m_highlighted; }

    // The child of `window` whose window rectangle (in the coordinates of `point`, shifted from
    // screen coordinates by `origin`) contains the point, searching deeper only through the first
    // child of each window; null when none. `rect` gets the child's rectangle.
    static HWND FindChildAt(HWND window, POINT point, POINT origin, RECT& rect);

protected:
    RECT GetSelection() const override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnMouseMove(POINT point);
    bool OnLButtonDown();
    HWND TopLevelWindowAt(POINT point, RECT& rect) const;
    void Highlight(HWND window, const RECT& rect);

    HWND m_highlighted = nullptr;
    RECT m_highlightRect{};   // picker coordinates: where the back buffer shows bright and framed
    RECT m_resultRect{};      // screen coordinates, set at the click
    FrameBoundsQuery m_frameBounds;
};
