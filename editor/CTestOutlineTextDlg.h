#pragma once
// The logo and caption overlays of recordings: owns the stored settings (section "AniGif"), the
// live state the recorder draws on every kept frame, and the dialog that edits both with a
// preview ("로고 설정"). One object lives as long as the recorder dialog that holds it; each
// opening of the dialog builds its windows anew.
#include <windows.h>
#include <memory>
#include <string>
#include "CDialog.h"
#include "CDocument.h"
#include "CIni.h"
#include "CInsertLetter.h"
#include "CInsertLogo.h"
#include "CLogoDoc.h"
#include "CLogoView.h"
#include "CTabCtrl.h"
#include "Dpi.h"
#include "GdiObject.h"
#include "OverlaySettings.h"

class CTestOutlineTextDlg : public CDialog {
public:
    enum { IDD = 103 };

    // The settings file is the program's own.
    CTestOutlineTextDlg();
    ~CTestOutlineTextDlg() override;

    // Reads every overlay key into the settings and copies them into the live state, the logo
    // picture loaded again; the caption font is left as it is (see BuildCaptionFont).
    void LoadOverlaySettings();
    // The stored caption font into the live state; `dc` gives the pixels per inch for the point
    // size that the font label shows.
    void BuildCaptionFont(HDC dc);
    // Writes every overlay key; false when the settings file could not take them all.
    bool SaveOverlaySettings();

    // A picture of the recording area for the preview; the bitmap is copied, the caller keeps
    // its own. Hand the picture of the frames as they will be recorded (the resize size when
    // frames are resized): the preview places the overlays against its size.
    void SetPreviewBitmap(HBITMAP bitmap);
    // Draws the enabled overlays onto a recorded frame, placed against the frame's own size.
    void ApplyOverlay(HDC dc) const { m_doc.RenderOverlay(dc); }
    bool IsLogoOn() const { return m_settings.LogoIs; }
    bool IsCaptionOn() const { return m_settings.LetterIs; }

    // Runs the overlay dialog modally. IDOK: the settings were saved. IDCANCEL: closed through
    // the title bar (the stored settings are back in the live state, the caption font apart) or
    // with Esc (the edits stay live, unsaved).
    using CDialog::DoModal;
    INT_PTR DoModal(CWnd* parent);

    // The values as stored, or as edited since (saved by SaveOverlaySettings).
    const OverlaySettings& GetSettings() const { return m_settings; }
    OverlaySettings& GetSettings() { return m_settings; }
    CLogoDoc& GetDocument() { return m_doc; }
    const CLogoDoc& GetDocument() const { return m_doc; }
    // The settings file (tests point it elsewhere).
    CIni& GetIni() { return m_ini; }
    // The caption font's size in points, as the font label shows it.
    int GetPointSize() const { return m_pointSize; }
    HBITMAP GetPreviewBitmap() const { return m_previewBitmap.get(); }
    // While the dialog is open: the preview and the pages.
    CLogoView* GetView() const { return m_view.get(); }
    CInsertLogo& GetLogoPage() { return m_logoPage; }
    CInsertLetter& GetLetterPage() { return m_letterPage; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void OnSize(int width, int height);
    void OnClose();
    // The tab control, the OK button and the preview at their places for the client size and DPI.
    void PlaceColumns();
    void ShowPage(int index);
    // The current page inside the tab control's display area.
    void FitPage() const;
    void OnPaintIconic();

    OverlaySettings m_settings;
    CLogoDoc m_doc;
    CCreateContext m_context;
    CIni m_ini;
    CBitmap m_previewBitmap;
    int m_pointSize = 10;
    HICON m_icon = nullptr;  // shared resource icon: never destroyed

    CTabCtrl m_tab;
    CInsertLogo m_logoPage;
    CInsertLetter m_letterPage;
    std::unique_ptr<CLogoView> m_view;
    CDialog* m_currentPage = nullptr;
    int m_margin = 7;
    int m_lastWidth = 0;
    UINT m_dpi = kDefaultDpi;
    static constexpr int kColumn = 300;  // the tab control's column, at 100 %
};
