#include "CPlainGifEncoder.h"

#include <cstring>
#include <new>
#include "CPlainLzwEncoder.h"
#include "CPlainNeuQuant.h"

CPlainGifEncoder::~CPlainGifEncoder() {
    if (m_ownsSink) {
        (void)m_sink->Close();
        delete m_sink;
    }
}

bool CPlainGifEncoder::Open(CGifByteSink* sink) {
    if (sink == nullptr || m_started) {
        return false;
    }
    m_ownsSink = false;
    m_sink = sink;
    m_writeFailed = false;
    WriteBytes(reinterpret_cast<const uint8_t*>("GIF89a"), 6);
    m_started = !m_writeFailed;
    return m_started;
}

bool CPlainGifEncoder::OpenPath(const GifPath& path) {
    if (m_started) {
        return false;
    }
    auto* file = new (std::nothrow) CGifFileSink();
    if (file == nullptr) {
        return false;
    }
    if (!file->Open(path) || !Open(file)) {
        (void)file->Close();
        delete file;
        m_sink = nullptr;
        return false;
    }
    m_ownsSink = true;
    return true;
}

void CPlainGifEncoder::SetCanvasSize(int width, int height) {
    if (m_started && !m_firstFrame) {
        return;
    }
    m_width = width < 1 ? 320 : width;
    m_height = height < 1 ? 240 : height;
    m_sizeSet = true;
}

void CPlainGifEncoder::SetLoopCount(int count) {
    if (count >= 0) {
        m_loopCount = count > 0xFFFF ? 0xFFFF : count;  // 16 bits in the file
    }
}

void CPlainGifEncoder::SetFrameDelay(int milliseconds) {
    // Rounded in single precision; the stores keep x87 builds from carrying extra precision.
    volatile float sum = static_cast<float>(milliseconds) + 5.0f;
    volatile float hundredths = sum / 10.0f;
    // The file holds 16 bits: a long still scene (merged unchanged frames) or a negative delay
    // must not wrap around to a short one.
    const int rounded = static_cast<int>(hundredths);
    m_delay = rounded < 0 ? 0 : rounded > 0xFFFF ? 0xFFFF : rounded;
}

void CPlainGifEncoder::SetSampleFactor(int factor) {
    m_sampleFactor = factor < 1 ? 1 : factor;
}

bool CPlainGifEncoder::WriteFrame(const GifFrame& frame) {
    if (!m_started || !frame.IsReadable()) {
        return false;
    }
    if (!m_sizeSet) {
        SetCanvasSize(frame.width, frame.height);
    }
    const int64_t pixelCount = static_cast<int64_t>(m_width) * m_height;
    if (m_width > 65535 || m_height > 65535 || pixelCount * 3 > 2147483647) {
        return false;
    }
    const int count = static_cast<int>(pixelCount);

    m_pixels.reset(new (std::nothrow) uint8_t[static_cast<size_t>(count) * 3]);
    if (!m_pixels) {
        return false;
    }
    ReadPixels(frame);

    m_indices.reset(new (std::nothrow) uint8_t[count]);
    if (!m_indices) {
        m_pixels.reset();
        return false;
    }
    {
        CPlainNeuQuant quantiser(m_pixels.get(), count * 3, m_sampleFactor);
        quantiser.Process(m_colourTable);
        for (int i = 0; i < count; i++) {
            const uint8_t* p = &m_pixels[static_cast<size_t>(i) * 3];
            m_indices[i] = static_cast<uint8_t>(quantiser.Map(p[0], p[1], p[2]));
        }
    }
    m_pixels.reset();
    m_colourDepth = 8;
    m_paletteSize = 7;

    m_writeFailed = false;
    if (m_firstFrame) {
        WriteShort(m_width);
        WriteShort(m_height);
        WriteByte(0x80 | 0x70 | m_paletteSize);
        WriteByte(0);
        WriteByte(0);
        WriteBytes(m_colourTable, 768);
        if (m_loopCount >= 0) {
            WriteByte(0x21);
            WriteByte(0xFF);
            WriteByte(11);
            WriteBytes(reinterpret_cast<const uint8_t*>("NETSCAPE2.0"), 11);
            WriteByte(3);
            WriteByte(1);
            WriteShort(m_loopCount);
            WriteByte(0);
        }
    }
    WriteByte(0x21);
    WriteByte(0xF9);
    WriteByte(4);
    WriteByte(0);
    WriteShort(m_delay);
    WriteByte(m_transparentIndex);
    WriteByte(0);

    WriteByte(0x2C);
    WriteShort(0);
    WriteShort(0);
    WriteShort(m_width);
    WriteShort(m_height);
    if (m_firstFrame) {
        WriteByte(0);
    } else {
        WriteByte(0x80 | m_paletteSize);
        WriteBytes(m_colourTable, 768);
    }
    if (m_writeFailed) {
        return false;
    }
    CPlainLzwEncoder lzw(m_width, m_height, m_indices.get(), m_colourDepth);
    if (!lzw.Encode(*m_sink)) {
        return false;
    }
    m_firstFrame = false;
    return true;
}

// The frame's top-left canvas-sized part; canvas pixels the frame does not cover are black.
void CPlainGifEncoder::ReadPixels(const GifFrame& frame) {
    std::memset(m_pixels.get(), 0, static_cast<size_t>(m_width) * m_height * 3);
    for (int y = 0; y < m_height && y < frame.height; y++) {
        const uint8_t* row = frame.pixels + frame.stride * y;
        for (int x = 0; x < m_width && x < frame.width; x++) {
            uint8_t* out = &m_pixels[(static_cast<size_t>(y) * m_width + x) * 3];
            out[0] = row[x * 4 + 2];
            out[1] = row[x * 4 + 1];
            out[2] = row[x * 4 + 0];
        }
    }
}

bool CPlainGifEncoder::Close() {
    if (!m_started) {
        return false;
    }
    m_started = false;
    const uint8_t trailer = 0x3B;
    bool ok = m_sink->Write(&trailer, 1);
    ok = m_sink->Flush() && ok;
    if (m_ownsSink) {
        ok = m_sink->Close() && ok;
        delete m_sink;
    }
    m_transparentIndex = 0;
    m_sink = nullptr;
    m_pixels.reset();
    m_indices.reset();
    m_ownsSink = false;
    m_firstFrame = true;
    return ok;
}

void CPlainGifEncoder::WriteByte(int value) {
    const uint8_t byte = static_cast<uint8_t>(value);
    WriteBytes(&byte, 1);
}

void CPlainGifEncoder::WriteShort(int value) {
    WriteByte(value & 0xFF);
    WriteByte((value >> 8) & 0xFF);
}

void CPlainGifEncoder::WriteBytes(const uint8_t* bytes, int count) {
    for (int i = 0; i < count && !m_writeFailed; i++) {
        if (!m_sink->Write(bytes + i, 1)) {
            m_writeFailed = true;
        }
    }
}
