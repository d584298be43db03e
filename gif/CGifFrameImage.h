#pragma once
// One frame of a GIF recording: a screen picture and the time it is shown, in milliseconds. It
// also knows how a recording grabs a frame (scaled or not, with the arrow cursor or not), which
// the frame window does on the user-interface thread.
#include <windows.h>
#include <cstdint>
#include "CScreenImage.h"

// How every frame of one recording is grabbed; fixed when the recording starts.
struct GifCaptureOptions {
    bool resize = false;  // scale the area to width x height
    int width = 300;
    int height = 200;
    bool cursor = false;  // draw the standard arrow where the pointer is, when it is inside
};

class CGifFrameImage : public CScreenImage {
public:
    uint32_t delay = 0;

    // Replaces the picture with the screen inside `area` (screen coordinates) as `options` say.
    // FALSE when no picture could be made.
    BOOL CaptureArea(const RECT& area, const GifCaptureOptions& options);
    // Draws the standard arrow with its hot spot at `pointer` (screen coordinates), mapped from
    // `area` into the picture.
    void DrawArrow(const RECT& area, POINT pointer);

    // Bytes of pixels this frame keeps (32 bits per pixel).
    uint64_t PixelBytes() const {
        return static_cast<uint64_t>(GetWidth()) * static_cast<uint64_t>(GetHeight()) * 4u;
    }
};
