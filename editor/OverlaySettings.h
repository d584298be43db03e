#pragma once
// The logo and caption overlay values of recordings as the settings file keeps them (section
// "AniGif"): one field per key, named as the key. Values read from the file are used as they
// are, but for the caption's length; ranges are enforced where a person types them.
#include <windows.h>
#include <string>

class CIni;

struct OverlaySettings {
    // The longest caption, in UTF-16 units: every kept frame of a recording has the caption drawn
    // into it, and under Wine a caption of this length in the largest font, with the widest
    // outline the dialog takes, on the largest frame takes up to 10 ms (bench/caption_bench.cpp);
    // the cost grows with the square of the length.
    static constexpr size_t kMaxLetterLength = 16;
    // `text` cut to kMaxLetterLength units, never between the two halves of a surrogate pair.
    static std::wstring CutLetter(const std::wstring& text);

    bool LogoIs = false;
    std::wstring LogoPath;
    int LogoPosX = 10;        // margin from the left or right edge
    int LogoPosY = 10;        // margin from the top or bottom edge
    int LogoPos = 0;          // grid cell, 0 top left .. 8 bottom right
    bool LetterIs = false;
    std::wstring Letter = L"Tovrix(Tovrix)";
    int Thickness = 2;
    int OutLineAlpha = 255;   // only the low byte counts
    int TextPosX = 10;
    int TextPosY = 10;
    int Angle = 0;            // whole degrees, counter-clockwise
    int TextPos = 0;
    COLORREF TextColor = RGB(200, 0, 0);
    COLORREF OutlineColor = RGB(100, 0, 0);
    std::wstring FontName = L"Arial";
    std::wstring FontDesc = L"-13:0:0:0:400:0:0:0:0:3:2:1:34";

    // Every key in the order above; a missing key gives the value above, and a longer caption is
    // cut to kMaxLetterLength.
    void Read(const CIni& ini);
    // Every key in the order above; false when any of them could not be written.
    [[nodiscard]] bool Write(const CIni& ini) const;
};

// The section that holds the overlay keys beside the recorder's own.
extern const wchar_t kOverlaySection[];
