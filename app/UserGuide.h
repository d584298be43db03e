#pragma once
// The user guide that comes with the program: one HTML file beside Tovrix.exe (the release zip
// holds it), which Help and the settings dialog's banner open and the web page capture starts
// from. No web site of the program exists, so nothing else is opened for help.
//
//   OpenUserGuide(m_hWnd);                  // Help: the guide, or a box saying where it belongs
//   web.SetStartAddress(UserGuideAddress());
#include <windows.h>
#include <functional>
#include <string>

constexpr wchar_t kUserGuideFileName[] = L"Tovrix-guide.html";

// The guide's full path: the program's folder and kUserGuideFileName.
std::wstring UserGuidePath();
// The guide as the web browser control takes it: a file URL (file:///C:/...).
std::wstring UserGuideAddress();
// The box shown when the guide is not beside the program; it names the folder it belongs in.
std::wstring MissingUserGuideText();

// Opens the guide with the system's program for such files. Without the file, a box owned by
// `owner` says where the guide belongs and nothing is opened. True when the guide was opened.
bool OpenUserGuide(HWND owner);

// Every file the guide functions hand to the shell goes through here, so that tests see what
// would open without another program starting: a handler installed by a test gets the path and
// returns whether it opened. An empty handler restores the shell; the previous one is returned.
using ShellOpenHandler = std::function<bool(const std::wstring& path)>;
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);
