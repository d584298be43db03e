#include "CWebBrowserDlg.h"
#include "CWebBrowser2.h"
#include <algorithm>
#include "CInteraction.h"
#include "MessageArgs.h"
#include "MessageBox.h"
#include "WebPageCapture.h"
#include "WindowMessages.h"
#include "resource.h"

namespace {
// Where the layout puts the view for a client size: (12, 36), (cx - 24) x (cy - 48).
RECT ViewPlace(int width, int height) {
    return RECT{12, 36, 12 + std::max(0, width - 24), 36 + std::max(0, height - 48)};
}
}  // namespace

CWebBrowserDlg::CWebBrowserDlg(CWnd* parent) : CDialog(IDD_WEB_CAPTURE, parent) {
    m_icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

CWebBrowserDlg::~CWebBrowserDlg() = default;

std::unique_ptr<IWebView> CWebBrowserDlg::CreateView(HWND dialog, const RECT& place, UINT id) {
    auto browser = std::make_unique<CWebBrowser2>();
    if (!browser->Create(dialog, place, id)) return nullptr;
    return browser;
}

BOOL CWebBrowserDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_icon, TRUE);
    SetIcon(m_icon, FALSE);

    RECT client{};
    GetClientRect(&client);
    const RECT place = ViewPlace(client.right, client.bottom);
    m_view = CreateView(m_hWnd, place, IDC_WEB_BROWSER);
    if (m_view) {
        m_view->SetEvents(this);
    } else {
        // Said where the page would be, and again when the user asks for a page or a capture.
        m_unavailable.Create(kUnavailableText, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_SUNKEN, place,
                             m_hWnd, IDC_WEB_BROWSER);
        m_unavailable.SetFont(GetFont(), FALSE);
    }
    OnSize(client.right, client.bottom);

    ::EnableWindow(GetDlgItem(IDC_WEB_FORWARD), FALSE);
    ::EnableWindow(GetDlgItem(IDC_WEB_BACK), FALSE);
    if (m_view) Navigate(m_startAddress);
    return TRUE;
}

void CWebBrowserDlg::Navigate(const std::wstring& address) {
    if (!m_view) {
        TellUnavailable();
        return;
    }
    (void)m_view->Navigate(address);
}

void CWebBrowserDlg::TellUnavailable() {
    ShowMessageBox(m_hWnd, kUnavailableText, L"Tovrix", MB_OK | MB_ICONINFORMATION);
}

void CWebBrowserDlg::OnOK() {
    // Go, and Enter in the address box: the dialog stays open.
    Navigate(GetDlgItemText(IDC_WEB_ADDRESS));
}

void CWebBrowserDlg::OnCancel() {
    if (m_view) m_view->SetEvents(nullptr);
    EndDialog(IDCANCEL);
}

BOOL CWebBrowserDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const CommandArgs command = CommandArgsFrom(wParam, lParam);
    if (command.code != BN_CLICKED) return CDialog::OnCommand(wParam, lParam);
    switch (command.id) {
    case IDC_WEB_BACK:
        if (m_view) (void)m_view->GoBack();
        return TRUE;
    case IDC_WEB_FORWARD:
        if (m_view) (void)m_view->GoForward();
        return TRUE;
    case IDC_WEB_CAPTURE:
        OnCapture();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CWebBrowserDlg::PreTranslateMessage(MSG* msg) {
    // Keys for the page go to it first: the dialog manager would take Tab, Enter and Esc for
    // the dialog's own controls, and the page would never see them.
    if (m_view && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        HWND view = GetDlgItem(IDC_WEB_BROWSER);
        if (view && (msg->hwnd == view || ::IsChild(view, msg->hwnd)) && m_view->TranslateKey(msg)) return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CWebBrowserDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE: {
        const LRESULT result = CDialog::WindowProc(msg, wParam, lParam);
        const SizeArgs size = SizeArgsFrom(wParam, lParam);
        if (size.type != SIZE_MINIMIZED) OnSize(size.width, size.height);
        return result;
    }
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = POINT{kMinWidth, kMinHeight};
        break;
    }
    case WM_DESTROY:
        // The view goes with the dialog's window, not with the object: a dialog run again makes
        // a new one.
        if (m_view) m_view->SetEvents(nullptr);
        m_view.reset();
        break;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}

void CWebBrowserDlg::OnSize(int width, int height) {
    HWND view = GetDlgItem(IDC_WEB_BROWSER);
    if (!view) return;  // sized before the view exists
    const RECT place = ViewPlace(width, height);
    ::MoveWindow(view, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    ::MoveWindow(GetDlgItem(IDOK), width - 112, 11, 37, 21, TRUE);
    ::MoveWindow(GetDlgItem(IDC_WEB_CAPTURE), width - 71, 11, 60, 21, TRUE);
    ::MoveWindow(GetDlgItem(IDC_WEB_ADDRESS), 194, 11, std::max(0, width - 315), 21, TRUE);
    Invalidate(FALSE);
}

void CWebBrowserDlg::OnBeforeNavigate() {
    ::EnableWindow(GetDlgItem(IDC_WEB_CAPTURE), FALSE);
}

void CWebBrowserDlg::OnNavigateComplete() {
    ::EnableWindow(GetDlgItem(IDC_WEB_CAPTURE), TRUE);
    if (m_view) SetDlgItemText(IDC_WEB_ADDRESS, m_view->GetLocationURL());
}

void CWebBrowserDlg::OnBackEnabled(bool enabled) {
    ::EnableWindow(GetDlgItem(IDC_WEB_BACK), enabled);
}

void CWebBrowserDlg::OnForwardEnabled(bool enabled) {
    ::EnableWindow(GetDlgItem(IDC_WEB_FORWARD), enabled);
}

void CWebBrowserDlg::OnCapture() {
    // Something waits for the user (a capture's editor holds the target picture, a box is open):
    // a capture now would change the picture under it.
    if (CInteraction::IsRunning()) return;
    if (!m_view) {
        TellUnavailable();
        return;
    }
    if (!m_target) return;
    switch (CaptureWholePage(*m_view, *m_target)) {
    case WebCaptureResult::Captured:
        // Saved like a screen capture: resized if asked, named and written by the save window,
        // which reports a failed save itself.
        if (m_saveWindow) ::SendMessageW(m_saveWindow, WM_SAVE_CAPTURE, 0, 0);
        break;
    case WebCaptureResult::NothingToCapture:
        ShowMessageBox(m_hWnd, kNothingToCaptureText, L"Tovrix", MB_OK);
        break;
    case WebCaptureResult::TooLarge:
        ShowMessageBox(m_hWnd, kTooLargeText, L"Tovrix", MB_OK | MB_ICONEXCLAMATION);
        break;
    case WebCaptureResult::Failed:
        ShowMessageBox(m_hWnd, kRenderFailedText, L"Tovrix", MB_OK | MB_ICONEXCLAMATION);
        break;
    }
}
