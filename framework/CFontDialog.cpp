#include "CFontDialog.h"
#include "CWnd.h"

CFontDialog::CFontDialog(const LOGFONTW* initial, DWORD flags, CWnd* parent) {
    if (initial) m_lf = *initial;
    m_cf.lStructSize = sizeof(m_cf);
    m_cf.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = flags | (initial ? CF_INITTOLOGFONTSTRUCT : 0);
}

INT_PTR CFontDialog::DoModal() {
    return ::ChooseFontW(&m_cf) ? IDOK : IDCANCEL;
}
