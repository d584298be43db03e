#pragma once
// The overlay preview: a picture of the recording area with the caption and the logo drawn on
// it exactly as on the recorded frames. It shows its document (CLogoDoc) and writes every value
// the overlay pages change into it, so that the preview and the recording change together.
#include <windows.h>
#include <string>
#include "CDocument.h"
#include "CLogoDoc.h"
#include "CScrollView.h"
#include "GdiObject.h"

class CLogoView : public CScrollView {
public:
    // Made on the document of the context; the view registers with it until it is destroyed.
    BOOL Create(const RECT& rect, HWND parent, UINT id, const CCreateContext& context);
    // The scroll range before any picture: 300 x 300.
    void OnInitialUpdate();

    CLogoDoc* GetDocument() const { return m_document; }

    // The document's preview picture becomes a copy of the bitmap, the reference size its size;
    // true when there is a picture afterwards.
    bool SetPreviewPicture(HBITMAP bitmap);
    // Nothing but the background is drawn until the view is shown.
    void SetShow(bool show);
    bool IsShown() const { return m_show; }

    // The live values: each goes into the document and redraws the preview.
    void SetCaptionOn(bool on);
    void SetLogoOn(bool on);
    void SetTextColor(COLORREF color);
    void SetOutlineColor(COLORREF color);
    void SetText(const std::wstring& text);
    void SetTextPosition(int position);
    void SetOutlineAlpha(int alpha);  // its low byte
    void SetThickness(int thickness);
    void SetTextMarginX(int margin);
    void SetTextMarginY(int margin);
    void SetAngle(int degrees);
    void SetCaptionFont(const LOGFONTW& font);
    // Loads the picture; false when it cannot be read (the preview then has no logo).
    bool SetLogoPath(const std::wstring& path);
    void SetLogoMarginX(int margin);
    void SetLogoMarginY(int margin);
    void SetLogoPosition(int position);

protected:
    void OnDraw(HDC dc) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Changed() const { if (m_hWnd) InvalidateRect(nullptr, FALSE); }

    CLogoDoc* m_document = nullptr;
    bool m_show = false;
    CBitmap m_canvas;  // a 32-bit DIB section, kept between paints
    SIZE m_canvasSize{};
};
