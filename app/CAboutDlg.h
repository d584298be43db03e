#pragma once
// The About box: the program's name and the file version of the running executable.
#include <string>
#include "CDialog.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* parent = nullptr);

    // "v1.2.3.4" from the fixed file version of a module's version resource; empty when the
    // module has none.
    static std::wstring VersionText(const std::wstring& modulePath);

protected:
    BOOL OnInitDialog() override;
};
