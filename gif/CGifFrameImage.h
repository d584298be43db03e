#pragma once
// One frame of a GIF recording: a screen picture and the time it is shown, in milliseconds. It
// also knows how a recording grabs a frame (scaled or not, with the arrow cursor or not), which
// the frame window does on the user-interface thread.
#include <windows.h>
#include <cstdint>
#include <string>
#include "CScreenImage.h"

// How every frame of one recording is grabbed; fixed when the recording starts.
struct GifCaptureOptions {
    bool resize = false;  // scale the area to width x height
    int width = 300;
    int height = 200;
    bool cursor = false;  // draw the standard arrow where the pointer is, when it is inside
};

// How LoadPicture places a picture in a frame (the choice of the insert query).
enum InsertMode : int {
    InsertTopLeft = 0,    // at its own size in the top-left corner of a frame-sized picture
    InsertCentre = 1,     // at its own size, centred in a frame-sized picture
    InsertStretch = 2,    // stretched to the frame size
    InsertFitFrames = 3,  // at its own size; the frames are then fitted to it
};

class CGifFrameImage : public CScreenImage {
public:
    uint32_t delay = 0;

    // The picture becomes a copy of the source's picture (none if it has none), the delay the
    // source's delay.
    void CloneFrame(const CGifFrameImage& source);
    // Replaces the picture with the picture file at `path`, placed as `mode` says: modes 0 to 2
    // give a picture of rect's size, mode 3 one of the file's picture size. The picture is drawn
    // anti-aliased with high-quality bicubic interpolation, and the file is closed again before
    // this returns. The delay becomes 500 ms. False, with the frame unchanged, for a file that is
    // missing or that cannot be decoded as a picture (so the caller can skip it and say which).
    // An empty rect (no frames to take a size from) gives the picture's own size in every mode.
    [[nodiscard]] bool LoadPicture(const std::wstring& path, const RECT& rect, int mode);
    // Cuts the picture to `rect` (picture coordinates): a new picture of rect's size copied from
    // (rect.left, rect.top); parts outside the old picture have no defined content. A frame
    // without picture stays so and succeeds; an empty or impossible rectangle fails and changes
    // nothing.
    [[nodiscard]] bool CropTo(const RECT& rect);

    // Replaces the picture with the screen inside `area` (screen coordinates) as `options` say.
    // FALSE when no picture could be made.
    BOOL CaptureArea(const RECT& area, const GifCaptureOptions& options);
    // Draws the standard arrow with its hot spot at `pointer` (screen coordinates), mapped from
    // `area` into the picture.
    void DrawArrow(const RECT& area, POINT pointer);

    // Replaces the picture with a new one of width x height 32-bit pixels (blue in the lowest
    // byte, rows from the top). FALSE, and no picture, when the bitmap cannot be made.
    BOOL SetPixels(const uint32_t* pixels, int width, int height);

    // Bytes of pixels this frame keeps (32 bits per pixel).
    uint64_t PixelBytes() const {
        return static_cast<uint64_t>(GetWidth()) * static_cast<uint64_t>(GetHeight()) * 4u;
    }
};
