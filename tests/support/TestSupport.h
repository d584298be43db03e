#pragma once
// Helpers shared by the tests that run under Wine: the known screen that scripts/test paints on
// the virtual display, message boxes answered without a person, and message pumping.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "CImage.h"
#include "MessageBox.h"

namespace testing_support {

// The colour that the test pattern (tests/support/pattern.py) gives screen pixel (x, y).
inline COLORREF PatternColor(int x, int y) {
    int red = x & 255;
    int green = y & 255;
    int blue = ((x >> 8) * 40 + (y >> 8) * 10) & 255;
    return RGB(red, green, blue);
}

// How many pixels of a picture grabbed at screenRect differ from the pattern there (-1 when the
// pixels cannot be read).
int CountPixelsUnlikePattern(const CImage& picture, const RECT& screenRect);

// True when the display shows the test pattern (the window tests may have covered it).
bool ScreenShowsPattern();

// Records every message box and answers it while it lives: with a fixed button, or with what a
// function of the box says (which may also act from inside the box, as a user could).
class MessageBoxRecorder {
public:
    struct Shown {
        std::wstring text;
        std::wstring caption;
        UINT type;
        HWND owner;
    };
    explicit MessageBoxRecorder(int answer = IDOK);
    explicit MessageBoxRecorder(std::function<int(const Shown&)> answer);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<Shown>& Messages() const { return m_messages; }
    std::vector<std::wstring> Texts() const;

private:
    std::vector<Shown> m_messages;
    MessageBoxHandler m_previous;
};

// Dispatches the messages waiting in this thread's queue (for `milliseconds`, at least once).
void PumpMessages(DWORD milliseconds = 0);

// Dispatches this thread's messages until the condition holds or `milliseconds` have passed;
// true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds = 10000);

// Calls a function from inside whatever message loop next dispatches this thread's posted
// messages: the loop of a modal dialog or box opened after it was made. Once only.
class LaterInTheLoop {
public:
    explicit LaterInTheLoop(std::function<void()> call);
    ~LaterInTheLoop();
    LaterInTheLoop(const LaterInTheLoop&) = delete;
    LaterInTheLoop& operator=(const LaterInTheLoop&) = delete;
    bool Called() const { return m_called; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
    std::function<void()> m_call;
    bool m_called = false;
};

// The first visible top-level window of this thread that `match` accepts, or null.
HWND FindOwnWindow(const std::function<bool(HWND)>& match);

// A fresh empty folder under the temporary folder; removed with everything in it by the
// destructor.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

// Writes a picture file by extension through GDI+: the left half `left`, the right half `right`.
bool WritePicture(const std::wstring& path, int width, int height, COLORREF left, COLORREF right);

bool FileExists(const std::wstring& path);
std::vector<std::wstring> ListFiles(const std::wstring& folder);

}  // namespace testing_support
