#include "CFileDialog.h"
#include "CWnd.h"
#include <cwchar>

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

void CFileDialog::SetFileBufferSize(size_t characters) {
    if (characters < 2) characters = 2;
    m_path.assign(characters, L'\0');
    m_ofn.lpstrFile = m_path.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_path.size());
}

std::vector<std::wstring> CFileDialog::GetPathNames() const {
    std::vector<std::wstring> paths;
    const wchar_t* first = m_path.c_str();
    if (!*first) return paths;
    const wchar_t* next = first + wcslen(first) + 1;
    if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT) || next >= m_path.c_str() + m_path.size() || !*next) {
        paths.emplace_back(first);
        return paths;
    }
    std::wstring folder = first;
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    const wchar_t* end = m_path.c_str() + m_path.size();
    for (const wchar_t* name = next; name < end && *name; name += wcslen(name) + 1) {
        paths.push_back(folder + name);
    }
    return paths;
}
