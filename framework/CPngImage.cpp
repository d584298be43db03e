#include "CPngImage.h"
#include <shlwapi.h>
#include <climits>
#include <cstdint>
#include <cstring>
#include "Dib.h"
#include "GdiplusSession.h"

namespace {
// A 32-bit top-down DIB section of the given size, with its pixels.
HBITMAP CreateDib32(int width, int height, uint32_t** bits) {
    BITMAPINFO info = TopDownDib32(width, height);
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<uint32_t*>(pixels);
    return bitmap;
}
}  // namespace

BOOL CPngImage::Load(UINT resourceId, HINSTANCE instance) {
    DeleteObject();
    m_width = m_height = 0;
    if (!instance) instance = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(resourceId), L"PNG");
    if (!found) return FALSE;
    HGLOBAL loaded = ::LoadResource(instance, found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return FALSE;
    return LoadFromBuffer(data, ::SizeofResource(instance, found));
}

BOOL CPngImage::LoadFromBuffer(const void* data, size_t size) {
    DeleteObject();
    m_width = m_height = 0;
    if (!data || size == 0 || size > UINT_MAX || !GdiplusSession::EnsureStarted()) return FALSE;
    IStream* stream = ::SHCreateMemStream(static_cast<const BYTE*>(data), static_cast<UINT>(size));
    if (!stream) return FALSE;
    BOOL ok = FALSE;
    {
        Gdiplus::Bitmap picture(stream, FALSE);
        const int width = static_cast<int>(picture.GetWidth());
        const int height = static_cast<int>(picture.GetHeight());
        if (picture.GetLastStatus() == Gdiplus::Ok && width > 0 && height > 0) {
            uint32_t* bits = nullptr;
            HBITMAP bitmap = CreateDib32(width, height, &bits);
            Gdiplus::Rect all(0, 0, width, height);
            Gdiplus::BitmapData locked{};
            // 32bppARGB is straight alpha, laid out as a 32-bit DIB (blue in the lowest byte).
            if (bitmap && picture.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                                           &locked) == Gdiplus::Ok) {
                for (int y = 0; y < height; ++y) {
                    std::memcpy(bits + static_cast<size_t>(y) * width,
                                static_cast<const BYTE*>(locked.Scan0) + static_cast<ptrdiff_t>(y) * locked.Stride,
                                static_cast<size_t>(width) * sizeof(uint32_t));
                }
                picture.UnlockBits(&locked);
                ::GdiFlush();
                Attach(bitmap);
                m_width = width;
                m_height = height;
                ok = TRUE;
            } else if (bitmap) {
                ::DeleteObject(bitmap);
            }
        }
    }
    stream->Release();
    return ok;
}

HBITMAP CPngImage::CreatePremultipliedCopy() const {
    DIBSECTION source{};
    if (!m_handle || ::GetObjectW(m_handle, sizeof(source), &source) != sizeof(source) ||
        !source.dsBm.bmBits) {
        return nullptr;
    }
    uint32_t* bits = nullptr;
    HBITMAP copy = CreateDib32(m_width, m_height, &bits);
    if (!copy) return nullptr;
    const auto* from = static_cast<const uint32_t*>(source.dsBm.bmBits);
    const size_t count = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = from[i];
        const uint32_t a = p >> 24;
        auto scale = [a](uint32_t c) { return (c * a + 127) / 255; };
        bits[i] = (a << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) |
                  scale(p & 0xFF);
    }
    ::GdiFlush();
    return copy;
}
