#include "CTestOutlineTextDlg.h"
#include "Dpi.h"
#include <algorithm>
#include "DeviceContext.h"
#include "FontDescription.h"
#include "MessageArgs.h"
#include "MessageBox.h"
#include "overlay_ids.h"
#include "resource.h"

CTestOutlineTextDlg::CTestOutlineTextDlg() : CDialog(IDD) {
    m_ini.SetPathToModule();
    m_context.m_pCurrentDoc = &m_doc;
    m_icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

CTestOutlineTextDlg::~CTestOutlineTextDlg() = default;

void CTestOutlineTextDlg::LoadOverlaySettings() {
    m_settings.Read(m_ini);
    m_doc.m_logoOn = m_settings.LogoIs;
    m_doc.LoadLogo(m_settings.LogoPath);
    m_doc.m_logoMarginX = m_settings.LogoPosX;
    m_doc.m_logoMarginY = m_settings.LogoPosY;
    m_doc.m_logoPosition = m_settings.LogoPos;
    m_doc.m_captionOn = m_settings.LetterIs;
    m_doc.m_text = m_settings.Letter;
    m_doc.m_thickness = m_settings.Thickness;
    m_doc.m_outlineAlpha = static_cast<BYTE>(m_settings.OutLineAlpha & 0xFF);
    m_doc.m_textMarginX = m_settings.TextPosX;
    m_doc.m_textMarginY = m_settings.TextPosY;
    m_doc.m_angle = m_settings.Angle * 10;
    m_doc.m_textPosition = m_settings.TextPos;
    m_doc.m_textColor = m_settings.TextColor;
    m_doc.m_outlineColor = m_settings.OutlineColor;
    m_doc.UpdateAllViews();
}

void CTestOutlineTextDlg::BuildCaptionFont(HDC dc) {
    LOGFONTW font = ParseFontDescription(m_settings.FontDesc.c_str(), m_settings.FontName.c_str());
    const int pixelsPerInch = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (pixelsPerInch > 0) m_pointSize = -::MulDiv(font.lfHeight, 72, pixelsPerInch);
    m_doc.m_font = font;
    m_doc.UpdateAllViews();
}

bool CTestOutlineTextDlg::SaveOverlaySettings() {
    return m_settings.Write(m_ini);
}

void CTestOutlineTextDlg::SetPreviewBitmap(HBITMAP bitmap) {
    m_previewBitmap.Attach(bitmap ? static_cast<HBITMAP>(::CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0))
                                  : nullptr);
}

INT_PTR CTestOutlineTextDlg::DoModal(CWnd* parent) {
    m_pParentWnd = parent;
    const INT_PTR result = DoModal();
    // The preview's window went with the dialog's; its object goes now.
    m_view.reset();
    if (result != -1) m_pointSize = m_letterPage.GetPointSize();
    return result;
}

BOOL CTestOutlineTextDlg::OnInitDialog() {
    SetIcon(m_icon, TRUE);
    SetIcon(m_icon, FALSE);
    m_view.reset();
    m_currentPage = nullptr;

    // Pixel places at 100 %, scaled to the dialog's DPI like its dialog units.
    m_dpi = WindowDpi(m_hWnd);
    m_margin = ScaleToDpi(7, m_dpi);
    m_tab.SubclassDlgItem(IDC_OVERLAY_TABS, m_hWnd);
    m_tab.ModifyStyleEx(0, WS_EX_CONTROLPARENT);  // Tab reaches into the pages
    RECT client;
    GetClientRect(&client);
    m_view = std::make_unique<CLogoView>();
    const RECT viewRect{m_margin, m_margin, client.right - m_margin, client.bottom - 2 * m_margin};
    if (m_view->Create(viewRect, m_hWnd, IDC_OVERLAY_PREVIEW, m_context)) {
        m_view->OnInitialUpdate();
    } else {
        m_view.reset();
    }
    PlaceColumns();

    m_tab.InsertItem(0, L"로고넣기");
    m_tab.InsertItem(1, L"글자넣기");
    m_logoPage.Bind(&m_settings, m_view.get());
    m_letterPage.Bind(&m_settings, m_view.get(), m_doc.m_font, m_pointSize);
    m_logoPage.Create(CInsertLogo::IDD, &m_tab);
    m_letterPage.Create(CInsertLetter::IDD, &m_tab);
    m_letterPage.ShowWindow(SW_HIDE);
    ShowPage(0);

    if (m_view) {
        if (m_previewBitmap) m_view->SetPreviewPicture(m_previewBitmap);
        m_view->SetShow(true);
    }
    return TRUE;
}

