#pragma once
// For the tests of the program's shell (it needs app/ on the include path): records the files
// the user-guide functions would hand to the system while it lives, and opens none of them. It
// can also put a stand-in guide where the program looks for its own, for as long as it lives.
#include <windows.h>
#include <string>
#include <vector>
#include "UserGuide.h"

namespace testing_support {

class ShellOpenRecorder {
public:
    ShellOpenRecorder()
        : m_previous(SetShellOpenHandler([this](const std::wstring& path) {
              m_opened.push_back(path);
              return true;
          })) {}
    ~ShellOpenRecorder() {
        SetShellOpenHandler(std::move(m_previous));
        if (m_placedGuide) ::DeleteFileW(UserGuidePath().c_str());
    }
    ShellOpenRecorder(const ShellOpenRecorder&) = delete;
    ShellOpenRecorder& operator=(const ShellOpenRecorder&) = delete;

    const std::vector<std::wstring>& Opened() const { return m_opened; }

    // A small guide beside the program (or none); false when it cannot be written or removed.
    bool PlaceGuide(bool present) {
        const std::wstring path = UserGuidePath();
        if (!present) return ::DeleteFileW(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        const char page[] = "<!DOCTYPE html><title>Tovrix</title>";
        DWORD written = 0;
        ::WriteFile(file, page, sizeof(page) - 1, &written, nullptr);
        ::CloseHandle(file);
        m_placedGuide = true;
        return true;
    }

private:
    std::vector<std::wstring> m_opened;
    ShellOpenHandler m_previous;
    bool m_placedGuide = false;
};

}  // namespace testing_support
