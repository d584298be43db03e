#include "CAppProfile.h"
#include <cwchar>
#include "ModulePath.h"

namespace {
std::wstring& ProfilePath() {
    static std::wstring path;
    return path;
}
}  // namespace

std::wstring CAppProfile::GetPath() {
    std::wstring& path = ProfilePath();
    if (path.empty()) {
        path = GetModulePath();
        if (path.empty()) return path;
        // Replace the extension of the file part only (a dot in a folder name is not one).
        size_t slash = path.find_last_of(L"\\/");
        size_t dot = path.find_last_of(L'.');
        if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) path.resize(dot);
        path += L".ini";
    }
    return path;
}

void CAppProfile::SetPath(const std::wstring& path) {
    ProfilePath() = path;
}

int CAppProfile::GetProfileInt(const wchar_t* section, const wchar_t* key, int defaultValue) {
    const std::wstring path = GetPath();
    if (path.empty()) return defaultValue;
    // Read as text: GetPrivateProfileIntW turns negative numbers into 0, and a window left of
    // the primary monitor has a negative position.
    wchar_t value[32] = {};
    ::GetPrivateProfileStringW(section, key, L"", value, 32, path.c_str());
    wchar_t* end = nullptr;
    long number = std::wcstol(value, &end, 10);
    if (end == value) return defaultValue;
    return static_cast<int>(number);
}

BOOL CAppProfile::WriteProfileInt(const wchar_t* section, const wchar_t* key, int value) {
    const std::wstring path = GetPath();
    if (path.empty()) return FALSE;
    return ::WritePrivateProfileStringW(section, key, std::to_wstring(value).c_str(), path.c_str());
}
