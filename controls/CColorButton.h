#pragma once
// A push button that shows a colour swatch instead of a caption. Its owner opens the colour
// dialog on a click and hands the chosen colour back with SetColor.
//
//   CColorButton colour;
//   colour.SubclassDlgItem(IDC_TEXT_COLOR, dialog);
//   colour.SetColor(RGB(255, 0, 0));
#include <windows.h>
#include "CButton.h"

class CColorButton : public CButton {
public:
    // Attaching makes the control owner-drawn.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(int id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, id)); }

    COLORREF GetColor() const { return m_color; }
    void SetColor(COLORREF color);

    // The swatch shown for a colour while the button is disabled: each channel 20 lighter.
    static COLORREF Lightened(COLORREF color);

protected:
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    COLORREF m_color = RGB(255, 255, 255);
};
