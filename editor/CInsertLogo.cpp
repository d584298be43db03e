#include "CInsertLogo.h"
#include "CFileDialog.h"
#include "CLogoView.h"
#include "DataExchange.h"
#include "MessageBox.h"
#include "OverlaySettings.h"
#include "overlay_ids.h"

namespace {
// The first pattern has no dot, so that it takes every name ending in "bmp".
const wchar_t kPictureFilter[] =
    L"모든 그림  파일|*bmp;*.dib;*.jpg;*.jpeg;*.jpe;*.jfif;*.gif;*.tif;*.tiff;*.png|";
}  // namespace

CInsertLogo::CInsertLogo() : COverlayPage(IDD, IDC_LOGO_PATH, IDC_LOGO_MARGIN_Y, &OverlaySettings::LogoIs) {}

void CInsertLogo::DoDataExchange(CDataExchange* dx) {
    OverlaySettings& s = *m_settings;
    DDX_Check(dx, IDC_LOGO_ON, s.LogoIs);
    DDX_Text(dx, IDC_LOGO_PATH, s.LogoPath);
    // A cell stored outside the grid checks no button; it is kept until one is chosen.
    int position = s.LogoPos;
    DDX_Radio(dx, IDC_LOGO_POS_FIRST, position);
    if (dx->m_bSaveAndValidate && !dx->m_failed && position >= 0) s.LogoPos = position;
    DDX_Text(dx, IDC_LOGO_MARGIN_X, s.LogoPosX);
    DDV_MinMaxInt(dx, s.LogoPosX, 0, 500);
    DDX_Text(dx, IDC_LOGO_MARGIN_Y, s.LogoPosY);
    DDV_MinMaxInt(dx, s.LogoPosY, 0, 500);
}

BOOL CInsertLogo::OnEdit(int id, int code) {
    if (id == IDC_LOGO_ON && code == BN_CLICKED) {
        if (ReadControls()) {
            EnableControls();
            m_view->SetLogoOn(m_settings->LogoIs);
        }
        return TRUE;
    }
    if (id == IDC_LOGO_BROWSE && code == BN_CLICKED) {
        ChooseLogo();
        return TRUE;
    }
    if (id >= IDC_LOGO_POS_FIRST && id < IDC_LOGO_POS_FIRST + 9 && code == BN_CLICKED) {
        if (ReadControls()) m_view->SetLogoPosition(m_settings->LogoPos);
        return TRUE;
    }
    if ((id == IDC_LOGO_MARGIN_X || id == IDC_LOGO_MARGIN_Y) && code == EN_CHANGE) {
        if (ReadControls()) {
            if (id == IDC_LOGO_MARGIN_X) m_view->SetLogoMarginX(m_settings->LogoPosX);
            else m_view->SetLogoMarginY(m_settings->LogoPosY);
        }
        return TRUE;
    }
    return FALSE;
}

void CInsertLogo::ChooseLogo() {
    // Only existing files: a name typed by mistake would otherwise become a logo that never
    // shows. No default extension is appended to a typed name.
    CFileDialog dialog(kPictureFilter,
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, this);
    if (dialog.DoModal() == IDOK) {
        const std::wstring path = dialog.GetPathName();
        if (m_view->SetLogoPath(path)) {
            m_settings->LogoPath = path;
        } else {
            // A file that is no picture keeps the logo there was.
            m_view->SetLogoPath(m_settings->LogoPath);
            AfxMessageBox(L"그림 파일을 읽을 수 없습니다.\n" + path, MB_OK | MB_ICONEXCLAMATION);
        }
    }
    ShowControls();
}
