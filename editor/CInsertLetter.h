#pragma once
// The caption page of the overlay dialog ("글자넣기"): on or off, the text, its font and
// colours, the outline, the grid cell, the margins and the angle. Every change is checked and
// goes at once into the settings and the preview.
#include <windows.h>
#include "CColorButton.h"
#include "COverlayPage.h"

class CInsertLetter : public COverlayPage {
public:
    enum { IDD = 169 };
    CInsertLetter();

    // The values the page edits and the preview it updates (both outlive the page's window);
    // `font` and `pointSize` are the caption font as it is drawn now.
    void Bind(OverlaySettings* settings, CLogoView* view, const LOGFONTW& font, int pointSize);
    const LOGFONTW& GetCaptionFont() const { return m_font; }
    int GetPointSize() const { return m_pointSize; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnEdit(int id, int code) override;
    void ShowMoreControls() override;

private:
    void PickColor(CColorButton& button, COLORREF& value, bool outline);
    void PickFont();

    LOGFONTW m_font{};
    int m_pointSize = 0;
    CColorButton m_textColor;
    CColorButton m_outlineColor;
};
