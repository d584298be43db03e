#include "CDialog.h"
#include "DataExchange.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
    m_modal = true;
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    INT_PTR result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId),
                                       owner, &CDialog::DlgProc, reinterpret_cast<LPARAM>(this));
    m_modal = false;
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    if (templateId) m_templateId = templateId;
    if (parent) m_pParentWnd = parent;
    m_modal = false;
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    HWND hwnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId),
                                     owner, &CDialog::DlgProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    if (!m_hWnd) return;
    if (m_modal) {
        ::EndDialog(m_hWnd, result);
    } else {
        DestroyWindow();
    }
}

INT_PTR CALLBACK CDialog::DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* dlg = static_cast<CDialog*>(FromHandle(hwnd));
    if (!dlg && msg == WM_INITDIALOG) {
        dlg = reinterpret_cast<CDialog*>(lParam);
        if (dlg) dlg->Attach(hwnd);
    }
    if (!dlg) return FALSE;

    if (msg == WM_NCDESTROY) {
        // The last message: the object may delete itself while handling it.
        dlg->m_defaulted = nullptr;
        dlg->Dispatch(msg, wParam, lParam);
        return FALSE;
    }
    bool defaulted = false;
    bool* outer = dlg->m_defaulted;
    dlg->m_defaulted = &defaulted;
    LRESULT result = dlg->Dispatch(msg, wParam, lParam);
    // A handler may have destroyed the dialog (and its owner deleted the object): then the object
    // is no longer ours to touch.
    if (FromHandle(hwnd) == dlg) dlg->m_defaulted = outer;
    if (defaulted) return FALSE;

    switch (msg) {
    // These return their result directly instead of through DWLP_MSGRESULT.
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: case WM_COMPAREITEM: case WM_VKEYTOITEM:
    case WM_CHARTOITEM: case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    }
    if (::IsWindow(hwnd)) ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM) {
    if (m_defaulted) *m_defaulted = true;
    return 0;
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) return 0;
        break;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_failed;
}
