#include "ScriptedEditor.h"
#include <commdlg.h>
#include <colordlg.h>
#include <algorithm>
#include <map>
#include <string>
#include "Dib.h"
#include "resource.h"

namespace editor_test {

namespace {
std::map<HWND, ScriptedEditor*>& Running() {
    static std::map<HWND, ScriptedEditor*> editors;
    return editors;
}
const UINT_PTR kStepTimer = 0x5151;
}  // namespace

ScriptedEditor::ScriptedEditor(CScreenImage& image, const RECT& rect) {
    captureRect = rect;
    picture = &image;
}

INT_PTR ScriptedEditor::Run() {
    m_next = 0;
    m_endedByRunner = false;
    return DoModal();
}

BOOL ScriptedEditor::OnInitDialog() {
    BOOL result = CPresentDlg::OnInitDialog();
    Running()[m_hWnd] = this;
    ::SetTimer(m_hWnd, kStepTimer, 10, &ScriptedEditor::Tick);
    return result;
}

void CALLBACK ScriptedEditor::Tick(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hwnd, id);
    auto it = Running().find(hwnd);
    if (it != Running().end()) it->second->NextStep();
}

void ScriptedEditor::NextStep() {
    HWND hwnd = m_hWnd;
    // Keys sent through the input queue go to the foreground window: the steps wait until the
    // system has made the editor that window (or give up and let the steps show what fails).
    if (m_next == 0 && m_waitsForForeground < 500 &&
        (::GetForegroundWindow() != hwnd || ::GetFocus() != hwnd)) {
        ++m_waitsForForeground;
        ::SetForegroundWindow(hwnd);
        ::SetFocus(hwnd);
        ::SetTimer(hwnd, kStepTimer, 10, &ScriptedEditor::Tick);
        return;
    }
    if (m_next < m_steps.size()) {
        Scripted& scripted = m_steps[m_next];
        if (scripted.condition && !scripted.condition(*this) && ++m_looks < 500) {
            ::SetTimer(hwnd, kStepTimer, 10, &ScriptedEditor::Tick);
            return;
        }
        m_looks = 0;
        ++m_next;
        scripted.step(*this);
        if (::IsWindow(hwnd) && Running().count(hwnd)) ::SetTimer(hwnd, kStepTimer, 10, &ScriptedEditor::Tick);
        if (!::IsWindow(hwnd)) Running().erase(hwnd);
        return;
    }
    Running().erase(hwnd);
    m_endedByRunner = true;
    Command(IDCANCEL);
}

bool ScriptedEditor::RunTextTool(TextItemSettings& settings, std::wstring& text) {
    ++textToolRuns;
    if (realTextTool) return CPresentDlg::RunTextTool(settings, text);
    if (textToolText.empty()) return false;
    settings = textToolSettings;
    text = textToolText;
    return true;
}

void ScriptedEditor::Press(POINT p, UINT flags) {
    SendMessage(WM_LBUTTONDOWN, flags, MAKELPARAM(p.x, p.y));
}

void ScriptedEditor::MoveTo(POINT p, UINT flags) {
    SendMessage(WM_MOUSEMOVE, flags, MAKELPARAM(p.x, p.y));
}

void ScriptedEditor::Release(POINT p, UINT flags) {
    SendMessage(WM_LBUTTONUP, flags, MAKELPARAM(p.x, p.y));
}

