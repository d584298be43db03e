#include "PrintScreenNote.h"
#include <string>
#include "MessageBox.h"
#include "PrintScreenShortcut.h"
#include "resource.h"

void UpdatePrintScreenNote(HWND dialog) {
    const bool printKey = ::IsDlgButtonChecked(dialog, IDC_KEY_PRINT) == BST_CHECKED;
    const bool show = printKey && IsWindowsPrintScreenShortcutOn(CurrentSystemVersion());
    for (int id : {IDC_PRINTSCREEN_NOTE, IDC_PRINTSCREEN_OFF}) {
        HWND control = ::GetDlgItem(dialog, id);
        ::EnableWindow(control, show);
        ::ShowWindow(control, show ? SW_SHOW : SW_HIDE);
    }
}

void OnPrintScreenOffClick(HWND dialog) {
    const LONG result = TurnOffWindowsPrintScreenShortcut();
    if (result == ERROR_SUCCESS) {
        AfxMessageBox(L"Windows의 PrintScreen 캡쳐 단축키를 껐습니다. 새로 누르는 키부터 곧바로, "
                      L"또는 다시 로그인한 뒤부터 적용됩니다.",
                      MB_OK | MB_ICONINFORMATION);
    } else {
        AfxMessageBox(L"Windows의 PrintScreen 캡쳐 단축키를 끄지 못했습니다 (오류 " + std::to_wstring(result) +
                          L"). 설정 > 접근성 > 키보드에서 직접 끄거나 F11, F12를 고르세요.",
                      MB_OK | MB_ICONEXCLAMATION);
    }
    UpdatePrintScreenNote(dialog);
}
