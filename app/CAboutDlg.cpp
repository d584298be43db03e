#include "CAboutDlg.h"
#include <cwchar>
#include <vector>
#include "ModulePath.h"
#include "resource.h"

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_TRAY_ABOUT, parent) {}

std::wstring CAboutDlg::VersionText(const std::wstring& modulePath) {
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeW(modulePath.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoW(modulePath.c_str(), 0, size, block.data())) return {};
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        !fixed || length < sizeof(VS_FIXEDFILEINFO))
        return {};
    wchar_t text[64];
    std::swprintf(text, 64, L"v%d.%d.%d.%d", HIWORD(fixed->dwFileVersionMS),
                  LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                  LOWORD(fixed->dwFileVersionLS));
    return text;
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_ABOUT_VERSION, VersionText(GetModulePath()));
    return TRUE;
}
