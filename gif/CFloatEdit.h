#pragma once
// An edit control that only ever holds a complete floating-point number (or nothing): a change
// that the C library's conversion cannot read to its end is undone at once.
#include <windows.h>
#include <string>
#include "CEdit.h"

class CFloatEdit : public CEdit {
protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // EN_UPDATE, which the parent passes back to the control.
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void OnUpdate();

    // The text and selection as they were before the last typed character was applied.
    std::wstring m_lastText;
    int m_lastStart = 0;
    int m_lastEnd = 0;
    bool m_restoring = false;
};
