#pragma once
// The extended dialog: a CDialog that can paint its background in a colour of its own.
#include "CDialog.h"

class CDialogEx : public CDialog {
public:
    explicit CDialogEx(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}
    ~CDialogEx() override;

    void SetBackgroundColor(COLORREF color);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    HBRUSH m_background = nullptr;
};
