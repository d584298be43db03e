#pragma once
// Dialog data exchange: moves values between a dialog's controls and its members in one
// direction per call, and validates them. A failed field shows the standard message, takes the
// focus, and makes the rest of the exchange a no-op, so UpdateData reports FALSE.
#include <windows.h>
#include <string>

class CDialog;

class CDataExchange {
public:
    CDataExchange(CDialog* dlg, BOOL saveAndValidate) : m_pDlgWnd(dlg), m_bSaveAndValidate(saveAndValidate) {}

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    bool m_failed = false;

    // The control's handle; remembered as the one that takes the focus if validation fails.
    HWND PrepareCtrl(int id);
    // Marks the exchange failed and puts the focus on the last prepared control.
    void Fail();

private:
    HWND m_lastCtrl = nullptr;
};

// The framework's standard validation texts.
extern const wchar_t kMsgEnterInteger[];       // "정수를 입력하십시오."
extern const wchar_t kMsgEnterIntegerRange[];  // "%1에서 %2 사이의 정수를 입력하십시오."
extern const wchar_t kMsgEnterUnsigned[];      // "양의 정수를 입력하십시오."
extern const wchar_t kMsgEnterNumber[];        // "숫자를 입력하십시오."
extern const wchar_t kMsgEnterNumberRange[];   // "%1에서 %2 사이의 숫자를 입력하십시오."
extern const wchar_t kMsgEnterMaxChars[];      // "%1자 이하로 입력하십시오."

void DDX_Text(CDataExchange* dx, int id, std::wstring& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
// Digits only ("%u"): a sign, a fraction or a number past the type's range is refused.
void DDX_Text(CDataExchange* dx, int id, unsigned& value);
// Written in the shortest form with up to 15 significant digits (0.1 as "0.1", 2 as "2"); read
// back as a whole number text, white space around it allowed.
void DDX_Text(CDataExchange* dx, int id, double& value);
// The shortest text of a value with up to 15 significant digits, as DDX_Text writes it.
std::wstring FormatDouble(double value);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_Check(CDataExchange* dx, int id, bool& value);
// A radio group whose first button (WS_GROUP) has this id; value is the index of the checked one,
// -1 for none.
void DDX_Radio(CDataExchange* dx, int id, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& value);
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* dx, unsigned value, unsigned minValue, unsigned maxValue);
void DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue);
// A text of more than maxChars UTF-16 units is refused with the standard message.
void DDV_MaxChars(CDataExchange* dx, const std::wstring& value, size_t maxChars);