void CTestOutlineTextDlg::PlaceColumns() {
    const int m = m_margin;
    const int column = ScaleToDpi(kColumn, m_dpi);
    RECT client;
    GetClientRect(&client);
    const int width = client.right;
    const int height = client.bottom;
    m_lastWidth = width;
    // The right-hand column is 300 pixels (at 100 %) whatever the dialog font: the tab control
    // fills it above the OK button, and the preview takes the rest.
    HWND ok = GetDlgItem(IDOK);
    RECT okRect{};
    ::GetWindowRect(ok, &okRect);
    const int okWidth = okRect.right - okRect.left;
    const int okHeight = okRect.bottom - okRect.top;
    ::SetWindowPos(ok, nullptr, width - m - okWidth, height - m - okHeight, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_tab.SetWindowPos(nullptr, width - column, m, column - m, height - 3 * m - okHeight,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_view && m_view->m_hWnd) {
        m_view->SetWindowPos(m_tab, m, m, std::max(0, width - 2 * m - column), std::max(0, height - 2 * m),
                             SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
    FitPage();
}

void CTestOutlineTextDlg::ShowPage(int index) {
    if (m_currentPage) m_currentPage->ShowWindow(SW_HIDE);
    m_currentPage = index == 1 ? static_cast<CDialog*>(&m_letterPage) : static_cast<CDialog*>(&m_logoPage);
    FitPage();
    m_currentPage->ShowWindow(SW_SHOW);
}

void CTestOutlineTextDlg::FitPage() const {
    if (!m_currentPage || !m_currentPage->m_hWnd) return;
    RECT tab;
    m_tab.GetClientRect(&tab);
    const int side = ScaleToDpi(5, m_dpi), top = ScaleToDpi(25, m_dpi);
    m_currentPage->SetWindowPos(nullptr, side, top, tab.right - 2 * side, tab.bottom - top - side,
                                SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CTestOutlineTextDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->idFrom == IDC_OVERLAY_TABS && header->code == TCN_SELCHANGE) {
        ShowPage(m_tab.GetCurSel());
        *result = 0;
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, result);
}

void CTestOutlineTextDlg::OnSize(int width, int height) {
    if (m_view && m_view->m_hWnd) {
        const int m = m_margin;
        const int dx = width - m_lastWidth;
        m_view->SetWindowPos(m_tab, m, m, std::max(0, width - 2 * m - ScaleToDpi(kColumn, m_dpi)),
                             std::max(0, height - 2 * m), SWP_NOACTIVATE);
        for (HWND control : {m_tab.m_hWnd, GetDlgItem(IDOK)}) {
            RECT rect;
            ::GetWindowRect(control, &rect);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
            ::SetWindowPos(control, nullptr, rect.left + dx, rect.top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        FitPage();
    }
    m_lastWidth = width;
}

void CTestOutlineTextDlg::OnOK() {
    if (!SaveOverlaySettings()) {
        // Nothing was lost: the edits are still live and OK can be tried again.
        AfxMessageBox(L"Error", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}

void CTestOutlineTextDlg::OnClose() {
    LoadOverlaySettings();
    EndDialog(IDCANCEL);
}

void CTestOutlineTextDlg::OnPaintIconic() {
    CPaintDC dc(m_hWnd);
    RECT client;
    GetClientRect(&client);
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_icon);
}

LRESULT CTestOutlineTextDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE: {
        const LRESULT result = CDialog::WindowProc(msg, wParam, lParam);
        const SizeArgs size = SizeArgsFrom(wParam, lParam);
        OnSize(size.width, size.height);
        return result;
    }
    case WM_DPICHANGED: {
        // The system lays out the template's controls; the columns follow the new scale.
        const LRESULT result = CDialog::WindowProc(msg, wParam, lParam);
        m_dpi = DpiChangedArgsFrom(wParam, lParam).dpi;
        m_margin = ScaleToDpi(7, m_dpi);
        PlaceColumns();
        return result;
    }
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_MOUSEWHEEL:
        // The wheel scrolls the preview wherever the focus is in the dialog.
        if (m_view && m_view->m_hWnd) return m_view->SendMessage(msg, wParam, lParam);
        break;
    case WM_PAINT:
        if (::IsIconic(m_hWnd)) {
            OnPaintIconic();
            return 0;
        }
        break;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_icon);
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}
