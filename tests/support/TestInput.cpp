#include "TestInput.h"
#include <algorithm>

namespace testing_support {

namespace {
INPUT AbsoluteMove(POINT screen) {
    // In 1/65536 of the virtual screen; aiming at the pixel's centre lands on the pixel whatever
    // way the system rounds.
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>(((screen.x - left) * 2 + 1) * 65536LL / (2 * width));
    input.mi.dy = static_cast<LONG>(((screen.y - top) * 2 + 1) * 65536LL / (2 * height));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return input;
}

MouseDelivery* g_delivery = nullptr;  // the one watch of the process, for its hook
}  // namespace

void MoveMouse(POINT screen) {
    INPUT input = AbsoluteMove(screen);
    ::SendInput(1, &input, sizeof(INPUT));
}

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(INPUT));
}

void MouseButton(bool down) {
    SendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

void MouseButtonAt(POINT screen, bool down) {
    INPUT input = AbsoluteMove(screen);
    input.mi.dwFlags |= down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof(INPUT));
}

void Click(POINT screen) {
    MoveMouse(screen);
    MouseButtonAt(screen, true);
    MouseButtonAt(screen, false);
}

POINT CentreOf(HWND hwnd) {
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

MouseDelivery::MouseDelivery(DWORD thread) : m_thread(thread) {
    if (g_delivery) return;  // one at a time: Watching() says so
    g_delivery = this;
    m_hook = ::SetWindowsHookExW(WH_GETMESSAGE, &MouseDelivery::OnGetMessage, nullptr, thread);
    if (!m_hook) g_delivery = nullptr;
}

MouseDelivery::~MouseDelivery() {
    if (!m_hook) return;
    ::UnhookWindowsHookEx(m_hook);
    g_delivery = nullptr;
}

LRESULT CALLBACK MouseDelivery::OnGetMessage(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    MouseDelivery* self = g_delivery;
    const bool mouse = (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) ||
                       (msg->message >= WM_NCMOUSEMOVE && msg->message <= WM_NCMBUTTONDBLCLK);
    const bool mark = msg->message == Mark();
    if (self && code == HC_ACTION && wParam == PM_REMOVE && (mouse || mark)) {
        std::lock_guard<std::mutex> hold(self->m_lock);
        self->m_taken.push_back(Taken{++self->m_serial, msg->message, mark ? POINT{0, 0} : msg->pt});
        if (self->m_taken.size() > 256) self->m_taken.erase(self->m_taken.begin(), self->m_taken.begin() + 128);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

uint64_t MouseDelivery::Serial() {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_serial;
}

bool MouseDelivery::WaitFor(uint64_t after, std::initializer_list<UINT> messages, POINT at, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
        {
            std::lock_guard<std::mutex> hold(m_lock);
            for (const Taken& taken : m_taken) {
                if (taken.serial > after && taken.at.x == at.x && taken.at.y == at.y &&
                    std::find(messages.begin(), messages.end(), taken.message) != messages.end())
                    return true;
            }
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
    return false;
}

bool MouseDelivery::ComesHere(POINT screen) const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (::GetGUIThreadInfo(m_thread, &info) && info.hwndCapture) return true;
    HWND under = ::WindowFromPoint(screen);
    return under && ::GetWindowThreadProcessId(under, nullptr) == m_thread;
}

bool MouseDelivery::MoveTo(POINT screen) {
    // A move that went to another window (one that was still in the way) or to the place the
    // pointer already had makes no message here: move again, from next door.
    for (int attempt = 0; attempt < 10; ++attempt) {
        POINT now{};
        if (attempt > 0 || (::GetCursorPos(&now) && now.x == screen.x && now.y == screen.y))
            MoveMouse(POINT{screen.x > 0 ? screen.x - 1 : screen.x + 1, screen.y});
        const uint64_t before = Serial();
        MoveMouse(screen);
        if (!ComesHere(screen)) {
            ::Sleep(100);  // another program's window there, or one of ours still on its way
            continue;
        }
        if (WaitFor(before, {WM_MOUSEMOVE, WM_NCMOUSEMOVE}, screen, 1000)) return true;
    }
    return false;
}

bool MouseDelivery::Press(POINT screen) {
    const uint64_t before = Serial();
    const bool here = ComesHere(screen);
    MouseButtonAt(screen, true);
    return here && WaitFor(before, {WM_LBUTTONDOWN, WM_NCLBUTTONDOWN, WM_LBUTTONDBLCLK, WM_NCLBUTTONDBLCLK},
                           screen, 10000);
}

bool MouseDelivery::Release(POINT screen) {
    const bool here = ComesHere(screen);
    MouseButtonAt(screen, false);
    return here;
}

bool MouseDelivery::Settle() {
    const uint64_t before = Serial();
    if (!::PostThreadMessageW(m_thread, Mark(), 0, 0)) return false;
    return WaitFor(before, {Mark()}, POINT{0, 0}, 10000);
}

UINT MouseDelivery::Mark() {
    static const UINT mark = ::RegisterWindowMessageW(L"TestingSupport.MouseDelivery.Mark");
    return mark;
}

}  // namespace testing_support
