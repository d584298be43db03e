#include "CMyScrollView.h"
#include <algorithm>
#include "GdiObject.h"

CMyScrollView::CMyScrollView() {
    SetBackgroundColor(m_backColor);
}

void CMyScrollView::Redraw() const {
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CMyScrollView::SetBackgroundPicture(std::unique_ptr<Gdiplus::Image> picture) {
    m_picture = std::move(picture);
    Redraw();
}

void CMyScrollView::SetBackColor(COLORREF color) {
    m_backColor = color;
    SetBackgroundColor(color);
    Redraw();
}

void CMyScrollView::SetTextColor(COLORREF color) {
    m_textColor = color;
    Redraw();
}

void CMyScrollView::SetOutlineColor(COLORREF color) {
    m_outlineColor = color;
    Redraw();
}

void CMyScrollView::SetText(const std::wstring& text) {
    m_text = text;
    Redraw();
}

void CMyScrollView::SetShow(BYTE show) {
    const bool appears = show && !m_show;
    m_show = show;
    if (appears) Redraw();
}

void CMyScrollView::SetOutlineAlpha(BYTE alpha) {
    m_outlineAlpha = alpha;
    Redraw();
}

void CMyScrollView::SetThickness(int thickness) {
    m_thickness = thickness;
    Redraw();
}

void CMyScrollView::SetOrigin(int x, int y) {
    m_x = x;
    m_y = y;
    Redraw();
}

void CMyScrollView::SetAngle(int degrees) {
    m_angle = degrees * 10;
    Redraw();
}

void CMyScrollView::SetLogFont(const LOGFONTW& font) {
    m_font = font;
    Redraw();
}

void CMyScrollView::SetPointSize(int points) {
    m_pointSize = points;
    Redraw();
}

void CMyScrollView::OnDraw(HDC dc) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const SIZE total = GetTotalSize();
    RECT all{0, 0, std::max<LONG>(client.right, total.cx), std::max<LONG>(client.bottom, total.cy)};
    CBrush back(m_backColor);
    ::FillRect(dc, &all, back);
    if (!m_show) return;
    Gdiplus::Graphics graphics(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    if (m_picture) graphics.DrawImage(m_picture.get(), 0, 0);
    m_renderer.SetStyle(Gdiplus::Color(255, GetRValue(m_textColor), GetGValue(m_textColor), GetBValue(m_textColor)),
                        Gdiplus::Color(m_outlineAlpha, GetRValue(m_outlineColor), GetGValue(m_outlineColor),
                                       GetBValue(m_outlineColor)),
                        m_thickness);
    LOGFONTW font = m_font;
    font.lfEscapement = font.lfOrientation = m_angle;
    m_renderer.DrawString(graphics, font, m_text.c_str(), POINT{m_x, m_y});
}
