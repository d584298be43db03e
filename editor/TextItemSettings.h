#pragma once
// One piece of outlined text as the text tool hands it to the editor and the editor stores it:
// colours, outline, place, font and text; and the routine that draws it on a device context.
#include <windows.h>
#include <string>

class OutlineTextRenderer;

struct TextItemSettings {
    COLORREF textColor = RGB(0, 0, 0);     // fill, always drawn opaque
    COLORREF outlineColor = RGB(0, 0, 0);
    int outlineAlpha = 255;                // only the low byte counts: 0 transparent, 255 opaque
    int thickness = 0;                     // outline pen width in pixels; 0 draws no outline
    int x = 0;                             // top-left corner of the text cell on the target
    int y = 0;
    wchar_t faceName[LF_FACESIZE] = {};
    wchar_t fontDesc[64] = {};             // the font's numeric fields (FontDescription.h)
    // Owned by whoever holds the record; an editor item points it at its own copy.
    const wchar_t* text = nullptr;
};

// Stores the font of a LOGFONT in the settings: its face name and its description. False when
// the description does not fit its field (fields outside any real font's range); the settings
// are then unchanged.
bool SetTextItemFont(TextItemSettings& settings, const LOGFONTW& font);

// The settings' font as a LOGFONT.
LOGFONTW GetTextItemFont(const TextItemSettings& settings);

// Draws the text anti-aliased on the device context with the renderer, which takes the
// settings' colours and thickness. False when nothing could be drawn.
bool DrawTextItem(HDC dc, OutlineTextRenderer& renderer, const TextItemSettings& settings);
