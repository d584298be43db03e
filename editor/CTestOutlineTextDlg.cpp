#include "CTestOutlineTextDlg.h"
#include "FontDescription.h"

CTestOutlineTextDlg::CTestOutlineTextDlg() : CDialog(IDD) {
    m_ini.SetPathToModule();
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
}

void CTestOutlineTextDlg::BuildCaptionFont(HDC dc) {
    LOGFONTW font = ParseFontDescription(m_settings.FontDesc.c_str(), m_settings.FontName.c_str());
    const int pixelsPerInch = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (pixelsPerInch > 0) m_pointSize = -::MulDiv(font.lfHeight, 72, pixelsPerInch);
    m_doc.m_font = font;
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
    return CDialog::DoModal();
}
