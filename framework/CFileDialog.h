#pragma once
// The open-file dialog of the common dialogs. The filter is given as in the resource strings:
// "Pictures (*.png;*.bmp)|*.png;*.bmp|All files (*.*)|*.*||".
#include <windows.h>
#include <commdlg.h>
#include <string>
#include <vector>

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
    // Every chosen file, in the order the dialog gives them: with OFN_ALLOWMULTISELECT the buffer
    // holds the folder and then the names, or a single full path when one file was chosen.
    std::vector<std::wstring> GetPathNames() const;
    // Room for the chosen names, in characters (a multiple selection needs far more than a path).
    void SetFileBufferSize(size_t characters);
    // The filter entry (from 1) that was chosen.
    DWORD GetFilterIndex() const { return m_ofn.nFilterIndex; }

    OPENFILENAMEW m_ofn{};

private:
    std::wstring m_filter;  // the filter with its '|' separators turned into the dialog's NULs
    std::wstring m_initialFolder;
    std::wstring m_path;
};
