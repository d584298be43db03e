#include "PrintScreenShortcut.h"

namespace {
// The first build of Windows 11: from there on a missing value means the shortcut is on.
constexpr DWORD kWindows11Build = 22000;

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
}  // namespace

SystemVersion CurrentSystemVersion() {
    // GetVersionEx answers what the manifest declares support for; the kernel's own call does not.
    SystemVersion version;
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    auto rtlGetVersion = ntdll ? reinterpret_cast<RtlGetVersionFunction>(
                                     reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")))
                               : nullptr;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (rtlGetVersion && rtlGetVersion(&info) == 0) {
        version.major = info.dwMajorVersion;
        version.minor = info.dwMinorVersion;
        version.build = info.dwBuildNumber;
    }
    return version;
}

bool IsWindowsPrintScreenShortcutOn(const SystemVersion& version) {
    DWORD value = 0, type = 0, size = sizeof(value);
    LONG result = ::RegGetValueW(HKEY_CURRENT_USER, kPrintScreenKeyPath, kPrintScreenKeyValue,
                                 RRF_RT_REG_DWORD, &type, &value, &size);
    if (result == ERROR_SUCCESS) return value != 0;
    const bool windows11 = version.major > 10 || (version.major == 10 && version.build >= kWindows11Build);
    return windows11;
}

LONG TurnOffWindowsPrintScreenShortcut() {
    HKEY key = nullptr;
    LONG result = ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrintScreenKeyPath, 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) return result;
    const DWORD off = 0;
    result = ::RegSetValueExW(key, kPrintScreenKeyValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off),
                              sizeof(off));
    ::RegCloseKey(key);
    return result;
}

std::wstring StartBalloonText(const std::wstring& text, bool windowsTakesCaptureKey) {
    if (!windowsTakesCaptureKey) return text;
    return text + L"\n" + kPrintScreenBalloonHint;
}