void ScriptedEditor::Drag(POINT from, POINT to, int steps) {
    Press(from);
    for (int i = 1; i <= steps; ++i)
        MoveTo(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    Release(to);
}

void ScriptedEditor::Command(UINT id) {
    SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void ScriptedEditor::Key(UINT virtualKey) {
    SendMessage(WM_KEYDOWN, virtualKey, 0);
}

bool ScriptedEditor::UndoEnabled() {
    return GetPenToolbar() && ::IsWindowEnabled(GetPenToolbar()->GetDlgItem(ID_EDITOR_UNDO));
}

bool ScriptedEditor::RedoEnabled() {
    return GetPenToolbar() && ::IsWindowEnabled(GetPenToolbar()->GetDlgItem(ID_EDITOR_REDO));
}

std::vector<int> ScriptedEditor::ActiveKinds() const {
    std::vector<int> kinds;
    GetItems().ForEachActive([&](const CVectorData& item) { kinds.push_back(item.kind); });
    return kinds;
}

COLORREF ScriptedEditor::ScreenPixel(POINT client) {
    ::ClientToScreen(m_hWnd, &client);
    HDC screen = ::GetDC(nullptr);
    COLORREF colour = ::GetPixel(screen, client.x, client.y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

void MakePicture(CScreenImage& image, const RECT& rect, COLORREF colour) {
    image.CreateBlank(rect);
    HDC dc = image.GetDC();
    HBRUSH brush = ::CreateSolidBrush(colour);
    RECT all{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    ::FillRect(dc, &all, brush);
    ::DeleteObject(brush);
    image.ReleaseDC();
}

void SendKey(WORD virtualKey, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof(input));
}

namespace {
// The pixels of a bitmap drawn by `draw` onto a fresh 32-bit picture of width x height.
template <typename Draw>
std::vector<uint32_t> Capture(int width, int height, Draw draw) {
    std::vector<uint32_t> out;
    if (width <= 0 || height <= 0) return out;
    BITMAPINFO info = TopDownDib32(width, height);
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib || !bits) return out;
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = ::SelectObject(memory, dib);
    draw(memory);
    ::GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    out.assign(pixels, pixels + static_cast<size_t>(width) * height);
    for (uint32_t& p : out) p &= 0x00FFFFFF;
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::DeleteObject(dib);
    return out;
}
}  // namespace

std::vector<uint32_t> ScreenPixels(const RECT& screen) {
    const int width = screen.right - screen.left, height = screen.bottom - screen.top;
    return Capture(width, height, [&](HDC memory) {
        HDC desktop = ::GetDC(nullptr);
        ::BitBlt(memory, 0, 0, width, height, desktop, screen.left, screen.top, SRCCOPY);
        ::ReleaseDC(nullptr, desktop);
    });
}

std::vector<uint32_t> BitmapFrame(UINT id, int frames, int index, SIZE* size) {
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                       IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info) || frames <= 0) {
        if (bitmap) ::DeleteObject(bitmap);
        *size = SIZE{0, 0};
        return {};
    }
    *size = SIZE{info.bmWidth / frames, info.bmHeight};
    std::vector<uint32_t> out = Capture(size->cx, size->cy, [&](HDC memory) {
        HDC source = ::CreateCompatibleDC(nullptr);
        HGDIOBJ previous = ::SelectObject(source, bitmap);
        ::BitBlt(memory, 0, 0, size->cx, size->cy, source, index * size->cx, 0, SRCCOPY);
        ::SelectObject(source, previous);
        ::DeleteDC(source);
    });
    ::DeleteObject(bitmap);
    return out;
}

size_t CountDifferent(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    if (a.size() != b.size()) return std::max(a.size(), b.size());
    size_t count = 0;
    for (size_t i = 0; i < a.size(); ++i)
        if ((a[i] & 0x00FFFFFF) != (b[i] & 0x00FFFFFF)) ++count;
    return count;
}

namespace {
struct WindowSearch {
    const wchar_t* caption;
    const wchar_t* className;
    HWND found;
};
BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    if (!::IsWindowVisible(hwnd)) return TRUE;
    wchar_t text[128] = {};
    if (search->caption) {
        ::GetWindowTextW(hwnd, text, 128);
        if (std::wstring(text) != search->caption) return TRUE;
    }
    if (search->className) {
        ::GetClassNameW(hwnd, text, 128);
        if (std::wstring(text) != search->className) return TRUE;
    }
    search->found = hwnd;
    return FALSE;
}

// The program's own dialogs are #32770 too; the common ones have no C++ object behind them.
BOOL CALLBACK MatchCommonDialog(HWND hwnd, LPARAM lParam) {
    if (CWnd::FromHandle(hwnd)) return TRUE;
    return MatchWindow(hwnd, lParam);
}
}  // namespace

HWND FindThreadWindow(const wchar_t* caption) {
    WindowSearch search{caption, nullptr, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindCommonDialog() {
    WindowSearch search{nullptr, L"#32770", nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &MatchCommonDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void AnswerColourDialog(COLORREF colour, WPARAM button) {
    HWND dialog = FindCommonDialog();
    if (!dialog) return;
    static const UINT setRgb = ::RegisterWindowMessageW(SETRGBSTRINGW);
    ::SendMessageW(dialog, setRgb, 0, colour);
    // Typed into the red, green and blue fields as well, which every version of the dialog
    // follows.
    ::SetDlgItemInt(dialog, COLOR_RED, GetRValue(colour), FALSE);
    ::SetDlgItemInt(dialog, COLOR_GREEN, GetGValue(colour), FALSE);
    ::SetDlgItemInt(dialog, COLOR_BLUE, GetBValue(colour), FALSE);
    ::PostMessageW(dialog, WM_COMMAND, button, 0);
}

}  // namespace editor_test
