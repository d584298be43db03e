#include "OverlaySettings.h"
#include "CIni.h"

const wchar_t kOverlaySection[] = L"AniGif";

namespace {
// The profile functions drop the blanks around a value, and one pair of quotes enclosing it. A
// caption such as " REC " keeps its blanks (and a quoted caption its quotes) when it is written
// inside quotes of its own; any other text is written as it stands, as files have always had it.
std::wstring QuotedWhereNeeded(const std::wstring& text) {
    if (text.empty()) return text;
    auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    bool quoted = text.size() >= 2 && (text.front() == L'"' || text.front() == L'\'') &&
                  text.back() == text.front();
    if (!blank(text.front()) && !blank(text.back()) && !quoted) return text;
    return L"\"" + text + L"\"";
}
}  // namespace

std::wstring OverlaySettings::CutLetter(const std::wstring& text) {
    if (text.size() <= kMaxLetterLength) return text;
    size_t length = kMaxLetterLength;
    if (IS_HIGH_SURROGATE(text[length - 1])) --length;
    return text.substr(0, length);
}

void OverlaySettings::Read(const CIni& ini) {
    const OverlaySettings defaults;
    const wchar_t* s = kOverlaySection;
    LogoIs = ini.GetBool(s, L"LogoIs", defaults.LogoIs);
    LogoPath = ini.GetString(s, L"LogoPath", defaults.LogoPath.c_str());
    LogoPosX = ini.GetInt(s, L"LogoPosX", defaults.LogoPosX);
    LogoPosY = ini.GetInt(s, L"LogoPosY", defaults.LogoPosY);
    LogoPos = ini.GetInt(s, L"LogoPos", defaults.LogoPos);
    LetterIs = ini.GetBool(s, L"LetterIs", defaults.LetterIs);
    Letter = CutLetter(ini.GetString(s, L"Letter", defaults.Letter.c_str()));
    Thickness = ini.GetInt(s, L"Thickness", defaults.Thickness);
    OutLineAlpha = ini.GetInt(s, L"OutLineAlpha", defaults.OutLineAlpha);
    TextPosX = ini.GetInt(s, L"TextPosX", defaults.TextPosX);
    TextPosY = ini.GetInt(s, L"TextPosY", defaults.TextPosY);
    Angle = ini.GetInt(s, L"Angle", defaults.Angle);
    TextPos = ini.GetInt(s, L"TextPos", defaults.TextPos);
    TextColor = static_cast<COLORREF>(ini.GetInt(s, L"TextColor", static_cast<int>(defaults.TextColor)));
    OutlineColor = static_cast<COLORREF>(ini.GetInt(s, L"OutlineColor", static_cast<int>(defaults.OutlineColor)));
    FontName = ini.GetString(s, L"FontName", defaults.FontName.c_str());
    FontDesc = ini.GetString(s, L"FontDesc", defaults.FontDesc.c_str());
}

bool OverlaySettings::Write(const CIni& ini) const {
    const wchar_t* s = kOverlaySection;
    bool ok = true;
    ok &= ini.WriteBool(s, L"LogoIs", LogoIs);
    ok &= ini.WriteString(s, L"LogoPath", LogoPath.c_str());
    ok &= ini.WriteInt(s, L"LogoPosX", LogoPosX);
    ok &= ini.WriteInt(s, L"LogoPosY", LogoPosY);
    ok &= ini.WriteInt(s, L"LogoPos", LogoPos);
    ok &= ini.WriteBool(s, L"LetterIs", LetterIs);
    ok &= ini.WriteString(s, L"Letter", QuotedWhereNeeded(Letter).c_str());
    ok &= ini.WriteInt(s, L"Thickness", Thickness);
    ok &= ini.WriteInt(s, L"OutLineAlpha", OutLineAlpha);
    ok &= ini.WriteInt(s, L"TextPosX", TextPosX);
    ok &= ini.WriteInt(s, L"TextPosY", TextPosY);
    ok &= ini.WriteInt(s, L"Angle", Angle);
    ok &= ini.WriteInt(s, L"TextPos", TextPos);
    ok &= ini.WriteInt(s, L"TextColor", static_cast<int>(TextColor));
    ok &= ini.WriteInt(s, L"OutlineColor", static_cast<int>(OutlineColor));
    ok &= ini.WriteString(s, L"FontName", FontName.c_str());
    ok &= ini.WriteString(s, L"FontDesc", FontDesc.c_str());
    return ok;
}
