#include "CFloatEdit.h"
#include <cwchar>
#include "MessageArgs.h"

LRESULT CFloatEdit::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CHAR) {
        m_lastText = GetWindowText();
        GetSel(m_lastStart, m_lastEnd);
    }
    return CEdit::WindowProc(msg, wParam, lParam);
}

BOOL CFloatEdit::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (msg == WM_COMMAND && CommandArgsFrom(wParam, lParam).code == EN_UPDATE) {
        OnUpdate();
        *result = 0;
        return TRUE;
    }
    return CEdit::OnChildNotify(msg, wParam, lParam, result);
}

void CFloatEdit::OnUpdate() {
    if (m_restoring) return;
    const std::wstring text = GetWindowText();
    wchar_t* end = nullptr;
    // Only where the conversion stops matters: a number too large for a double is still a number.
    (void)std::wcstod(text.c_str(), &end);
    if (end == text.c_str() + text.size()) return;
    m_restoring = true;
    SetWindowText(m_lastText);
    m_restoring = false;
    SendMessage(EM_SETSEL, static_cast<WPARAM>(m_lastStart), m_lastEnd);
    SendMessage(EM_SCROLLCARET);
}
