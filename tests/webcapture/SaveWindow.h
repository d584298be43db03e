#pragma once
// Stands in for the main frame in the web capture tests: a hidden window that counts
// WM_SAVE_CAPTURE and notes, at each, the size of the picture it would save and the colour of
// the picture's pixel (10, 10).
#include <windows.h>
#include "CScreenImage.h"
#include "WindowMessages.h"

class SaveWindow {
public:
    SaveWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TovrixTestSaveWindow";
        ::RegisterClassW(&wc);
        hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~SaveWindow() { ::DestroyWindow(hwnd); }
    SaveWindow(const SaveWindow&) = delete;
    SaveWindow& operator=(const SaveWindow&) = delete;

    HWND hwnd = nullptr;
    int saves = 0;
    CScreenImage* picture = nullptr;
    SIZE savedSize{0, 0};
    COLORREF savedCorner = CLR_INVALID;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<SaveWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg == WM_SAVE_CAPTURE && self) {
            ++self->saves;
            if (self->picture) {
                self->savedSize = SIZE{self->picture->GetWidth(), self->picture->GetHeight()};
                self->savedCorner = self->picture->PixelAt(10, 10);
            }
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
};
