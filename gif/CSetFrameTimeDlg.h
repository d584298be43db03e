#pragma once
// Asks for the delay of the selected frames in seconds (0.01 to 180) in a number-only box.
#include <windows.h>
#include "CDialogEx.h"
#include "CFloatEdit.h"

class CSetFrameTimeDlg : public CDialogEx {
public:
    explicit CSetFrameTimeDlg(CWnd* parent = nullptr);

    double m_value = 0;  // seconds: set before DoModal, valid after IDOK

    static constexpr double kMinSeconds = 0.01;
    static constexpr double kMaxSeconds = 180;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    CFloatEdit m_edit;
};
