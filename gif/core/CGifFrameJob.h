#pragma once
// One frame's worth of work apart from the file: the pixels, their palette, and the compressed
// image data. A job is either a whole frame (the canvas-sized pixels and a 256-colour table) or,
// in the small-file mode, the rectangle of the canvas that changed since the frame before (its
// pixels then and now, and the table of what changed). Jobs share nothing, so several can run at
// once on any threads. A job may be prepared again for another frame; it keeps its buffers for
// that.
#include <cstddef>
#include <cstdint>
#include <memory>
#include "GifChangePalette.h"
#include "GifChangedRect.h"
#include "GifFrame.h"
#include "GifIsa.h"

class CGifFrameJob {
public:
    // Copies the frame's top-left canvas-sized part; canvas pixels the frame does not cover are
    // black. With `refine` the learnt palette is refined once more over the pixels, giving up one
    // entry for the frames after it, and runs are kept (KeepRuns). False when there is no memory
    // for the copy.
    [[nodiscard]] bool Prepare(const GifFrame& frame, int canvasWidth, int canvasHeight,
                               int sampleFactor, int delay, GifIsa isa, bool refine = false);
    // Copies `rect` of the canvas as it is now, as it was, and as the first frame had it (four
    // bytes per pixel; `canvasStride` bytes a row in the last two) with the first frame's entries
    // (one byte a pixel), for the quantiser to learn from about `samples` changed pixels. False
    // when there is no memory for the copies.
    [[nodiscard]] bool PrepareChange(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* previous,
                                     const uint8_t* first, const uint8_t* firstIndices, ptrdiff_t canvasStride,
                                     const GifRect& rect, int samples, GifIsa isa, const GifFirstPalette& firstPalette);
    // A changed rectangle whose entries the caller gives: room for them (null without memory),
    // then the table they refer to. Run only compresses them.
    uint8_t* BeginMapped(const GifRect& rect);
    void EndMapped(const GifChangePalette& palette);
    // Quantises and compresses; afterwards Succeeded tells whether memory sufficed.
    void Run();

    bool Succeeded() const { return m_succeeded; }
    // A changed rectangle rather than a whole frame.
    bool IsChange() const { return m_change; }
    int Left() const { return m_rect.left; }
    int Top() const { return m_rect.top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // In hundredths (whole frames of the described layout).
    int Delay() const { return m_delay; }
    // In milliseconds (the small-file mode adds up the delays of merged frames first).
    int64_t DelayMs() const { return m_delayMs; }
    void SetDelayMs(int64_t milliseconds) { m_delayMs = milliseconds; }
    const uint8_t* ColourTable() const { return m_change ? m_palette.colours : m_colourTable; }
    // The table holds 1 << TableBits() entries.
    int TableBits() const { return m_change ? m_palette.bits : 8; }
    // A change drawn with the first frame's table: the frame has no table of its own.
    bool UsesGlobalTable() const { return m_change && m_palette.global; }
    // The entry a refined whole frame gave up (no pixel uses it), -1 for none.
    int SpareIndex() const { return m_change ? -1 : m_spare; }
    // The entry of unchanged pixels, -1 for a whole frame.
    int TransparentIndex() const { return m_change ? m_palette.transparent : -1; }
    // Every pixel's entry, once run.
    const uint8_t* Indices() const { return m_indices.get(); }
    // The code size byte, the data sub-blocks and the block terminator.
    const uint8_t* ImageData() const { return m_imageData.get(); }
    size_t ImageDataSize() const { return m_imageDataSize; }

private:
    // Room for `bytes` in a buffer kept from an earlier frame, or a new one.
    static bool Reserve(std::unique_ptr<uint8_t[]>& buffer, size_t& capacity, size_t bytes);
    bool Compress(int codeSize);
    void RunWhole();
    void RunChange();
    void ChangeTo(const GifRect& rect);

    int m_width = 0;
    int m_height = 0;
    int m_sampleFactor = 1;
    int m_samples = 0;
    int m_delay = 0;
    int64_t m_delayMs = 0;
    GifIsa m_isa = GifIsa::Scalar;
    bool m_change = false;
    bool m_mapped = false;
    bool m_refine = false;
    GifRect m_rect;
    std::unique_ptr<uint8_t[]> m_pixels;
    size_t m_pixelCapacity = 0;
    std::unique_ptr<uint8_t[]> m_previous;
    size_t m_previousCapacity = 0;
    std::unique_ptr<uint8_t[]> m_atFirst;
    size_t m_atFirstCapacity = 0;
    std::unique_ptr<uint8_t[]> m_firstIndices;
    size_t m_firstIndexCapacity = 0;
    std::unique_ptr<uint8_t[]> m_indices;
    size_t m_indexCapacity = 0;
    uint8_t m_colourTable[768] = {};
    GifChangePalette m_palette;
    GifFirstPalette m_first;
    int m_spare = -1;
    std::unique_ptr<uint8_t[]> m_imageData;
    size_t m_imageDataCapacity = 0;
    size_t m_imageDataSize = 0;
    bool m_succeeded = false;
};
