#include "CTextForm.h"
#include <climits>
#include "CColorDialog.h"
#include "CFontDialog.h"
#include "CVectorData.h"
#include "DeviceContext.h"
#include "FontDescription.h"
#include "MessageBox.h"
#include "resource.h"

namespace {
const UINT kPreviewId = 10001;
const COLORREF kInitialOutline = RGB(0, 128, 128);
const COLORREF kInitialText = RGB(128, 255, 255);
}  // namespace

CTextForm::CTextForm(CWnd* owner) : CDialog(IDD_TEXT_FORM, owner) {}

BOOL CTextForm::OnInitDialog() {
    CDialog::OnInitDialog();
    RECT frame{};
    ::GetWindowRect(GetDlgItem(IDC_TEXT_PREVIEW_FRAME), &frame);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&frame), 2);
    m_preview = std::make_unique<CMyScrollView>();
    m_preview->Create(frame, m_hWnd, kPreviewId);
    m_preview->SetScrollSizes(SIZE{300, 300});
    m_preview->SetShow(0);

    m_outlineColor.SubclassDlgItem(IDC_TEXT_OUTLINE_COLOR, m_hWnd);
    m_textColor.SubclassDlgItem(IDC_TEXT_COLOR, m_hWnd);
    m_outlineColor.SetColor(kInitialOutline);
    m_preview->SetOutlineColor(kInitialOutline);
    m_textColor.SetColor(kInitialText);
    m_preview->SetTextColor(kInitialText);

    const int pixelsPerInch = ::GetDeviceCaps(CClientDC(nullptr), LOGPIXELSY);
    m_font = LOGFONTW{};
    m_font.lfHeight = -::MulDiv(24, pixelsPerInch, 72);
    m_font.lfWeight = FW_NORMAL;
    m_font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    ::lstrcpynW(m_font.lfFaceName, L"Arial Black", LF_FACESIZE);
    SetDlgItemText(IDC_TEXT_FONT_LABEL, L"Arial Black, 36 Regular");
    m_preview->SetLogFont(m_font);
    m_preview->SetPointSize(24);

    SetDlgItemText(IDC_TEXT_EDIT, L"Sample");
    m_preview->SetText(L"Sample");
    SetDlgItemText(IDC_TEXT_ALPHA, L"255");
    m_preview->SetOutlineAlpha(255);
    SetDlgItemText(IDC_TEXT_THICKNESS, L"4");
    m_preview->SetThickness(4);

    m_preview->SetOrigin(10, 10);
    m_preview->SetAngle(0);
    m_preview->SetShow(1);
    return TRUE;
}

BOOL CTextForm::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (code == EN_CHANGE) {
        switch (id) {
        case IDC_TEXT_EDIT: OnTextChanged(); return TRUE;
        case IDC_TEXT_THICKNESS: OnThicknessChanged(); return TRUE;
        case IDC_TEXT_ALPHA: OnAlphaChanged(); return TRUE;
        }
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_TEXT_COLOR: OnTextColor(); return TRUE;
        case IDC_TEXT_OUTLINE_COLOR: OnOutlineColor(); return TRUE;
        case IDC_TEXT_FONT: OnFont(); return TRUE;
        case IDC_TEXT_DRAW: OnDraw(); return TRUE;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

int CTextForm::EditNumber(int id) const {
    // An empty edit counts as 0; digits beyond an int's range stop at its limit.
    std::wstring text = GetDlgItemText(id);
    long long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') break;
        value = value * 10 + (c - L'0');
        if (value > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(value);
}

void CTextForm::OnTextChanged() {
    if (m_preview) m_preview->SetText(GetDlgItemText(IDC_TEXT_EDIT));
}

void CTextForm::OnThicknessChanged() {
    if (m_preview) m_preview->SetThickness(EditNumber(IDC_TEXT_THICKNESS));
}

void CTextForm::OnAlphaChanged() {
    const int alpha = EditNumber(IDC_TEXT_ALPHA);
    if (m_preview) m_preview->SetOutlineAlpha(static_cast<BYTE>(alpha > 255 ? 255 : alpha < 0 ? 0 : alpha));
}

void CTextForm::OnTextColor() {
    CColorDialog dialog(m_textColor.GetColor(), CC_FULLOPEN, this);
    if (dialog.DoModal() != IDOK) return;
    m_textColor.SetColor(dialog.GetColor());
    m_preview->SetTextColor(dialog.GetColor());
}

void CTextForm::OnOutlineColor() {
    CColorDialog dialog(m_outlineColor.GetColor(), CC_FULLOPEN, this);
    if (dialog.DoModal() != IDOK) return;
    m_outlineColor.SetColor(dialog.GetColor());
    m_preview->SetOutlineColor(dialog.GetColor());
}

void CTextForm::OnFont() {
    CFontDialog dialog(&m_font, CF_SCREENFONTS, this);
    if (dialog.DoModal() != IDOK) return;
    m_font = dialog.GetLogFont();
    m_preview->SetLogFont(m_font);
    m_preview->SetPointSize(dialog.GetSize() / 10);
    SetDlgItemText(IDC_TEXT_FONT_LABEL, FontLabel(m_font, dialog.GetSize() / 10));
}

void CTextForm::OnDraw() {
    std::wstring text = GetDlgItemText(IDC_TEXT_EDIT);
    if (text.empty()) {
        EndDialog(IDCANCEL);
        return;
    }
    if (text.size() > static_cast<size_t>(CVectorData::kMaxTextLength)) {
        // An item holds only so much text: cutting it silently would lose what the user wrote.
        // The box belongs to the tool, which stays open with the text as it was typed.
        ShowMessageBox(m_hWnd,
                       L"문구가 너무 깁니다. " + std::to_wstring(CVectorData::kMaxTextLength) +
                           L"자 이하로 입력하십시오. (지금 " + std::to_wstring(text.size()) + L"자)",
                       L"", MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(GetDlgItem(IDC_TEXT_EDIT));
        return;
    }
    m_settings = TextItemSettings{};
    m_settings.textColor = m_preview->GetTextColor();
    m_settings.outlineColor = m_preview->GetOutlineColor();
    m_settings.outlineAlpha = m_preview->GetOutlineAlpha();
    m_settings.thickness = m_preview->GetThickness();
    SetTextItemFont(m_settings, m_preview->GetLogFont());
    m_text = m_preview->GetText();
    m_settings.text = m_text.c_str();
    EndDialog(IDOK);
}
