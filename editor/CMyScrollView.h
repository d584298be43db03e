#pragma once
// The text tool's live preview: outlined text drawn with the settings being edited over a plain
// background (or a picture), redrawn whenever a setting changes.
#include <windows.h>
#include <memory>
#include <string>
#include "CScrollView.h"
#include "OutlineTextRenderer.h"

class CMyScrollView : public CScrollView {
public:
    CMyScrollView();

    // Each setter stores its value and has the view redrawn without erasing.
    void SetBackgroundPicture(std::unique_ptr<Gdiplus::Image> picture);
    void SetBackColor(COLORREF color);
    void SetTextColor(COLORREF color);
    void SetOutlineColor(COLORREF color);
    void SetText(const std::wstring& text);
    // Drawing starts once the flag is set; setting it to zero later changes nothing at once.
    void SetShow(BYTE show);
    void SetOutlineAlpha(BYTE alpha);
    void SetThickness(int thickness);
    void SetOrigin(int x, int y);
    // Whole degrees, counter-clockwise.
    void SetAngle(int degrees);
    void SetLogFont(const LOGFONTW& font);
    void SetPointSize(int points);

    COLORREF GetTextColor() const { return m_textColor; }
    COLORREF GetOutlineColor() const { return m_outlineColor; }
    const std::wstring& GetText() const { return m_text; }
    BYTE GetOutlineAlpha() const { return m_outlineAlpha; }
    int GetThickness() const { return m_thickness; }
    const LOGFONTW& GetLogFont() const { return m_font; }
    int GetPointSize() const { return m_pointSize; }

protected:
    void OnDraw(HDC dc) override;

private:
    void Redraw() const;

    std::unique_ptr<Gdiplus::Image> m_picture;
    COLORREF m_backColor = RGB(255, 255, 255);
    COLORREF m_textColor = RGB(255, 255, 255);
    COLORREF m_outlineColor = RGB(0, 0, 0);
    std::wstring m_text;
    BYTE m_show = 0;
    OutlineTextRenderer m_renderer;
    BYTE m_outlineAlpha = 255;
    int m_thickness = 4;
    int m_x = 10;
    int m_y = 10;
    int m_angle = 0;  // tenths of a degree
    LOGFONTW m_font{};
    int m_pointSize = 10;
};
