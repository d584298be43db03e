// The recorder while something of its own waits for the user (the logo dialog, a message box,
// the frame editor), and the frames it keeps after a save that did not happen: F5 does nothing
// under a waiting window, the Record skin shows what really happens, and kept frames are saved
// or thrown away only when the user says so.
#include <windows.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "CAnigifCapture.h"
#include "CGifFrameEditDlg.h"
#include "RecorderTestSupport.h"
#include "TestInput.h"
#include "TestSupport.h"
#include "resource.h"

using namespace recorder_testing;
using testing_support::LaterInTheLoop;
using testing_support::ListFiles;
using testing_support::MessageBoxRecorder;
using testing_support::PumpMessages;
using testing_support::WaitUntil;
using Shown = MessageBoxRecorder::Shown;

namespace {

class RecorderGuard : public RecorderDialog {
protected:
    void PressF5() { dialog->SendMessage(WM_HOTKEY, CAnigifCapture::kHotKeyId, 0); }
    // Records until the first frame is in and stops; with the save folder missing the save
    // fails, and the retry box is answered "취소": the frames stay in the recorder.
    void RecordAndFailToSave() {
        saveFolder = folder.File(L"missing");
        Click(IDC_GIF_RECORD);
        ASSERT_TRUE(dialog->IsRecording());
        ASSERT_TRUE(WaitUntil([&] { return Caption().find(L"Frames(1)") != std::wstring::npos; }, 20000));
        MessageBoxRecorder boxes(IDCANCEL);
        Click(IDC_GIF_RECORD);
        ASSERT_EQ(std::vector<std::wstring>{CGifRecording::kSaveFailedText}, boxes.Texts());
        ASSERT_FALSE(dialog->IsRecording());
    }
};

// "로고 설정" changes what the recording thread draws on every frame: F5 must not start a
// recording under it.
TEST_F(RecorderGuard, F5WhileTheLogoDialogIsOpenRecordsNothing) {
    Open();
    bool opened = false, recordingInside = true;
    LaterInTheLoop inside([&] {
        CTestOutlineTextDlg& overlay = dialog->Overlay();
        opened = overlay.IsWindow() != FALSE;
        PressF5();
        recordingInside = dialog->IsRecording();
        if (opened) overlay.PostMessage(WM_COMMAND, IDCANCEL, 0);
    });
    Click(IDC_GIF_OVERLAY);
    EXPECT_TRUE(opened);
    EXPECT_FALSE(recordingInside);
    EXPECT_FALSE(dialog->IsRecording());
    // With the dialog closed F5 records again.
    PressF5();
    EXPECT_TRUE(dialog->IsRecording());
}

// F5 pressed again and again under a validation box opened one more box each time.
TEST_F(RecorderGuard, F5UnderAValidationBoxOpensNoSecondBox) {
    Open();
    dialog->SetDlgItemText(IDC_GIF_FPS, L"0");
    int shown = 0;
    MessageBoxRecorder boxes([&](const Shown&) {
        if (++shown == 1) {
            PressF5();
            PressF5();
        }
        return IDOK;
    });
    PressF5();
    ASSERT_EQ(1u, boxes.Messages().size());
    EXPECT_EQ(L"1에서 30 사이의 정수를 입력하십시오.", boxes.Messages()[0].text);
    // The recorder's own box, so that the recorder takes no clicks while it waits.
    EXPECT_EQ(dialog->m_hWnd, boxes.Messages()[0].owner);
    EXPECT_FALSE(dialog->IsRecording());
}

// A click toggles the skin before the command runs; a refused command must put it back.
TEST_F(RecorderGuard, ARefusedRecordClickKeepsTheRecordPicture) {
    Open();
    dialog->SetDlgItemText(IDC_GIF_FPS, L"31");
    MessageBoxRecorder boxes;
    testing_support::Click(testing_support::CentreOf(Item(IDC_GIF_RECORD)));
    ASSERT_TRUE(WaitUntil([&] { return !boxes.Messages().empty(); }));
    PumpMessages(50);
    EXPECT_FALSE(dialog->IsRecording());
    EXPECT_FALSE(Checked(IDC_GIF_RECORD)) << "the skin shows the stop picture while nothing records";
}

// After a save that failed, the frames stay, the caption says so, and Record, closing and
// ending the recorder ask first: "예" saves them (into the folder the settings name by then,
// another one included), "아니요" throws them away, "취소" keeps everything as it was.
TEST_F(RecorderGuard, KeptFramesAreSavedOrDroppedOnlyWhenTheUserSaysSo) {
    enum Action { Record, Close };
    struct Case {
        Action action;
        int answer;
        bool saved;
        bool kept;       // the frames are still there afterwards
        bool open;       // the recorder is still open
        bool recording;  // a new recording runs
    } cases[] = {
        {Record, IDCANCEL, false, true, true, false},
        {Record, IDNO, false, false, true, true},
        {Record, IDYES, true, false, true, true},
        {Close, IDCANCEL, false, true, true, false},
        {Close, IDNO, false, false, false, false},
        {Close, IDYES, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.action == Record ? "record" : "close") << ", answer " << c.answer);
        Open();
        RecordAndFailToSave();
        ASSERT_TRUE(dialog->Recording().HasUnsavedFrames());
        const size_t frames = dialog->Recording().GetFrames().size();
        EXPECT_EQ(CGifSnapDlg::AreaCaption(dialog->GetArea()) + L" 저장 안 된 프레임(" + std::to_wstring(frames) + L")",
                  Caption());

        saveFolder = folder.Path();  // the user chose a folder that works
        MessageBoxRecorder boxes(c.answer);
        if (c.action == Record) {
            Click(IDC_GIF_RECORD);
        } else {
            dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);
        }
        EXPECT_EQ(std::vector<std::wstring>{CAnigifCapture::kKeptFramesText}, boxes.Texts());
        EXPECT_EQ(c.saved, testing_support::FileExists(GifPath()));
        EXPECT_EQ(c.open, dialog->IsWindow() != FALSE);
        if (dialog->IsWindow()) {
            EXPECT_EQ(c.recording, dialog->IsRecording());
            if (!c.recording) {
                EXPECT_EQ(c.kept, dialog->Recording().HasUnsavedFrames());
            }
        }
        if (c.saved) {
            DecodedGif gif;
            std::string error;
            ASSERT_TRUE(DecodeGifFile(GifPath(), gif, error)) << error;
            EXPECT_EQ(frames, gif.frames.size());
        }
        if (dialog->IsWindow()) dialog->DestroyWindow();
        dialog.reset();
        ::DeleteFileW(GifPath().c_str());
    }
}

