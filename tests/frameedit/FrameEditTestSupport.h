#pragma once
// What the frame editor tests share: a recording store of frames of one colour each, the real
// editor dialog opened over it (modeless, so the test drives it between messages), its labels,
// items and selection read back, and modal helper dialogs answered as they appear.
#include <windows.h>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "CGifFrameEditDlg.h"
#include "CGifRecording.h"
#include "TestSupport.h"

namespace frameedit_testing {

// A frame of one colour put straight into the store.
struct SolidFrame {
    int width;
    int height;
    COLORREF colour;
    uint32_t delay;
};

// True when two colours are within `tolerance` in every channel (the GIF's palette is learnt).
bool Near(COLORREF a, COLORREF b, int tolerance = 12);

// Writes a picture of one colour as a PNG file.
bool WritePicture(const std::wstring& path, int width, int height, COLORREF colour);

class FrameEditor : public ::testing::Test {
protected:
    void TearDown() override;

    void AddFrames(const std::vector<SolidFrame>& frames);
    // Opens the editor over the store; the GIF "저장" writes goes into `folder`.
    void Open();
    HWND Item(int id) const { return dialog->GetDlgItem(id); }
    std::wstring Label(int id) const { return dialog->GetDlgItemText(id); }
    // A click on one of the dialog's buttons, as the button reports it.
    void Click(int id);
    // A command of the context menu.
    void Command(UINT id);
    // The list's item texts, in order.
    std::vector<std::wstring> ItemTexts() const;
    std::vector<int> Selected() const;
    void Select(const std::vector<int>& indexes);
    // The frames of the store as pointers, in order (frames keep their identity when moved).
    std::vector<GifStoredFrame*> Order() const;
    std::vector<uint32_t> Delays() const;
    // The colour of a frame's centre pixel.
    COLORREF FrameColour(size_t index) const;
    // The size of frame `index`'s picture, and one of its pixels, rebuilt from the store.
    SIZE Size(size_t index) const { return store.PictureSize(*store.GetFrames()[index]); }
    COLORREF Pixel(size_t index, int x, int y) const;
    std::vector<COLORREF> Colours() const;
    // The preview's pixel at a client point of it.
    COLORREF PreviewPixel(int x, int y) const;
    // Checks that the strip shows one thumbnail per frame, item data pointing at the frame, and
    // that `current` is what the editor shows.
    void ExpectStripMatchesStore() const;

    CGifRecording store;
    testing_support::TempFolder folder;
    std::unique_ptr<CGifFrameEditDlg> dialog;
};

// Answers the modal dialogs that this thread shows, one after the other: each answer waits for a
// visible top-level window that it matches and then acts on it (posting, never waiting).
class DialogAnswers {
public:
    struct Answer {
        std::function<bool(HWND)> matches;
        std::function<void(HWND)> act;
    };
    explicit DialogAnswers(std::vector<Answer> answers);
    ~DialogAnswers();
    DialogAnswers(const DialogAnswers&) = delete;
    DialogAnswers& operator=(const DialogAnswers&) = delete;
    size_t Given() const { return m_given; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK Look(HWND hwnd, LPARAM);
    std::vector<Answer> m_answers;
    size_t m_given = 0;
    UINT_PTR m_timer = 0;
};

// Answers for the open-file dialog: goes to `folder`, then chooses `names` (typed as the user
// types several names: each in quotes).
std::vector<DialogAnswers::Answer> ChooseFiles(const std::wstring& folder, const std::vector<std::wstring>& names);
// Cancels the open-file dialog.
DialogAnswers::Answer CancelFiles();
// Presses the insert query's button for `mode`, or closes it.
DialogAnswers::Answer ChooseInsertMode(int mode);
DialogAnswers::Answer CancelInsertMode();
// Types `text` into the delay dialog and presses its OK.
DialogAnswers::Answer EnterDelay(const std::wstring& text);
// Presses "실행" of the crop dialog.
DialogAnswers::Answer RunCrop();

// A dialog (class #32770) that holds a control with this id.
bool IsDialogWith(HWND hwnd, int controlId);

}  // namespace frameedit_testing
