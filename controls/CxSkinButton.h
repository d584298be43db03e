#pragma once
// A dialog button (push button, auto check box or auto radio button) drawn from skin bitmaps:
// normal, pressed or switched on, hover and held pictures, optionally a disabled picture and a
// transparency mask. It keeps the button's behaviour (clicks, on/off state, radio groups, keys)
// and adds hover tracking. Every skin of the program is one bitmap of four frames side by side,
// drawn at every display scale: the button takes the one nearest to its DPI, at its 100 % size
// times the scale.
//
//   CxSkinButton record;
//   record.SubclassDlgItem(IDC_RECORD, dialog);
//   record.LoadSkin(IDB_RECORD_BUTTON);
//   record.SetTextFormat(DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
#include <windows.h>
#include "CButton.h"
#include "Dpi.h"
#include "GdiObject.h"

class CxSkinButton : public CButton {
public:
    // Tells a radio button of the same group to switch itself off.
    static constexpr UINT WM_SKIN_RADIO_OFF = WM_USER + 0x100;

    enum Kind : UINT { PushButton = 0, CheckBox = 2, RadioButton = 4 };
    enum DrawMode : short { DrawCopy = 0, DrawStretch = 1, DrawTile = 2 };

    CxSkinButton() = default;

    // Attaches to a dialog control: the kind comes from its style (a template style of
    // BS_OWNERDRAW counts as a check box), then the control becomes owner-drawn.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(int id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, id)); }

    // Cuts the bitmap resource into four frames (normal, pressed, hover, held) and sizes the
    // button to one frame, for the button's DPI. A missing resource leaves every picture empty.
    BOOL LoadSkin(UINT bitmapId);
    // The DPI to draw for (the window's own when it was attached): the skin is loaded again for
    // it and the button resized; the owner places it.
    void SetDpi(UINT dpi);
    UINT GetDpi() const { return m_dpi; }
    void SetTextFormat(UINT format) { m_textFormat = format; }
    void SetTextColor(COLORREF color) { m_textColor = color; }

    // The font the caption was last drawn in: the window's, or a smaller one where the caption
    // would not fit the button in it.
    HFONT GetCaptionFont() const;

    bool IsOn() const { return m_on; }
    UINT GetKind() const { return m_kind; }
    bool IsTracking() const { return m_tracking; }
    bool IsHeld() const { return m_held; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    LRESULT OnSetCheck(WPARAM check);
    void OnLButtonDown();
    void OnLButtonUp(POINT point);
    void OnMouseMove(POINT point);
    void OnKeyDown(WPARAM key, LPARAM flags);
    void DrawItem(const DRAWITEMSTRUCT& item);
    void DrawPicture(HDC dc, const RECT& r, HBITMAP picture) const;
    void FitCaption(HDC dc, const std::wstring& caption, int width);
    bool PointerOverButton(POINT screen) const { return ::WindowFromPoint(screen) == m_hWnd; }

    bool m_on = false;
    UINT m_kind = PushButton;
    bool m_tracking = false;
    bool m_held = false;
    CBitmap m_normal;
    CBitmap m_pressed;
    CBitmap m_disabled;
    CBitmap m_mask;
    CBitmap m_hover;
    CBitmap m_heldPicture;
    short m_focusMargin = 0;
    COLORREF m_textColor = ::GetSysColor(COLOR_BTNTEXT);
    BOOL m_border = FALSE;
    short m_drawMode = DrawStretch;
    UINT m_textFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    UINT m_dpi = kDefaultDpi;
    UINT m_skinId = 0;
    CFont m_captionFont;
};
