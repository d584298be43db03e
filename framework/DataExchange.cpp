#include "DataExchange.h"
#include <climits>
#include <cwchar>
#include <cwctype>
#include "CDialog.h"
#include "CWnd.h"
#include "MessageBox.h"

const wchar_t kMsgEnterInteger[] = L"정수를 입력하십시오.";
const wchar_t kMsgEnterIntegerRange[] = L"%1에서 %2 사이의 정수를 입력하십시오.";
const wchar_t kMsgEnterUnsigned[] = L"양의 정수를 입력하십시오.";
const wchar_t kMsgEnterNumber[] = L"숫자를 입력하십시오.";
const wchar_t kMsgEnterNumberRange[] = L"%1에서 %2 사이의 숫자를 입력하십시오.";
const wchar_t kMsgEnterMaxChars[] = L"%1자 이하로 입력하십시오.";

namespace {
// Whole text as a decimal integer, white space around it allowed; false for anything else.
bool ParseInt(const std::wstring& text, int& value) {
    const wchar_t* p = text.c_str();
    while (std::iswspace(*p)) ++p;
    wchar_t* end = nullptr;
    errno = 0;
    long long parsed = std::wcstoll(p, &end, 10);
    if (end == p || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
    while (std::iswspace(*end)) ++end;
    if (*end) return false;
    value = static_cast<int>(parsed);
    return true;
}

// Whole text as decimal digits, white space around them allowed; no sign.
bool ParseUnsigned(const std::wstring& text, unsigned& value) {
    const wchar_t* p = text.c_str();
    while (std::iswspace(*p)) ++p;
    if (!std::iswdigit(*p)) return false;
    unsigned long long parsed = 0;
    for (; std::iswdigit(*p); ++p) {
        parsed = parsed * 10 + static_cast<unsigned>(*p - L'0');
        if (parsed > UINT_MAX) return false;
    }
    while (std::iswspace(*p)) ++p;
    if (*p) return false;
    value = static_cast<unsigned>(parsed);
    return true;
}

// Whole text as a floating-point number, white space around it allowed; an empty text is none.
bool ParseDouble(const std::wstring& text, double& value) {
    const wchar_t* p = text.c_str();
    while (std::iswspace(*p)) ++p;
    wchar_t* end = nullptr;
    double parsed = std::wcstod(p, &end);
    if (end == p) return false;
    while (std::iswspace(*end)) ++end;
    if (*end) return false;
    value = parsed;
    return true;
}

std::wstring ReplaceAll(std::wstring text, const std::wstring& what, const std::wstring& with) {
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

// The standard message, owned by the dialog being validated (its top-level window, for a page):
// validation may run while that dialog is not active (a global hot key), and the dialog must
// wait under its box instead of taking another click.
void Refuse(CDataExchange* dx, const std::wstring& text) {
    HWND dialog = dx->m_pDlgWnd ? dx->m_pDlgWnd->m_hWnd : nullptr;
    if (dialog) {
        ShowMessageBox(::GetAncestor(dialog, GA_ROOT), text, L"", MB_OK | MB_ICONEXCLAMATION);
    } else {
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    }
}
}  // namespace

HWND CDataExchange::PrepareCtrl(int id) {
    m_lastCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    return m_lastCtrl;
}

void CDataExchange::Fail() {
    m_failed = true;
    if (m_lastCtrl) {
        ::SetFocus(m_lastCtrl);
        ::SendMessageW(m_lastCtrl, EM_SETSEL, 0, -1);
    }
}

void DDX_Text(CDataExchange* dx, int id, std::wstring& value) {
    if (dx->m_failed) return;
    HWND ctrl = dx->PrepareCtrl(id);
    if (!ctrl) return;
    if (dx->m_bSaveAndValidate) value = GetWindowTextString(ctrl);
    else ::SetWindowTextW(ctrl, value.c_str());
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    if (dx->m_failed) return;
    HWND ctrl = dx->PrepareCtrl(id);
    if (!ctrl) return;
    if (dx->m_bSaveAndValidate) {
        int parsed = 0;
        if (!ParseInt(GetWindowTextString(ctrl), parsed)) {
            Refuse(dx, kMsgEnterInteger);
            dx->Fail();
            return;
        }
        value = parsed;
    } else {
        ::SetWindowTextW(ctrl, std::to_wstring(value).c_str());
    }
}

void DDX_Text(CDataExchange* dx, int id, unsigned& value) {
    if (dx->m_failed) return;
    HWND ctrl = dx->PrepareCtrl(id);
    if (!ctrl) return;
    if (dx->m_bSaveAndValidate) {
        unsigned parsed = 0;
        if (!ParseUnsigned(GetWindowTextString(ctrl), parsed)) {
            Refuse(dx, kMsgEnterUnsigned);
            dx->Fail();
            return;
        }
        value = parsed;
    } else {
        ::SetWindowTextW(ctrl, std::to_wstring(value).c_str());
    }
}

std::wstring FormatDouble(double value) {
    wchar_t text[64];
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%.15g", value);
    return text;
}

void DDX_Text(CDataExchange* dx, int id, double& value) {
    if (dx->m_failed) return;
    HWND ctrl = dx->PrepareCtrl(id);
    if (!ctrl) return;
    if (dx->m_bSaveAndValidate) {
        double parsed = 0;
        if (!ParseDouble(GetWindowTextString(ctrl), parsed)) {
            Refuse(dx, kMsgEnterNumber);
            dx->Fail();
            return;
        }
        value = parsed;
    } else {
        ::SetWindowTextW(ctrl, FormatDouble(value).c_str());
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    if (dx->m_failed) return;
    HWND ctrl = dx->PrepareCtrl(id);
    if (!ctrl) return;
    if (dx->m_bSaveAndValidate) value = static_cast<int>(::SendMessageW(ctrl, BM_GETCHECK, 0, 0));
    else ::SendMessageW(ctrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Check(CDataExchange* dx, int id, bool& value) {
    int state = value ? BST_CHECKED : BST_UNCHECKED;
    DDX_Check(dx, id, state);
    if (dx->m_bSaveAndValidate && !dx->m_failed) value = state == BST_CHECKED;
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
    if (dx->m_failed) return;
    HWND ctrl = dx->PrepareCtrl(id);
    if (!ctrl) return;
    if (dx->m_bSaveAndValidate) value = -1;
    // Walk the group: from the first button to the next control that starts a group.
    int index = 0;
    for (HWND button = ctrl; button; button = ::GetWindow(button, GW_HWNDNEXT), ++index) {
        if (button != ctrl && (::GetWindowLongPtrW(button, GWL_STYLE) & WS_GROUP)) break;
        if (dx->m_bSaveAndValidate) {
            if (::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            ::SendMessageW(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& value) {
    if (dx->m_failed) return;
    HWND ctrl = dx->PrepareCtrl(id);
    if (!ctrl) return;
    if (dx->m_bSaveAndValidate) value = static_cast<int>(::SendMessageW(ctrl, CB_GETCURSEL, 0, 0));
    else ::SendMessageW(ctrl, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

namespace {
template <typename T>
void MinMax(CDataExchange* dx, T value, T minValue, T maxValue) {
    if (dx->m_failed || !dx->m_bSaveAndValidate) return;
    if (value >= minValue && value <= maxValue) return;
    std::wstring text = ReplaceAll(kMsgEnterIntegerRange, L"%1", std::to_wstring(minValue));
    text = ReplaceAll(text, L"%2", std::to_wstring(maxValue));
    Refuse(dx, text);
    dx->Fail();
}
}  // namespace

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue) {
    MinMax(dx, value, minValue, maxValue);
}

void DDV_MinMaxUInt(CDataExchange* dx, unsigned value, unsigned minValue, unsigned maxValue) {
    MinMax(dx, value, minValue, maxValue);
}

void DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue) {
    if (dx->m_failed || !dx->m_bSaveAndValidate) return;
    // Written so that a value that is not a number (a text such as "nan") is refused too.
    if (value >= minValue && value <= maxValue) return;
    std::wstring text = ReplaceAll(kMsgEnterNumberRange, L"%1", FormatDouble(minValue));
    text = ReplaceAll(text, L"%2", FormatDouble(maxValue));
    Refuse(dx, text);
    dx->Fail();
}

void DDV_MaxChars(CDataExchange* dx, const std::wstring& value, size_t maxChars) {
    if (dx->m_failed || !dx->m_bSaveAndValidate || value.size() <= maxChars) return;
    AfxMessageBox(ReplaceAll(kMsgEnterMaxChars, L"%1", std::to_wstring(maxChars)), MB_OK | MB_ICONEXCLAMATION);
    dx->Fail();
}
