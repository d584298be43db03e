#include "CClippingDlg.h"
#include "CScreenImage.h"
#include "MessageArgs.h"
#include "MessageBox.h"
#include "framedlg_ids.h"

namespace {
const wchar_t kMsgNoOverlap[] =
    L"자를 영역이 그림과 겹치지 않습니다. 사각형을 그림 위로 옮긴 뒤 다시 실행하십시오.";
const wchar_t kMsgNoPicture[] = L"자를 그림이 없습니다.";
}  // namespace

CClippingDlg::CClippingDlg(CScreenImage* picture, CWnd* parent)
    : CDialogEx(IDD_CLIPPING, parent), m_picture(picture) {}

BOOL CClippingDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    RECT button{};
    ::GetWindowRect(GetDlgItem(IDOK), &button);
    ScreenToClient(&button);
    const RECT preview{7, 7, button.right, button.top - 7};
    if (m_view.Create(this, preview, 10001)) {
        m_view.EnableTracker();
        m_view.OnInitialUpdate();
        if (m_picture) m_view.ShowPicture(m_picture);
    }
    return TRUE;
}

BOOL CClippingDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
        return TRUE;
    return CDialogEx::PreTranslateMessage(msg);
}

void CClippingDlg::OnOK() {
    if (!m_picture || m_picture->IsNull()) {
        ShowMessageBox(m_hWnd, kMsgNoPicture, L"자르기", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    RECT tracker = m_view.GetTrackerRect();
    const POINT scroll = m_view.GetScrollPosition();
    ::OffsetRect(&tracker, scroll.x, scroll.y);
    const RECT picture{0, 0, m_picture->GetWidth(), m_picture->GetHeight()};
    RECT result{};
    // A rectangle wholly off the picture would give an empty result, and the frame editor would
    // crop every frame to nothing with it: it is refused, and the dialog stays open for another try.
    if (!::IntersectRect(&result, &tracker, &picture)) {
        ShowMessageBox(m_hWnd, kMsgNoOverlap, L"자르기", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_result = result;
    EndDialog(IDOK);
}

void CClippingDlg::OnSize(int width, int height) {
    if (!m_view.m_hWnd) return;
    m_view.SetWindowPos(nullptr, 7, 7, width - 13, height - 42, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(GetDlgItem(IDOK), nullptr, width - 83, height - 30, 75, 23,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(FALSE);
}

LRESULT CClippingDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {kMinWidth, kMinHeight};
        return 0;
    }
    case WM_SIZE: {
        const SizeArgs size = SizeArgsFrom(wParam, lParam);
        OnSize(size.width, size.height);
        break;
    }
    }
    return CDialogEx::WindowProc(msg, wParam, lParam);
}
