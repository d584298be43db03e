#pragma once
// The open-file dialog of the common dialogs. The filter is given as in the resource strings:
// "Pictures (*.png;*.bmp)|*.png;*.bmp|All files (*.*)|*.*||".
#include <windows.h>
#include <commdlg.h>
#include <string>

class CWnd;

class CFileDialog {
public:
    explicit CFileDialog(const std::wstring& filter = L"",
                         DWORD flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                         CWnd* parent = nullptr, const std::wstring& initialFolder = L"");
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK with the chosen file in GetPathName(), or IDCANCEL (also when the dialog failed).
    INT_PTR DoModal();
    std::wstring GetPathName() const { return m_path.c_str(); }
    // The filter entry (from 1) that was chosen.
    DWORD GetFilterIndex() const { return m_ofn.nFilterIndex; }

    OPENFILENAMEW m_ofn{};

private:
    std::wstring m_filter;  // the filter with its '|' separators turned into the dialog's NULs
    std::wstring m_initialFolder;
    std::wstring m_path;
};
