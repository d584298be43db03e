#pragma once
// One frame's worth of work apart from the file: the canvas-sized pixels, their palette, and
// the compressed image data. Jobs share nothing, so several can run at once on any threads. A job
// may be prepared again for another frame; it keeps its buffers for that.
#include <cstddef>
#include <cstdint>
#include <memory>
#include "GifFrame.h"
#include "GifIsa.h"

class CGifFrameJob {
public:
    // Copies the frame's top-left canvas-sized part; canvas pixels the frame does not cover are
    // black. False when there is no memory for the copy.
    [[nodiscard]] bool Prepare(const GifFrame& frame, int canvasWidth, int canvasHeight,
                               int sampleFactor, int delay, GifIsa isa);
    // Quantises and compresses; afterwards Succeeded tells whether memory sufficed.
    void Run();

    bool Succeeded() const { return m_succeeded; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Delay() const { return m_delay; }
    const uint8_t* ColourTable() const { return m_colourTable; }
    // The code size byte, the data sub-blocks and the block terminator.
    const uint8_t* ImageData() const { return m_imageData.get(); }
    size_t ImageDataSize() const { return m_imageDataSize; }

private:
    int m_width = 0;
    int m_height = 0;
    int m_sampleFactor = 1;
    int m_delay = 0;
    GifIsa m_isa = GifIsa::Scalar;
    std::unique_ptr<uint8_t[]> m_pixels;
    size_t m_pixelCapacity = 0;
    uint8_t m_colourTable[768] = {};
    std::unique_ptr<uint8_t[]> m_imageData;
    size_t m_imageDataCapacity = 0;
    size_t m_imageDataSize = 0;
    bool m_succeeded = false;
};
