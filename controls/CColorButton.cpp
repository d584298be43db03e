#include "CColorButton.h"
#include <algorithm>
#include "DeviceContext.h"
#include "GdiObject.h"

BOOL CColorButton::SubclassWindow(HWND hwnd) {
    if (!CButton::SubclassWindow(hwnd)) return FALSE;
    ModifyStyle(0, BS_OWNERDRAW);
    Invalidate();
    return TRUE;
}

void CColorButton::SetColor(COLORREF color) {
    m_color = color;
    Invalidate(TRUE);
}

COLORREF CColorButton::Lightened(COLORREF color) {
    auto lighter = [](int channel) { return std::min(channel + 20, 255); };
    return RGB(lighter(GetRValue(color)), lighter(GetGValue(color)), lighter(GetBValue(color)));
}

BOOL CColorButton::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (msg != WM_DRAWITEM) return CButton::OnChildNotify(msg, wParam, lParam, result);
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    *result = TRUE;
    return TRUE;
}

void CColorButton::DrawItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    ::DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    ::InflateRect(&r, -::GetSystemMetrics(SM_CXEDGE), -::GetSystemMetrics(SM_CYEDGE));
    // The button has no caption, so there is no text to write, enabled or disabled.
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const COLORREF outline = disabled ? RGB(150, 150, 150) : RGB(0, 0, 0);
    const COLORREF fill = disabled ? Lightened(m_color) : m_color;
    CPen pen(PS_SOLID, 1, outline);
    CBrush brush(fill);
    CSelectObject selectPen(dc, pen);
    CSelectObject selectBrush(dc, brush);
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    ::Rectangle(dc, r.left + 4, r.top + 4, r.right - 4, r.bottom - 4);
    ::SetBkMode(dc, previousMode);
}
