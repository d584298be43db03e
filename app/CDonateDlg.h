#pragma once
// The donation box: a thank-you and where support can be given, in a large heavy type.
#include "CDialog.h"
#include "GdiObject.h"

class CDonateDlg : public CDialog {
public:
    explicit CDonateDlg(CWnd* parent = nullptr);

    static const wchar_t* const kThanks;

protected:
    BOOL OnInitDialog() override;

private:
    // Lives as long as the text field that uses it.
    CFont m_font;
};
