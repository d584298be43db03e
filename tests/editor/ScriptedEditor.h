#pragma once
// The editor run modally as its callers run it, with a test's steps carried out one by one from
// inside its own message loop. Each step runs from a timer, which the loop dispatches only when
// no input or posted message is waiting, so input that a step sends has been handled by the
// time the next step runs.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "CPresentDlg.h"

namespace editor_test {

class ScriptedEditor : public CPresentDlg {
public:
    using Step = std::function<void(ScriptedEditor&)>;

    // The picture is owned by the test; the editor covers `rect` of the screen.
    ScriptedEditor(CScreenImage& image, const RECT& rect);

    void Then(Step step) { m_steps.push_back(std::move(step)); }
    // Runs the editor with the steps; if the steps do not end it, Cancel does.
    INT_PTR Run();

    // Mouse messages in client coordinates, as the window would receive them.
    void Press(POINT p, UINT flags = MK_LBUTTON);
    void MoveTo(POINT p, UINT flags = MK_LBUTTON);
    void Release(POINT p, UINT flags = 0);
    void Drag(POINT from, POINT to, int steps = 4);
    void Command(UINT id);
    void Key(UINT virtualKey);

    bool UndoEnabled();
    bool RedoEnabled();
    // The kinds of the active items, oldest first.
    std::vector<int> ActiveKinds() const;
    // The window's pixels as shown on the screen now.
    COLORREF ScreenPixel(POINT client);

    // Text the text tool would hand over (empty: the tool is cancelled).
    std::wstring textToolText;
    TextItemSettings textToolSettings;
    int textToolRuns = 0;

protected:
    BOOL OnInitDialog() override;
    bool RunTextTool(TextItemSettings& settings, std::wstring& text) override;

private:
    static void CALLBACK Tick(HWND hwnd, UINT, UINT_PTR id, DWORD);
    void NextStep();

    std::vector<Step> m_steps;
    size_t m_next = 0;
    int m_waitsForForeground = 0;
};

// A blank picture of rect's size in one colour.
void MakePicture(CScreenImage& image, const RECT& rect, COLORREF colour);

// Presses or releases keys through the system's input queue.
void SendKey(WORD virtualKey, bool down);

}  // namespace editor_test
