#include "GifRecorderSettings.h"

namespace {
// A stored number outside [low, high], as a damaged or hand-edited file may hold, reads as the
// key's default: the recorder's fields never start with a value the dialog would refuse.
int ReadInRange(const CIni& ini, const wchar_t* key, int fallback, int low, int high) {
    const int value = ini.GetInt(GifRecorderSettings::kSection, key, fallback);
    return value >= low && value <= high ? value : fallback;
}
}  // namespace

void GifRecorderSettings::Load(const CIni& ini) {
    const GifRecorderSettings defaults;
    resize = ini.GetBool(kSection, L"ChkResize", resize);
    width = ReadInRange(ini, L"gifWidth", defaults.width, kMinSide, kMaxSide);
    height = ReadInRange(ini, L"gifHeight", defaults.height, kMinSide, kMaxSide);
    fps = ReadInRange(ini, L"fps", defaults.fps, kMinFps, kMaxFps);
    quality = ReadInRange(ini, L"Qulity", defaults.quality, 0, kQualities - 1);
    cursor = ini.GetBool(kSection, L"ChkCursor", cursor);
    edit = ini.GetBool(kSection, L"ChkEdit", edit);
    smallFile = ini.GetBool(kSection, L"SmallFile", smallFile);
}

void GifRecorderSettings::Save(const CIni& ini) const {
    ini.WriteBool(kSection, L"ChkResize", resize);
    ini.WriteInt(kSection, L"gifWidth", width);
    ini.WriteInt(kSection, L"gifHeight", height);
    ini.WriteInt(kSection, L"fps", fps);
    ini.WriteInt(kSection, L"Qulity", quality);
    ini.WriteBool(kSection, L"ChkCursor", cursor);
    ini.WriteBool(kSection, L"ChkEdit", edit);
    ini.WriteBool(kSection, L"SmallFile", smallFile);
}
