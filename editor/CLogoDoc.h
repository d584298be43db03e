#pragma once
// The live state of the logo and caption overlays of recordings: what the recorder draws on
// every kept frame and what the overlay preview shows. Filled from the stored settings, changed
// live by the overlay dialog; it lives in that dialog object, never on its own.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <memory>
#include <string>
#include "CDocument.h"
#include "OutlineTextRenderer.h"

// Top-left corner of an object of `object` size in one of the nine cells of a `frame` (0 top
// left, row by row, to 8 bottom right), `marginX`/`marginY` from the frame's edges; the margins
// do not count on a centred axis. A cell outside 0..8 gives (0, 0).
POINT GridPlacement(SIZE frame, SIZE object, int marginX, int marginY, int position);

class CLogoDoc : public CDocument {
public:
    CLogoDoc();
    ~CLogoDoc() override;

    // Drops the logo picture, then decodes the file once if it exists. False when there is no
    // usable picture afterwards (empty path, missing or undecodable file).
    bool LoadLogo(const std::wstring& path);
    bool HasLogo() const { return m_logo != nullptr; }
    SIZE GetLogoSize() const;

    // Draws the enabled overlays straight into the frame on `dc`: the caption, then the logo
    // over it. They are placed against the frame being drawn, the bitmap selected into a memory
    // DC, so that a recording is right whatever its size and whether or not the preview was
    // ever opened; a DC without a bitmap of its own is placed against the reference size.
    void RenderOverlay(HDC dc) const;
    // The same, placed against a given frame size (the preview uses the reference size).
    void RenderOverlay(Gdiplus::Graphics& graphics, SIZE frame) const;

    // Where the caption's unrotated text box and the logo go on a frame of the given size; the
    // forms without a size use the reference size.
    POINT CaptionOrigin(Gdiplus::Graphics& graphics, const LOGFONTW& font, SIZE frame) const;
    POINT CaptionOrigin(Gdiplus::Graphics& graphics, const LOGFONTW& font) const {
        return CaptionOrigin(graphics, font, m_referenceSize);
    }
    POINT LogoOrigin(SIZE frame) const;
    POINT LogoOrigin() const { return LogoOrigin(m_referenceSize); }
    // The caption font as it is drawn: the stored font turned by the caption angle.
    LOGFONTW RotatedCaptionFont() const;

    // The preview picture (owned here until the preview lets it go) and the size of the frames
    // the preview stands for.
    void SetPreviewPicture(std::unique_ptr<Gdiplus::Bitmap> picture) { m_preview = std::move(picture); }
    Gdiplus::Bitmap* GetPreviewPicture() const { return m_preview.get(); }
    void DeletePreviewPicture() { m_preview.reset(); }
    SIZE GetReferenceSize() const { return m_referenceSize; }
    void SetReferenceSize(SIZE size) { m_referenceSize = size; }
    COLORREF GetBackgroundColor() const { return m_background; }

    // The live values.
    bool m_captionOn = false;
    COLORREF m_textColor = RGB(255, 255, 255);
    COLORREF m_outlineColor = RGB(0, 0, 0);
    std::wstring m_text;
    BYTE m_outlineAlpha = 255;
    int m_thickness = 4;
    int m_textMarginX = 10;
    int m_textMarginY = 10;
    int m_angle = 0;  // tenths of a degree, counter-clockwise
    int m_textPosition = 0;
    LOGFONTW m_font{};
    bool m_logoOn = false;
    int m_logoMarginX = 10;
    int m_logoMarginY = 10;
    int m_logoPosition = 0;

private:
    std::unique_ptr<Gdiplus::Bitmap> m_preview;
    std::unique_ptr<Gdiplus::Bitmap> m_logo;
    COLORREF m_background = RGB(128, 128, 128);
    // Drawing changes only its three style fields, rebuilt for every caption drawn.
    mutable OutlineTextRenderer m_renderer;
    SIZE m_referenceSize{0, 0};
};
