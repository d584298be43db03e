#include "OutlineTextRenderer.h"
#include <vector>
#include "DeviceContext.h"
#include "GdiObject.h"

namespace {
Gdiplus::Point ToPoint(const POINT& p) {
    return Gdiplus::Point(static_cast<INT>(p.x), static_cast<INT>(p.y));
}

// Borrows the graphics object's device context for a scope; drawing through the graphics object
// resumes once it is given back.
class BorrowedDC {
public:
    explicit BorrowedDC(Gdiplus::Graphics& graphics) : m_graphics(graphics), m_dc(graphics.GetHDC()) {}
    ~BorrowedDC() { if (m_dc) m_graphics.ReleaseHDC(m_dc); }
    BorrowedDC(const BorrowedDC&) = delete;
    BorrowedDC& operator=(const BorrowedDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    Gdiplus::Graphics& m_graphics;
    HDC m_dc;
};

// Sets the background mode for a scope.
class ScopedBkMode {
public:
    ScopedBkMode(HDC dc, int mode) : m_dc(dc), m_previous(::SetBkMode(dc, mode)) {}
    ~ScopedBkMode() { if (m_previous) ::SetBkMode(m_dc, m_previous); }
    ScopedBkMode(const ScopedBkMode&) = delete;
    ScopedBkMode& operator=(const ScopedBkMode&) = delete;

private:
    HDC m_dc;
    int m_previous;
};
}  // namespace

void OutlineTextRenderer::SetStyle(const Gdiplus::Color& fill, const Gdiplus::Color& outline,
                                   int thickness) {
    m_fill = fill.GetValue();
    m_outline = outline.GetValue();
    m_thickness = thickness;
}

bool OutlineTextRenderer::DrawString(Gdiplus::Graphics& graphics, const LOGFONTW& font,
                                     const wchar_t* text, POINT origin) const {
    Gdiplus::GraphicsPath path(Gdiplus::FillModeWinding);
    if (!BuildTextPath(graphics, font, text, origin, path)) return false;
    // The outline goes first and the fill over it: only the pen's outer half shows, and the
    // glyphs keep their full shape.
    if (m_thickness != 0) {
        Gdiplus::Pen pen(Gdiplus::Color(m_outline), static_cast<Gdiplus::REAL>(m_thickness));
        pen.SetLineJoin(Gdiplus::LineJoinRound);
        graphics.DrawPath(&pen, &path);
    }
    Gdiplus::SolidBrush brush{Gdiplus::Color(m_fill)};
    return graphics.FillPath(&brush, &path) == Gdiplus::Ok;
}

SIZE OutlineTextRenderer::MeasureString(Gdiplus::Graphics& graphics, const wchar_t* text,
                                        const LOGFONTW& font) const {
    SIZE size{0, 0};
    CFont gdiFont;
    if (!gdiFont.CreateFontIndirect(font)) return size;
    BorrowedDC dc(graphics);
    if (!dc) return size;
    CSelectObject select(dc, gdiFont);
    int length = text ? ::lstrlenW(text) : 0;
    if (!::GetTextExtentPoint32W(dc, text ? text : L"", length, &size)) size = SIZE{0, 0};
    return size;
}

bool BuildTextPath(Gdiplus::Graphics& graphics, const LOGFONTW& font, const wchar_t* text,
                   POINT origin, Gdiplus::GraphicsPath& path) {
    int length = text ? ::lstrlenW(text) : 0;
    if (length == 0) return false;
    BorrowedDC dc(graphics);
    if (!dc) return false;
    ScopedBkMode transparent(dc, TRANSPARENT);
    CFont gdiFont;
    if (!gdiFont.CreateFontIndirect(font)) return false;

    int count = 0;
    {
        CSelectObject select(dc, gdiFont);
        ::BeginPath(dc);
        ::TextOutW(dc, origin.x, origin.y, text, length);
        ::EndPath(dc);
        count = ::GetPath(dc, nullptr, nullptr, 0);
        if (count <= 0) {
            ::AbortPath(dc);
            return false;
        }
        std::vector<POINT> points(static_cast<size_t>(count));
        std::vector<BYTE> types(static_cast<size_t>(count));
        count = ::GetPath(dc, points.data(), types.data(), count);
        // GetPath keeps the path in the DC; it must not outlive this call.
        ::AbortPath(dc);
        if (count <= 0) return false;
        AppendGdiPath(path, points.data(), types.data(), count);
    }
    return true;
}

void AppendGdiPath(Gdiplus::GraphicsPath& path, const POINT* points, const BYTE* types, int count) {
    POINT current{0, 0};
    POINT figureStart{0, 0};
    bool figureOpen = false;
    auto closeFigure = [&] {
        if (!figureOpen) return;
        path.CloseFigure();
        current = figureStart;
        figureOpen = false;
    };
    for (int i = 0; i < count; ++i) {
        const BYTE type = types[i];
        switch (type & ~PT_CLOSEFIGURE) {
        case PT_MOVETO:
            if (figureOpen && i > 0) path.CloseFigure();
            path.StartFigure();
            current = figureStart = points[i];
            figureOpen = true;
            break;
        case PT_LINETO:
            path.AddLine(ToPoint(current), ToPoint(points[i]));
            current = points[i];
            if (type & PT_CLOSEFIGURE) closeFigure();
            break;
        case PT_BEZIERTO:
            // A Bézier takes three points; a truncated one at the end of a path is dropped.
            if (i + 2 >= count) {
                i = count;
                break;
            }
            path.AddBezier(ToPoint(current), ToPoint(points[i]), ToPoint(points[i + 1]),
                           ToPoint(points[i + 2]));
            current = points[i + 2];
            // The closing flag sits on the last of the three points.
            if ((types[i + 2] | type) & PT_CLOSEFIGURE) closeFigure();
            i += 2;
            break;
        default:
            break;
        }
    }
    // An unclosed last figure is led back to its start without being closed.
    if (figureOpen && count > 1 && (current.x != figureStart.x || current.y != figureStart.y))
        path.AddLine(ToPoint(current), ToPoint(figureStart));
}
