#pragma once
// Asks how pictures inserted into a recording are placed: four buttons, one per InsertMode.
#include <windows.h>
#include "CDialog.h"
#include "CGifFrameImage.h"

class CInsertImageQuery : public CDialog {
public:
    explicit CInsertImageQuery(CWnd* parent = nullptr);

    int m_mode = InsertTopLeft;  // meaningful only after IDOK

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // There is no OK button: Enter presses the focused button, and nothing else ends with IDOK.
    void OnOK() override {}
};
