#include "SettingsFile.h"
#include <windows.h>
#include <shlwapi.h>
#include <cstdio>
#include "TemporaryFile.h"

namespace {
// A stored number outside [low, high] reads as the key's default.
int InRange(int value, int low, int high, int fallback) {
    return value >= low && value <= high ? value : fallback;
}
}  // namespace

void ApplyFirstRunDefaults(CaptureSettings& s, const std::wstring& programFolder) {
    s.area = AreaAllMonitors;
    s.monitorIndex = 0;
    s.areaRect = RECT{};
    s.saveType = Png;
    s.jpgQuality = 2;
    s.hotKey = 0;
    s.shutter = 1;
    s.saveFolder = programFolder;
    s.resize = false;
    s.width = 800;
    s.height = 600;
    s.checkEdit = false;
    s.checkCursor = false;
}

std::wstring FormatRegion(const CaptureSettings& s) {
    wchar_t text[128];
    std::swprintf(text, 128, L"%d:%d:%d:%d:%d:%d", s.area, s.monitorIndex,
                  static_cast<int>(s.areaRect.left), static_cast<int>(s.areaRect.top),
                  static_cast<int>(s.areaRect.right), static_cast<int>(s.areaRect.bottom));
    return text;
}

void ParseRegion(const std::wstring& value, CaptureSettings& s) {
    int n[6] = {0, 0, 0, 0, 0, 0};
    if (!value.empty())
        std::swscanf(value.c_str(), L"%d:%d:%d:%d:%d:%d", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5]);
    s.area = n[0];
    s.monitorIndex = n[1];
    s.areaRect = RECT{n[2], n[3], n[4], n[5]};
}

bool LoadSettingsFile(const CIni& ini, CaptureSettings& s, const std::wstring& programFolder) {
    if (!::PathFileExistsW(ini.GetPath().c_str())) return false;
    const wchar_t* section = kSettingsSection;

    ParseRegion(ini.GetString(section, L"Region", L""), s);
    s.area = InRange(s.area, AreaAllMonitors, AreaControlAtCapture, AreaAllMonitors);
    s.monitorIndex = InRange(s.monitorIndex, 0, 255, 0);

    s.saveType = InRange(ini.GetInt(section, L"SaveType", Png), Bmp, Gif, Png);
    s.jpgQuality = InRange(ini.GetInt(section, L"JpgQuality", 2), 0, 4, 2);
    s.hotKey = InRange(ini.GetInt(section, L"HotKey", 0), 0, 2, 0);
    s.shutter = InRange(ini.GetInt(section, L"Shutter", 1), 0, 1, 1);
    s.prefix = ini.GetString(section, L"Prefix", L"TX_");
    s.postfix = InRange(ini.GetInt(section, L"Postfix", 0), 0, 1, 0);

    s.saveFolder = ini.GetString(section, L"SaveFolder", L"");
    if (s.saveFolder.empty() || !::PathFileExistsW(s.saveFolder.c_str())) s.saveFolder = programFolder;

    s.resize = ini.GetBool(section, L"Resize", false);
    // The resize limits are checked when the settings are confirmed; here only values no
    // picture could have are replaced.
    s.width = InRange(ini.GetInt(section, L"WIDTH", 800), 1, 8000, 800);
    s.height = InRange(ini.GetInt(section, L"HEIGHT", 600), 1, 8000, 600);
    s.webUrl = ini.GetString(section, L"WebURL", kDefaultWebUrl);
    s.checkEdit = ini.GetBool(section, L"CheckEdit", false);
    s.checkCursor = ini.GetBool(section, L"CheckCursor", false);
    return true;
}

const wchar_t* ValidateSettings(const CaptureSettings& s) {
    if (s.resize) {
        if (s.width < 10 || s.width > 8000) return L"저장 그림 가로크기 오류";
        if (s.height < 10 || s.height > 8000) return L"저장 그림 세로크기 오류";
    }
    if (s.saveFolder.empty() || !::PathFileExistsW(s.saveFolder.c_str())) return L"저장 폴더가 유효하지 않습니다.";
    return nullptr;
}

namespace {
// Every key of section "Settings", into the file at path.
HRESULT WriteSettingsKeys(const std::wstring& path, const CaptureSettings& s) {
    CIni out;
    out.SetPath(path);
    const wchar_t* section = kSettingsSection;
    bool ok = out.WriteString(section, L"Region", FormatRegion(s).c_str());
    ok = out.WriteInt(section, L"SaveType", s.saveType) && ok;
    ok = out.WriteInt(section, L"JpgQuality", s.jpgQuality) && ok;
    ok = out.WriteInt(section, L"HotKey", s.hotKey) && ok;
    ok = out.WriteInt(section, L"Shutter", s.shutter) && ok;
    ok = out.WriteString(section, L"SaveFolder", s.saveFolder.c_str()) && ok;
    ok = out.WriteString(section, L"Prefix", s.prefix.c_str()) && ok;
    ok = out.WriteInt(section, L"Postfix", s.postfix) && ok;
    ok = out.WriteBool(section, L"Resize", s.resize) && ok;
    ok = out.WriteInt(section, L"WIDTH", s.width) && ok;
    ok = out.WriteInt(section, L"HEIGHT", s.height) && ok;
    ok = out.WriteString(section, L"WebURL", s.webUrl.c_str()) && ok;
    ok = out.WriteBool(section, L"CheckEdit", s.checkEdit) && ok;
    ok = out.WriteBool(section, L"CheckCursor", s.checkCursor) && ok;
    // Flush the profile cache before the file is moved.
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    return ok ? S_OK : E_FAIL;
}
}  // namespace

bool WriteSettingsFile(const CIni& ini, const CaptureSettings& s) {
    const std::wstring path = ini.GetPath();
    if (path.empty()) return false;
    HRESULT result = WriteThroughTemporary(path, ExistingTarget::Replace, [&](const std::wstring& staged) {
        // Start from the current file so that its other sections come along.
        if (::PathFileExistsW(path.c_str()) && !::CopyFileW(path.c_str(), staged.c_str(), FALSE))
            return E_FAIL;
        return WriteSettingsKeys(staged, s);
    });
    return SUCCEEDED(result);
}
