#pragma once
// The colour chooser of the common dialogs, opened with a colour and returning the chosen one.
#include <windows.h>
#include <commdlg.h>

class CWnd;

class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = RGB(0, 0, 0), DWORD flags = CC_FULLOPEN, CWnd* parent = nullptr);
    CColorDialog(const CColorDialog&) = delete;
    CColorDialog& operator=(const CColorDialog&) = delete;

    // IDOK with the chosen colour in GetColor(), or IDCANCEL (also when the dialog failed).
    INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }

    CHOOSECOLORW m_cc{};
    // The sixteen custom colours the dialog shows and lets the user change.
    COLORREF m_customColors[16] = {};
};
