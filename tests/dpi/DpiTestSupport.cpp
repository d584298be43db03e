#include "DpiTestSupport.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include "CImage.h"
#include "DeviceContext.h"
#include "MessageArgs.h"
#include "ModulePath.h"
#include "TestSupport.h"

namespace dpi_test {

UINT SessionDpi() {
    const char* value = std::getenv("TOVRIX_DPI");
    const int dpi = value ? std::atoi(value) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

std::vector<UINT> DrawnDpis() {
    return std::vector<UINT>(std::begin(kPictureDpis), std::end(kPictureDpis));
}

std::wstring Percent(UINT dpi) {
    return std::to_wstring(dpi * 100 / kDefaultDpi);
}

namespace {
bool IsOwnerDrawn(HWND hwnd) {
    wchar_t name[16] = {};
    ::GetClassNameW(hwnd, name, 16);
    return lstrcmpiW(name, L"Button") == 0 && (::GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

// Each window is printed into a picture of its own at (0, 0): controls clip their drawing to
// their client rectangle in device coordinates, so an offset would clip it all away.
void PrintTree(HWND hwnd, Canvas& canvas) {
    ::SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
    ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    // Children from the bottom of the z-order up, each over what lies below it.
    HWND child = ::GetWindow(hwnd, GW_CHILD);
    if (!child) return;
    for (child = ::GetWindow(child, GW_HWNDLAST); child; child = ::GetWindow(child, GW_HWNDPREV)) {
        if (!::IsWindowVisible(child)) continue;
        const RECT place = ChildRect(child);
        const int width = place.right - place.left, height = place.bottom - place.top;
        if (width <= 0 || height <= 0) continue;
        // A skinned control must paint every pixel of itself: it starts from the sentinel. A
        // standard one may leave some to its parent (a group box's inside), as on the screen.
        Canvas own(width, height, kSentinel);
        if (!IsOwnerDrawn(child)) ::BitBlt(own.dc(), 0, 0, width, height, canvas.dc(), place.left, place.top, SRCCOPY);
        PrintTree(child, own);
        ::GdiFlush();
        ::BitBlt(canvas.dc(), place.left, place.top, width, height, own.dc(), 0, 0, SRCCOPY);
    }
}
}  // namespace

void PrintClient(HWND hwnd, Canvas& canvas) {
    canvas.Fill(kSentinel);
    PrintTree(hwnd, canvas);
    ::GdiFlush();
}

int SentinelPixels(HWND hwnd, const Canvas& canvas) {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const bool hasRegion = ::GetWindowRgn(hwnd, region) != ERROR;
    // The region is in window coordinates; the frames have no border, so they are the client's.
    int count = 0;
    const std::vector<COLORREF> pixels = canvas.Pixels();
    for (int y = 0; y < client.bottom && y < canvas.height(); ++y) {
        for (int x = 0; x < client.right && x < canvas.width(); ++x) {
            if (pixels[static_cast<size_t>(y) * canvas.width() + x] != kSentinel) continue;
            if (hasRegion && !::PtInRegion(region, x, y)) continue;
            ++count;
        }
    }
    ::DeleteObject(region);
    return count;
}

RECT ChildRect(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

bool WithinAPixel(const RECT& actual, const Exact& expected, std::string* why) {
    const bool close = std::fabs(actual.left - expected.left) <= 1 && std::fabs(actual.top - expected.top) <= 1 &&
                      std::fabs(actual.right - expected.right) <= 1 &&
                      std::fabs(actual.bottom - expected.bottom) <= 1;
    if (!close && why) {
        char text[160];
        std::snprintf(text, sizeof(text), "%s instead of (%.1f, %.1f, %.1f, %.1f)", Text(actual).c_str(),
                      expected.left, expected.top, expected.right, expected.bottom);
        *why = text;
    }
    return close;
}

void SendDpiChanged(HWND hwnd, UINT dpi) {
    RECT suggested{};
    ::GetWindowRect(hwnd, &suggested);
    ::SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

std::vector<COLORREF> PictureFrame(UINT id, UINT pictureDpi, int frames, int frame, SIZE* size) {
    std::vector<COLORREF> pixels;
    CBitmap picture(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                      MAKEINTRESOURCEW(PictureIdForDpi(id, pictureDpi)),
                                                      IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    BITMAP info{};
    if (!picture || !::GetObjectW(picture, sizeof(info), &info)) return pixels;
    *size = SIZE{info.bmWidth / frames, info.bmHeight};
    Canvas canvas(size->cx, size->cy);
    CMemoryDC source(canvas.dc());
    CSelectObject select(source, picture.get());
    ::BitBlt(canvas.dc(), 0, 0, size->cx, size->cy, source, frame * size->cx, 0, SRCCOPY);
    ::GdiFlush();
    return canvas.Pixels();
}

std::vector<COLORREF> PixelsIn(const Canvas& canvas, const RECT& r) {
    std::vector<COLORREF> pixels;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) pixels.push_back(canvas.At(x, y));
    }
    return pixels;
}

namespace {
std::wstring GalleryFile(const std::wstring& name) {
    // The controls' gallery: build/<arch>/tests/controls/gallery, beside this program's folder.
    std::wstring folder = GetModuleFolder() + L"\\..\\controls\\gallery";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\" + Percent(SessionDpi());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + name + L".png";
}

bool SaveFrom(HDC from, int x, int y, int width, int height, const std::wstring& name) {
    CClientDC screen(nullptr);
    CImage picture;
    picture.Attach(::CreateCompatibleBitmap(screen, width, height));
    HDC dc = picture.GetDC();
    ::BitBlt(dc, 0, 0, width, height, from, x, y, SRCCOPY);
    picture.ReleaseDC();
    return picture.Save(GalleryFile(name)) == S_OK;
}
}  // namespace

bool WriteGalleryScreen(HWND window, const std::wstring& name) {
    // Above the known screen's window and wholly on the screen while it is taken.
    RECT place{};
    ::GetWindowRect(window, &place);
    const int width = place.right - place.left, height = place.bottom - place.top;
    const int x = std::max(0, std::min<int>(place.left, ::GetSystemMetrics(SM_CXSCREEN) - width));
    const int y = std::max(0, std::min<int>(place.top, ::GetSystemMetrics(SM_CYSCREEN) - height));
    ::SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    testing_support::PumpMessages(100);
    CClientDC dc(nullptr);
    // What the screen holds of it: a larger window is cut at the screen's edges.
    const bool saved = SaveFrom(dc, x, y, std::min(width, ::GetSystemMetrics(SM_CXSCREEN) - x),
                                std::min(height, ::GetSystemMetrics(SM_CYSCREEN) - y), name);
    ::SetWindowPos(window, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return saved;
}

}  // namespace dpi_test
