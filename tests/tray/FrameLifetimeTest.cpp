// A heap-owned frame that is destroyed from inside one of its own handlers (Exit, WM_CLOSE)
// deletes itself on its last message; the dispatch that is still running further up the stack
// must not write into the freed object.
#include <gtest/gtest.h>
#include <cstring>
#include <new>
#include <vector>
#include "CFrameWnd.h"
#include "CMainFrame.h"
#include "TestSupport.h"
#include "TrayTestSupport.h"

namespace {

const unsigned char kFreedByte = 0xA5;

// Keeps the memory of every deleted frame, filled with a marker, so that a later write into it
// shows up instead of going unnoticed.
struct KeptMemory {
    void* block;
    size_t size;
};
std::vector<KeptMemory>& Kept() {
    static std::vector<KeptMemory> kept;
    return kept;
}

class SelfClosingFrame : public CFrameWnd {
public:
    static void* operator new(size_t size) { return ::operator new(size); }
    static void operator delete(void* block, size_t size) {
        std::memset(block, kFreedByte, size);
        Kept().push_back({block, size});
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        if (LOWORD(wParam) == 1) DestroyWindow();  // destroyed while this command is dispatched
        return TRUE;
    }
};

bool StillMarked(const KeptMemory& memory) {
    auto* bytes = static_cast<const unsigned char*>(memory.block);
    for (size_t i = 0; i < memory.size; ++i)
        if (bytes[i] != kFreedByte) return false;
    return true;
}

TEST(FrameLifetime, FrameDestroyedByItsOwnHandlerIsNotTouchedAfterDeletingItself) {
    for (UINT closing : {static_cast<UINT>(WM_COMMAND), static_cast<UINT>(WM_CLOSE)}) {
        Kept().clear();
        auto* frame = new SelfClosingFrame;
        ASSERT_TRUE(frame->Create(L"closing", WS_OVERLAPPEDWINDOW));
        HWND hwnd = frame->m_hWnd;
        ::SendMessageW(hwnd, closing, 1, 0);
        EXPECT_FALSE(::IsWindow(hwnd));
        ASSERT_EQ(Kept().size(), 1u) << "the frame did not delete itself";
        EXPECT_TRUE(StillMarked(Kept()[0])) << "the freed frame was written to after deletion";
        ::operator delete(Kept()[0].block);
    }
    Kept().clear();
}

// The main frame destroyed from inside the capture pipeline's nested loops: Exit chosen from the
// tray while the "Error" box, a picker or the editor is open posts WM_CLOSE, which that loop
// dispatches. When the loop returns, the pipeline must not touch the freed frame.
class ExitingFrame : public CMainFrame {
public:
    enum class ExitDuring { Picker, Editor, ErrorBox };
    ExitingFrame(const CaptureSettings& settings, std::function<std::wstring()> naming, ExitDuring when)
        : CMainFrame(settings, std::move(naming), nullptr), m_when(when) {}
    static void* operator new(size_t size) { return ::operator new(size); }
    static void operator delete(void* block, size_t size) {
        std::memset(block, kFreedByte, size);
        Kept().push_back({block, size});
    }
    // The loop of a box or dialog: Exit is chosen, and its WM_CLOSE is dispatched there.
    static void ExitFromNestedLoop(HWND frame) {
        ::PostMessageW(frame, WM_CLOSE, 0, 0);
        testing_support::PumpMessages();
    }

protected:
    bool RunAreaPicker(int, RECT& rect) override {
        rect = RECT{0, 0, 40, 30};
        if (m_when == ExitDuring::Picker) ExitFromNestedLoop(m_hWnd);
        return true;
    }
    bool RunEditor(const RECT&) override {
        if (m_when == ExitDuring::Editor) ExitFromNestedLoop(m_hWnd);
        return true;
    }

private:
    ExitDuring m_when;
};

TEST(FrameLifetime, ExitDuringACapturesNestedLoopLeavesTheFreedFrameUntouched) {
    testing_support::TempFolder folder;
    using When = ExitingFrame::ExitDuring;
    for (When when : {When::Picker, When::Editor, When::ErrorBox}) {
        Kept().clear();
        CaptureSettings settings;
        settings.area = when == When::Picker ? AreaRegionAtCapture : AreaFixedRect;
        settings.areaRect = RECT{10, 10, 50, 40};
        settings.checkEdit = when == When::Editor;
        settings.shutter = 0;
        // The error box comes from a save into a folder that is not there.
        settings.saveFolder = when == When::ErrorBox ? folder.File(L"gone") : folder.Path();
        int named = 0;
        auto naming = [&] { return settings.saveFolder + L"\\shot" + std::to_wstring(++named) + L".png"; };
        auto* frame = new ExitingFrame(settings, naming, when);
        ASSERT_TRUE(frame->CreateHidden());
        HWND hwnd = frame->m_hWnd;
        int boxes = 0;
        auto previous = SetMessageBoxHandler([&](HWND, const std::wstring&, const std::wstring&, UINT) {
            ++boxes;
            ExitingFrame::ExitFromNestedLoop(hwnd);
            return IDOK;
        });
        CMainFrame::CaptureResult result = frame->OnKeyboardEvent(tray_test::KeyEvent(VK_SNAPSHOT, WM_KEYUP));
        SetMessageBoxHandler(previous);

        EXPECT_EQ(result, CMainFrame::CaptureResult::FrameGone) << static_cast<int>(when);
        EXPECT_FALSE(::IsWindow(hwnd));
        EXPECT_EQ(boxes, when == When::ErrorBox ? 1 : 0);
        ASSERT_EQ(Kept().size(), 1u) << "the frame did not delete itself";
        EXPECT_TRUE(StillMarked(Kept()[0])) << "the freed frame was written to after deletion ("
                                            << static_cast<int>(when) << ")";
        ::operator delete(Kept()[0].block);
    }
    Kept().clear();
}

}  // namespace
