#include "CDonateDlg.h"
#include "DeviceContext.h"
#include "resource.h"

const wchar_t* const CDonateDlg::kThanks =
    L"Tovrix를 써 주셔서 고맙습니다.\r\n\r\n"
    L"Tovrix는 쓰는 분들의 응원으로 자라는 무료 프로그램입니다. "
    L"주위에 Tovrix를 알려 주시고, 불편한 점이나 바라는 기능을 들려주시면 새 기능과 빠른 "
    L"고침에 큰 힘이 됩니다.";

CDonateDlg::CDonateDlg(CWnd* parent) : CDialog(IDD_TRAY_DONATE, parent) {}

BOOL CDonateDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    LOGFONTW font{};
    {
        CClientDC dc(m_hWnd);
        font.lfHeight = -::MulDiv(12, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    }
    font.lfWeight = 900;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    ::lstrcpynW(font.lfFaceName, L"굴림", LF_FACESIZE);
    HWND text = GetDlgItem(IDC_DONATE_TEXT);
    if (m_font.CreateFontIndirect(font))
        ::SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
    SetDlgItemText(IDC_DONATE_TEXT, kThanks);
    return TRUE;
}
