#pragma once
// Real mouse input through the system's queue, as a person gives it, for tests that drive
// windows the way a user does; points are in screen coordinates.
#include <windows.h>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <vector>

namespace testing_support {

// Moves the pointer to a screen point (absolute coordinates over the virtual screen, aimed at the
// pixel's centre, so no pointer speed applies and every monitor is reached).
void MoveMouse(POINT screen);
// Sends one mouse event of `flags` (MOUSEEVENTF_LEFTDOWN, ...) where the pointer is.
void SendMouse(DWORD flags);
// Presses or releases the left button where the pointer is.
void MouseButton(bool down);
// Presses or releases the left button at a point: the move and the button are one event, so a
// pointer position that the system echoes late cannot come between them.
void MouseButtonAt(POINT screen, bool down);
// Moves to the point and clicks the left button there.
void Click(POINT screen);
// The centre of a window's rectangle.
POINT CentreOf(HWND hwnd);

// The mouse messages that one thread takes from its queue, seen through a hook on that thread,
// so that input sent from another thread goes out step by step: each step once the window's
// thread has taken the last one (inside whatever loop it runs: a drag, the system's move and size
// loop), however busy the machine is. One at a time in a process.
//   MouseDelivery delivery(window);              // on any thread, while the window lives
//   std::thread([&] { delivery.Press(from); delivery.MoveTo(to); delivery.Release(to); });
class MouseDelivery {
public:
    explicit MouseDelivery(DWORD thread);
    explicit MouseDelivery(HWND window) : MouseDelivery(::GetWindowThreadProcessId(window, nullptr)) {}
    ~MouseDelivery();
    MouseDelivery(const MouseDelivery&) = delete;
    MouseDelivery& operator=(const MouseDelivery&) = delete;

    bool Watching() const { return m_hook != nullptr; }
    // Moves the pointer and waits (up to ten seconds, without pumping: call it from another
    // thread than the window's) until the window's thread takes a move to that point, moving
    // again where a move went astray. False when none came, and soon when the point lies over
    // another thread's window (neither under the point nor holding the capture is this thread's).
    bool MoveTo(POINT screen);
    // Presses the left button at the point (see MouseButtonAt) and waits until the window's
    // thread takes the press; false when the press goes to another thread's window or was not
    // taken within ten seconds.
    bool Press(POINT screen);
    // Releases the left button at the point and waits for nothing (the window may be gone with
    // the press, and its thread no longer pumping); false when it goes to another thread's window.
    bool Release(POINT screen);
    // After a step that was taken: waits until the thread has handled it, that is, has come back
    // to a message loop (its own, or one that a handler entered, such as a drag's) and taken a
    // message posted meanwhile. False when it does not come back within ten seconds.
    bool Settle();

private:
    struct Taken {
        uint64_t serial;
        UINT message;
        POINT at;
    };
    static LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam);
    static UINT Mark();
    bool ComesHere(POINT screen) const;
    uint64_t Serial();
    // Waits for a message taken after `after` that is one of `messages` at `at`.
    bool WaitFor(uint64_t after, std::initializer_list<UINT> messages, POINT at, DWORD milliseconds);

    DWORD m_thread;
    HHOOK m_hook = nullptr;
    std::mutex m_lock;
    std::vector<Taken> m_taken;
    uint64_t m_serial = 0;
};

}  // namespace testing_support
