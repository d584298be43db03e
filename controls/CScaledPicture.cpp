#include "CScaledPicture.h"

CScaledPicture::~CScaledPicture() {
    // The control must not show a bitmap that is about to go.
    if (IsWindow()) SetBitmap(nullptr);
}

BOOL CScaledPicture::SubclassWindow(HWND hwnd) {
    if (!CStatic::SubclassWindow(hwnd)) return FALSE;
    m_dpi = WindowDpi(m_hWnd);
    return TRUE;
}

BOOL CScaledPicture::SetPicture(UINT bitmapId) {
    m_pictureId = bitmapId;
    CBitmap picture = LoadBitmapForDpi(bitmapId, m_dpi, 1, false, &m_size100);
    if (!picture) return FALSE;
    BITMAP info{};
    ::GetObjectW(picture, sizeof(info), &info);
    SetBitmap(picture);
    m_picture = std::move(picture);
    // A picture control sizes itself to a new bitmap only with some styles: the size is set here.
    SetWindowPos(nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
    return TRUE;
}

void CScaledPicture::SetDpi(UINT dpi) {
    if (dpi == 0 || dpi == m_dpi) return;
    m_dpi = dpi;
    if (m_pictureId) SetPicture(m_pictureId);
}
