#include "OutputNaming.h"
#include <shlwapi.h>
#include <algorithm>
#include <cwchar>
#include "CUniqueAny.h"

namespace {
bool Exists(const std::wstring& path) {
    return ::PathFileExistsW(path.c_str()) != FALSE;
}

// Leading decimal digits as a number (0 for none); -1 for a number above kMaxSerial, which
// the rescan ignores.
int LeadingNumber(const std::wstring& text) {
    long long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') break;
        value = value * 10 + (c - L'0');
        if (value > kMaxSerial) return -1;
    }
    return static_cast<int>(value);
}
}  // namespace

const wchar_t* ExtensionFor(int saveType) {
    static const wchar_t* const kExtensions[] = {L".bmp", L".jpg", L".png", L".gif"};
    return saveType >= Bmp && saveType <= Gif ? kExtensions[saveType] : L".png";
}

std::wstring BuildOutputPath(const CaptureSettings& s, int& nextSerial, const SYSTEMTIME& now) {
    const std::wstring ext = ExtensionFor(s.saveType);
    if (s.postfix == 0) {
        wchar_t stamp[32];
        std::swprintf(stamp, 32, L"%04d%02d%02d-%02d%02d%02d", now.wYear, now.wMonth, now.wDay, now.wHour,
                      now.wMinute, now.wSecond);
        const std::wstring base = s.saveFolder + L"\\" + s.prefix + L"[" + stamp + L"]";
        std::wstring path = base + ext;
        for (int n = 1; Exists(path); ++n) path = base + L"_" + std::to_wstring(n) + ext;
        return path;
    }
    const std::wstring base = s.saveFolder + L"\\" + s.prefix;
    if (nextSerial < 0) nextSerial = 0;
    if (nextSerial > kMaxSerial) return {};
    std::wstring path = base + std::to_wstring(nextSerial) + ext;
    while (Exists(path)) {
        if (nextSerial >= kMaxSerial) return {};
        path = base + std::to_wstring(++nextSerial) + ext;
    }
    ++nextSerial;  // the number just used is consumed
    return path;
}

int RescanNextSerial(const std::wstring& folder, const std::wstring& prefix) {
    int highest = 0;
    WIN32_FIND_DATAW data;
    CUniqueFindHandle find(::FindFirstFileW((folder + L"\\" + prefix + L"*.*").c_str(), &data));
    if (find) {
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            std::wstring name = data.cFileName;
            size_t dot = name.rfind(L'.');
            name = dot == std::wstring::npos ? std::wstring() : name.substr(0, dot);
            // The wildcard ignores case; the prefix only counts when it matches exactly.
            if (name.compare(0, prefix.size(), prefix) == 0) name.erase(0, prefix.size());
            highest = std::max(highest, LeadingNumber(name));
        } while (::FindNextFileW(find.get(), &data));
    }
    return highest + 1;
}

bool FilterPrefix(std::wstring& prefix) {
    bool replaced = false;
    for (wchar_t& c : prefix) {
        if ((std::wcschr(L"\\/:*?\"<>|", c) && c != L'\0') || c < 0x20) {
            c = L'_';
            replaced = true;
        }
    }
    return replaced;
}
