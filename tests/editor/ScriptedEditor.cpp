#include "ScriptedEditor.h"
#include <map>
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
        m_steps[m_next++](*this);
        if (::IsWindow(hwnd) && Running().count(hwnd)) ::SetTimer(hwnd, kStepTimer, 10, &ScriptedEditor::Tick);
        if (!::IsWindow(hwnd)) Running().erase(hwnd);
        return;
    }
    Running().erase(hwnd);
    Command(IDCANCEL);
}

bool ScriptedEditor::RunTextTool(TextItemSettings& settings, std::wstring& text) {
    ++textToolRuns;
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

}  // namespace editor_test
