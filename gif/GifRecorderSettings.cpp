#include "GifRecorderSettings.h"

void GifRecorderSettings::Load(const CIni& ini) {
    resize = ini.GetBool(kSection, L"ChkResize", resize);
    width = ini.GetInt(kSection, L"gifWidth", width);
    height = ini.GetInt(kSection, L"gifHeight", height);
    fps = ini.GetInt(kSection, L"fps", fps);
    const int storedQuality = ini.GetInt(kSection, L"Qulity", quality);
    quality = storedQuality >= 0 && storedQuality < kQualities ? storedQuality : 2;
    cursor = ini.GetBool(kSection, L"ChkCursor", cursor);
    edit = ini.GetBool(kSection, L"ChkEdit", edit);
}

void GifRecorderSettings::Save(const CIni& ini) const {
    ini.WriteBool(kSection, L"ChkResize", resize);
    ini.WriteInt(kSection, L"gifWidth", width);
    ini.WriteInt(kSection, L"gifHeight", height);
    ini.WriteInt(kSection, L"fps", fps);
    ini.WriteInt(kSection, L"Qulity", quality);
    ini.WriteBool(kSection, L"ChkCursor", cursor);
    ini.WriteBool(kSection, L"ChkEdit", edit);
}
