// The GIF recorder's recording and saving, through the real recording store. Run under Wine on a
// 1280 x 800 display (bench/record_bench.sh does):
//   record_bench.exe [--scene motion|typing] [seconds, default 20] [fps...] (default 10 30)
//   record_bench.exe --grab       (where one grab's time goes, step by step)
//
// A window of its own thread shows a test scene in an 800 x 600 area in the middle of the screen,
// redrawn whole every 33 ms as another program would: "motion" (the default) moves windows, text
// and a ball all the time, as a video would; "typing" is a still window in which text is typed,
// a caret blinks and a pointer moves now and then. For each frame rate, CGifRecording
// records that area for the given time: its thread asks a frame window of this program (which
// answers WM_GIF_CAPTURE_FRAME as the recorder's frame window does) for a frame in every interval.
// Reported: the capture slots that elapsed against the slots in which a capture was made (missed
// slots), the frames kept, the recording thread's processor time, the grab's time on the
// user-interface thread, the process memory (the working set: Wine counts no private bytes), what
// the store keeps in memory and in its temporary file. Then the frames are written once through
// the encoder with one thread and once with its worker threads (short runs only) and by
// CGifRecording::Save, timed in the same run, and the files compared.
#include <windows.h>
#include <mmsystem.h>
#include <psapi.h>
#include <algorithm>
#include <atomic>
#include <iterator>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <set>
#include <string>
#include <vector>
#include "BenchClock.h"
#include "CGifEncoder.h"
#include "CGifRecording.h"
#include "WindowMessages.h"

namespace {
const RECT kArea{240, 100, 240 + 800, 100 + 600};
const wchar_t kAnimationClass[] = L"TovrixRecordBenchAnimation";
const wchar_t kFrameClass[] = L"TovrixRecordBenchFrame";

double ThreadMilliseconds(HANDLE thread) {
    FILETIME created, exited, kernel, user;
    if (!::GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
        return -1;
    }
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

// The process's committed private memory, or where the system does not count it (Wine reports 0),
// its working set.
double MemoryMegabytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof(counters))) {
        return -1;
    }
    const SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.WorkingSetSize;
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// --- The animation: a desktop-like scene whose windows, ball and counter move with the clock.

bool g_typing = false;

// A still window in which a line of text grows by a letter every 150 ms (a new line every 60
// letters, the page starting again after 20 lines), a caret that blinks every half second, and
// a pointer that moves for two seconds out of every five.
void PaintTyping(HDC dc, int width, int height, double t) {
    RECT all{0, 0, width, height};
    HBRUSH desk = ::CreateSolidBrush(RGB(58, 110, 165));
    ::FillRect(dc, &all, desk);
    ::DeleteObject(desk);
    RECT window{40, 40, width - 40, height - 40};
    ::FillRect(dc, &window, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    RECT bar{40, 40, width - 40, 64};
    HBRUSH title = ::CreateSolidBrush(RGB(0, 84, 166));
    ::FillRect(dc, &bar, title);
    ::DeleteObject(title);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(20, 20, 20));
    static const wchar_t kText[] = L"The quick brown fox jumps over the lazy dog; pack my box with five dozen jugs. ";
    const int letters = static_cast<int>(t / 150.0) % (60 * 20);
    int x = 0;
    for (int line = 0; line * 60 <= letters; ++line) {
        wchar_t text[61];
        const int count = std::min(60, letters - line * 60);
        for (int i = 0; i < count; ++i) text[i] = kText[(line * 60 + i) % (std::size(kText) - 1)];
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, text, count, &extent);
        ::TextOutW(dc, 56, 76 + line * 22, text, count);
        x = 56 + extent.cx;
        if ((line + 1) * 60 > letters && static_cast<int>(t / 500.0) % 2 == 0) {
            RECT caret{x + 1, 76 + line * 22, x + 2, 76 + line * 22 + 18};
            ::FillRect(dc, &caret, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        }
    }
    const double cycle = std::fmod(t, 5000.0);
    const double along = (std::floor(t / 5000.0) + std::min(cycle, 2000.0) / 2000.0) * 0.7;
    const int px = static_cast<int>(width / 2 + (width / 3) * std::sin(along));
    const int py = static_cast<int>(height / 2 + (height / 3) * std::cos(along * 1.3));
    const POINT arrow[] = {{px, py}, {px, py + 17}, {px + 4, py + 13}, {px + 8, py + 20}, {px + 10, py + 19},
                           {px + 7, py + 12}, {px + 12, py + 12}};
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    ::Polygon(dc, arrow, static_cast<int>(std::size(arrow)));
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
}

