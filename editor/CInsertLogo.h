#pragma once
// The logo page of the overlay dialog ("로고넣기"): on or off, the picture file, the grid cell
// and the margins. Every change is checked and goes at once into the settings and the preview.
#include <windows.h>
#include "CDialog.h"

struct OverlaySettings;
class CLogoView;

class CInsertLogo : public CDialog {
public:
    enum { IDD = 168 };
    CInsertLogo();

    // The values the page edits and the preview it updates; both outlive the page's window.
    void Bind(OverlaySettings* settings, CLogoView* view) { m_settings = settings; m_view = view; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // Every control into the settings with the range checks; on a refusal every value stays as
    // it was.
    bool ReadControls();
    void ShowControls();
    void EnableControls();
    void ChooseLogo();

    OverlaySettings* m_settings = nullptr;
    CLogoView* m_view = nullptr;
    bool m_ready = false;  // changes made while the controls are being filled are not edits
};
