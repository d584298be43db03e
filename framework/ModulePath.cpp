#include "ModulePath.h"
#include <windows.h>
#include <shlwapi.h>

std::wstring GetModulePath() {
    // Paths past MAX_PATH exist on Windows; grow the buffer until the name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring GetModuleFolder() {
    std::wstring path = GetModulePath();
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}
