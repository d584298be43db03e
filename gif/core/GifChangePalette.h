#pragma once
// The palette of a changed rectangle in the small-file mode, and every pixel's entry in it.
// Pixels equal to the previous frame keep what the viewer shows there (the transparent entry);
// the changed pixels get an exact table when they have at most 255 colours (its size the
// smallest power of two that holds them and the transparent entry), otherwise (nearly) the
// nearest entry of the first frame's table or of a quantiser network learnt from the changed
// pixels alone, one of whose 256 entries is given up to transparency. No changed pixel ever gets
// the transparent entry.
#include <cstddef>
#include <cstdint>
#include "GifChangedRect.h"
#include "GifIsa.h"

struct GifChangePalette {
    uint8_t colours[768] = {};  // red, green, blue; 1 << bits entries are written
    int bits = 8;               // 1 to 8
    int transparent = 0;        // the entry of unchanged pixels
    bool global = false;        // the entries are the first frame's (the file's global table)
};

// What the first frame leaves to the frames after it: its table (the file's global one), the
// entry none of its pixels took, and how far its pixels are from their entries.
struct GifFirstPalette {
    uint8_t colours[768] = {};
    int transparent = -1;         // -1: no entry to spare
    int64_t squaredError = 0;     // red, green and blue differences squared, over every pixel
    int64_t pixels = 0;
};

// The exact table, on the canvases themselves (four bytes per pixel, blue, green, red, unused):
// `indices` receives rect.Width() x rect.Height() entries, row by row. An unchanged pixel whose
// colour the viewer already shows exactly (`exact` non-zero, one byte per canvas pixel) and
// whose colour is in the table by then may get that colour's entry instead of the transparent
// one: it does when the pixel before it got the same entry, so that runs of one colour are not
// broken into pieces (it changes nothing on the screen and compresses better). False when the
// changed pixels have more than 255 colours; the indices are then of no use.
[[nodiscard]] bool MapChangesExactly(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* previous,
                                     ptrdiff_t previousStride, const uint8_t* exact, ptrdiff_t exactStride,
                                     const GifRect& rect, uint8_t* indices, GifChangePalette& palette);

// Lets a pixel that `movable` allows (every pixel without it) take the entry of the pixel before
// it in its row when that entry is hardly further from its colour than its own (by at most 3 in
// the sum of the three differences): where a smooth gradient falls between two entries, the
// nearest one flips from pixel to pixel, and unbroken runs compress several times better.
// `pixels` has four bytes a pixel, `indices` and `movable` one.
void KeepRuns(const uint8_t* pixels, int width, int height, const uint8_t colours[768], const uint8_t* movable,
              uint8_t* indices);

// The quantised table over copies of the rectangle (`width` x `height` pixels each: now, before,
// and in the first frame with the first frame's entries, both of which may be absent). The
// changed pixels take the first frame's table when the ones not back to the first frame's colours
// are shown by it on average not much further off than that frame's own pixels (most of a screen
// that moves about was there at the start: what comes back then takes the first frame's entries
// and looks exactly as it did, and no table is written). Otherwise a network learns from about
// `samples` changed pixels (all of them when they are fewer), as from a whole frame, and is
// refined once over them. False when memory ran out.
[[nodiscard]] bool MapChangesQuantised(const uint8_t* current, const uint8_t* previous, const uint8_t* atFirst,
                                       const uint8_t* firstIndices, int width, int height, int samples, GifIsa isa,
                                       const GifFirstPalette& first, uint8_t* indices, GifChangePalette& palette);
