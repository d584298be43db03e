#include "CImage.h"
#include <shlwapi.h>
#include <algorithm>
#include <cstring>
#include <cwctype>
#include <memory>
#include <vector>
#include "GdiplusSession.h"
#include "IndexedColors.h"

CImage::~CImage() {
    Destroy();
}

void CImage::Attach(HBITMAP bitmap) {
    Destroy();
    m_bitmap = bitmap;
    BITMAP info{};
    if (bitmap && ::GetObjectW(bitmap, sizeof(info), &info)) {
        m_width = info.bmWidth;
        m_height = info.bmHeight;
        m_bpp = info.bmBitsPixel;
    }
}

HBITMAP CImage::Detach() {
    // A bitmap still selected into our DC would stay locked there.
    while (m_dcCount > 0) ReleaseDC();
    HBITMAP bitmap = m_bitmap;
    m_bitmap = nullptr;
    m_width = m_height = m_bpp = 0;
    return bitmap;
}

void CImage::Destroy() {
    HBITMAP bitmap = Detach();
    if (bitmap) ::DeleteObject(bitmap);
}

HDC CImage::GetDC() const {
    if (!m_bitmap) return nullptr;
    if (m_dcCount++ == 0) {
        m_dc = ::CreateCompatibleDC(nullptr);
        m_oldBitmap = ::SelectObject(m_dc, m_bitmap);
    }
    return m_dc;
}

void CImage::ReleaseDC() const {
    if (m_dcCount <= 0) return;
    if (--m_dcCount == 0) {
        ::SelectObject(m_dc, m_oldBitmap);
        ::DeleteDC(m_dc);
        m_dc = nullptr;
        m_oldBitmap = nullptr;
    }
}

BOOL CImage::BitBlt(HDC dst, int x, int y, DWORD rop) const {
    HDC src = GetDC();
    if (!src) return FALSE;
    BOOL ok = ::BitBlt(dst, x, y, m_width, m_height, src, 0, 0, rop);
    ReleaseDC();
    return ok;
}

BOOL CImage::Draw(HDC dst, int x, int y) const {
    return BitBlt(dst, x, y, SRCCOPY);
}

BOOL CImage::Draw(HDC dst, const RECT& dstRect) const {
    HDC src = GetDC();
    if (!src) return FALSE;
    BOOL ok = ::StretchBlt(dst, dstRect.left, dstRect.top, dstRect.right - dstRect.left,
                           dstRect.bottom - dstRect.top, src, 0, 0, m_width, m_height, SRCCOPY);
    ReleaseDC();
    return ok;
}

bool CImage::FindEncoderForExtension(const std::wstring& extension, CLSID& clsid, HRESULT& error) {
    error = E_FAIL;
    UINT count = 0, bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || count == 0) return false;
    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[bytes]);
    if (!buffer) {
        error = E_OUTOFMEMORY;
        return false;
    }
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.get());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;

    std::wstring wanted = L"*" + extension;
    auto sameText = [](const std::wstring& a, const std::wstring& b) {
        return a.size() == b.size() && ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()),
                                                              b.c_str(), static_cast<int>(b.size()),
                                                              TRUE) == CSTR_EQUAL;
    };
    for (UINT i = 0; i < count; ++i) {
        if (!codecs[i].FilenameExtension) continue;
        std::wstring patterns = codecs[i].FilenameExtension;
        size_t start = 0;
        while (start <= patterns.size()) {
            size_t end = patterns.find(L';', start);
            if (end == std::wstring::npos) end = patterns.size();
            if (sameText(patterns.substr(start, end - start), wanted)) {
                clsid = codecs[i].Clsid;
                error = S_OK;
                return true;
            }
            start = end + 1;
        }
    }
    return false;
}

bool CImage::ReadPixels(std::vector<uint32_t>& pixels) const {
    PixelBuffer buffer;
    if (!ReadPixels(buffer)) return false;
    pixels.assign(buffer.Data(), buffer.Data() + buffer.GetCount());
    return true;
}

HRESULT CImage::SaveIndexed(const std::wstring& path, const CLSID& encoder) const {
    PixelBuffer pixels;
    if (!ReadPixels(pixels)) return E_FAIL;
    IndexedPicture indexed = IndexColors(pixels.Data(), m_width, m_height);

    Gdiplus::Bitmap picture(m_width, m_height, PixelFormat8bppIndexed);
    if (picture.GetLastStatus() != Gdiplus::Ok) return E_FAIL;
    const size_t paletteBytes = sizeof(Gdiplus::ColorPalette) + 256 * sizeof(Gdiplus::ARGB);
    std::vector<BYTE> paletteBuffer(paletteBytes);
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(paletteBuffer.data());
    palette->Flags = 0;
    palette->Count = static_cast<UINT>(indexed.palette.size());
    for (size_t i = 0; i < indexed.palette.size(); ++i) palette->Entries[i] = 0xFF000000u | indexed.palette[i];
    if (picture.SetPalette(palette) != Gdiplus::Ok) return E_FAIL;

    Gdiplus::Rect all(0, 0, m_width, m_height);
    Gdiplus::BitmapData data{};
    if (picture.LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat8bppIndexed, &data) != Gdiplus::Ok)
        return E_FAIL;
    for (int y = 0; y < m_height; ++y) {
        memcpy(static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
               indexed.indices.data() + static_cast<size_t>(y) * m_width, static_cast<size_t>(m_width));
    }
    picture.UnlockBits(&data);
    return picture.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok ? S_OK : E_FAIL;
}

HRESULT CImage::Save(const std::wstring& path) const {
    if (!m_bitmap) return E_FAIL;
    if (!GdiplusSession::EnsureStarted()) return E_FAIL;
    CLSID clsid{};
    HRESULT error = E_FAIL;
    const wchar_t* extension = ::PathFindExtensionW(path.c_str());
    if (!FindEncoderForExtension(extension, clsid, error)) return error;
    if (::lstrcmpiW(extension, L".gif") == 0) return SaveIndexed(path, clsid);
    Gdiplus::Bitmap picture(m_bitmap, nullptr);
    if (picture.GetLastStatus() != Gdiplus::Ok) return E_FAIL;
    return picture.Save(path.c_str(), &clsid, nullptr) == Gdiplus::Ok ? S_OK : E_FAIL;
}
