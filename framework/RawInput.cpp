#include "RawInput.h"

namespace {
// The one place that names the keyboard device and calls RegisterRawInputDevices.
BOOL RegisterKeyboard(HWND target, DWORD flags) {
    RAWINPUTDEVICE keyboard{};
    keyboard.usUsagePage = 1;  // generic desktop
    keyboard.usUsage = 6;      // keyboard
    keyboard.dwFlags = flags;
    keyboard.hwndTarget = target;
    return ::RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard));
}
}  // namespace

BOOL RegisterRawKeyboard(HWND target) {
    return RegisterKeyboard(target, RIDEV_INPUTSINK);
}

BOOL UnregisterRawKeyboard() {
    return RegisterKeyboard(nullptr, RIDEV_REMOVE);
}

BOOL ReadRawInput(HRAWINPUT handle, RAWINPUT* input) {
    *input = RAWINPUT{};
    UINT size = sizeof(*input);
    if (::GetRawInputData(handle, RID_INPUT, input, &size, sizeof(RAWINPUTHEADER)) ==
        static_cast<UINT>(-1)) {
        *input = RAWINPUT{};
        return FALSE;
    }
    return TRUE;
}
