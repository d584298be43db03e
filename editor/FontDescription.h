#pragma once
// The text form in which fonts are stored: the thirteen numeric fields of a LOGFONT as decimal
// integers joined by colons ("-13:0:0:0:400:0:0:0:0:3:2:1:34"). The face name is not part of
// it; it travels beside the description as a string of its own. Also the label that the font
// choosers show beside their "Font..." buttons.
#include <windows.h>
#include <string>

// The description of a font's numeric fields.
std::wstring FormatFontDescription(const LOGFONTW& font);

// A LOGFONT read from a description: it starts all zero, the numbers are taken in order (fields
// after a missing or unreadable number stay zero), then the face name is copied in, cut to the
// 31 characters a LOGFONT holds.
LOGFONTW ParseFontDescription(const wchar_t* description, const wchar_t* faceName);

// "%s, %d" of the face name and the point size, then " Bold", " Italic", or " Normal" for
// neither.
std::wstring FontLabel(const LOGFONTW& font, int pointSize);
