#include "TestSupport.h"
#include <shlwapi.h>
#include <atomic>
#include "DeviceContext.h"
#include "GdiObject.h"

namespace testing_support {

bool ScreenShowsPattern() {
    HDC screen = ::GetDC(nullptr);
    bool shows = true;
    const POINT probes[] = {{3, 5}, {300, 100}, {700, 500}, {1000, 700}};
    for (const POINT& p : probes) {
        if (::GetPixel(screen, p.x, p.y) != PatternColor(p.x, p.y)) shows = false;
    }
    ::ReleaseDC(nullptr, screen);
    return shows;
}

int CountPixelsUnlikePattern(const CImage& picture, const RECT& screenRect) {
    PixelBuffer pixels;
    if (!picture.ReadPixels(pixels)) return -1;
    int wrong = 0;
    for (int y = 0; y < picture.GetHeight(); ++y) {
        for (int x = 0; x < picture.GetWidth(); ++x) {
            uint32_t p = pixels.At(x, y);
            COLORREF got = RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
            wrong += got != PatternColor(screenRect.left + x, screenRect.top + y);
        }
    }
    return wrong;
}

MessageBoxRecorder::MessageBoxRecorder(int answer)
    : MessageBoxRecorder([answer](const Shown&) { return answer; }) {}

MessageBoxRecorder::MessageBoxRecorder(std::function<int(const Shown&)> answer) {
    m_previous = SetMessageBoxHandler(
        [this, answer](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
            m_messages.push_back({text, caption, type, owner});
            // A copy: the answer may open further boxes, which append to the list.
            const Shown shown = m_messages.back();
            return answer(shown);
        });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    SetMessageBoxHandler(std::move(m_previous));
}

std::vector<std::wstring> MessageBoxRecorder::Texts() const {
    std::vector<std::wstring> texts;
    for (const Shown& shown : m_messages) texts.push_back(shown.text);
    return texts;
}

void PumpMessages(DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (milliseconds) ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > milliseconds) return false;
        PumpMessages();
        ::Sleep(10);
    }
    return true;
}

namespace {
const UINT kLaterMessage = WM_APP + 51;
const wchar_t kLaterClass[] = L"TovrixTestLaterInTheLoop";
}  // namespace

LaterInTheLoop::LaterInTheLoop(std::function<void()> call) : m_call(std::move(call)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kLaterClass;
    ::RegisterClassW(&wc);  // registered by an earlier one: fine
    m_hwnd = ::CreateWindowExW(0, kLaterClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::PostMessageW(m_hwnd, kLaterMessage, 0, 0);
}

LaterInTheLoop::~LaterInTheLoop() {
    ::DestroyWindow(m_hwnd);
}

LRESULT CALLBACK LaterInTheLoop::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kLaterMessage) {
        auto* self = reinterpret_cast<LaterInTheLoop*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && !self->m_called) {
            self->m_called = true;
            self->m_call();
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

namespace {
struct OwnWindowSearch {
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK MatchOwnWindow(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<OwnWindowSearch*>(data);
    if (!::IsWindowVisible(hwnd) || !(*search->match)(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
}
}  // namespace

HWND FindOwnWindow(const std::function<bool(HWND)>& match) {
    OwnWindowSearch search{&match, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &MatchOwnWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}
}  // namespace

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH];
    DWORD length = ::GetTempPathW(MAX_PATH, temp);
    std::wstring base(temp, length);
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    for (;;) {
        m_path = base + L"\\tovrix-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                 std::to_wstring(counter++);
        if (::CreateDirectoryW(m_path.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() {
    RemoveTree(m_path);
}

bool WritePicture(const std::wstring& path, int width, int height, COLORREF left, COLORREF right) {
    CImage picture;
    {
        CClientDC screen(nullptr);
        picture.Attach(::CreateCompatibleBitmap(screen, width, height));
    }
    if (picture.IsNull()) return false;
    HDC dc = picture.GetDC();
    CBrush leftBrush(left), rightBrush(right);
    RECT leftHalf{0, 0, width / 2, height};
    RECT rightHalf{width / 2, 0, width, height};
    ::FillRect(dc, &leftHalf, leftBrush);
    ::FillRect(dc, &rightHalf, rightBrush);
    picture.ReleaseDC();
    return SUCCEEDED(picture.Save(path));
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> ListFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return names;
}

}  // namespace testing_support
