// Timings of the on-screen pickers on the display it runs on (bench/picker_bench.sh runs it on a
// one-monitor and a two-monitor session): the capture key's release until the picker is painted,
// broken into its steps (the grab, the copy into the second picture, the dimming pass, the window
// up to its first paint), beside one plain grab of the same size; and the window picker's work
// when the pointer crosses into another window (highlight repainted) or moves within one.
//   picker_bench.exe [runs, default 10]
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>
#include "BenchClock.h"
#include "CCutControl.h"
#include "CCutRegion.h"
#include "CMonitors.h"
#include "PickerScreens.h"

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

void Report(const char* label, const std::vector<double>& values) {
    double low = *std::min_element(values.begin(), values.end());
    double high = *std::max_element(values.begin(), values.end());
    std::printf("  %-44s median %8.2f ms   min %8.2f   max %8.2f\n", label, Median(values), low, high);
}

std::vector<double> Repeat(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        work();
        times.push_back(Now() - start);
    }
    return times;
}

// The region picker with clocks at its window's creation and after its first paint; it closes
// itself once painted.
class TimedCutRegion : public CCutRegion {
public:
    double created = 0, painted = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_INITDIALOG) created = Now();
        LRESULT result = CCutRegion::WindowProc(msg, wParam, lParam);
        if (msg == WM_PAINT && painted == 0) {
            ::GdiFlush();
            painted = Now();
            EndDialog(IDCANCEL);
        }
        return result;
    }
};

// The window picker, measuring once painted: pointer moves sent to it alternately over two
// windows (each a new highlight) and then within one window (nothing to redraw).
class TimedCutControl : public CCutControl {
public:
    POINT first{}, second{};
    int runs = 10;
    std::vector<double> crossing, within;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = CCutControl::WindowProc(msg, wParam, lParam);
        if (msg == WM_PAINT && !measured) {
            measured = true;
            PostMessage(WM_APP);
        } else if (msg == WM_APP) {
            Measure();
            EndDialog(IDCANCEL);
        }
        return result;
    }

private:
    LPARAM At(POINT p) const {
        return MAKELPARAM(p.x - GetScreenRect().left, p.y - GetScreenRect().top);
    }
    void Measure() {
        SendMessage(WM_MOUSEMOVE, 0, At(second));
        for (int i = 0; i < runs; ++i) {
            POINT target = i % 2 ? second : first;
            double start = Now();
            SendMessage(WM_MOUSEMOVE, 0, At(target));
            ::GdiFlush();
            crossing.push_back(Now() - start);
        }
        for (int i = 0; i < runs; ++i) {
            POINT target{second.x + (i % 2 ? 5 : -5), second.y + i};
            double start = Now();
            SendMessage(WM_MOUSEMOVE, 0, At(target));
            ::GdiFlush();
            within.push_back(Now() - start);
        }
    }
    bool measured = false;
};

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) {
        RECT r;
        ::GetClientRect(hwnd, &r);
        ::FillRect(reinterpret_cast<HDC>(wParam), &r,
                   reinterpret_cast<HBRUSH>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
        return 1;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND PlainWindow(const RECT& r, COLORREF colour) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PickerBenchWindow";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance,
                                  nullptr);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(::CreateSolidBrush(colour)));
    ::InvalidateRect(hwnd, nullptr, TRUE);
    ::UpdateWindow(hwnd);
    return hwnd;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ::SetProcessDPIAware();
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 10;
    RECT screen;
    GetVirtualScreenRect(screen);
    std::printf("virtual screen %ld x %ld, %d runs each\n", screen.right - screen.left,
                screen.bottom - screen.top, runs);

    // The steps one at a time.
    CScreenImage bright, dark;
    auto grab = Repeat(runs, [&] { bright.CaptureRect(screen); });
    auto copy = Repeat(runs, [&] {
        RECT size{0, 0, bright.GetWidth(), bright.GetHeight()};
        dark.CreateBlank(size);
        HDC to = dark.GetDC();
        bright.BitBlt(to, 0, 0, SRCCOPY);
        dark.ReleaseDC();
    });
    auto dim = Repeat(runs, [&] { DimPixels(dark); });
    auto prepare = Repeat(runs, [&] { PrepareScreens(screen, dark, bright); });

    // Key release to painted picker: DoModal from its start to the end of the first paint.
    std::vector<double> toWindow, toPaint, total;
    for (int i = 0; i < runs; ++i) {
        TimedCutRegion picker;
        double start = Now();
        picker.DoModal();
        toWindow.push_back(picker.created - start);
        toPaint.push_back(picker.painted - picker.created);
        total.push_back(picker.painted - start);
    }

    std::printf("key release to region picker painted:\n");
    Report("one plain grab of the virtual screen", grab);
    Report("step: grab", grab);
    Report("step: copy into the second picture", copy);
    Report("step: dimming pass", dim);
    Report("screens prepared (grab + copy + dim)", prepare);
    Report("DoModal start to window created", toWindow);
    Report("window created to first paint done", toPaint);
    Report("total: key release to picker painted", total);
    const double whole = Median(total);
    std::printf("  shares of the total: grab %.0f%%, copy %.0f%%, dimming %.0f%%, window and first paint %.0f%%;"
                " total = %.2f x one grab\n",
                100 * Median(grab) / whole, 100 * Median(copy) / whole, 100 * Median(dim) / whole,
                100 * (whole - Median(prepare)) / whole, whole / Median(grab));
    std::printf("  two grabs instead of grab + copy would cost %.2f ms more per opening\n",
                Median(grab) - Median(copy));

    // The window picker over two windows side by side on the primary monitor.
    HWND left = PlainWindow(RECT{200, 200, 500, 500}, RGB(0, 0, 200));
    HWND right = PlainWindow(RECT{520, 200, 820, 500}, RGB(0, 160, 0));
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    TimedCutControl control;
    control.first = POINT{300, 300};
    control.second = POINT{700, 300};
    control.runs = runs;
    control.DoModal();
    std::printf("window picker, pointer moves:\n");
    Report("into another window (highlight repainted)", control.crossing);
    Report("within one window (nothing repainted)", control.within);
    ::DestroyWindow(left);
    ::DestroyWindow(right);
    return 0;
}
