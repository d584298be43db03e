#include "CProgressWnd.h"
#include <commctrl.h>
#include <cmath>
#include <cstdarg>
#include <cwchar>
#include "CAppProfile.h"
#include "CWinApp.h"
#include "DeviceContext.h"
#include "MessageArgs.h"

namespace {
const wchar_t kClassName[] = L"TovrixProgressWnd";
const wchar_t kSection[] = L"Settings";
constexpr int kMargin = 10;
constexpr int kTextWidth = 390;

HWND MainWindow() {
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

// One message through the application's pump (filters, then dispatch); FALSE after WM_QUIT.
BOOL PumpOne() {
    if (CWinApp* app = AfxGetApp()) {
        if (app->PumpMessage()) return TRUE;
        ::PostQuitMessage(app->GetExitCode());
        return FALSE;
    }
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return TRUE;
    if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return FALSE;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return TRUE;
}
}  // namespace

CProgressWnd::CProgressWnd(CWnd* parent, const wchar_t* title, BOOL smooth) {
    if (title) m_title = title;
    Create(parent ? parent->m_hWnd : MainWindow(), smooth);
}

CProgressWnd::~CProgressWnd() {
    if (IsWindow()) {
        if (m_rememberPosition) SavePosition();
        DestroyWindow();
    }
}

BOOL CProgressWnd::Create(HWND parent, BOOL smooth) {
    m_parent = parent;
    if (!RegisterClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr,
                       ::LoadCursorW(nullptr, IDC_APPSTARTING),
                       reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)))) {
        return FALSE;
    }
    // Laid out for the monitor of its owner, over which it is centred.
    m_dpi = parent ? WindowDpi(parent) : SystemDpi();
    if (!CreateTextFont()) return FALSE;
    if (!CreateEx(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, kClassName, m_title.c_str(), WS_POPUP | WS_CAPTION,
                  0, 0, ScaleToDpi(390, m_dpi), ScaleToDpi(130, m_dpi), parent, nullptr)) {
        return FALSE;
    }
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
        return ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    };
    m_text = child(L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX, kTextId);
    m_bar = m_text ? child(PROGRESS_CLASSW, L"", smooth ? PBS_SMOOTH : 0, kBarId) : nullptr;
    m_cancelButton = m_bar ? child(L"BUTTON", m_cancelLabel.c_str(), WS_TABSTOP | BS_PUSHBUTTON, kCancelId) : nullptr;
    if (!m_cancelButton) return FALSE;
    ::SendMessageW(m_cancelButton, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
    ::SendMessageW(m_text, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
    Layout(m_textLines, kTextWidth);
    if (m_rememberPosition) RestorePosition(); else CentreOverParent();
    Show();
    return TRUE;
}

BOOL CProgressWnd::CreateTextFont() {
    NONCLIENTMETRICSW metrics{};
    return NonClientMetricsForDpi(metrics, m_dpi) && m_font.CreateFontIndirect(metrics.lfMessageFont);
}

void CProgressWnd::Layout(int textLines, int textWidth100) {
    const int ex = SystemMetricForDpi(SM_CXEDGE, m_dpi);
    const int ey = SystemMetricForDpi(SM_CYEDGE, m_dpi);
    const int margin = ScaleToDpi(kMargin, m_dpi);
    const int textWidth = ScaleToDpi(textWidth100, m_dpi);
    CClientDC dc(m_hWnd);
    CSelectObject font(dc, m_font);

    RECT text{margin, margin, textWidth - 2 * margin, 2 * margin + ScaleToDpi(100, m_dpi)};
    std::wstring lines = L"M";
    for (int i = 1; i < textLines; ++i) lines += L"\nM";
    ::DrawTextW(dc, lines.c_str(), -1, &text, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
    text.right = text.left + textWidth;

    const std::wstring label = m_cancelLabel + L"  ";
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &extent);
    const int buttonWidth = extent.cx + 4 * ex;
    const int buttonHeight = extent.cy + 3 * ey;
    const RECT button{text.right - buttonWidth, text.bottom + margin, text.right,
                      text.bottom + margin + buttonHeight};
    const RECT bar{text.left, button.top + ey, button.left - margin, button.bottom - ey};

    // Resize so that the client area holds the text, the bar row and the margins.
    RECT window{0, 0, (text.right - text.left) + 2 * margin,
                (text.bottom - text.top) + (button.bottom - button.top) + 3 * margin};
    AdjustWindowRectForDpi(window, static_cast<DWORD>(GetStyle()), static_cast<DWORD>(GetExStyle()), m_dpi);
    SetWindowPos(nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::MoveWindow(m_bar, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, TRUE);
    ::MoveWindow(m_text, text.left, text.top, text.right - text.left, text.bottom - text.top, TRUE);
    // The button gets the place the layout keeps for it, so that it can be clicked.
    ::MoveWindow(m_cancelButton, button.left, button.top, buttonWidth, buttonHeight, TRUE);
}

void CProgressWnd::SetRange(int lower, int upper, int step) {
    if (!IsWindow()) return;
    m_lower = lower;
    m_upper = upper;
    m_step = step;
    ::SendMessageW(m_bar, PBM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
    ::SendMessageW(m_bar, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void CProgressWnd::SetText(const wchar_t* format, ...) {
    if (!IsWindow() || !format) return;
    wchar_t buffer[512] = {};
    va_list args;
    va_start(args, format);
    std::vswprintf(buffer, 512, format, args);
    va_end(args);
    buffer[511] = L'\0';
    ::SetWindowTextW(m_text, buffer);
}

int CProgressWnd::SetPos(int position) {
    if (!IsWindow()) return m_position;
    Show();
    m_position = position;
    int percent = 0;
    if (m_upper > m_lower) {
        percent = static_cast<int>(std::floor((m_position - m_lower) * 100.0 / (m_upper - m_lower) + 0.5));
    }
    if (percent != m_lastPercent) {
        m_lastPercent = percent;
        wchar_t caption[600] = {};
        std::swprintf(caption, 600, L"%ls [%d%%]", m_title.c_str(), percent);
        SetWindowText(caption);
    }
    return static_cast<int>(::SendMessageW(m_bar, PBM_SETPOS, static_cast<WPARAM>(position), 0));
}

int CProgressWnd::StepIt() {
    if (!IsWindow()) return m_position;
    Show();
    return SetPos(m_position + m_step);
}

void CProgressWnd::PumpMessages(BOOL cancelOnEsc) {
    if (!IsWindow()) return;
    MSG msg;
    while (!m_cancelled && ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        // The key itself counts, not only its character: over a dialog (the recorder) the dialog
        // manager would turn the key into the dialog's own Cancel, and no character would come.
        const bool esc = (msg.message == WM_CHAR && msg.wParam == VK_ESCAPE) ||
                         (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE);
        if (cancelOnEsc && esc) {
            // The Esc was meant for this window: take it out of the queue with the cancel.
            ::PeekMessageW(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
            OnCancel();
            break;
        }
        if (!PumpOne()) return;
    }
}

void CProgressWnd::Show() {
    if (!IsWindow() || (GetStyle() & WS_VISIBLE)) return;
    ModifyStyle(0, WS_VISIBLE);
    ShowWindow(SW_SHOWNA);
    RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

void CProgressWnd::Hide() {
    if (!IsWindow() || !(GetStyle() & WS_VISIBLE)) return;
    ShowWindow(SW_HIDE);
    ModifyStyle(WS_VISIBLE, 0);
}

void CProgressWnd::OnCancel() {
    if (m_rememberPosition) SavePosition();
    m_cancelled = TRUE;
    Hide();
    if (HWND main = MainWindow()) ::SetForegroundWindow(main);
}

void CProgressWnd::SavePosition() const {
    RECT rc{};
    if (!GetWindowRect(&rc)) return;
    CAppProfile::WriteProfileInt(kSection, L"X", rc.left);
    CAppProfile::WriteProfileInt(kSection, L"Y", rc.top);
}

void CProgressWnd::RestorePosition() {
    const int x = CAppProfile::GetProfileInt(kSection, L"X", -1);
    const int y = CAppProfile::GetProfileInt(kSection, L"Y", -1);
    if (x < 0 || x >= ::GetSystemMetrics(SM_CXSCREEN) || y < 0 || y >= ::GetSystemMetrics(SM_CYSCREEN)) {
        CentreOverParent();
        return;
    }
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CProgressWnd::CentreOverParent() {
    RECT self{}, area{};
    GetWindowRect(&self);
    if (!m_parent || !::IsWindowVisible(m_parent) || !::GetWindowRect(m_parent, &area)) {
        // No visible parent: the work area of the primary monitor.
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    const int x = area.left + ((area.right - area.left) - width) / 2;
    const int y = area.top + ((area.bottom - area.top) - height) / 2;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CProgressWnd::OnEraseBkgnd(HDC dc) {
    CBrush face(::GetSysColor(COLOR_BTNFACE));
    RECT clip{};
    ::GetClipBox(dc, &clip);
    CSelectObject select(dc, face);
    ::PatBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, PATCOPY);
    return TRUE;
}

void CProgressWnd::OnDpiChanged(UINT dpi, const RECT& suggested) {
    if (dpi == 0) return;
    m_dpi = dpi;
    if (!CreateTextFont()) return;
    ::SendMessageW(m_cancelButton, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
    ::SendMessageW(m_text, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
    // Where the system suggests (the window moved onto that monitor), at the new size.
    if (!::IsRectEmpty(&suggested)) {
        SetWindowPos(nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Layout(m_textLines, kTextWidth);
}

LRESULT CProgressWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_DPICHANGED: {
        const DpiChangedArgs args = DpiChangedArgsFrom(wParam, lParam);
        OnDpiChanged(args.dpi, args.suggested);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kCancelId) {
            OnCancel();
            return 0;
        }
        break;
    default:
        break;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}
