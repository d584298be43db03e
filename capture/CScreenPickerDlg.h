#pragma once
// The common ground of the on-screen pickers: a modal, topmost pop-up over the whole virtual
// screen that shows a frozen, dimmed picture of it from a back buffer, and hands out the chosen
// rectangle and its bright pixels. Picker coordinates (the window's client coordinates, and
// pixel positions in both pictures) are screen coordinates minus the virtual screen's top-left
// corner; what the picker hands out is in screen coordinates.
#include <windows.h>
#include <memory>
#include "CDialog.h"
#include "CScreenImage.h"
#include "DeviceContext.h"
#include "GdiObject.h"

class CScreenPickerDlg : public CDialog {
public:
    ~CScreenPickerDlg() override;

    // Freezes the screen, then runs the picker: IDOK when something was chosen (possibly
    // nothing: an empty rectangle), IDCANCEL on Esc, -1 when the screen could not be grabbed.
    INT_PTR DoModal() override;

    // The chosen rectangle in screen coordinates (meaningful after IDOK; empty when nothing).
    RECT GetSelectedRect() const;
    // Makes `target` a picture of the chosen rectangle, copied from the bright picture taken when
    // the picker opened. False (and `target` empty) when nothing was chosen.
    BOOL CopySelectedImage(CScreenImage& target) const;

    const RECT& GetScreenRect() const { return m_screenRect; }

protected:
    CScreenPickerDlg();

    // The chosen rectangle in picker coordinates.
    virtual RECT GetSelection() const = 0;

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();

    RECT ToPicker(RECT screenRect) const;
    RECT ToScreen(RECT pickerRect) const;
    int Width() const { return m_screenRect.right - m_screenRect.left; }
    int Height() const { return m_screenRect.bottom - m_screenRect.top; }
    // Copies a rectangle of one of the pictures into the back buffer at the same place.
    void CopyToBackBuffer(const CScreenImage& from, const RECT& pickerRect);
    HDC BackBuffer() const { return m_backBuffer ? m_backBuffer->get() : nullptr; }

    CScreenImage m_dark;    // the screen at half brightness: shown outside the choice
    CScreenImage m_bright;  // the screen as it was: shown inside the choice and handed out
    RECT m_screenRect{};    // the virtual screen, screen coordinates

private:
    std::unique_ptr<CMemoryDC> m_backBuffer;
    CBitmap m_backBitmap;
    std::unique_ptr<CSelectObject> m_backSelection;  // put back before the two above go
};
