#pragma once
// The font chooser of the common dialogs, opened on a LOGFONT and returning the chosen one with
// its colour.
#include <windows.h>
#include <commdlg.h>
#include <string>

class CWnd;

class CFontDialog {
public:
    explicit CFontDialog(const LOGFONTW* initial = nullptr,
                         DWORD flags = CF_SCREENFONTS | CF_EFFECTS, CWnd* parent = nullptr);
    CFontDialog(const CFontDialog&) = delete;
    CFontDialog& operator=(const CFontDialog&) = delete;

    // IDOK with the chosen font in m_lf, or IDCANCEL (also when the dialog failed).
    INT_PTR DoModal();
    const LOGFONTW& GetLogFont() const { return m_lf; }
    std::wstring GetFaceName() const { return m_lf.lfFaceName; }
    // In tenths of a point, as the dialog reports it.
    int GetSize() const { return m_cf.iPointSize; }
    COLORREF GetColor() const { return m_cf.rgbColors; }

    CHOOSEFONTW m_cf{};
    LOGFONTW m_lf{};
};
