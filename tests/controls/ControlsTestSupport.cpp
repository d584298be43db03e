#include "ControlsTestSupport.h"
#include <objidl.h>
#include <gdiplus.h>
#include "CImage.h"

namespace controls_test {

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

void SendKey(WORD key, int repeats) {
    std::vector<INPUT> input(static_cast<size_t>(repeats) + 2);
    for (INPUT& i : input) {
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = key;
    }
    input.back().ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

POINT ScreenPoint(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(hwnd, &p);
    return p;
}

COLORREF ScreenPixel(HWND hwnd, int x, int y) {
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Wine shows what a window painted when its thread next looks at its queue.
    PumpBriefly();
    const POINT p = ScreenPoint(hwnd, x, y);
    CClientDC screen(nullptr);
    return ::GetPixel(screen, p.x, p.y);
}

void PumpBriefly() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::Sleep(20);
}

bool SaveScreenPicture(const RECT& rc, const std::wstring& path) {
    CClientDC screen(nullptr);
    CImage picture;
    picture.Attach(::CreateCompatibleBitmap(screen, rc.right - rc.left, rc.bottom - rc.top));
    HDC dc = picture.GetDC();
    ::BitBlt(dc, 0, 0, rc.right - rc.left, rc.bottom - rc.top, screen, rc.left, rc.top, SRCCOPY);
    picture.ReleaseDC();
    return picture.Save(path) == S_OK;
}

bool SaveSurfacePicture(const Surface& surface, const std::wstring& path) {
    CClientDC screen(nullptr);
    CImage picture;
    picture.Attach(::CreateCompatibleBitmap(screen, surface.width(), surface.height()));
    HDC dc = picture.GetDC();
    ::BitBlt(dc, 0, 0, surface.width(), surface.height(), surface.dc(), 0, 0, SRCCOPY);
    picture.ReleaseDC();
    return picture.Save(path) == S_OK;
}

}  // namespace controls_test