void PaintScene(HDC dc, int width, int height, double t) {
    if (g_typing) {
        PaintTyping(dc, width, height, t);
        return;
    }
    const int band = 20;
    for (int y = 0; y < height; y += band) {
        const int shade = 40 + (y * 120 / height);
        HBRUSH brush = ::CreateSolidBrush(RGB(shade / 2, shade / 2 + 20, shade + 60));
        RECT row{0, y, width, y + band};
        ::FillRect(dc, &row, brush);
        ::DeleteObject(brush);
    }
    for (int w = 0; w < 3; w++) {
        const int x = static_cast<int>(60 + w * 220 + 120 * std::sin(t / 900.0 + w));
        const int y = static_cast<int>(60 + w * 140 + 80 * std::cos(t / 1300.0 + w * 2));
        RECT window{x, y, x + 300, y + 200};
        HBRUSH body = ::CreateSolidBrush(RGB(240, 240, 236));
        HBRUSH title = ::CreateSolidBrush(RGB(40 + 60 * w, 90, 200 - 50 * w));
        ::FillRect(dc, &window, body);
        RECT bar{x, y, x + 300, y + 24};
        ::FillRect(dc, &bar, title);
        ::DeleteObject(body);
        ::DeleteObject(title);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, RGB(20, 20, 20));
        for (int line = 0; line < 7; line++) {
            wchar_t text[80];
            std::swprintf(text, 80, L"Line %d of window %d, t = %.0f ms", line + 1, w + 1, t);
            ::TextOutW(dc, x + 10, y + 32 + line * 22, text, static_cast<int>(std::wcslen(text)));
        }
    }
    const int bx = static_cast<int>(width / 2 + (width / 2 - 40) * std::sin(t / 400.0));
    const int by = static_cast<int>(height / 2 + (height / 2 - 40) * std::sin(t / 530.0));
    HBRUSH ball = ::CreateSolidBrush(RGB(230, 60, 40));
    HGDIOBJ old = ::SelectObject(dc, ball);
    ::Ellipse(dc, bx - 30, by - 30, bx + 30, by + 30);
    ::SelectObject(dc, old);
    ::DeleteObject(ball);
}

LRESULT CALLBACK AnimationProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = msg == WM_PAINT ? ::BeginPaint(window, &paint) : ::GetDC(window);
        RECT client;
        ::GetClientRect(window, &client);
        HDC memory = ::CreateCompatibleDC(dc);
        HBITMAP bitmap = ::CreateCompatibleBitmap(dc, client.right, client.bottom);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        PaintScene(memory, client.right, client.bottom, Now());
        ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        if (msg == WM_PAINT) {
            ::EndPaint(window, &paint);
        } else {
            ::ReleaseDC(window, dc);
        }
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, msg, wParam, lParam);
    }
}

HWND g_animation = nullptr;
std::atomic<double> g_animationMs{0};  // the animation thread's processor time so far

DWORD WINAPI AnimationThread(LPVOID ready) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = AnimationProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kAnimationClass;
    ::RegisterClassW(&wc);
    g_animation = ::CreateWindowExW(WS_EX_TOPMOST, kAnimationClass, L"Tovrix record bench animation",
                                    WS_POPUP | WS_VISIBLE, kArea.left, kArea.top, kArea.right - kArea.left,
                                    kArea.bottom - kArea.top, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetTimer(g_animation, 1, 33, nullptr);
    ::SetEvent(static_cast<HANDLE>(ready));
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&msg);
        if (msg.message == WM_TIMER) g_animationMs = ThreadMilliseconds(::GetCurrentThread());
    }
    return 0;
}

