#include "ControlsTestSupport.h"
#include <objidl.h>
#include <gdiplus.h>
#include "CImage.h"
#include "Dib.h"

namespace controls_test {

Surface::Surface(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO info = TopDownDib32(width, height);
    void* bits = nullptr;
    m_bitmap.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_bits = static_cast<uint32_t*>(bits);
    m_previous = ::SelectObject(m_dc, m_bitmap);
    CBrush brush(fill);
    RECT all{0, 0, width, height};
    ::FillRect(m_dc, &all, brush);
}

Surface::~Surface() {
    if (m_previous) ::SelectObject(m_dc, m_previous);
}

COLORREF Surface::At(int x, int y) const {
    ::GdiFlush();
    if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    const uint32_t p = m_bits[static_cast<size_t>(y) * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::vector<BYTE> EncodePng(int width, int height, const std::vector<uint32_t>& argb) {
    std::vector<BYTE> bytes;
    Gdiplus::Bitmap picture(width, height, PixelFormat32bppARGB);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.SetPixel(x, y, Gdiplus::Color(argb[static_cast<size_t>(y) * width + x]));
        }
    }
    CLSID png{};
    HRESULT error = E_FAIL;
    if (!CImage::FindEncoderForExtension(L".png", png, error)) return bytes;
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return bytes;
    if (picture.Save(stream, &png, nullptr) == Gdiplus::Ok) {
        STATSTG stat{};
        stream->Stat(&stat, STATFLAG_NONAME);
        bytes.resize(static_cast<size_t>(stat.cbSize.QuadPart));
        LARGE_INTEGER zero{};
        stream->Seek(zero, STREAM_SEEK_SET, nullptr);
        ULONG read = 0;
        stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
        bytes.resize(read);
    }
    stream->Release();
    return bytes;
}

std::vector<uint32_t> DecodePngResource(UINT id, int* width, int* height) {
    std::vector<uint32_t> pixels;
    *width = *height = 0;
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"PNG");
    if (!found) return pixels;
    const void* data = ::LockResource(::LoadResource(nullptr, found));
    const DWORD size = ::SizeofResource(nullptr, found);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(::GlobalLock(memory), data, size);
    ::GlobalUnlock(memory);
    IStream* stream = nullptr;
    ::CreateStreamOnHGlobal(memory, TRUE, &stream);
    {
        Gdiplus::Bitmap picture(stream, FALSE);
        *width = static_cast<int>(picture.GetWidth());
        *height = static_cast<int>(picture.GetHeight());
        for (int y = 0; y < *height; ++y) {
            for (int x = 0; x < *width; ++x) {
                Gdiplus::Color color;
                picture.GetPixel(x, y, &color);
                pixels.push_back(color.GetValue());
            }
        }
    }
    stream->Release();
    return pixels;
}

bool SaveWindowPicture(HWND hwnd, const std::wstring& path) {
    RECT rc{};
    ::GetClientRect(hwnd, &rc);
    CClientDC window(hwnd);
    CImage picture;
    picture.Attach(::CreateCompatibleBitmap(window, rc.right, rc.bottom));
    HDC dc = picture.GetDC();
    ::BitBlt(dc, 0, 0, rc.right, rc.bottom, window, 0, 0, SRCCOPY);
    picture.ReleaseDC();
    return picture.Save(path) == S_OK;
}

}  // namespace controls_test
