#pragma once
// Helpers of the frame dialog tests: pictures of known pixels (in memory and as files written
// through GDI+), a window's client area read back, a top-level host for the preview, real mouse
// drags on another thread while this thread runs the modal loops, and modal dialogs driven step
// by step from inside their own loop.
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "CDialog.h"
#include "Canvas.h"
#include "CScreenImage.h"
#include "CWnd.h"
#include "TestInput.h"
#include "TestSupport.h"

namespace framedlg_test {

// The colour the test pictures give pixel (x, y): every pixel of a picture up to 256 x 256 differs.
inline COLORREF Gradient(int x, int y) { return RGB(x & 255, y & 255, 90); }

// Replaces the picture with one of width x height whose pixels come from `colour`.
bool MakePicture(CScreenImage& picture, int width, int height,
                 const std::function<COLORREF(int, int)>& colour = Gradient);
using testing_support::WritePicture;
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// A 32-bit picture in memory whose pixels the test reads; black until something is drawn.
class Canvas : public testing_support::Canvas {
public:
    Canvas(int width, int height) : testing_support::Canvas(width, height, RGB(0, 0, 0)) {}
};

// The client area of a window as it is painted now (after a synchronous repaint).
void ReadClient(HWND hwnd, Canvas& into);

// A plain topmost pop-up window at a screen rectangle, above the test pattern.
class Host : public CWnd {
public:
    explicit Host(const RECT& screen);
    ~Host() override;
};

// Real mouse input through SendInput.
using testing_support::MoveMouse;
using testing_support::SendMouse;

// Drags with the left button from `from` to `to` (screen points) on another thread while this
// thread goes on dispatching (the drag loop runs in this thread). Each step goes out once the
// window's thread has taken the last one from its queue, and the press has given it the capture;
// a drag that does not end is ended with Esc. With `escape` the drag is broken off with Esc at
// `to`, before the button is released.
class MouseDrag {
public:
    MouseDrag(HWND window, POINT from, POINT to, bool escape = false);
    ~MouseDrag();
    bool Finished() const;
    // Pumps this thread's messages until the drag has ended (false if it never did).
    bool Wait();

private:
    struct State;
    State* m_state;
};

// Runs a modal dialog and carries out the steps from a timer of its own loop, one at a time; a
// step that returns false is tried again on the next tick (up to ten seconds). If the steps
// leave the dialog open, it is ended with IDCANCEL. Returns DoModal's result.
using Step = std::function<bool()>;
INT_PTR RunDialog(CDialog& dialog, std::vector<Step> steps);
// A step that always completes.
inline Step Do(std::function<void()> action) {
    return [action] { action(); return true; };
}

// Replaces the edit's text key by key, as typing does.
void TypeChars(HWND edit, const std::wstring& keys);

}  // namespace framedlg_test