// --- The frame window: answers capture requests as the recorder's frame window does, and notes
// the slot of every request and the time the grab took.

struct Slots {
    uint32_t start = 0;  // set by the recording thread's first look at the clock
    int interval = 100;
    std::set<uint32_t> attempted;
    int requests = 0;
    double grabMs = 0;
    bool started = false;
    int pauses = 0;
    double threadMs = 0;  // the recording thread's processor time, as it last saw it
    const CGifRecording* recording = nullptr;
};
Slots g_slots;

uint32_t SlotAt(uint32_t now) {
    return static_cast<uint32_t>((now - g_slots.start) / 1000.0 * (1000.0 / g_slots.interval));
}

LRESULT CALLBACK FrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GIF_CAPTURE_FRAME) {
        auto* request = reinterpret_cast<CGifCaptureRequest*>(lParam);
        if (!request) return 0;
        g_slots.attempted.insert(SlotAt(::timeGetTime()));
        g_slots.requests++;
        const double begin = Now();
        request->Fill(wParam, [](CGifFrameImage& frame, const GifCaptureOptions& options) {
            return frame.CaptureArea(kArea, options) != FALSE;
        });
        g_slots.grabMs += Now() - begin;
        return 0;
    }
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

// The recording thread's clock and pause: the first look at the clock starts the slot count, and
// the thread reads its own processor time now and then and at its last pause (reading it costs
// time under Wine, so not at every pause).
uint32_t RecordingClock() {
    if (!g_slots.started) {
        g_slots.started = true;
        g_slots.start = ::timeGetTime();
    }
    return ::timeGetTime();
}

void RecordingWait(uint32_t milliseconds) {
    if (++g_slots.pauses % 50 == 0 || !g_slots.recording->IsRunning()) {
        g_slots.threadMs = ThreadMilliseconds(::GetCurrentThread());
    }
    ::Sleep(milliseconds);
}

void PumpFor(double milliseconds) {
    const double end = Now() + milliseconds;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
        const double left = end - Now();
        if (left <= 0) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
}

std::vector<char> ReadAll(const std::wstring& path) {
    std::vector<char> bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(file);
    return bytes;
}

// The frames through the encoder as the writer calls it, with `threads` threads (0: its default).
bool WriteFrames(CGifRecording& recording, const std::wstring& path, int qualityIndex, int threads) {
    CGifEncoder encoder;
    if (threads > 0) encoder.SetThreadCount(threads);
    if (!encoder.OpenPath(path)) return false;
    encoder.SetLoopCount(0);
    encoder.SetSampleFactor(qualityIndex * 5);
    bool ok = true;
    for (const auto& frame : recording.GetFrames()) {
        encoder.SetFrameDelay(static_cast<int>(frame->delay));
        const GifFrame pixels = recording.RebuildPixels(*frame);
        ok = pixels.pixels && encoder.WriteFrame(pixels) && ok;
    }
    return encoder.Close() && ok;
}

