#include "OverlayTestSupport.h"
#include <cstdio>

namespace overlay_test {

void WriteIni(const std::wstring& path, const std::string& lines) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return;
    std::string text = "[AniGif]\r\n" + lines;
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
}

std::string ReadFileText(const std::wstring& path) {
    std::string text;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return text;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0) text.append(buffer, got);
    fclose(file);
    return text;
}

LoadedOverlay::LoadedOverlay(const std::string& keys) : iniPath(folder.File(L"Tovrix.ini")) {
    WriteIni(iniPath, keys);
    overlay.GetIni().SetPath(iniPath);
    overlay.LoadOverlaySettings();
    HDC screen = ::GetDC(nullptr);
    overlay.BuildCaptionFont(screen);
    ::ReleaseDC(nullptr, screen);
}

}  // namespace overlay_test
