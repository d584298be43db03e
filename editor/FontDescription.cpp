#include "FontDescription.h"
#include <cwchar>

std::wstring FormatFontDescription(const LOGFONTW& font) {
    wchar_t text[160];
    std::swprintf(text, sizeof(text) / sizeof(text[0]),
                  L"%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d", static_cast<int>(font.lfHeight),
                  static_cast<int>(font.lfWidth), static_cast<int>(font.lfEscapement),
                  static_cast<int>(font.lfOrientation), static_cast<int>(font.lfWeight),
                  font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet,
                  font.lfOutPrecision, font.lfClipPrecision, font.lfQuality,
                  font.lfPitchAndFamily);
    return text;
}

LOGFONTW ParseFontDescription(const wchar_t* description, const wchar_t* faceName) {
    LOGFONTW font{};
    int fields[13] = {};
    if (description) {
        // swscanf stops at the first number it cannot read; the fields after it keep their zero.
        std::swscanf(description, L"%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d", &fields[0],
                     &fields[1], &fields[2], &fields[3], &fields[4], &fields[5], &fields[6],
                     &fields[7], &fields[8], &fields[9], &fields[10], &fields[11], &fields[12]);
    }
    font.lfHeight = fields[0];
    font.lfWidth = fields[1];
    font.lfEscapement = fields[2];
    font.lfOrientation = fields[3];
    font.lfWeight = fields[4];
    font.lfItalic = static_cast<BYTE>(fields[5]);
    font.lfUnderline = static_cast<BYTE>(fields[6]);
    font.lfStrikeOut = static_cast<BYTE>(fields[7]);
    font.lfCharSet = static_cast<BYTE>(fields[8]);
    font.lfOutPrecision = static_cast<BYTE>(fields[9]);
    font.lfClipPrecision = static_cast<BYTE>(fields[10]);
    font.lfQuality = static_cast<BYTE>(fields[11]);
    font.lfPitchAndFamily = static_cast<BYTE>(fields[12]);
    if (faceName) ::lstrcpynW(font.lfFaceName, faceName, LF_FACESIZE);
    return font;
}

std::wstring FontLabel(const LOGFONTW& font, int pointSize) {
    std::wstring label = std::wstring(font.lfFaceName) + L", " + std::to_wstring(pointSize);
    bool styled = false;
    if (font.lfWeight == FW_BOLD) {
        label += L" Bold";
        styled = true;
    }
    if (font.lfItalic) {
        label += L" Italic";
        styled = true;
    }
    if (!styled) label += L" Normal";
    return label;
}
