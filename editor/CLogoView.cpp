#include "CLogoView.h"
#include <memory>
#include "DeviceContext.h"
#include "Dib.h"
#include "GdiObject.h"

BOOL CLogoView::Create(const RECT& rect, HWND parent, UINT id, const CCreateContext& context) {
    m_document = static_cast<CLogoDoc*>(context.m_pCurrentDoc);
    if (m_document) SetBackgroundColor(m_document->GetBackgroundColor());
    if (!CScrollView::Create(rect, parent, id)) return FALSE;
    if (m_document) m_document->AddView(this);
    return TRUE;
}

void CLogoView::OnInitialUpdate() {
    SetScrollSizes(SIZE{300, 300});
}

bool CLogoView::SetPreviewPicture(HBITMAP bitmap) {
    if (!m_document) return false;
    m_document->DeletePreviewPicture();
    if (bitmap) {
        // FromHBITMAP copies the pixels: the caller keeps its bitmap.
        std::unique_ptr<Gdiplus::Bitmap> picture(Gdiplus::Bitmap::FromHBITMAP(bitmap, nullptr));
        if (picture && picture->GetLastStatus() == Gdiplus::Ok) {
            const SIZE size{static_cast<LONG>(picture->GetWidth()), static_cast<LONG>(picture->GetHeight())};
            m_document->SetPreviewPicture(std::move(picture));
            m_document->SetReferenceSize(size);
            SetScrollSizes(size);
        }
    }
    Changed();
    return m_document->GetPreviewPicture() != nullptr;
}

void CLogoView::SetShow(bool show) {
    const bool shownNow = show && !m_show;
    m_show = show;
    if (shownNow) Changed();
}

void CLogoView::SetCaptionOn(bool on) { m_document->m_captionOn = on; Changed(); }
void CLogoView::SetLogoOn(bool on) { m_document->m_logoOn = on; Changed(); }
void CLogoView::SetTextColor(COLORREF color) { m_document->m_textColor = color; Changed(); }
void CLogoView::SetOutlineColor(COLORREF color) { m_document->m_outlineColor = color; Changed(); }
void CLogoView::SetText(const std::wstring& text) { m_document->m_text = text; Changed(); }
void CLogoView::SetTextPosition(int position) { m_document->m_textPosition = position; Changed(); }
void CLogoView::SetOutlineAlpha(int alpha) { m_document->m_outlineAlpha = static_cast<BYTE>(alpha & 0xFF); Changed(); }
void CLogoView::SetThickness(int thickness) { m_document->m_thickness = thickness; Changed(); }
void CLogoView::SetTextMarginX(int margin) { m_document->m_textMarginX = margin; Changed(); }
void CLogoView::SetTextMarginY(int margin) { m_document->m_textMarginY = margin; Changed(); }
void CLogoView::SetAngle(int degrees) { m_document->m_angle = degrees * 10; Changed(); }
void CLogoView::SetCaptionFont(const LOGFONTW& font) { m_document->m_font = font; Changed(); }
void CLogoView::SetLogoMarginX(int margin) { m_document->m_logoMarginX = margin; Changed(); }
void CLogoView::SetLogoMarginY(int margin) { m_document->m_logoMarginY = margin; Changed(); }
void CLogoView::SetLogoPosition(int position) { m_document->m_logoPosition = position; Changed(); }

bool CLogoView::SetLogoPath(const std::wstring& path) {
    const bool loaded = m_document->LoadLogo(path);
    Changed();
    return loaded;
}

void CLogoView::OnDraw(HDC dc) {
    if (!m_show || !m_document) return;
    // The visible part of the content is drawn in a 32-bit picture of its own: GDI+ smooths the
    // text and the logo there exactly as on a recorded frame, whatever the screen's format.
    RECT box;
    if (::GetClipBox(dc, &box) == ERROR) return;
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (width <= 0 || height <= 0) return;
    if (!m_canvas || m_canvasSize.cx < width || m_canvasSize.cy < height) {
        const BITMAPINFO info = TopDownDib32(width, height);
        void* bits = nullptr;
        m_canvas.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_canvasSize = m_canvas ? SIZE{width, height} : SIZE{0, 0};
        if (!m_canvas) return;
    }
    CMemoryDC canvas(dc);
    CSelectObject selected(canvas, m_canvas);
    RECT all{0, 0, width, height};
    CBrush background(m_document->GetBackgroundColor());
    ::FillRect(canvas, &all, background);

    const auto contentGraphics = [&](Gdiplus::Graphics& graphics) {
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.TranslateTransform(static_cast<Gdiplus::REAL>(-box.left), static_cast<Gdiplus::REAL>(-box.top));
    };
    Gdiplus::Bitmap* picture = m_document->GetPreviewPicture();
    if (picture) {
        const INT pictureWidth = static_cast<INT>(picture->GetWidth());
        const INT pictureHeight = static_cast<INT>(picture->GetHeight());
        {
            Gdiplus::Graphics graphics(canvas.get());
            contentGraphics(graphics);
            graphics.DrawImage(picture, 0, 0, pictureWidth, pictureHeight);
        }
        POINT oldOrigin;
        ::SetViewportOrgEx(canvas, -box.left, -box.top, &oldOrigin);
        {
            CPen black(PS_SOLID, 1, RGB(0, 0, 0));
            CSelectObject pen(canvas, black);
            CSelectObject brush(canvas, ::GetStockObject(NULL_BRUSH));
            ::Rectangle(canvas, 0, 0, pictureWidth, pictureHeight);
        }
        ::SetViewportOrgEx(canvas, oldOrigin.x, oldOrigin.y, nullptr);
    }
    {
        // The text path is laid out through the DC at content coordinates and moved by the
        // graphics object's transform, like the picture.
        Gdiplus::Graphics graphics(canvas.get());
        contentGraphics(graphics);
        m_document->RenderOverlay(graphics, m_document->GetReferenceSize());
    }
    ::BitBlt(dc, box.left, box.top, width, height, canvas, 0, 0, SRCCOPY);
}

LRESULT CLogoView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY:
        // The picture belongs to this opening of the preview; the reference size stays for the
        // next.
        if (m_document) {
            m_document->DeletePreviewPicture();
            m_document->RemoveView(this);
        }
        break;
    }
    return CScrollView::WindowProc(msg, wParam, lParam);
}
