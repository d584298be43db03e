#include "UserGuide.h"
#include <shellapi.h>
#include <shlwapi.h>
#include <utility>
#include "MessageBox.h"
#include "ModulePath.h"

namespace {
ShellOpenHandler& Handler() {
    static ShellOpenHandler handler;
    return handler;
}

bool ShellOpen(const std::wstring& path) {
    if (Handler()) return Handler()(path);
    // Shown normally: a viewer started hidden would leave the user with nothing to see.
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}
}  // namespace

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

std::wstring UserGuidePath() {
    return GetModuleFolder() + L"\\" + kUserGuideFileName;
}

std::wstring UserGuideAddress() {
    const std::wstring path = UserGuidePath();
    // A file URL is at most three times the path (every character escaped) and its prefix.
    std::wstring url(path.size() * 3 + 16, L'\0');
    DWORD length = static_cast<DWORD>(url.size());
    if (FAILED(::UrlCreateFromPathW(path.c_str(), url.data(), &length, 0))) return path;
    url.resize(length);
    return url;
}

std::wstring MissingUserGuideText() {
    return std::wstring(L"사용 설명서를 찾을 수 없습니다.\n\n사용 설명서(") + kUserGuideFileName +
           L")는 Tovrix를 받은 zip 파일에 Tovrix.exe와 함께 들어 있습니다. 그 파일을 이 폴더에 "
           L"두세요:\n" + GetModuleFolder();
}

bool OpenUserGuide(HWND owner) {
    const std::wstring path = UserGuidePath();
    if (!::PathFileExistsW(path.c_str())) {
        ShowMessageBox(owner, MissingUserGuideText(), L"Tovrix", MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return ShellOpen(path);
}
