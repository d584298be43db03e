#include "CScreenPickerDlg.h"
#include "CInteraction.h"
#include "Dpi.h"
#include "MessageArgs.h"
#include "PickerScreens.h"
#include "resource.h"

CScreenPickerDlg::CScreenPickerDlg() : CDialog(IDD_POPUP, nullptr) {}

CScreenPickerDlg::~CScreenPickerDlg() {
    m_backSelection.reset();
}

INT_PTR CScreenPickerDlg::DoModal() {
    // Before the window exists, so that the picker is never in its own pictures.
    if (!PrepareScreens(m_screenRect, m_dark, m_bright)) return -1;
    CInteraction picking;
    return CDialog::DoModal();
}

RECT CScreenPickerDlg::GetSelectedRect() const {
    RECT selection = GetSelection();
    if (::IsRectEmpty(&selection)) return RECT{};
    return ToScreen(selection);
}

BOOL CScreenPickerDlg::CopySelectedImage(CScreenImage& target) const {
    RECT selection = GetSelection();
    if (::IsRectEmpty(&selection) || !target.CreateBlank(selection) || target.IsNull()) {
        target.Destroy();
        return FALSE;
    }
    HDC to = target.GetDC();
    HDC from = m_bright.GetDC();
    BOOL copied = ::BitBlt(to, 0, 0, selection.right - selection.left,
                           selection.bottom - selection.top, from, selection.left, selection.top,
                           SRCCOPY);
    m_bright.ReleaseDC();
    target.ReleaseDC();
    return copied;
}

RECT CScreenPickerDlg::ToPicker(RECT screenRect) const {
    ::OffsetRect(&screenRect, -m_screenRect.left, -m_screenRect.top);
    return screenRect;
}

RECT CScreenPickerDlg::ToScreen(RECT pickerRect) const {
    ::OffsetRect(&pickerRect, m_screenRect.left, m_screenRect.top);
    return pickerRect;
}

BOOL CScreenPickerDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    KeepDialogLayoutOnDpiChange(m_hWnd);
    SetWindowPos(nullptr, m_screenRect.left, m_screenRect.top, Width(), Height(), SWP_NOZORDER);

    CClientDC window(m_hWnd);
    m_backBuffer = std::make_unique<CMemoryDC>(window);
    m_backBitmap.CreateCompatibleBitmap(window, Width(), Height());
    m_backSelection = std::make_unique<CSelectObject>(BackBuffer(), m_backBitmap);
    m_dark.BitBlt(BackBuffer(), 0, 0, SRCCOPY);
    return TRUE;
}

LRESULT CScreenPickerDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_DPICHANGED:
        // The picker covers its screens in physical pixels at every scale: it keeps its place
        // and size, whatever the system suggests when its largest part changes monitor.
        return 0;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}

void CScreenPickerDlg::OnPaint() {
    CPaintDC dc(m_hWnd);
    // Only what was invalidated: a picker as large as every monitor together is costly to
    // repaint whole at every move of the pointer.
    const RECT& area = dc.PaintStruct().rcPaint;
    ::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
             BackBuffer(), area.left, area.top, SRCCOPY);
}

void CScreenPickerDlg::CopyToBackBuffer(const CScreenImage& from, const RECT& pickerRect) {
    if (::IsRectEmpty(&pickerRect)) return;
    HDC source = from.GetDC();
    ::BitBlt(BackBuffer(), pickerRect.left, pickerRect.top, pickerRect.right - pickerRect.left,
             pickerRect.bottom - pickerRect.top, source, pickerRect.left, pickerRect.top, SRCCOPY);
    from.ReleaseDC();
}
