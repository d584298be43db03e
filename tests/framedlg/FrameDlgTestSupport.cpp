#include "FrameDlgTestSupport.h"
#include <gtest/gtest.h>
#include <atomic>
#include <cstdio>
#include <thread>
#include "DeviceContext.h"

namespace framedlg_test {

bool MakePicture(CScreenImage& picture, int width, int height,
                 const std::function<COLORREF(int, int)>& colour) {
    Canvas canvas(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) canvas.Set(x, y, colour(x, y));
    if (!picture.CreateBlank(RECT{0, 0, width, height}) || picture.IsNull()) return false;
    HDC dc = picture.GetDC();
    const BOOL copied = ::BitBlt(dc, 0, 0, width, height, canvas.dc(), 0, 0, SRCCOPY);
    picture.ReleaseDC();
    return copied != FALSE;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

void ReadClient(HWND hwnd, Canvas& into) {
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testing_support::PumpMessages();
    CClientDC dc(hwnd);
    ::BitBlt(into.dc(), 0, 0, into.width(), into.height(), dc, 0, 0, SRCCOPY);
}

Host::Host(const RECT& screen) {
    const wchar_t kClass[] = L"TovrixFrameDlgTestHost";
    CWnd::RegisterClass(kClass, 0, nullptr, ::LoadCursorW(nullptr, IDC_ARROW),
                        static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    CreateEx(WS_EX_TOPMOST, kClass, L"frame view host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
             screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top,
             nullptr, nullptr);
    ::SetForegroundWindow(m_hWnd);
    testing_support::PumpMessages(100);
}

Host::~Host() {
    DestroyWindow();
}

namespace {
HWND CaptureOf(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(thread, &info) ? info.hwndCapture : nullptr;
}

// Waits (on the input thread) until the condition holds; false after ten seconds.
bool Await(const std::function<bool()>& condition) {
    for (int i = 0; i < 1000; ++i) {
        if (condition()) return true;
        ::Sleep(10);
    }
    return false;
}
}  // namespace

struct MouseDrag::State {
    explicit State(HWND window) : delivery(window) {}
    testing_support::MouseDelivery delivery;
    std::atomic<bool> finished{false};
    std::thread script;
};

MouseDrag::MouseDrag(HWND window, POINT from, POINT to, bool escape) : m_state(new State(window)) {
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    State* state = m_state;
    state->script = std::thread([=] {
        testing_support::MouseDelivery& delivery = state->delivery;
        delivery.MoveTo(from);
        // Once the press has been handled, a drag has the capture, or none began.
        const bool captured = delivery.Press(from) && delivery.Settle() && CaptureOf(thread) != nullptr;
        if (captured) {
            delivery.MoveTo(POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
            delivery.MoveTo(to);
            if (escape) {
                ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
                Await([&] { return CaptureOf(thread) == nullptr; });
            }
        }
        delivery.Release(to);
        if (!Await([&] { return CaptureOf(thread) == nullptr; }))
            ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        state->finished = true;
    });
}

MouseDrag::~MouseDrag() {
    if (m_state->script.joinable()) m_state->script.join();
    delete m_state;
}

bool MouseDrag::Finished() const {
    return m_state->finished.load();
}

bool MouseDrag::Wait() {
    testing_support::WaitUntil([this] { return Finished(); }, 15000);
    testing_support::PumpMessages(20);
    return Finished();
}

namespace {
struct Runner {
    CDialog* dialog;
    std::vector<Step> steps;
    size_t next = 0;
    int tries = 0;
    UINT_PTR timer = 0;
};
Runner* g_runner = nullptr;

void CALLBACK RunnerTick(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    Runner* runner = g_runner;
    if (!runner || !runner->dialog->m_hWnd) return;
    if (runner->next < runner->steps.size()) {
        // The step may run nested loops (a drag, a message box) that tick again meanwhile.
        runner->timer = 0;
        const size_t index = runner->next;
        const bool done = runner->steps[index]();
        if (g_runner != runner) return;
        if (done || ++runner->tries > 1000) {
            EXPECT_TRUE(done) << "step " << index << " never completed";
            if (runner->next == index) runner->next = index + 1;
            runner->tries = 0;
        }
    } else {
        ::SendMessageW(runner->dialog->m_hWnd, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (g_runner == runner && runner->dialog->m_hWnd && !runner->timer)
        runner->timer = ::SetTimer(nullptr, 0, 10, &RunnerTick);
}
}  // namespace

INT_PTR RunDialog(CDialog& dialog, std::vector<Step> steps) {
    Runner runner{&dialog, std::move(steps)};
    Runner* outer = g_runner;
    g_runner = &runner;
    runner.timer = ::SetTimer(nullptr, 0, 10, &RunnerTick);
    const INT_PTR result = dialog.DoModal();
    if (runner.timer) ::KillTimer(nullptr, runner.timer);
    g_runner = outer;
    EXPECT_EQ(runner.next, runner.steps.size()) << "the dialog ended before every step ran";
    return result;
}

void TypeChars(HWND edit, const std::wstring& keys) {
    for (wchar_t c : keys) ::SendMessageW(edit, WM_CHAR, c, 0);
}

}  // namespace framedlg_test
