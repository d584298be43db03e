#include "CFileDialog.h"
#include "CWnd.h"

CFileDialog::CFileDialog(const std::wstring& filter, DWORD flags, CWnd* parent,
                         const std::wstring& initialFolder)
    : m_filter(filter), m_initialFolder(initialFolder), m_path(MAX_PATH * 4, L'\0') {
    for (wchar_t& c : m_filter)
        if (c == L'|') c = L'\0';
    // The list ends with two NULs whether or not the caller wrote the closing "||".
    m_filter.push_back(L'\0');
    m_filter.push_back(L'\0');
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_ofn.lpstrFilter = filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_path.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_path.size());
    m_ofn.lpstrInitialDir = m_initialFolder.empty() ? nullptr : m_initialFolder.c_str();
    m_ofn.Flags = flags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal() {
    return ::GetOpenFileNameW(&m_ofn) ? IDOK : IDCANCEL;
}
