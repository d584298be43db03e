#pragma once
// The logo page of the overlay dialog ("로고넣기"): on or off, the picture file, the grid cell
// and the margins. Every change is checked and goes at once into the settings and the preview.
#include <windows.h>
#include "COverlayPage.h"

class CInsertLogo : public COverlayPage {
public:
    enum { IDD = 168 };
    CInsertLogo();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnEdit(int id, int code) override;

private:
    void ChooseLogo();
};
