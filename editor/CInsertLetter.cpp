#include "CInsertLetter.h"
#include "CColorDialog.h"
#include "CFontDialog.h"
#include "CLogoView.h"
#include "DataExchange.h"
#include "FontDescription.h"
#include "OverlaySettings.h"
#include "overlay_ids.h"

CInsertLetter::CInsertLetter()
    : COverlayPage(IDD, IDC_CAPTION_TEXT, IDC_CAPTION_ANGLE, &OverlaySettings::LetterIs) {}

void CInsertLetter::Bind(OverlaySettings* settings, CLogoView* view, const LOGFONTW& font, int pointSize) {
    COverlayPage::Bind(settings, view);
    m_font = font;
    m_pointSize = pointSize;
}

BOOL CInsertLetter::OnInitDialog() {
    m_textColor.SubclassDlgItem(IDC_CAPTION_COLOR, m_hWnd);
    m_outlineColor.SubclassDlgItem(IDC_CAPTION_OUTLINE_COLOR, m_hWnd);
    return COverlayPage::OnInitDialog();
}

void CInsertLetter::ShowMoreControls() {
    m_textColor.SetColor(m_settings->TextColor);
    m_outlineColor.SetColor(m_settings->OutlineColor);
    SetDlgItemText(IDC_CAPTION_FONT_LABEL, FontLabel(m_font, m_pointSize));
}

void CInsertLetter::DoDataExchange(CDataExchange* dx) {
    OverlaySettings& s = *m_settings;
    DDX_Check(dx, IDC_CAPTION_ON, s.LetterIs);
    DDX_Text(dx, IDC_CAPTION_TEXT, s.Letter);
    DDV_MaxChars(dx, s.Letter, OverlaySettings::kMaxLetterLength);
    DDX_Text(dx, IDC_CAPTION_THICKNESS, s.Thickness);
    DDV_MinMaxInt(dx, s.Thickness, 0, 100);
    DDX_Text(dx, IDC_CAPTION_ALPHA, s.OutLineAlpha);
    DDV_MinMaxInt(dx, s.OutLineAlpha, 0, 255);
    int position = s.TextPos;
    DDX_Radio(dx, IDC_CAPTION_POS_FIRST, position);
    if (dx->m_bSaveAndValidate && !dx->m_failed && position >= 0) s.TextPos = position;
    DDX_Text(dx, IDC_CAPTION_MARGIN_X, s.TextPosX);
    DDV_MinMaxInt(dx, s.TextPosX, 0, 500);
    DDX_Text(dx, IDC_CAPTION_MARGIN_Y, s.TextPosY);
    DDV_MinMaxInt(dx, s.TextPosY, 0, 500);
    // 365 rather than 360: a few degrees past a whole turn are accepted and drawn as such.
    DDX_Text(dx, IDC_CAPTION_ANGLE, s.Angle);
    DDV_MinMaxInt(dx, s.Angle, 0, 365);
}

BOOL CInsertLetter::OnEdit(int id, int code) {
    OverlaySettings& s = *m_settings;
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_CAPTION_ON:
            if (ReadControls()) {
                EnableControls();
                m_view->SetCaptionOn(s.LetterIs);
            }
            return TRUE;
        case IDC_CAPTION_COLOR:
            PickColor(m_textColor, s.TextColor, false);
            return TRUE;
        case IDC_CAPTION_OUTLINE_COLOR:
            PickColor(m_outlineColor, s.OutlineColor, true);
            return TRUE;
        case IDC_CAPTION_FONT:
            PickFont();
            return TRUE;
        }
        if (id >= IDC_CAPTION_POS_FIRST && id < IDC_CAPTION_POS_FIRST + 9) {
            if (ReadControls()) m_view->SetTextPosition(s.TextPos);
            return TRUE;
        }
        return FALSE;
    }
    if (code != EN_CHANGE) return FALSE;
    switch (id) {
    case IDC_CAPTION_TEXT:
        if (ReadControls()) m_view->SetText(s.Letter);
        return TRUE;
    case IDC_CAPTION_THICKNESS:
        if (ReadControls()) m_view->SetThickness(s.Thickness);
        return TRUE;
    case IDC_CAPTION_ALPHA:
        if (ReadControls()) m_view->SetOutlineAlpha(s.OutLineAlpha);
        return TRUE;
    case IDC_CAPTION_MARGIN_X:
        if (ReadControls()) m_view->SetTextMarginX(s.TextPosX);
        return TRUE;
    case IDC_CAPTION_MARGIN_Y:
        if (ReadControls()) m_view->SetTextMarginY(s.TextPosY);
        return TRUE;
    case IDC_CAPTION_ANGLE:
        if (ReadControls()) m_view->SetAngle(s.Angle);
        return TRUE;
    }
    return FALSE;
}

void CInsertLetter::PickColor(CColorButton& button, COLORREF& value, bool outline) {
    CColorDialog dialog(value, CC_FULLOPEN, this);
    if (dialog.DoModal() != IDOK) return;
    value = dialog.GetColor();
    button.SetColor(value);
    if (outline) m_view->SetOutlineColor(value);
    else m_view->SetTextColor(value);
}

void CInsertLetter::PickFont() {
    CFontDialog dialog(&m_font, CF_SCREENFONTS, this);
    if (dialog.DoModal() != IDOK) return;
    m_font = dialog.GetLogFont();
    m_view->SetCaptionFont(m_font);
    m_settings->FontName = m_font.lfFaceName;
    m_settings->FontDesc = FormatFontDescription(m_font);
    m_pointSize = dialog.GetSize() / 10;
    SetDlgItemText(IDC_CAPTION_FONT_LABEL, FontLabel(m_font, m_pointSize));
}
