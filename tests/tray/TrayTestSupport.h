#pragma once
// Helpers of the tray tests: made-up raw keyboard events, pictures decoded back from files, a
// cursor of known shape, and a watcher that looks at (and closes) the modal windows a command
// opens, from inside their own message loops.
#include <windows.h>
#include <functional>
#include <set>
#include <string>
#include <vector>
#include "CDialog.h"

namespace tray_test {

// A raw-input record as the system would hand it over for one keyboard event.
RAWINPUT KeyEvent(USHORT virtualKey, UINT message, DWORD type = RIM_TYPEKEYBOARD);

// The pixels of a picture file as COLORREFs, rows from the top; empty when it cannot be decoded.
struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Decoded DecodeFile(const std::wstring& path);

int MaxChannelDifference(COLORREF a, COLORREF b);

// The largest channel difference between a decoded picture and the known screen at (left, top),
// leaving out the screen rectangle `covered` (the shell's tray window, for example).
int WorstDifferenceFromPattern(const Decoded& picture, int left, int top, const RECT& covered = RECT{});

// Where the shell's own tray window covers the screen (empty when it shows no window).
RECT TrayWindowRect();

// Waits (dispatching messages) until the known screen shows again after a window went away.
bool WaitForPattern();
// The mean channel difference, for lossy formats whose worst pixel says little.
double MeanDifferenceFromPattern(const Decoded& picture, int left, int top);

// A 32 x 32 colour cursor filled with one colour, with its hot spot where asked.
HCURSOR SolidCursor(COLORREF colour, int hotX, int hotY);

// Calls `look` once for every visible top-level window of this thread that appears while it
// lives (a dialog box, a message box, a popup menu), from a timer that the window's own modal
// loop dispatches. `look` must close the window.
class ModalWatcher {
public:
    explicit ModalWatcher(std::function<void(HWND)> look);
    ~ModalWatcher();
    ModalWatcher(const ModalWatcher&) = delete;
    ModalWatcher& operator=(const ModalWatcher&) = delete;

    int Seen() const { return static_cast<int>(m_seen.size()); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Look();

    std::function<void(HWND)> m_look;
    std::set<HWND> m_seen;
    std::set<HWND> m_present;  // visible before the watcher started: not ours to close
    UINT_PTR m_timer = 0;
};

// A dialog standing in for the settings dialog, counting how often it is run.
class CountingDialog : public CDialog {
public:
    CountingDialog();
    INT_PTR DoModal() override {
        ++runs;
        return CDialog::DoModal();
    }
    int runs = 0;
};

std::wstring ClassName(HWND window);
std::wstring WindowText(HWND window);

}  // namespace tray_test
