#pragma once
// An owner-drawn push button with a picture per state (normal, pressed, hover and disabled,
// side by side in one strip, or one picture for all), coloured fills while hovered or pressed,
// an optional tooltip and caption, and magenta-style transparency: pixels of the transparent
// colour show what lay behind the button. Pictures and the caption's font follow the button's
// DPI: the picture drawn nearest to it, at its 100 % size times the scale.
//
//   CHoverButton ok;
//   ok.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{0, 0, 100, 100}, frame, 2004);
//   ok.SetTipText(L"OK", TRUE);
//   ok.LoadStateBitmap(IDB_CHECK_MARK, FALSE, FALSE);
//   ok.SetTransparentColor(RGB(255, 0, 255));
#include <windows.h>
#include <string>
#include "CButton.h"
#include "CToolTipCtrl.h"
#include "Dpi.h"
#include "GdiObject.h"

class CHoverButton : public CButton {
public:
    CHoverButton();

    // Routes a control through this object; the control becomes owner-drawn if it was not.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(int id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, id)); }
    BOOL Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent, UINT id);

    // A strip holds three states (normal, pressed, hover) or four (and disabled) side by side;
    // the button is resized to one state. A single picture keeps the button's size. FALSE when
    // the bitmap resource is missing.
    bool LoadStateBitmap(UINT resourceId, bool strip, bool withDisabled);
    // The DPI to draw for (the window's own when it was made): the picture and the caption's
    // font are made again for it, and a strip button resized; the owner places the button.
    void SetDpi(UINT dpi);
    UINT GetDpi() const { return m_dpi; }
    // Makes the button a plain square of this colour (resized when width > 0).
    void SetFillColor(COLORREF color, int width = 0, int height = 0);
    void SetTransparentColor(COLORREF color) { m_transparent = color; }
    void SetHighlightBrushes(COLORREF hoverColor, COLORREF pressedColor);
    void SetTipText(const wchar_t* text, BOOL activate);
    // Takes the window text as the caption, drawn in an "Arial" font of this point size.
    void SetTextFont(int pointSize, COLORREF captionColor, UINT format, bool underline);
    HFONT GetCaptionFont() const { return m_font.get(); }
    void SetCaption(const std::wstring& text, bool redraw);
    const std::wstring& GetCaption() const { return m_caption; }

    bool IsHovered() const { return m_hover; }
    HWND GetToolTip() const { return m_tooltip.m_hWnd; }
    SIZE GetStateSize() const { return m_stateSize; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void CreateToolTip();
    void RelayToToolTip(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnMouseMove();
    BOOL OnEraseBkgnd(HDC dc);
    void TakeBackground(int width, int height);
    void CreateCaptionFont();
    void DrawItem(const DRAWITEMSTRUCT& item);

    static constexpr COLORREF kNone = static_cast<COLORREF>(-1);

    bool m_hover = false;
    bool m_tracking = false;
    SIZE m_stateSize{0, 0};
    int m_states = 0;  // pictures in the strip: 3 or 4 (1 for a single picture)
    CBitmap m_picture;
    CBitmap m_background;
    CBrush m_pressedBrush;
    CBrush m_hoverBrush;
    COLORREF m_transparent = kNone;
    bool m_strip = true;
    CFont m_font;
    COLORREF m_captionColor = RGB(0, 0, 0);
    UINT m_captionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    std::wstring m_caption;
    COLORREF m_fill = kNone;
    CToolTipCtrl m_tooltip;
    bool m_creatingTip = false;
    UINT m_dpi = kDefaultDpi;
    UINT m_pictureId = 0;
    bool m_withDisabled = false;
    int m_fontPoints = 0;
    bool m_underline = false;
};