// "편집후저장": the frame editor is the recorder's own dialog (the recorder waits under it), and
// frames left in it unsaved are asked about when the recorder closes.
TEST_F(RecorderGuard, FramesLeftInTheFrameEditorAreAskedAboutOnClosing) {
    Write(L"ChkEdit", L"1");
    Open();
    Click(IDC_GIF_RECORD);
    ASSERT_TRUE(WaitUntil([&] { return Caption().find(L"Frames(1)") != std::wstring::npos; }, 20000));
    bool editorSeen = false, recorderEnabled = true, recordingInside = true;
    LaterInTheLoop inside([&] {
        HWND editor = testing_support::FindOwnWindow(
            [](HWND window) { return dynamic_cast<CGifFrameEditDlg*>(CWnd::FromHandle(window)) != nullptr; });
        editorSeen = editor != nullptr;
        recorderEnabled = ::IsWindowEnabled(dialog->m_hWnd) != FALSE;
        PressF5();
        recordingInside = dialog->IsRecording();
        // Closed without "저장".
        if (editorSeen) ::PostMessageW(editor, WM_COMMAND, IDCANCEL, 0);
    });
    Click(IDC_GIF_RECORD);
    EXPECT_TRUE(editorSeen);
    EXPECT_FALSE(recorderEnabled);
    EXPECT_FALSE(recordingInside) << "F5 recorded over the frames in the editor";
    ASSERT_TRUE(dialog->Recording().HasUnsavedFrames());

    MessageBoxRecorder boxes(IDCANCEL);
    dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(std::vector<std::wstring>{CAnigifCapture::kKeptFramesText}, boxes.Texts());
    EXPECT_TRUE(dialog->IsWindow());
    EXPECT_TRUE(dialog->Recording().HasUnsavedFrames());
}

// A recording that ends by itself (the disk full) while a box of the recorder waits is
// stopped and saved once the box is answered, not under it.
TEST_F(RecorderGuard, ARecordingThatFillsUpUnderABoxStopsAfterTheBox) {
    Open();
    // A screen that changes at every grab, and a disk that is full after the first picture.
    auto grabs = std::make_shared<int>(0);
    dialog->FrameWindow().SetGrab([grabs](CGifFrameImage& frame, const RECT&, const GifCaptureOptions&) {
        recorder_testing::FillSolid(frame, 40, 30, RGB(0, 0, 20 * (++*grabs % 10)));
        return TRUE;
    });
    dialog->Recording().SetSpillLimits(1, 0);
    Click(IDC_GIF_RECORD);
    ASSERT_TRUE(dialog->IsRecording());
    int depth = 0, deepest = 0;
    MessageBoxRecorder boxes([&](const Shown& shown) {
        ++depth;
        deepest = std::max(deepest, depth);
        if (shown.text == CAnigifCapture::kRecordingText) {
            // The frames fill up while this box waits; the recorder hears of it meanwhile.
            WaitUntil([&] { return !dialog->Recording().IsRunning(); }, 20000);
            PumpMessages(100);
        }
        --depth;
        return IDOK;
    });
    dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);  // closing while recording: "녹화중입니다."
    ASSERT_TRUE(WaitUntil([&] { return !dialog->IsRecording(); }, 20000));
    EXPECT_EQ(1, deepest) << "a box opened under another";
    EXPECT_EQ((std::vector<std::wstring>{CAnigifCapture::kRecordingText, CGifRecording::kDiskFullText}), boxes.Texts());
    EXPECT_TRUE(testing_support::FileExists(GifPath()));
}

}  // namespace
