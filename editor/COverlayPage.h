#pragma once
// What the two tab pages of the overlay dialog have in common: the settings they edit and the
// preview they update, filling the controls without taking that for edits, reading them back
// all or nothing, greying the page's controls with its on/off box, and leaving Enter and Esc to
// the dialog that holds the page.
#include <windows.h>
#include "CDialog.h"

struct OverlaySettings;
class CLogoView;

class COverlayPage : public CDialog {
public:
    // The values the page edits and the preview it updates; both outlive the page's window.
    void Bind(OverlaySettings* settings, CLogoView* view) {
        m_settings = settings;
        m_view = view;
    }

protected:
    // `firstControl`..`lastControl` are the ids that the page's on/off value `on` greys.
    COverlayPage(UINT templateId, int firstControl, int lastControl, bool OverlaySettings::*on);

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // A command of one of the page's controls once the page is filled and bound.
    virtual BOOL OnEdit(int id, int code) = 0;
    // What the data exchange does not fill (colour buttons, labels), after it.
    virtual void ShowMoreControls() {}

    // Every control into the settings with the range checks; on a refusal every value stays as
    // it was.
    bool ReadControls();
    void ShowControls();
    void EnableControls();

    OverlaySettings* m_settings = nullptr;
    CLogoView* m_view = nullptr;

private:
    int m_firstControl;
    int m_lastControl;
    bool OverlaySettings::*m_on;
    bool m_ready = false;  // changes made while the controls are being filled are not edits
};
