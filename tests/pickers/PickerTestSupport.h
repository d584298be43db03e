#pragma once
// Helpers of the picker tests: real mouse and keyboard input sent through the system's input
// queue from a thread of its own while a picker's modal loop runs on the test's thread, the
// picker window found on screen, and plain windows of known colour and children to point at.
#include <windows.h>
#include <functional>
#include <memory>
#include <thread>
#include "TestInput.h"
#include <vector>

namespace picker_test {

// Runs `script` on a thread of its own; the destructor waits for it. Should the script leave a
// picker open (a failed step), the picker is cancelled so that the test cannot hang. Made on the
// thread that runs the picker: while the script runs, each of its mouse steps goes out once that
// thread has taken the last one.
class InputScript {
public:
    explicit InputScript(std::function<void()> script);
    ~InputScript();
    InputScript(const InputScript&) = delete;
    InputScript& operator=(const InputScript&) = delete;

private:
    std::unique_ptr<testing_support::MouseDelivery> m_delivery;
    std::thread m_thread;
};

// The visible picker window of this process (a pop-up covering the virtual screen), waiting
// for it to appear; null if none came.
HWND WaitForPicker();
// Waits until the picker window has gone; false if it stayed.
bool WaitForPickerGone();

// Moves the pointer to a screen point (the move reaches the window under it as input does);
// the button goes down or up where the last move went.
void MoveTo(int x, int y);
void PressLeft();
void ReleaseLeft();
void Key(WORD virtualKey);
// Under Wine a picker may get a late echo of an earlier move after a newer one, so a move that
// must have arrived before the next step is repeated until `shown` says the picker showed it.
bool MoveUntil(int x, int y, const std::function<bool()>& shown);
// True when the region picker's white crosshair runs through `p`.
bool CrosshairAt(POINT p);
// Presses at `from`, moves through to `to`, releases there: the press once the picker shows the
// pointer at `from`, the release once it shows the selection reaching `to`. (The picker draws no
// crosshair at its first move: move once before.)
void Drag(POINT from, POINT to);

// Waits until `condition` holds (checking every few milliseconds, at most `seconds`), letting the
// calling thread's windows repaint meanwhile.
bool WaitUntil(const std::function<bool()>& condition, int seconds = 10);

// Waits until the screen shows the known pattern all over `rect`. A picker that has just gone
// leaves its pixels on the display until the windows under it have repainted, and the next
// picker must not freeze those.
bool WaitForPatternAt(const RECT& rect);

// The colour of one screen pixel as the display shows it now.
COLORREF ScreenPixel(int x, int y);

// A colour halved per channel, as the picker dims the screen.
COLORREF Dimmed(COLORREF colour);

// A visible top-level pop-up window of this thread filled with one colour, below topmost
// windows; destroyed with the object. Children are plain static controls of their own colour.
class ColourWindow {
public:
    ColourWindow(const RECT& screenRect, COLORREF colour, HWND parent = nullptr);
    ~ColourWindow();
    ColourWindow(const ColourWindow&) = delete;
    ColourWindow& operator=(const ColourWindow&) = delete;

    HWND Handle() const { return m_hwnd; }
    void SetColour(COLORREF colour);
    RECT ScreenRect() const;

private:
    HWND m_hwnd = nullptr;
};

}  // namespace picker_test
