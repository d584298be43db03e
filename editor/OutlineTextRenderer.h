#pragma once
// Outlined text: the text is turned into a vector path, stroked with a pen of its own colour and
// filled over it, so that it stays readable on any picture. Each user keeps its own renderer.
//
//   OutlineTextRenderer renderer;
//   renderer.SetStyle(Gdiplus::Color(255, 255, 0, 0), Gdiplus::Color(255, 0, 0, 0), 4);
//   renderer.DrawString(graphics, logfont, L"Tovrix", POINT{10, 10});
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

class OutlineTextRenderer {
public:
    void SetStyle(const Gdiplus::Color& fill, const Gdiplus::Color& outline, int thickness);

    // Draws the text outlined and filled with its text cell's top-left corner at `origin`. True
    // when the fill succeeded; false when there was nothing to draw (empty text, no font).
    bool DrawString(Gdiplus::Graphics& graphics, const LOGFONTW& font, const wchar_t* text,
                    POINT origin) const;

    // The unrotated extent of the text in the font; (0, 0) when the font cannot be made.
    SIZE MeasureString(Gdiplus::Graphics& graphics, const wchar_t* text, const LOGFONTW& font) const;

    Gdiplus::ARGB GetFillColor() const { return m_fill; }
    Gdiplus::ARGB GetOutlineColor() const { return m_outline; }
    int GetThickness() const { return m_thickness; }

private:
    Gdiplus::ARGB m_fill = Gdiplus::Color::Black;
    Gdiplus::ARGB m_outline = Gdiplus::Color::Black;
    int m_thickness = 0;
};

// The outline of the text as GDI lays it out at `origin` (escapement included), appended to
// `path`. False, with the path unchanged, when there is none; the graphics object's device
// context is always given back.
bool BuildTextPath(Gdiplus::Graphics& graphics, const LOGFONTW& font, const wchar_t* text,
                   POINT origin, Gdiplus::GraphicsPath& path);

// Appends a GDI path, as GetPath returns its points and type bytes, to a GDI+ path figure by
// figure, so that the figures fill the same area in both.
void AppendGdiPath(Gdiplus::GraphicsPath& path, const POINT* points, const BYTE* types, int count);
