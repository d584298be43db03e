#include "SettingsFile.h"
#include <windows.h>
#include <shlwapi.h>
#include <cstdio>
#include "CScreenImage.h"
#include "OutputNaming.h"
#include "TemporaryFile.h"

namespace {
bool IsFolder(const std::wstring& path) {
    return !path.empty() && ::PathIsDirectoryW(path.c_str());
}

long long Span(LONG from, LONG to) {
    return static_cast<long long>(to) - from;
}

// A rectangle a picture can be grabbed from: positive and within the platform's limits.
bool IsGrabbable(const RECT& r) {
    const long long w = Span(r.left, r.right), h = Span(r.top, r.bottom);
    return w > 0 && h > 0 && w <= CScreenImage::kMaxSide && h <= CScreenImage::kMaxSide &&
           CScreenImage::IsPossibleSize(static_cast<int>(w), static_cast<int>(h));
}

// A stored number outside [low, high] reads as the key's default.
int InRange(int value, int low, int high, int fallback) {
    return value >= low && value <= high ? value : fallback;
}
}  // namespace

void ApplyFirstRunDefaults(CaptureSettings& s, const std::wstring& programFolder) {
    s = CaptureSettings();
    s.saveFolder = programFolder;
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
    const CaptureSettings d;  // the defaults

    ParseRegion(ini.GetString(section, L"Region", L""), s);
    s.area = InRange(s.area, AreaAllMonitors, AreaControlAtCapture, d.area);
    s.monitorIndex = InRange(s.monitorIndex, 0, 255, d.monitorIndex);

    s.saveType = InRange(ini.GetInt(section, L"SaveType", d.saveType), Bmp, Gif, d.saveType);
    s.jpgQuality = InRange(ini.GetInt(section, L"JpgQuality", d.jpgQuality), 0, 4, d.jpgQuality);
    s.hotKey = InRange(ini.GetInt(section, L"HotKey", d.hotKey), 0, 2, d.hotKey);
    s.shutter = InRange(ini.GetInt(section, L"Shutter", d.shutter), 0, 1, d.shutter);
    // A prefix edited by hand gets the same filter as a typed one: every capture would fail.
    s.prefix = ini.GetString(section, L"Prefix", d.prefix.c_str());
    FilterPrefix(s.prefix);
    s.postfix = InRange(ini.GetInt(section, L"Postfix", d.postfix), 0, 1, d.postfix);

    s.saveFolder = ini.GetString(section, L"SaveFolder", L"");
    if (!IsFolder(s.saveFolder)) s.saveFolder = programFolder;

    s.resize = ini.GetBool(section, L"Resize", d.resize);
    // The resize limits are checked when the settings are confirmed; here only values no
    // picture could have are replaced.
    s.width = InRange(ini.GetInt(section, L"WIDTH", d.width), 1, 8000, d.width);
    s.height = InRange(ini.GetInt(section, L"HEIGHT", d.height), 1, 8000, d.height);
    s.webUrl = ini.GetString(section, L"WebURL", d.webUrl.c_str());
    s.checkEdit = ini.GetBool(section, L"CheckEdit", d.checkEdit);
    s.checkCursor = ini.GetBool(section, L"CheckCursor", d.checkCursor);
    return true;
}

bool NormaliseArea(CaptureSettings& s, const std::vector<RECT>& monitors) {
    const CaptureSettings before = s;
    if (s.area == AreaMonitor) {
        if (monitors.empty()) {
            s.area = AreaAllMonitors;
        } else if (s.monitorIndex < 0 || s.monitorIndex >= static_cast<int>(monitors.size())) {
            // The monitor has gone: the primary one is where the user most likely looks.
            s.monitorIndex = 0;
            for (size_t i = 0; i < monitors.size(); ++i) {
                POINT origin{0, 0};
                if (::PtInRect(&monitors[i], origin)) s.monitorIndex = static_cast<int>(i);
            }
            s.areaRect = monitors[static_cast<size_t>(s.monitorIndex)];
        } else if (!IsGrabbable(s.areaRect)) {
            s.areaRect = monitors[static_cast<size_t>(s.monitorIndex)];
        }
    } else if (s.area == AreaFixedRect) {
        RECT& r = s.areaRect;
        if (r.left > r.right) std::swap(r.left, r.right);
        if (r.top > r.bottom) std::swap(r.top, r.bottom);
        const bool empty = r.left == r.right || r.top == r.bottom;
        if (!empty && !IsGrabbable(r)) {
            s.area = AreaAllMonitors;
            s.areaRect = RECT{};
        }
    }
    return s.area != before.area || s.monitorIndex != before.monitorIndex ||
           !::EqualRect(&s.areaRect, &before.areaRect);
}

const wchar_t* ValidateSettings(const CaptureSettings& s) {
    if (s.resize) {
        if (s.width < 10 || s.width > 8000) return L"저장 그림 가로크기 오류";
        if (s.height < 10 || s.height > 8000) return L"저장 그림 세로크기 오류";
    }
    // An ordinary file of that name passes for a folder nowhere: every capture would fail.
    if (!IsFolder(s.saveFolder)) return L"저장 폴더가 유효하지 않습니다.";
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
