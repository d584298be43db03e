#include "PickerScreens.h"
#include <cstdint>
#include <cstring>
#include <vector>
#include "CMonitors.h"
#include "CUniqueAny.h"
#include "DeviceContext.h"

namespace {
// DWMWA_EXTENDED_FRAME_BOUNDS; the desktop window manager's header is not needed for one number.
const DWORD kExtendedFrameBounds = 9;
using GetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);

// Copies one picture into another of the same size: far quicker than a second grab of the
// screen, and the pixels are the same moment's.
bool CopyPicture(const CScreenImage& from, CScreenImage& to) {
    RECT size{0, 0, from.GetWidth(), from.GetHeight()};
    if (!to.CreateBlank(size) || to.IsNull()) return false;
    HDC target = to.GetDC();
    BOOL copied = from.BitBlt(target, 0, 0, SRCCOPY);
    to.ReleaseDC();
    return copied != FALSE;
}
}  // namespace

bool DimPixels(CScreenImage& image) {
    BITMAP info{};
    if (image.IsNull() || !::GetObjectW(static_cast<HBITMAP>(image), sizeof(info), &info)) return false;
    const int bits = info.bmBitsPixel;
    if (bits != 32 && bits != 24) return false;
    const size_t size = static_cast<size_t>(info.bmWidthBytes) * static_cast<size_t>(info.bmHeight);
    std::vector<uint8_t> buffer(size);
    if (::GetBitmapBits(image, static_cast<LONG>(size), buffer.data()) != static_cast<LONG>(size))
        return false;
    if (bits == 32) {
        // Each of red, green and blue halved, rounding down; the top byte becomes 0.
        for (size_t i = 0; i + 4 <= size; i += 4) {
            uint32_t p;
            std::memcpy(&p, &buffer[i], 4);
            p = (p & 0x00FEFEFEu) >> 1;
            std::memcpy(&buffer[i], &p, 4);
        }
    } else {
        // Three bytes a pixel: every byte is one channel (or row padding, which nothing shows).
        for (uint8_t& channel : buffer) channel = static_cast<uint8_t>(channel >> 1);
    }
    return ::SetBitmapBits(image, static_cast<DWORD>(size), buffer.data()) != 0;
}

bool PrepareScreens(RECT& screen, CScreenImage& dark, CScreenImage& bright) {
    GetVirtualScreenRect(screen);
    // One grab: the dimmed picture is a copy of the bright one, so both show the same moment.
    if (!bright.CaptureRect(screen) || bright.IsNull()) return false;
    if (!CopyPicture(bright, dark)) return false;
    DimPixels(dark);
    return true;
}

void ForceForeground(HWND window) {
    HWND foreground = ::GetForegroundWindow();
    if (foreground == window) return;
    DWORD theirs = ::GetWindowThreadProcessId(foreground, nullptr);
    DWORD ours = ::GetWindowThreadProcessId(window, nullptr);
    // The system lets a thread take the foreground only from the thread that has it; sharing
    // its input state for the moment of the switch makes the switch ours to make.
    bool attached = theirs && theirs != ours && ::AttachThreadInput(theirs, ours, TRUE);
    ::SetForegroundWindow(window);
    ::BringWindowToTop(window);
    if (attached) ::AttachThreadInput(theirs, ours, FALSE);
}

// Loaded at the moment of use rather than linked: systems without the desktop window manager
// have no such library, and the program must still start there.
HRESULT GetExtendedFrameBounds(HWND window, RECT& rect) {
    HRESULT result = E_FAIL;
    CUniqueModule dwm(::LoadLibraryW(L"dwmapi.dll"));
    if (!dwm) return result;
    auto get = reinterpret_cast<GetWindowAttribute>(
        reinterpret_cast<void*>(::GetProcAddress(dwm.get(), "DwmGetWindowAttribute")));
    if (get) result = get(window, kExtendedFrameBounds, &rect, sizeof(rect));
    return result;
}
