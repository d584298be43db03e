#include "TrayTestSupport.h"
#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include "GdiObject.h"
#include "TestSupport.h"
#include "resource.h"

namespace tray_test {

RAWINPUT KeyEvent(USHORT virtualKey, UINT message, DWORD type) {
    RAWINPUT input{};
    input.header.dwType = type;
    input.header.dwSize = sizeof(RAWINPUTHEADER) + sizeof(RAWKEYBOARD);
    input.data.keyboard.VKey = virtualKey;
    input.data.keyboard.Message = message;
    input.data.keyboard.Flags = (message == WM_KEYUP || message == WM_SYSKEYUP) ? RI_KEY_BREAK : RI_KEY_MAKE;
    input.data.keyboard.MakeCode = static_cast<USHORT>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    return input;
}

Decoded DecodeFile(const std::wstring& path) {
    Decoded out;
    Gdiplus::Bitmap bitmap(path.c_str());
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return out;
    int width = static_cast<int>(bitmap.GetWidth());
    int height = static_cast<int>(bitmap.GetHeight());
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppRGB, &data) != Gdiplus::Ok)
        return out;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<const UINT32*>(static_cast<const BYTE*>(data.Scan0) +
                                                    static_cast<ptrdiff_t>(y) * data.Stride);
        for (int x = 0; x < width; ++x)
            out.pixels.push_back(RGB((row[x] >> 16) & 255, (row[x] >> 8) & 255, row[x] & 255));
    }
    bitmap.UnlockBits(&data);
    out.width = width;
    out.height = height;
    return out;
}

int MaxChannelDifference(COLORREF a, COLORREF b) {
    int worst = 0;
    for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 255) -
                                         static_cast<int>((b >> shift) & 255)));
    return worst;
}

int WorstDifferenceFromPattern(const Decoded& picture, int left, int top, const RECT& covered) {
    if (picture.pixels.empty()) return 256;
    int worst = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (!::PtInRect(&covered, POINT{left + x, top + y}))
                worst = std::max(worst, MaxChannelDifference(
                                        picture.At(x, y),
                                        testing_support::PatternColor(left + x, top + y)));
    return worst;
}

RECT TrayWindowRect() {
    RECT rect{};
    // Without a tray on the X display, Wine shows the icons in a small window of its own.
    HWND tray = ::FindWindowW(nullptr, L"Wine System Tray");
    if (tray && ::IsWindowVisible(tray)) ::GetWindowRect(tray, &rect);
    return rect;
}

bool WaitForPattern() {
    for (int i = 0; i < 100; ++i) {
        if (testing_support::ScreenShowsPattern()) return true;
        testing_support::PumpMessages(20);
    }
    return false;
}

double MeanDifferenceFromPattern(const Decoded& picture, int left, int top) {
    if (picture.pixels.empty()) return 256;
    double total = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            COLORREF a = picture.At(x, y), b = testing_support::PatternColor(left + x, top + y);
            for (int shift : {0, 8, 16})
                total += std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255));
        }
    }
    return total / (3.0 * picture.width * picture.height);
}

HCURSOR SolidCursor(COLORREF colour, int hotX, int hotY) {
    const int size = 32;
    HDC screen = ::GetDC(nullptr);
    CBitmap colourBits;
    colourBits.CreateCompatibleBitmap(screen, size, size);
    {
        HDC memory = ::CreateCompatibleDC(screen);
        HGDIOBJ old = ::SelectObject(memory, colourBits);
        CBrush brush(colour);
        RECT all{0, 0, size, size};
        ::FillRect(memory, &all, brush);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
    ::ReleaseDC(nullptr, screen);
    // A mask of zeros: every pixel of the colour bitmap is drawn as it is.
    std::vector<BYTE> zeros(size * size / 8, 0);
    CBitmap mask(::CreateBitmap(size, size, 1, 1, zeros.data()));
    ICONINFO info{};
    info.fIcon = FALSE;
    info.xHotspot = static_cast<DWORD>(hotX);
    info.yHotspot = static_cast<DWORD>(hotY);
    info.hbmMask = mask;
    info.hbmColor = colourBits;
    return reinterpret_cast<HCURSOR>(::CreateIconIndirect(&info));
}

namespace {
ModalWatcher* g_watcher = nullptr;

BOOL CALLBACK CollectVisible(HWND window, LPARAM list) {
    if (::IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleThreadWindows() {
    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}
}  // namespace

ModalWatcher::ModalWatcher(std::function<void(HWND)> look) : m_look(std::move(look)) {
    for (HWND window : VisibleThreadWindows()) m_present.insert(window);
    g_watcher = this;
    m_timer = ::SetTimer(nullptr, 0, 30, &ModalWatcher::Tick);
}

ModalWatcher::~ModalWatcher() {
    ::KillTimer(nullptr, m_timer);
    g_watcher = nullptr;
}

void CALLBACK ModalWatcher::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_watcher) g_watcher->Look();
}

void ModalWatcher::Look() {
    for (HWND window : VisibleThreadWindows()) {
        if (m_present.count(window) || m_seen.count(window)) continue;
        m_seen.insert(window);
        m_look(window);
    }
}

CountingDialog::CountingDialog() : CDialog(IDD_TRAY_ABOUT) {}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

}  // namespace tray_test

namespace {
// Wine hides its stand-in tray window when the last icon goes, and waits up to two seconds for
// the display to confirm; one icon of the tests' own keeps the window up between tests.
class TrayKeeper : public testing::Environment {
public:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TrayTestKeeper";
        ::RegisterClassW(&wc);
        m_window = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                     nullptr, wc.hInstance, nullptr);
        m_data.cbSize = sizeof(m_data);
        m_data.hWnd = m_window;
        m_data.uID = 1;
        m_data.uFlags = NIF_ICON;
        m_data.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
        ::Shell_NotifyIconW(NIM_ADD, &m_data);
    }
    void TearDown() override {
        ::Shell_NotifyIconW(NIM_DELETE, &m_data);
        ::DestroyWindow(m_window);
    }

private:
    HWND m_window = nullptr;
    NOTIFYICONDATAW m_data{};
};

testing::Environment* const g_keeper = testing::AddGlobalTestEnvironment(new TrayKeeper);
}  // namespace
