#pragma once
// The logo and caption overlays of recordings: owns the stored settings (section "AniGif"), the
// live state the recorder draws on every kept frame, and the dialog that edits both with a
// preview. One object lives as long as the recorder dialog that holds it.
#include <windows.h>
#include <string>
#include "CDialog.h"
#include "CIni.h"
#include "CLogoDoc.h"
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
    // Draws the enabled overlays onto a recorded frame.
    void ApplyOverlay(HDC dc) const { m_doc.RenderOverlay(dc); }
    bool IsLogoOn() const { return m_settings.LogoIs; }
    bool IsCaptionOn() const { return m_settings.LetterIs; }

    // Runs the overlay dialog modally: IDOK when it saved, IDCANCEL otherwise.
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

private:
    OverlaySettings m_settings;
    CLogoDoc m_doc;
    CIni m_ini;
    CBitmap m_previewBitmap;
    int m_pointSize = 10;
};
