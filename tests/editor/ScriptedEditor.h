#pragma once
// The editor run modally as its callers run it, with a test's steps carried out one by one from
// inside its own message loop. Each step runs from a timer, which the loop dispatches only when
// no input or posted message is waiting, so input that a step sends has been handled by the
// time the next step runs.
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "CPresentDlg.h"
#include "TestInput.h"

namespace editor_test {

class ScriptedEditor : public CPresentDlg {
public:
    using Step = std::function<void(ScriptedEditor&)>;

    // The picture is owned by the test; the editor covers `rect` of the screen.
    ScriptedEditor(CScreenImage& image, const RECT& rect);

    void Then(Step step) { m_steps.push_back({std::move(step), nullptr}); }
    // A step that waits until something the system does by itself has happened (a hover
    // notification, a dialog opening): it runs once the condition holds, or after a few
    // hundred looks, so that its checks show what did not happen.
    void ThenWhen(std::function<bool(ScriptedEditor&)> condition, Step step) {
        m_steps.push_back({std::move(step), std::move(condition)});
    }
    // Runs the editor with the steps; if the steps do not end it, Cancel does.
    INT_PTR Run();
    // True when the last run ended by that Cancel of the runner's, not by the editor or a step.
    bool EndedByRunner() const { return m_endedByRunner; }

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

    // The real text tool runs when set; otherwise the tool hands over textToolText (empty: the
    // tool is cancelled).
    bool realTextTool = false;
    std::wstring textToolText;
    TextItemSettings textToolSettings;
    int textToolRuns = 0;

protected:
    BOOL OnInitDialog() override;
    bool RunTextTool(TextItemSettings& settings, std::wstring& text) override;

private:
    static void CALLBACK Tick(HWND hwnd, UINT, UINT_PTR id, DWORD);
    void NextStep();

    struct Scripted {
        Step step;
        std::function<bool(ScriptedEditor&)> condition;
    };
    std::vector<Scripted> m_steps;
    size_t m_next = 0;
    int m_looks = 0;
    int m_waitsForForeground = 0;
    bool m_endedByRunner = false;
};

// A blank picture of rect's size in one colour.
void MakePicture(CScreenImage& image, const RECT& rect, COLORREF colour);

// Presses or releases keys through the system's input queue.
void SendKey(WORD virtualKey, bool down);

// The mouse through the system's input queue, in screen coordinates.
using testing_support::CentreOf;
using testing_support::Click;
using testing_support::MouseButton;
using testing_support::MouseButtonAt;
using testing_support::MoveMouse;

// What the screen shows in a rectangle, as 0x00RRGGBB words, rows from the top.
std::vector<uint32_t> ScreenPixels(const RECT& screen);
// Frame `index` of a bitmap resource cut into `frames` equal frames side by side, loaded as the
// skinned buttons load it (system 3-D colours mapped), as 0x00RRGGBB words.
std::vector<uint32_t> BitmapFrame(UINT id, int frames, int index, SIZE* size);
// How many pixels of two pictures of the same size differ (all of them when the sizes differ).
size_t CountDifferent(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b);
// The visible window of this thread with this caption, or null.
HWND FindThreadWindow(const wchar_t* caption);
// The visible common dialog (colour or font chooser) of this thread, or null.
HWND FindCommonDialog();
// Gives the open colour dialog a colour, the dialog's own way (what a hook procedure would
// use), and presses a button of it.
void AnswerColourDialog(COLORREF colour, WPARAM button);

}  // namespace editor_test
