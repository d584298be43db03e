#pragma once
// The frame the user places over the part of the screen to record: a borderless topmost popup
// whose inside is a hole (the window region leaves it out), so the desktop shows and works
// through it and grabs of that area see what lies beneath. Idle it is a purple nine-patch frame
// with eight resize handles and a move symbol; while recording only a yellow border is left. On
// the recording thread's request (WM_GIF_CAPTURE_FRAME) it grabs its area on this thread. The
// border and handles are pixels at 100 % times the scale of the monitor the area lies on; the
// area itself is in physical pixels at every scale.
#include <windows.h>
#include <functional>
#include <memory>
#include <string>
#include "CDialogEx.h"
#include "CGifFrameImage.h"
#include "CNinePatch.h"
#include "DeviceContext.h"
#include "Dpi.h"
#include "GdiObject.h"

class CGifSnapDlg : public CDialogEx {
public:
    // Parts under the mouse: handles in this order, then the rest of the frame.
    enum Part { TopLeft, Top, TopRight, Left, Right, BottomLeft, Bottom, BottomRight, Frame = 8 };
    static constexpr int kHandles = 8;
    static constexpr COLORREF kKeyColour = RGB(255, 0, 255);
    static constexpr COLORREF kRecordingColour = RGB(255, 255, 0);
    // The picture without its marks at 100 %: the smallest window, leaving a 57 x 57 area.
    static constexpr int kMinimumSize = 65;
    // The frame shown when no area is given, at 100 %, centred on the primary monitor.
    static constexpr SIZE kDefaultSize{411, 312};

    CGifSnapDlg();
    ~CGifSnapDlg() override;

    // Creates the frame hidden, owned by `owner` (the program's main window), with the area of
    // `area` (screen coordinates) when it is not empty.
    BOOL Create(HWND owner, const RECT& area = RECT{});
    // The recorder dialog that hears WM_GIF_AREA_CHANGED.
    void SetOwner(HWND owner) { m_notify = owner; }
    // How a frame is grabbed (CGifFrameImage::CaptureArea unless replaced): FALSE when the
    // screen could not be read. Tests stand in a grab that fails, as on a locked desktop.
    using Grab = std::function<BOOL(CGifFrameImage& frame, const RECT& area, const GifCaptureOptions& options)>;
    void SetGrab(Grab grab) { m_grab = std::move(grab); }

    // The hole in screen coordinates.
    RECT GetCaptureRect() const;
    // Places the frame so that its hole is `area` (screen coordinates).
    BOOL SetCaptureRect(const RECT& area);
    void ShowRecordingLook();
    void ShowIdleLook();
    bool IsRecordingLook() const { return m_recordingLook; }

    // The caption the recorder shows for an area: "%dX%d".
    static std::wstring AreaCaption(const RECT& area);
    // The part of the frame at a client point: a handle, Frame, or -1 outside every part.
    int PartAt(POINT client) const;
    const RECT& GetAreaRect() const { return m_area; }
    const RECT& GetCentreRect() const { return m_centre; }
    const RECT& GetHandleRect(int handle) const { return m_handles[handle]; }
    int GetHoverPart() const { return m_hover; }
    // The DPI laid out for, the smallest window at it, and the picture the window paints from.
    UINT GetDpi() const { return m_dpi; }
    int MinimumSize() const;
    HDC GetBackBuffer() const { return m_backBuffer ? m_backBuffer->get() : nullptr; }

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    void OnPaint();
    void PaintTo(HDC dc) const;
    void OnDpiChanged(UINT dpi);
    // The border's width at the DPI: the hole's inset from the window's edges.
    int Border() const { return ScaleToDpi(4, m_dpi); }
    void OnMouseMove(POINT point);
    void OnLButtonDown(POINT point);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnSize();
    LRESULT OnCaptureFrame(WPARAM serial, LPARAM request);
    void DrawIdleLook(int width, int height);
    void DrawRecordingLook(int width, int height);
    // The visible pixels of the move symbol: every pixel of the centre rectangle (its right and
    // bottom edges included) that is not the key colour.
    void AddSymbolPixels(HRGN region) const;

    bool m_initialised = false;
    bool m_recordingLook = false;
    CNinePatch m_skin;
    CBitmap m_backBitmap;
    std::unique_ptr<CMemoryDC> m_backBuffer;
    std::unique_ptr<CSelectObject> m_backSelection;  // put back before the two above go
    int m_hover = -1;
    RECT m_area{};
    RECT m_centre{};
    RECT m_handles[kHandles]{};
    RECT m_initialArea{};
    HWND m_notify = nullptr;
    Grab m_grab;
    UINT m_dpi = kDefaultDpi;
};
