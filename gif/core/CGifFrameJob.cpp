#include "CGifFrameJob.h"

#include <cstring>
#include <new>
#include "CLzwEncoder.h"
#include "CNeuQuant.h"

bool CGifFrameJob::Prepare(const GifFrame& frame, int canvasWidth, int canvasHeight,
                           int sampleFactor, int delay, GifIsa isa) {
    m_width = canvasWidth;
    m_height = canvasHeight;
    m_sampleFactor = sampleFactor;
    m_delay = delay;
    m_isa = isa;
    m_succeeded = false;
    const size_t rowBytes = static_cast<size_t>(canvasWidth) * 4;
    const size_t bytes = rowBytes * static_cast<size_t>(canvasHeight);
    // A job used again keeps its buffers: large blocks come fresh from the system on every
    // allocation on Windows, and touching their pages anew costs more than the copy.
    if (!m_pixels || m_pixelCapacity < bytes) {
        m_pixels.reset(new (std::nothrow) uint8_t[bytes]);
        m_pixelCapacity = m_pixels ? bytes : 0;
    }
    if (!m_pixels) {
        return false;
    }
    const int copyWidth = frame.width < canvasWidth ? frame.width : canvasWidth;
    const int copyHeight = frame.height < canvasHeight ? frame.height : canvasHeight;
    const size_t copyBytes = static_cast<size_t>(copyWidth) * 4;
    for (int y = 0; y < canvasHeight; y++) {
        uint8_t* out = m_pixels.get() + rowBytes * static_cast<size_t>(y);
        size_t copied = 0;
        if (y < copyHeight && copyBytes > 0) {
            std::memcpy(out, frame.pixels + frame.stride * y, copyBytes);
            copied = copyBytes;
        }
        std::memset(out + copied, 0, rowBytes - copied);
    }
    return true;
}

void CGifFrameJob::Run() {
    m_succeeded = false;
    if (!m_pixels) {
        return;
    }
    const size_t count = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
    std::unique_ptr<uint8_t[]> indices(new (std::nothrow) uint8_t[count]);
    if (!indices) {
        return;
    }
    {
        // Heap-held: the network and its tables are too large for a worker's stack to be sure.
        std::unique_ptr<CNeuQuant> quantiser(new (std::nothrow) CNeuQuant(
            m_pixels.get(), static_cast<int>(count), m_sampleFactor, m_isa));
        if (!quantiser) {
            return;
        }
        quantiser->Process(m_colourTable);
        quantiser->MapPixels(indices.get());
    }

    const size_t room = CLzwEncoder::MaxEncodedSize(count);
    if (!m_imageData || m_imageDataCapacity < room) {
        m_imageData.reset(new (std::nothrow) uint8_t[room]);
        m_imageDataCapacity = m_imageData ? room : 0;
    }
    if (!m_imageData) {
        return;
    }
    std::unique_ptr<CLzwEncoder> lzw(new (std::nothrow) CLzwEncoder(m_width, m_height, indices.get(), 8));
    if (!lzw) {
        return;
    }
    m_imageDataSize = lzw->Encode(m_imageData.get());
    m_succeeded = true;
}
