#include "CColorDialog.h"
#include "CWnd.h"

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) {
    for (COLORREF& custom : m_customColors) custom = RGB(255, 255, 255);
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_cc.rgbResult = initial;
    m_cc.lpCustColors = m_customColors;
    m_cc.Flags = flags | CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal() {
    return ::ChooseColorW(&m_cc) ? IDOK : IDCANCEL;
}
