#include "TemporaryFile.h"
#include <shlwapi.h>

std::wstring TemporarySibling(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    std::wstring folder = path.substr(0, nameStart);
    std::wstring name = path.substr(nameStart);
    size_t dot = name.find_last_of(L'.');
    std::wstring stem = dot == std::wstring::npos ? name : name.substr(0, dot);
    std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
    // The "~" also keeps the file from being read as a numbered picture of the same prefix.
    std::wstring candidate = folder + L"~" + stem + extension;
    for (int n = 1; ::PathFileExistsW(candidate.c_str()); ++n)
        candidate = folder + L"~" + stem + L"_" + std::to_wstring(n) + extension;
    return candidate;
}

HRESULT FinishTemporary(const std::wstring& temporary, const std::wstring& path,
                        ExistingTarget existing, HRESULT written) {
    HRESULT result = written;
    if (SUCCEEDED(result)) {
        DWORD flags = MOVEFILE_WRITE_THROUGH;
        if (existing == ExistingTarget::Replace) flags |= MOVEFILE_REPLACE_EXISTING;
        if (!::MoveFileExW(temporary.c_str(), path.c_str(), flags)) {
            DWORD error = ::GetLastError();
            result = error ? HRESULT_FROM_WIN32(error) : E_FAIL;
        }
    }
    if (FAILED(result)) ::DeleteFileW(temporary.c_str());
    return result;
}
