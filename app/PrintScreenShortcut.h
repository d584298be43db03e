#pragma once
// Windows' own use of the Print Screen key: since 2023 (and by default from Windows 11 24H2) the
// key opens the system's capture overlay, which then lies over the screen that Tovrix captures
// at the key's release. These functions tell whether that shortcut is on for the current user,
// switch it off, and word the hints that the settings dialog and the start balloon show.
#include <windows.h>
#include <string>

// The system's own version (not the one a compatibility manifest would let the program see).
struct SystemVersion {
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;
};
SystemVersion CurrentSystemVersion();

// The per-user switch, as Windows' settings store it.
inline constexpr wchar_t kPrintScreenKeyPath[] = L"Control Panel\\Keyboard";
inline constexpr wchar_t kPrintScreenKeyValue[] = L"PrintScreenKeyForSnippingEnabled";

// Whether Print Screen opens Windows' capture overlay for the current user: a non-zero value
// means on, zero means off; without a (DWORD) value Windows 11 (build 22000 on) behaves as if it
// were on and earlier systems as if it were off. A value of another type counts as missing.
bool IsWindowsPrintScreenShortcutOn(const SystemVersion& version);

// Writes 0 for the current user (never for the machine): ERROR_SUCCESS or the registry's error.
[[nodiscard]] LONG TurnOffWindowsPrintScreenShortcut();

// The sentence the start balloon adds.
inline constexpr wchar_t kPrintScreenBalloonHint[] =
    L"Windows의 PrintScreen 캡쳐가 켜져 있어 겹칠 수 있으니 설정에서 끄거나 F11, F12를 쓰세요.";

// The start balloon: `text` as it is, followed by the hint when Windows' shortcut is on and the
// capture key is Print Screen.
std::wstring StartBalloonText(const std::wstring& text, bool windowsTakesCaptureKey);
