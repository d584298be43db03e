#pragma once
// The pixels of a bitmap as 32-bit words (blue in the lowest byte, rows from the top), read in
// one call whatever the bitmap's depth. The buffer is allocated without throwing: a picture too
// large for the memory that is left fails its reader, never the process.
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <memory>

class PixelBuffer {
public:
    PixelBuffer() = default;
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;
    PixelBuffer(PixelBuffer&&) noexcept = default;
    PixelBuffer& operator=(PixelBuffer&&) noexcept = default;

    // Room for width x height pixels, contents undefined; false (and empty) when the size is not
    // positive or the memory cannot be had.
    [[nodiscard]] bool Allocate(int width, int height);
    // Replaces the contents with the bitmap's pixels; false (and empty) when the bitmap cannot be
    // read or there is no memory for it.
    [[nodiscard]] bool ReadBitmap(HBITMAP bitmap);
    void Reset();

    bool IsEmpty() const { return !m_pixels; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    size_t GetCount() const { return static_cast<size_t>(m_width) * static_cast<size_t>(m_height); }
    uint32_t* Data() { return m_pixels.get(); }
    const uint32_t* Data() const { return m_pixels.get(); }
    const uint32_t* Row(int y) const { return m_pixels.get() + static_cast<size_t>(y) * m_width; }
    uint32_t At(int x, int y) const { return Row(y)[x]; }

private:
    std::unique_ptr<uint32_t[]> m_pixels;
    int m_width = 0;
    int m_height = 0;
};
