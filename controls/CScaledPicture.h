#pragma once
// A picture control (a static control with SS_BITMAP) that shows a bitmap resource at its 100 %
// size times its DPI: the picture drawn at the nearest scale, stretched when the DPI lies between
// the drawn scales. The control owns what it shows.
//
//   CScaledPicture banner;
//   banner.SubclassDlgItem(IDC_BANNER, dialog);
//   banner.SetPicture(IDB_BANNER);
#include <windows.h>
#include "CStatic.h"
#include "Dpi.h"
#include "GdiObject.h"

class CScaledPicture : public CStatic {
public:
    CScaledPicture() = default;
    ~CScaledPicture() override;

    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(int id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, id)); }

    // Shows the picture for the control's DPI and gives the control its size (the place stays).
    // FALSE when the resource is missing.
    BOOL SetPicture(UINT bitmapId);
    // The DPI to show the picture for; the owner places the control.
    void SetDpi(UINT dpi);
    UINT GetDpi() const { return m_dpi; }
    // The size of the picture at 100 %.
    SIZE GetPictureSize100() const { return m_size100; }

private:
    CBitmap m_picture;
    UINT m_pictureId = 0;
    UINT m_dpi = kDefaultDpi;
    SIZE m_size100{0, 0};
};
