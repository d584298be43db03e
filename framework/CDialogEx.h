#pragma once
// The extended dialog: a CDialog that can paint its background in a colour of its own.
#include "CDialog.h"
#include "GdiObject.h"

class CDialogEx : public CDialog {
public:
    explicit CDialogEx(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}

    void SetBackgroundColor(COLORREF color);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CBrush m_background;
};
