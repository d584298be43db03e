#pragma once
// Helpers of the overlay tests: an overlay object loaded from a real settings file of given
// keys, a picture whose pixels the test reads (a 32-bit DIB section in its own memory DC), and
// the box of the pixels that differ from a background.
#include <windows.h>
#include <string>
#include <vector>
#include "CTestOutlineTextDlg.h"
#include "Canvas.h"
#include "TestSupport.h"

namespace overlay_test {

// Writes "[AniGif]" and the lines as the settings file's whole text (ASCII).
void WriteIni(const std::wstring& path, const std::string& lines);
std::string ReadFileText(const std::wstring& path);

// An overlay object on a settings file of its own in a fresh folder, loaded with its caption
// font built.
class LoadedOverlay {
public:
    explicit LoadedOverlay(const std::string& keys = "");
    testing_support::TempFolder folder;
    std::wstring iniPath;
    CTestOutlineTextDlg overlay;
};

using Canvas = testing_support::Canvas;

using testing_support::WritePicture;

}  // namespace overlay_test
