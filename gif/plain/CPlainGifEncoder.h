#pragma once
// The animated-picture writer written plainly, one byte at a time and one frame after another:
// the reference the fast CGifEncoder is checked against, and the benchmark's baseline.
#include <cstdint>
#include <memory>
#include "CGifByteSink.h"
#include "CGifFileSink.h"
#include "GifFrame.h"

class CPlainGifEncoder {
public:
    CPlainGifEncoder() = default;
    ~CPlainGifEncoder();
    CPlainGifEncoder(const CPlainGifEncoder&) = delete;
    CPlainGifEncoder& operator=(const CPlainGifEncoder&) = delete;

    [[nodiscard]] bool Open(CGifByteSink* sink);
    [[nodiscard]] bool OpenPath(const GifPath& path);
    void SetCanvasSize(int width, int height);
    void SetLoopCount(int count);
    void SetFrameDelay(int milliseconds);
    void SetSampleFactor(int factor);
    [[nodiscard]] bool WriteFrame(const GifFrame& frame);
    [[nodiscard]] bool Close();

private:
    void ReadPixels(const GifFrame& frame);
    void WriteByte(int value);
    void WriteShort(int value);
    void WriteBytes(const uint8_t* bytes, int count);

    int m_width = 0;
    int m_height = 0;
    int m_transparentIndex = 0;
    int m_loopCount = -1;
    int m_delay = 0;
    bool m_started = false;
    CGifByteSink* m_sink = nullptr;
    bool m_ownsSink = false;
    std::unique_ptr<uint8_t[]> m_pixels;
    std::unique_ptr<uint8_t[]> m_indices;
    int m_colourDepth = 0;
    uint8_t m_colourTable[768] = {};
    int m_paletteSize = 7;
    bool m_firstFrame = true;
    bool m_sizeSet = false;
    int m_sampleFactor = 10;
    bool m_writeFailed = false;
};
