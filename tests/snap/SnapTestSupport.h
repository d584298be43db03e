#pragma once
// The fixed-region frame under test: a script runs inside the frame's own modal loop once the
// frame is on the screen, and further steps can be queued to run inside whatever modal loop
// the frame opens next (the size dialog, the window picker).
#include <windows.h>
#include <functional>
#include <vector>
#include "CSnapDlg.h"

namespace snap_test {

class TestSnapDlg : public CSnapDlg {
public:
    // Runs once the frame is shown.
    std::function<void(TestSnapDlg&)> onShown;
    // Queues `step` to run at the next pumping of this thread's queue: inside a nested modal
    // loop when queued just before something opens one.
    void Later(std::function<void()> step);

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<std::function<void()>> m_steps;
};

// The one window of this thread whose object is of type T, or null.
template <typename T>
T* FindWindowObject();

// The screen rectangle of a window.
RECT WindowRect(HWND window);

}  // namespace snap_test
