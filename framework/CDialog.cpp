#include "CDialog.h"
#include "CWinApp.h"
#include "DataExchange.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
    if (m_hWnd) return -1;
    // Only a top-level window can own a dialog; a child hands that on to its top-level window.
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (owner) owner = ::GetAncestor(owner, GA_ROOT);
    // Disabled before creation, so that no click reaches the owner while the dialog initialises.
    bool enableOwner = owner && ::IsWindowEnabled(owner);
    if (enableOwner) ::EnableWindow(owner, FALSE);

    m_modal = true;
    m_endModal = false;
    m_modalResult = IDCANCEL;
    HWND hwnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId),
                                     owner, &CDialog::DlgProc, reinterpret_cast<LPARAM>(this));
    INT_PTR result = -1;
    if (hwnd) {
        // EndDialog from OnInitDialog ends the dialog before it is ever shown.
        if (!m_endModal && m_hWnd) ::ShowWindow(hwnd, SW_SHOWNORMAL);
        RunModalLoop();
        result = m_modalResult;
        // The owner comes back first, so that activation returns to it and not to some other
        // program's window when the dialog disappears.
        if (enableOwner) ::EnableWindow(owner, TRUE);
        if (::IsWindow(hwnd)) {
            if (owner && ::GetActiveWindow() == hwnd) ::SetActiveWindow(owner);
            ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE |
                           SWP_NOACTIVATE | SWP_NOZORDER);
            ::DestroyWindow(hwnd);
        }
    } else if (enableOwner) {
        ::EnableWindow(owner, TRUE);
    }
    m_modal = false;
    return result;
}

void CDialog::RunModalLoop() {
    while (!m_endModal && m_hWnd) {
        MSG msg;
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // The program is ending: this loop ends, and the loops outside it see WM_QUIT too.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (CWnd::PreTranslateMessage(msg)) return TRUE;
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
    if (!m_hWnd || (GetStyle() & WS_CHILD)) return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
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
        // The loop ends after the message being handled; the posted message wakes a loop that
        // waits for one (EndDialog called from outside any message of this thread's queue).
        m_modalResult = result;
        m_endModal = true;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
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