void Run(HWND frameWindow, int fps, double seconds, const std::wstring& folder) {
    const int qualityIndex = 2;  // the recorder's default: sample factor 10
    g_slots = Slots{};
    g_slots.interval = 1000 / fps;
    CGifRecording recording;
    g_slots.recording = &recording;
    recording.SetFrameWindow(frameWindow);
    recording.SetPacing(RecordingClock, RecordingWait);
    GifRecordingSettings settings;
    settings.fps = fps;

    const double memoryBefore = MemoryMegabytes();
    const double uiBefore = ThreadMilliseconds(::GetCurrentThread());
    const double animationBefore = g_animationMs.load();
    if (!recording.Start(settings)) {
        std::printf("fps=%d: the recording did not start\n", fps);
        return;
    }
    PumpFor(seconds * 1000.0);
    const uint32_t stopped = ::timeGetTime();
    recording.Stop();
    const double uiMs = ThreadMilliseconds(::GetCurrentThread()) - uiBefore;
    const double threadMs = g_slots.threadMs;
    const double memoryAfter = MemoryMegabytes();

    const auto& frames = recording.GetFrames();
    const size_t kept = frames.size();
    uint64_t delays = 0;
    for (const auto& frame : frames) delays += frame->delay;
    // Slots that began at least two of the thread's 10 ms polls before the stop.
    const uint32_t elapsedSlots = SlotAt(stopped - 20) + 1;
    const size_t attempted = g_slots.attempted.size();
    const size_t missed = elapsedSlots > attempted ? elapsedSlots - attempted : 0;
    std::printf("record fps=%d interval=%dms seconds=%.1f: slots=%u captured=%zu missed=%zu (%.1f%%) kept=%zu "
                "unchanged=%zu failed grabs=%d shown=%.1fs\n",
                fps, g_slots.interval, (stopped - g_slots.start) / 1000.0, elapsedSlots, attempted, missed,
                100.0 * missed / elapsedSlots, kept, g_slots.requests - kept, recording.GetFailedGrabs(),
                delays / 1000.0);
    std::printf("  recording thread cpu=%.0fms (%.2fms per capture); ui thread cpu=%.0fms, grab %.2fms per capture; "
                "animation cpu=%.0fms\n",
                threadMs, g_slots.requests ? threadMs / g_slots.requests : 0.0, uiMs,
                g_slots.requests ? g_slots.grabMs / g_slots.requests : 0.0, g_animationMs.load() - animationBefore);
    const double minutes = (stopped - g_slots.start) / 60000.0;
    std::printf("  memory at the end %.0fMB (+%.0fMB = %.3fMB per kept frame, %.1fMB per minute; a frame's pixels "
                "%.2fMB); store in memory %.1fMB, in its temporary file %.1fMB (%.1fMB per minute)%s\n",
                memoryAfter, memoryAfter - memoryBefore, kept ? (memoryAfter - memoryBefore) / kept : 0.0,
                minutes > 0 ? (memoryAfter - memoryBefore) / minutes : 0.0,
                (kArea.right - kArea.left) * (kArea.bottom - kArea.top) * 4 / (1024.0 * 1024.0),
                recording.KeptBytes() / (1024.0 * 1024.0), recording.SpilledBytes() / (1024.0 * 1024.0),
                minutes > 0 ? recording.SpilledBytes() / (1024.0 * 1024.0) / minutes : 0.0,
                recording.GetStopReason() == CGifRecording::StoppedDiskFull ? "; STOPPED: the disk is full" : "");
    if (kept == 0) return;

    const std::wstring one = folder + L"\\record-" + std::to_wstring(fps) + L"-one-thread.gif";
    const std::wstring many = folder + L"\\record-" + std::to_wstring(fps) + L"-threads.gif";
    ::DeleteFileW(one.c_str());
    ::DeleteFileW(many.c_str());
    // The encoder alone, with one thread and with its workers, beside Save: for short runs only
    // (a long recording would be written three times).
    const bool compare = kept <= 2000;
    double begin = Now();
    const bool oneOk = !compare || WriteFrames(recording, one, qualityIndex, 1);
    const double oneMs = Now() - begin;
    begin = Now();
    const bool manyOk = !compare || WriteFrames(recording, many, qualityIndex, 0);
    const double manyMs = Now() - begin;

    // Save itself: the same encoder path plus the progress window (made and destroyed once) and
    // the file's temporary name.
    const std::wstring still = folder + L"\\record-" + std::to_wstring(fps) + L".png";
    CGifEncoder probe;
    const int threads = probe.ThreadCount();
    std::wstring saved;
    begin = Now();
    const bool saveOk = recording.Save(nullptr, [&] { return still; }, qualityIndex, &saved) ==
                        CGifRecording::SaveResult::Saved;
    const double saveMs = Now() - begin;
    const std::vector<char> reference = compare ? ReadAll(one) : ReadAll(saved);
    const bool same = oneOk && manyOk && saveOk && !reference.empty() &&
                      (!compare || (reference == ReadAll(many) && reference == ReadAll(saved)));
    if (!compare) {
        std::printf("save fps=%d frames=%zu: Save %.2fs = %.1f frames/s, file %.1fMB, temporary file removed: %s\n",
                    fps, kept, saveMs / 1000.0, kept * 1000.0 / saveMs, reference.size() / (1024.0 * 1024.0),
                    saveOk && recording.SpillPath().empty() ? "yes" : "NO");
        ::DeleteFileW(saved.c_str());
        return;
    }
    std::printf("save fps=%d frames=%zu: encoder 1 thread %.2fs = %.1f frames/s; %d threads %.2fs = %.1f frames/s "
                "(%.2fx); Save %.2fs = %.1f frames/s; same bytes: %s\n",
                fps, kept, oneMs / 1000.0, kept * 1000.0 / oneMs, threads, manyMs / 1000.0, kept * 1000.0 / manyMs,
                oneMs / manyMs, saveMs / 1000.0, kept * 1000.0 / saveMs, same ? "yes" : "NO");
    ::DeleteFileW(one.c_str());
    ::DeleteFileW(many.c_str());
    ::DeleteFileW(saved.c_str());
}

