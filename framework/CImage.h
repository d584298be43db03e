#pragma once
// A picture held as a GDI bitmap: owns the bitmap, lends a memory DC with it selected (counted,
// so nested users share one), draws it plainly or stretched, and saves it through the GDI+
// encoder whose file-name patterns match the path's extension.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "PixelBuffer.h"

class CImage {
public:
    CImage() = default;
    virtual ~CImage();
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // Takes ownership of a bitmap, destroying the one held before.
    void Attach(HBITMAP bitmap);
    [[nodiscard]] HBITMAP Detach();
    void Destroy();

    bool IsNull() const { return m_bitmap == nullptr; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetBPP() const { return m_bpp; }
    operator HBITMAP() const { return m_bitmap; }

    // A memory DC with the bitmap selected; every GetDC needs one ReleaseDC.
    HDC GetDC() const;
    void ReleaseDC() const;

    BOOL Draw(HDC dst, int x, int y) const;
    // Stretches the whole picture into the destination rectangle (the DC's stretch mode applies).
    BOOL Draw(HDC dst, const RECT& dstRect) const;
    BOOL BitBlt(HDC dst, int x, int y, DWORD rop = SRCCOPY) const;

    // The pixels as 32-bit words (blue in the lowest byte), rows from the top; false when the
    // picture is empty or there is no memory for its pixels.
    [[nodiscard]] bool ReadPixels(PixelBuffer& pixels) const { return pixels.ReadBitmap(m_bitmap); }
    // The same into a vector, for small pictures (resources, skins): the vector's allocation may
    // throw, so picture-sized reads use the PixelBuffer.
    bool ReadPixels(std::vector<uint32_t>& pixels) const;

    // Saves by the path's extension through GDI+: S_OK, E_FAIL (GDI+ unavailable, no encoder for
    // the extension, or the encoder failed) or E_OUTOFMEMORY (no room for the encoder list).
    // GIF gets 8-bit indexed data, from which every GDI+ writes a real file.
    [[nodiscard]] HRESULT Save(const std::wstring& path) const;

    // The class id of the GDI+ encoder for a file extension such as L".png"; false if none.
    static bool FindEncoderForExtension(const std::wstring& extension, CLSID& clsid, HRESULT& error);

private:
    HRESULT SaveIndexed(const std::wstring& path, const CLSID& encoder) const;

    HBITMAP m_bitmap = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_bpp = 0;
    mutable HDC m_dc = nullptr;
    mutable HGDIOBJ m_oldBitmap = nullptr;
    mutable int m_dcCount = 0;
};
