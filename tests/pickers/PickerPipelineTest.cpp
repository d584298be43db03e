// The pickers inside the capture pipeline of the hidden main frame: a key release opens the
// picker of the configured area, real mouse input chooses, and the saved file holds the chosen
// part of the screen as the key press found it, without the cursor; an empty choice saves
// nothing, Esc abandons silently, and key releases arriving while a picker is open start nothing.
#include <gtest/gtest.h>
#include "CMainFrame.h"
#include "PickerTestSupport.h"
#include "TestSupport.h"
#include "TrayTestSupport.h"

using namespace picker_test;
using testing_support::ListFiles;
using testing_support::MessageBoxRecorder;
using testing_support::TempFolder;
using tray_test::DecodeFile;
using tray_test::KeyEvent;
using Result = CMainFrame::CaptureResult;

namespace {

class PickerPipeline : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WaitUntil([] { return testing_support::ScreenShowsPattern(); }))
            << "the known screen is not shown";
        m_settings.area = AreaRegionAtCapture;
        m_settings.saveType = Png;
        m_settings.shutter = 0;
        m_settings.hotKey = 2;
        m_settings.checkCursor = true;  // never drawn into a picked area
        m_settings.saveFolder = m_folder.Path();
        auto naming = [this] {
            return m_settings.saveFolder + L"\\shot" + std::to_wstring(++m_named) + L".png";
        };
        auto* frame = new CMainFrame(m_settings, naming, nullptr);
        ASSERT_TRUE(frame->CreateHidden());
        m_frame = frame;
        m_hwnd = frame->m_hWnd;
        testing_support::PumpMessages(200);  // the tray window settles
    }
    void TearDown() override {
        if (m_hwnd && ::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
    }

    // The capture key's release with `input` played against the picker it opens.
    Result ReleaseWith(std::function<void()> input) {
        InputScript script([input] {
            if (WaitForPicker()) input();
        });
        return m_frame->OnKeyboardEvent(KeyEvent(VK_F12, WM_KEYUP));
    }
    std::vector<std::wstring> Saved() const { return ListFiles(m_folder.Path()); }
    std::wstring LastSaved() const { return m_folder.File(L"shot" + std::to_wstring(m_named) + L".png"); }

    TempFolder m_folder;
    CaptureSettings m_settings;
    int m_named = 0;
    CMainFrame* m_frame = nullptr;
    HWND m_hwnd = nullptr;
    MessageBoxRecorder m_boxes;
};

TEST_F(PickerPipeline, ADraggedRegionIsSavedAsTheScreenShowedItWithoutTheCursor) {
    // A second release of the capture key while the picker is open goes through the picker's
    // loop to the frame as raw input, and must not start a second capture.
    auto sendKey = [](bool release) {
        INPUT key{};
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = VK_F12;
        key.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
        ::SendInput(1, &key, sizeof(INPUT));
    };
    Result result = ReleaseWith([&] {
        MoveTo(640, 420);
        PressLeft();
        sendKey(false);
        sendKey(true);
        MoveTo(700, 460);
        MoveUntil(520, 300, [] { return CrosshairAt(POINT{520, 300}); });
        ReleaseLeft();
    });
    ASSERT_EQ(result, Result::Saved);
    testing_support::PumpMessages(300);  // anything the extra key release might have started
    ASSERT_EQ(Saved().size(), 1u) << "the key release inside the picker captured again";
    auto picture = DecodeFile(LastSaved());
    ASSERT_EQ(picture.width, 120);
    ASSERT_EQ(picture.height, 120);
    EXPECT_EQ(tray_test::WorstDifferenceFromPattern(picture, 520, 300), 0);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_FALSE(m_frame->IsCapturing());
}

TEST_F(PickerPipeline, NothingChosenSavesNothingAndEscAbandonsSilently) {
    struct Case {
        const char* what;
        int area;
        std::function<void()> input;
        Result expected;
    } cases[] = {
        {"region: a click without a drag", AreaRegionAtCapture,
         [] { MoveTo(600, 400); PressLeft(); ReleaseLeft(); }, Result::Abandoned},
        {"region: Esc while dragging", AreaRegionAtCapture,
         [] { MoveTo(600, 400); PressLeft(); MoveTo(700, 500); Key(VK_ESCAPE); ReleaseLeft(); },
         Result::Abandoned},
        {"window: Enter before a click", AreaControlAtCapture,
         [] { MoveTo(600, 400); MoveTo(610, 410); Key(VK_RETURN); }, Result::Abandoned},
        {"window: Esc", AreaControlAtCapture,
         [] { MoveTo(600, 400); MoveTo(610, 410); Key(VK_ESCAPE); }, Result::Abandoned},
    };
    for (const Case& c : cases) {
        m_settings.area = c.area;
        EXPECT_EQ(ReleaseWith(c.input), c.expected) << c.what;
        EXPECT_FALSE(m_frame->IsCapturing()) << c.what;
    }
    EXPECT_TRUE(Saved().empty());
    EXPECT_TRUE(m_boxes.Texts().empty());

    // The next release captures again.
    m_settings.area = AreaRegionAtCapture;
    EXPECT_EQ(ReleaseWith([] {
        MoveTo(590, 390);
        Drag(POINT{600, 400}, POINT{650, 430});
    }), Result::Saved);
    EXPECT_EQ(Saved().size(), 1u);
}

TEST_F(PickerPipeline, APickedWindowIsSavedWithItsPixels) {
    ColourWindow window(RECT{500, 300, 740, 480}, RGB(30, 90, 250));
    ColourWindow child(RECT{520, 320, 560, 350}, RGB(250, 250, 0), window.Handle());
    testing_support::PumpMessages(100);
    ASSERT_TRUE(WaitUntil([] { return ScreenPixel(600, 400) == RGB(30, 90, 250); }));
    m_settings.area = AreaControlAtCapture;
    Result result = ReleaseWith([] {
        MoveTo(690, 450);
        MoveTo(700, 460);
        PressLeft();
        ReleaseLeft();
    });
    ASSERT_EQ(result, Result::Saved);
    auto picture = DecodeFile(LastSaved());
    ASSERT_EQ(picture.width, 240);
    ASSERT_EQ(picture.height, 180);
    EXPECT_EQ(picture.At(0, 0), RGB(30, 90, 250));
    EXPECT_EQ(picture.At(239, 179), RGB(30, 90, 250));
    EXPECT_EQ(picture.At(30, 25), RGB(250, 250, 0));  // the child, as the screen showed it
    EXPECT_EQ(picture.At(60, 25), RGB(30, 90, 250));
}

}  // namespace
