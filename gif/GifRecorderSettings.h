#pragma once
// The recorder's values in section "AniGif" of the settings file: output size, frame rate,
// quality, cursor, editing after recording and the small-file mode. (The overlay's keys of the same section belong
// to the overlay settings.)
#include "CIni.h"

struct GifRecorderSettings {
    static constexpr const wchar_t* kSection = L"AniGif";
    static constexpr int kMinSide = 100, kMaxSide = 2000;
    static constexpr int kMinFps = 1, kMaxFps = 30;
    static constexpr int kQualities = 5;  // "최고", "고", "중", "저", "최저"

    bool resize = false;  // "ChkResize"
    int width = 300;      // "gifWidth"
    int height = 200;     // "gifHeight"
    int fps = 10;         // "fps"
    int quality = 2;      // "Qulity": index of the quality list
    bool cursor = false;  // "ChkCursor"
    bool edit = false;    // "ChkEdit"
    // "SmallFile": frames after the first hold only what changed (off when the key is missing).
    bool smallFile = false;

    // A missing key keeps the default. A stored number outside its range (a size, the frame
    // rate, a quality outside the list) reads as the key's default, so that the dialog never
    // starts with a value it would refuse.
    void Load(const CIni& ini);
    // Booleans as "0"/"1", integers in decimal.
    void Save(const CIni& ini) const;

    // The encoder's sample factor for the quality index: 0 gives 1 (the encoder's least), 4
    // gives 20.
    int SampleFactor() const { return quality * 5 < 1 ? 1 : quality * 5; }
};