// Where a grab's time goes, step by step, averaged over `count` grabs of the area.
void SplitGrab(int count) {
    const int w = kArea.right - kArea.left, h = kArea.bottom - kArea.top;
    double dcMs = 0, bitmapMs = 0, captureBltMs = 0, plainBltMs = 0, readMs = 0, wholeMs = 0;
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
    for (int i = 0; i < count; i++) {
        double t = Now();
        HDC screen = ::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        dcMs += Now() - t;
        t = Now();
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
        bitmapMs += Now() - t;
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        t = Now();
        ::BitBlt(memory, 0, 0, w, h, screen, kArea.left, kArea.top, SRCCOPY | CAPTUREBLT);
        captureBltMs += Now() - t;
        t = Now();
        ::BitBlt(memory, 0, 0, w, h, screen, kArea.left, kArea.top, SRCCOPY);
        plainBltMs += Now() - t;
        ::SelectObject(memory, old);
        t = Now();
        ::GetBitmapBits(bitmap, static_cast<LONG>(pixels.size()), pixels.data());
        readMs += Now() - t;
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::DeleteDC(screen);
        CGifFrameImage frame;
        t = Now();
        frame.CaptureArea(kArea, GifCaptureOptions{});
        wholeMs += Now() - t;
        PumpFor(30);
    }
    std::printf("grab %dx%d, ms each: display dc %.2f, bitmap %.2f, BitBlt with CAPTUREBLT %.2f, without %.2f, "
                "GetBitmapBits %.2f; CGifFrameImage::CaptureArea %.2f\n",
                w, h, dcMs / count, bitmapMs / count, captureBltMs / count, plainBltMs / count, readMs / count,
                wholeMs / count);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 2 && std::wcscmp(argv[1], L"--scene") == 0) {
        g_typing = std::wcscmp(argv[2], L"typing") == 0;
        argv += 2;
        argc -= 2;
    }
    const bool grabOnly = argc > 1 && std::wcscmp(argv[1], L"--grab") == 0;
    const double seconds = argc > 1 && !grabOnly ? std::wcstod(argv[1], nullptr) : 20.0;
    std::vector<int> rates;
    for (int i = 2; i < argc; i++) rates.push_back(std::wcstol(argv[i], nullptr, 10));
    if (rates.empty()) rates = {10, 30};

    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE animation = ::CreateThread(nullptr, 0, AnimationThread, ready, 0, nullptr);
    ::WaitForSingleObject(ready, 5000);

    WNDCLASSW wc{};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kFrameClass;
    ::RegisterClassW(&wc);
    HWND frameWindow = ::CreateWindowExW(0, kFrameClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                         wc.hInstance, nullptr);
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    std::wstring dir = folder;
    if (!dir.empty() && (dir.back() == L'\\' || dir.back() == L'/')) dir.pop_back();
    PumpFor(1500);  // the animation on the screen

    if (grabOnly) {
        SplitGrab(30);
    } else {
        for (int fps : rates) Run(frameWindow, fps, seconds, dir);
    }

    ::PostMessageW(g_animation, WM_CLOSE, 0, 0);
    ::WaitForSingleObject(animation, 5000);
    ::DestroyWindow(frameWindow);
    return 0;
}
