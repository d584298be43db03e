#include "CLogoDoc.h"
#include <shlwapi.h>
#include "FontDescription.h"

namespace {
const wchar_t kDefaultFontDesc[] = L"-13:0:0:0:400:0:0:0:0:3:2:1:34";

Gdiplus::Color Argb(BYTE alpha, COLORREF color) {
    return Gdiplus::Color(alpha, GetRValue(color), GetGValue(color), GetBValue(color));
}

// The size of the picture a DC draws into: its bitmap for a memory DC; (0, 0) otherwise.
SIZE BitmapSizeOf(HDC dc) {
    if (::GetObjectType(dc) != OBJ_MEMDC) return SIZE{0, 0};
    HGDIOBJ bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(info), &info) != sizeof(info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}
}  // namespace

POINT GridPlacement(SIZE frame, SIZE object, int marginX, int marginY, int position) {
    if (position < 0 || position > 8) return POINT{0, 0};
    POINT at{0, 0};
    switch (position % 3) {
    case 0: at.x = marginX; break;
    case 1: at.x = (frame.cx - object.cx) / 2; break;
    default: at.x = frame.cx - object.cx - marginX; break;
    }
    switch (position / 3) {
    case 0: at.y = marginY; break;
    case 1: at.y = (frame.cy - object.cy) / 2; break;
    default: at.y = frame.cy - object.cy - marginY; break;
    }
    return at;
}

CLogoDoc::CLogoDoc() : m_font(ParseFontDescription(kDefaultFontDesc, L"Arial")) {
    m_renderer.SetStyle(Gdiplus::Color(255, 255, 255, 255), Gdiplus::Color(255, 0, 0, 0), m_thickness);
}

CLogoDoc::~CLogoDoc() = default;

bool CLogoDoc::LoadLogo(const std::wstring& path) {
    m_logo.reset();
    if (path.empty() || !::PathFileExistsW(path.c_str())) return false;
    // Decoded once into a picture of its own: the file is not held open while the recorder runs,
    // and every frame draws from memory.
    Gdiplus::Image file(path.c_str(), FALSE);
    if (file.GetLastStatus() != Gdiplus::Ok) return false;
    const UINT width = file.GetWidth();
    const UINT height = file.GetHeight();
    if (width == 0 || height == 0) return false;
    auto picture = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(width), static_cast<INT>(height),
                                                     PixelFormat32bppPARGB);
    if (picture->GetLastStatus() != Gdiplus::Ok) return false;
    {
        Gdiplus::Graphics graphics(picture.get());
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
        if (graphics.DrawImage(&file, 0, 0, static_cast<INT>(width), static_cast<INT>(height)) != Gdiplus::Ok)
            return false;
    }
    m_logo = std::move(picture);
    return true;
}

SIZE CLogoDoc::GetLogoSize() const {
    if (!m_logo) return SIZE{0, 0};
    return SIZE{static_cast<LONG>(m_logo->GetWidth()), static_cast<LONG>(m_logo->GetHeight())};
}

LOGFONTW CLogoDoc::RotatedCaptionFont() const {
    LOGFONTW font = m_font;
    // A whole turn more draws the same; GDI is given the angle within one turn.
    font.lfEscapement = font.lfOrientation = m_angle % 3600;
    return font;
}

POINT CLogoDoc::CaptionOrigin(Gdiplus::Graphics& graphics, const LOGFONTW& font, SIZE frame) const {
    SIZE text = m_renderer.MeasureString(graphics, m_text.c_str(), font);
    return GridPlacement(frame, text, m_textMarginX, m_textMarginY, m_textPosition);
}

POINT CLogoDoc::LogoOrigin(SIZE frame) const {
    return GridPlacement(frame, GetLogoSize(), m_logoMarginX, m_logoMarginY, m_logoPosition);
}

void CLogoDoc::RenderOverlay(HDC dc) const {
    if (!m_captionOn && !(m_logoOn && m_logo)) return;
    SIZE frame = BitmapSizeOf(dc);
    if (frame.cx <= 0 || frame.cy <= 0) frame = m_referenceSize;
    Gdiplus::Graphics graphics(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    RenderOverlay(graphics, frame);
}

void CLogoDoc::RenderOverlay(Gdiplus::Graphics& graphics, SIZE frame) const {
    if (m_captionOn) {
        m_renderer.SetStyle(Argb(255, m_textColor), Argb(m_outlineAlpha, m_outlineColor), m_thickness);
        const LOGFONTW font = RotatedCaptionFont();
        // An empty caption draws nothing and leaves the graphics object fit for the logo.
        m_renderer.DrawString(graphics, font, m_text.c_str(), CaptionOrigin(graphics, font, frame));
    }
    if (m_logoOn && m_logo) {
        const POINT at = LogoOrigin(frame);
        const SIZE size = GetLogoSize();
        graphics.DrawImage(m_logo.get(), static_cast<INT>(at.x), static_cast<INT>(at.y),
                           static_cast<INT>(size.cx), static_cast<INT>(size.cy));
    }
}
