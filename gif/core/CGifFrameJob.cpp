#include "CGifFrameJob.h"

#include <cstring>
#include <new>
#include "CLzwEncoder.h"
#include "CNeuQuant.h"

bool CGifFrameJob::Reserve(std::unique_ptr<uint8_t[]>& buffer, size_t& capacity, size_t bytes) {
    // A job used again keeps its buffers: large blocks come fresh from the system on every
    // allocation on Windows, and touching their pages anew costs more than the copy.
    if (!buffer || capacity < bytes) {
        buffer.reset(new (std::nothrow) uint8_t[bytes]);
        capacity = buffer ? bytes : 0;
    }
    return buffer != nullptr;
}

bool CGifFrameJob::Prepare(const GifFrame& frame, int canvasWidth, int canvasHeight,
                           int sampleFactor, int delay, GifIsa isa, bool refine) {
    m_change = false;
    m_mapped = false;
    m_refine = refine;
    m_rect = GifRect{0, 0, canvasWidth, canvasHeight};
    m_width = canvasWidth;
    m_height = canvasHeight;
    m_sampleFactor = sampleFactor;
    m_delay = delay;
    m_isa = isa;
    m_succeeded = false;
    const size_t bytes = static_cast<size_t>(canvasWidth) * 4 * static_cast<size_t>(canvasHeight);
    if (!Reserve(m_pixels, m_pixelCapacity, bytes)) {
        return false;
    }
    CopyToCanvas(frame.pixels, frame.stride, frame.width, frame.height, m_pixels.get(), canvasWidth, canvasHeight);
    return true;
}

void CGifFrameJob::ChangeTo(const GifRect& rect) {
    m_change = true;
    m_refine = false;
    m_rect = rect;
    m_width = rect.Width();
    m_height = rect.Height();
    m_succeeded = false;
}

bool CGifFrameJob::PrepareChange(const uint8_t* current, ptrdiff_t currentStride, const uint8_t* previous,
                                 const uint8_t* first, const uint8_t* firstIndices, ptrdiff_t canvasStride,
                                 const GifRect& rect, int samples, GifIsa isa, const GifFirstPalette& firstPalette) {
    ChangeTo(rect);
    m_first = firstPalette;
    m_mapped = false;
    m_samples = samples;
    m_isa = isa;
    const size_t rowBytes = static_cast<size_t>(m_width) * 4;
    const size_t bytes = rowBytes * static_cast<size_t>(m_height);
    if (!Reserve(m_pixels, m_pixelCapacity, bytes) || !Reserve(m_previous, m_previousCapacity, bytes) ||
        !Reserve(m_atFirst, m_atFirstCapacity, bytes) ||
        !Reserve(m_firstIndices, m_firstIndexCapacity, bytes / 4)) {
        return false;
    }
    const auto copy = [&](uint8_t* to, const uint8_t* from, ptrdiff_t stride) {
        for (int y = 0; y < m_height; y++) {
            std::memcpy(to + rowBytes * static_cast<size_t>(y), from + stride * (rect.top + y) + rect.left * 4, rowBytes);
        }
    };
    copy(m_pixels.get(), current, currentStride);
    copy(m_previous.get(), previous, canvasStride);
    copy(m_atFirst.get(), first, canvasStride);
    for (int y = 0; y < m_height; y++) {
        std::memcpy(m_firstIndices.get() + static_cast<size_t>(m_width) * static_cast<size_t>(y),
                    firstIndices + canvasStride / 4 * (rect.top + y) + rect.left, static_cast<size_t>(m_width));
    }
    return true;
}

uint8_t* CGifFrameJob::BeginMapped(const GifRect& rect) {
    ChangeTo(rect);
    m_mapped = true;
    const size_t count = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
    return Reserve(m_indices, m_indexCapacity, count) ? m_indices.get() : nullptr;
}

void CGifFrameJob::EndMapped(const GifChangePalette& palette) {
    m_palette = palette;
}

void CGifFrameJob::Run() {
    m_succeeded = false;
    if (m_change) {
        RunChange();
    } else {
        RunWhole();
    }
}

void CGifFrameJob::RunWhole() {
    const size_t count = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
    if (!m_pixels || !Reserve(m_indices, m_indexCapacity, count)) {
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
        quantiser->MapPixels(m_indices.get());
        m_spare = m_refine ? quantiser->Refine(m_colourTable, m_indices.get(), true) : -1;
        if (m_refine) {
            KeepRuns(m_pixels.get(), m_width, m_height, m_colourTable, nullptr, m_indices.get());
        }
    }
    m_succeeded = Compress(8);
}

void CGifFrameJob::RunChange() {
    const size_t count = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
    if (!m_mapped) {
        if (!m_pixels || !m_previous || !Reserve(m_indices, m_indexCapacity, count) ||
            !MapChangesQuantised(m_pixels.get(), m_previous.get(), m_atFirst.get(), m_firstIndices.get(), m_width,
                                 m_height, m_samples, m_isa, m_first, m_indices.get(), m_palette)) {
            return;
        }
    } else if (!m_indices) {
        return;
    }
    // A smaller table needs fewer bits a code (the format's least is 2).
    m_succeeded = Compress(m_palette.bits);
}

bool CGifFrameJob::Compress(int codeSize) {
    const size_t count = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
    if (!Reserve(m_imageData, m_imageDataCapacity, CLzwEncoder::MaxEncodedSize(count))) {
        return false;
    }
    std::unique_ptr<CLzwEncoder> lzw(new (std::nothrow) CLzwEncoder(m_width, m_height, m_indices.get(), codeSize));
    if (!lzw) {
        return false;
    }
    m_imageDataSize = lzw->Encode(m_imageData.get());
    return true;
}
