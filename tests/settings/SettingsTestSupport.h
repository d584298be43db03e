#pragma once
// A settings dialog that keeps its file in a test folder and lets a test act once it is open.
#include <functional>
#include <string>
#include "CTovrixDlg.h"
#include "resource.h"

class TestSettingsDlg : public CTovrixDlg {
public:
    explicit TestSettingsDlg(const std::wstring& iniPath) { UseSettingsFile(iniPath); }
    std::function<void(TestSettingsDlg&)> onOpen;

    // Selects a list entry as the user would, with the change notification.
    void Choose(int comboId, int entry) {
        ::SendDlgItemMessageW(m_hWnd, comboId, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        SendMessage(WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(GetDlgItem(comboId)));
    }
    void Click(int buttonId) {
        ::SendMessageW(GetDlgItem(buttonId), BM_CLICK, 0, 0);
    }
    int ComboCount(int comboId) const {
        return static_cast<int>(::SendDlgItemMessageW(m_hWnd, comboId, CB_GETCOUNT, 0, 0));
    }
    std::wstring ComboText(int comboId, int entry) const {
        wchar_t text[128] = {};
        ::SendDlgItemMessageW(m_hWnd, comboId, CB_GETLBTEXT, static_cast<WPARAM>(entry),
                              reinterpret_cast<LPARAM>(text));
        return text;
    }

protected:
    BOOL OnInitDialog() override {
        BOOL result = CTovrixDlg::OnInitDialog();
        if (onOpen) onOpen(*this);
        return result;
    }
};
