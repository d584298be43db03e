#include "TextItemSettings.h"
#include "FontDescription.h"
#include "OutlineTextRenderer.h"

bool SetTextItemFont(TextItemSettings& settings, const LOGFONTW& font) {
    std::wstring description = FormatFontDescription(font);
    const size_t capacity = sizeof(settings.fontDesc) / sizeof(settings.fontDesc[0]);
    if (description.size() >= capacity) return false;
    ::lstrcpynW(settings.fontDesc, description.c_str(), static_cast<int>(capacity));
    ::lstrcpynW(settings.faceName, font.lfFaceName,
                static_cast<int>(sizeof(settings.faceName) / sizeof(settings.faceName[0])));
    return true;
}

LOGFONTW GetTextItemFont(const TextItemSettings& settings) {
    return ParseFontDescription(settings.fontDesc, settings.faceName);
}

bool DrawTextItem(HDC dc, OutlineTextRenderer& renderer, const TextItemSettings& settings) {
    Gdiplus::Graphics graphics(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    const BYTE alpha = static_cast<BYTE>(settings.outlineAlpha & 0xFF);
    Gdiplus::Color outline(alpha, GetRValue(settings.outlineColor), GetGValue(settings.outlineColor),
                           GetBValue(settings.outlineColor));
    Gdiplus::Color fill(255, GetRValue(settings.textColor), GetGValue(settings.textColor),
                        GetBValue(settings.textColor));
    renderer.SetStyle(fill, outline, settings.thickness);
    return renderer.DrawString(graphics, GetTextItemFont(settings), settings.text,
                               POINT{settings.x, settings.y});
}
