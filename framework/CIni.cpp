#include "CIni.h"
#include <windows.h>
#include <shlwapi.h>
#include <cwchar>
#include <cwctype>
#include "ModulePath.h"

bool CIni::SetPathToModule() {
    std::wstring path = GetModulePath();
    if (path.empty()) return false;
    // Remove the extension of the file part only (a dot in a folder name is not one).
    size_t slash = path.find_last_of(L"\\/");
    size_t dot = path.find_last_of(L'.');
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) path.resize(dot);
    m_path = path + L".ini";
    return true;
}

std::wstring CIni::GetString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue) const {
    const wchar_t* fallback = defaultValue ? defaultValue : L"";
    std::wstring buffer(512, L'\0');
    for (;;) {
        DWORD length = ::GetPrivateProfileStringW(section, key, fallback, buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), m_path.c_str());
        // A value that filled the buffer may have been cut: read again with more room.
        if (length + 1 < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() + 512);
    }
}

std::wstring CIni::GetShort(const wchar_t* section, const wchar_t* key) const {
    wchar_t value[65] = {};
    ::GetPrivateProfileStringW(section, key, L"", value, 65, m_path.c_str());
    return value;
}

int CIni::GetInt(const wchar_t* section, const wchar_t* key, int defaultValue) const {
    std::wstring value = GetShort(section, key);
    if (value.empty()) return defaultValue;
    return static_cast<int>(std::wcstoul(value.c_str(), nullptr, 10));
}

bool CIni::GetBool(const wchar_t* section, const wchar_t* key, bool defaultValue) const {
    std::wstring value = GetShort(section, key);
    if (value.empty()) return defaultValue;
    if (::lstrcmpiW(value.c_str(), L"true") == 0 || ::lstrcmpiW(value.c_str(), L"yes") == 0) return true;
    return std::wcstoul(value.c_str(), nullptr, 10) != 0;
}

bool CIni::WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value) const {
    if (!section || !key) return false;
    return ::WritePrivateProfileStringW(section, key, value ? value : L"", m_path.c_str()) != FALSE;
}

bool CIni::WriteInt(const wchar_t* section, const wchar_t* key, int value) const {
    return WriteString(section, key, std::to_wstring(value).c_str());
}

bool CIni::WriteBool(const wchar_t* section, const wchar_t* key, bool value) const {
    return WriteString(section, key, value ? L"1" : L"0");
}
