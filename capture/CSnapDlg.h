#pragma once
// The fixed-region frame: a skinned, topmost pop-up with a title strip and a hole. Whatever
// shows through the hole is the capture rectangle of the "선택영역" area. The title strip moves
// the frame, eight handles inside the hole resize it (both through the system's own move and
// size loop), and three buttons fit it around a window, type its size, or confirm it. Clicks
// in the hole outside the handles reach the window underneath: the hole is no part of the
// window's region. Its borders, handles and buttons are pixels at 100 % times the scale of the
// monitor its hole lies on; the hole itself is in physical pixels at every scale.
//
//   CSnapDlg frame;
//   if (frame.DoModalWithRect(stored) == IDOK) stored = frame.GetCaptureRect();
#include <windows.h>
#include <memory>
#include <vector>
#include "CDialog.h"
#include "CNinePatch.h"
#include "DeviceContext.h"
#include "Dpi.h"
#include "GdiObject.h"

class CHoverButton;

class CSnapDlg : public CDialog {
public:
    // The smallest frame at 100 %: its hole is 45 x 45.
    static constexpr int kMinWidth = 53;
    static constexpr int kMinHeight = 73;
    // The frame shown for an empty rectangle (first use), at 100 %, centred on the primary monitor.
    static constexpr SIZE kDefaultSize{411, 312};

    CSnapDlg();
    ~CSnapDlg() override;

    // Puts the hole over `rect` (screen coordinates; an empty one leaves the frame where the
    // template puts it) and runs the frame: IDOK when confirmed, IDCANCEL on Esc.
    INT_PTR DoModalWithRect(const RECT& rect);
    // After IDOK: the hole in screen coordinates, clipped to the virtual screen; (0, 0, 0, 0)
    // when nothing of it lies on the virtual screen.
    RECT GetCaptureRect() const;

    // The frame's rectangle for a hole at `hole`, given the monitors' rectangles in their
    // enumeration order: the hole inset 4 pixels left, right and bottom and 24 at the top (at
    // 100 %, scaled to `dpi`); when the place of the OK button lies on no single monitor, the top
    // moves to a monitor's top.
    static RECT FrameRectForHole(const RECT& hole, const std::vector<RECT>& monitors, UINT dpi = kDefaultDpi);
    // The smallest frame at a DPI.
    static SIZE MinimumSize(UINT dpi);

    // Client coordinates (the hole is in screen coordinates once OK was pressed).
    const RECT& GetInnerRect() const { return m_inner; }
    const RECT& GetHandleRect(int index) const { return m_handles[index]; }
    RECT GetTitleRect() const;
    int GetHoveredHandle() const { return m_hovered; }
    CHoverButton* GetFindButton() const { return m_find.get(); }
    CHoverButton* GetSizeButton() const { return m_size.get(); }
    CHoverButton* GetOkButton() const { return m_ok.get(); }
    // The strip the three buttons lie in (client coordinates), the DPI laid out for, and the
    // picture the window paints from.
    RECT GetButtonStripRect() const;
    UINT GetDpi() const { return m_dpi; }
    HDC GetBackBuffer() const { return m_backBuffer ? m_backBuffer->get() : nullptr; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

    // The window picker of "윈도우 찾기": IDOK with the picked rectangle in screen coordinates.
    virtual INT_PTR RunWindowPicker(RECT& picked);

private:
    void PlaceFrame(const RECT& hole);
    void ComputeRects();
    void UpdateRegion();
    void LayoutButtons();
    void RedrawSkin(int width, int height);
    void UpdateSizeCaption();
    void CreateButtons();

    void OnSize(int width, int height);
    void OnDpiChanged(UINT dpi);
    void OnPaint();
    void PaintTo(HDC dc) const;
    void OnMouseMove(POINT point);
    BOOL OnSetCursor();
    void OnLButtonDown(POINT point);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnFindWindow();
    void OnSizeButton();

    bool m_initialised = false;
    CNinePatch m_skin;
    std::unique_ptr<CMemoryDC> m_backBuffer;
    CBitmap m_backBitmap;
    std::unique_ptr<CSelectObject> m_backSelection;  // put back before the two above go
    RECT m_inner{};
    RECT m_handles[8]{};
    int m_hovered = -1;
    std::unique_ptr<CHoverButton> m_find;
    std::unique_ptr<CHoverButton> m_size;
    std::unique_ptr<CHoverButton> m_ok;
    RECT m_initial{};
    UINT m_dpi = kDefaultDpi;
};
