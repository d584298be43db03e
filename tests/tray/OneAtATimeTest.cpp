// The main frame with the real GIF recorder: the program's global entries (the capture key, F5,
// the tray menu's commands, WM_SAVE_CAPTURE) keep arriving inside the nested loops of whatever
// waits for the user, and must do nothing there; and the program does not end during a
// recording, or over frames that were not saved, without asking.
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "CAnigifCapture.h"
#include "CMainFrame.h"
#include "CPresentDlg.h"
#include "CSnapDlg.h"
#include "TestSupport.h"
#include "TrayTestSupport.h"
#include "WindowMessages.h"
#include "resource.h"

using testing_support::LaterInTheLoop;
using testing_support::ListFiles;
using testing_support::MessageBoxRecorder;
using testing_support::PumpMessages;
using testing_support::TempFolder;
using testing_support::WaitUntil;
using tray_test::CountingDialog;
using Result = CMainFrame::CaptureResult;

namespace {

bool IsGif(const std::wstring& name) {
    return name.size() > 4 && name.compare(name.size() - 4, 4, L".gif") == 0;
}

class OneAtATime : public testing::Test {
protected:
    void SetUp() override {
        m_settings.area = AreaFixedRect;
        m_settings.areaRect = RECT{700, 500, 900, 650};
        m_settings.saveType = Png;
        m_settings.shutter = 0;
        m_settings.hotKey = 0;
        m_settings.saveFolder = m_folder.Path();
        NewFrame();
    }
    void TearDown() override {
        if (::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
    }
    void NewFrame() {
        m_frame = new CMainFrame(
            m_settings,
            [this] { return m_settings.saveFolder + L"\\shot" + std::to_wstring(++m_named) + L".png"; },
            &m_settingsDialog);
        m_frame->SetRecorderSettingsFile(m_recorderFolder.File(L"tovrix.ini"));
        ASSERT_TRUE(m_frame->CreateHidden());
        m_hwnd = m_frame->m_hWnd;
    }
    void Command(UINT id) { ::SendMessageW(m_hwnd, WM_COMMAND, id, 0); }
    bool FrameAlive() const { return ::IsWindow(m_hwnd) != FALSE; }
    std::vector<std::wstring> Saved() const { return ListFiles(m_folder.Path()); }
    size_t SavedGifs() const {
        size_t gifs = 0;
        for (const std::wstring& name : Saved()) gifs += IsGif(name);
        return gifs;
    }
    Result ReleaseCaptureKey() { return m_frame->OnKeyboardEvent(tray_test::KeyEvent(VK_SNAPSHOT, WM_KEYUP)); }

    // Opens the recorder from the tray menu and runs `inside` from its loop; a recorder still
    // open afterwards is stopped and closed, its frames let go.
    void WithRecorder(const std::function<void(CAnigifCapture&)>& inside) {
        bool opened = false;
        LaterInTheLoop later([&] {
            CAnigifCapture* recorder = m_frame->GetRecorder();
            opened = recorder != nullptr;
            if (!recorder) return;
            const HWND window = recorder->m_hWnd;
            inside(*recorder);
            if (!::IsWindow(window)) return;  // the program ended
            MessageBoxRecorder letGo(IDNO);
            if (recorder->IsRecording()) recorder->OnRecord();
            recorder->SendMessage(WM_COMMAND, IDCANCEL, 0);
        });
        Command(ID_TRAY_GIF_RECORDER);
        EXPECT_TRUE(opened) << "the recorder did not open";
    }
    static bool WaitForFrames(CAnigifCapture& recorder) {
        return WaitUntil([&] { return recorder.GetWindowText().find(L"Frames(1)") != std::wstring::npos; }, 20000);
    }

    TempFolder m_folder;
    TempFolder m_recorderFolder;
    CaptureSettings m_settings;
    CountingDialog m_settingsDialog;
    int m_named = 0;
    CMainFrame* m_frame = nullptr;
    HWND m_hwnd = nullptr;
};

// What each global entry did when it arrived.
struct EntryResults {
    Result captureKey = Result::Ignored;
    bool f5Recorded = false;  // F5 started or stopped a recording
    int settingsRuns = 0;     // the tray's "설정" opened the settings dialog
    LRESULT saveAnswer = 0;   // WM_SAVE_CAPTURE, as the web capture sends it
    size_t newFiles = 0;
};

TEST_F(OneAtATime, EveryGlobalEntryWaitsWhileSomethingWaitsForTheUser) {
    ASSERT_TRUE(m_frame->GetPicture().CreateBlank(RECT{0, 0, 40, 30}));  // something to save
    auto probe = [&](CAnigifCapture* recorder) {
        EntryResults results;
        const size_t before = Saved().size();
        results.captureKey = ReleaseCaptureKey();
        if (recorder) {
            const bool recording = recorder->IsRecording();
            recorder->SendMessage(WM_HOTKEY, CAnigifCapture::kHotKeyId, 0);
            results.f5Recorded = recorder->IsRecording() != recording;
        }
        {
            tray_test::ModalWatcher closer([](HWND window) { ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0); });
            const int runs = m_settingsDialog.runs;
            Command(ID_TRAY_SETTINGS);
            results.settingsRuns = m_settingsDialog.runs - runs;
        }
        results.saveAnswer = ::SendMessageW(m_hwnd, WM_SAVE_CAPTURE, 0, 0);
        results.newFiles = Saved().size() - before;
        return results;
    };
    auto endEditor = [] {
        HWND editor = testing_support::FindOwnWindow(
            [](HWND window) { return dynamic_cast<CPresentDlg*>(CWnd::FromHandle(window)) != nullptr; });
        if (editor) ::PostMessageW(editor, WM_COMMAND, IDCANCEL, 0);
    };

    struct Situation {
        const char* what;
        std::function<void(CAnigifCapture&, EntryResults&)> open;  // opens it and probes inside
    };
    const Situation situations[] = {
        {"a validation box of the recorder",
         [&](CAnigifCapture& recorder, EntryResults& results) {
             const std::wstring fps = recorder.GetDlgItemText(IDC_GIF_FPS);
             recorder.SetDlgItemText(IDC_GIF_FPS, L"0");
             bool probed = false;
             MessageBoxRecorder boxes([&](const MessageBoxRecorder::Shown&) {
                 if (!probed) {
                     probed = true;
                     results = probe(&recorder);
                 }
                 return IDOK;
             });
             recorder.SendMessage(WM_HOTKEY, CAnigifCapture::kHotKeyId, 0);
             recorder.SetDlgItemText(IDC_GIF_FPS, fps);
         }},
        {"the recorder's logo dialog",
         [&](CAnigifCapture& recorder, EntryResults& results) {
             LaterInTheLoop inside([&] {
                 results = probe(&recorder);
                 recorder.Overlay().PostMessage(WM_COMMAND, IDCANCEL, 0);
             });
             recorder.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_GIF_OVERLAY, BN_CLICKED),
                                  reinterpret_cast<LPARAM>(recorder.GetDlgItem(IDC_GIF_OVERLAY)));
         }},
        {"the save of a recording",
         [&](CAnigifCapture& recorder, EntryResults& results) {
             recorder.OnRecord();
             ASSERT_TRUE(WaitForFrames(recorder));
             // Runs from the progress window's message pump.
             LaterInTheLoop inside([&] { results = probe(&recorder); });
             recorder.OnRecord();
         }},
        {"a capture's editor",
         [&](CAnigifCapture& recorder, EntryResults& results) {
             m_settings.checkEdit = 1;
             LaterInTheLoop inside([&] {
                 results = probe(&recorder);
                 endEditor();
             });
             EXPECT_EQ(Result::Abandoned, ReleaseCaptureKey());
             m_settings.checkEdit = 0;
         }},
        {"the settings' fixed-region frame",
         [&](CAnigifCapture&, EntryResults& results) {
             CSnapDlg frame;
             LaterInTheLoop inside([&] {
                 results = probe(nullptr);
                 frame.PostMessage(WM_COMMAND, IDCANCEL, 0);
             });
             frame.DoModalWithRect(RECT{300, 200, 600, 400});
         }},
    };
    for (const Situation& situation : situations) {
        SCOPED_TRACE(situation.what);
        EntryResults results;
        results.captureKey = Result::Saved;
        results.f5Recorded = true;
        results.settingsRuns = -1;
        WithRecorder([&](CAnigifCapture& recorder) { situation.open(recorder, results); });
        EXPECT_EQ(Result::Busy, results.captureKey);
        EXPECT_FALSE(results.f5Recorded);
        EXPECT_EQ(0, results.settingsRuns);
        EXPECT_NE(0, results.saveAnswer);
        EXPECT_EQ(0u, results.newFiles);
    }
    // With nothing waiting, the same entries work.
    WithRecorder([&](CAnigifCapture& recorder) {
        const EntryResults results = probe(&recorder);
        EXPECT_EQ(Result::Saved, results.captureKey);
        EXPECT_TRUE(results.f5Recorded);
        EXPECT_EQ(1, results.settingsRuns);
        EXPECT_EQ(0, results.saveAnswer);
        EXPECT_EQ(2u, results.newFiles);
    });
}

// The tray's Exit (and the end of the session) during a recording, or over frames a failed save
// left: "예" writes the file at once (never through the frame editor) and the program ends,
// "아니요" ends without it, "취소" stays with everything as it was.
TEST_F(OneAtATime, EndingTheProgramDuringARecordingOrOverKeptFramesAsksFirst) {
    enum How { Exit, EndSession };
    struct Case {
        bool kept;  // a failed save left the frames; otherwise a recording runs
        bool edit;  // "편집후저장"
        How how;
        int answer;
        bool ends;
        bool saved;
    } cases[] = {
        {false, false, Exit, IDYES, true, true},
        {false, true, Exit, IDYES, true, true},
        {false, false, Exit, IDNO, true, false},
        {false, false, Exit, IDCANCEL, false, false},
        {false, false, EndSession, IDCANCEL, false, false},
        {false, false, EndSession, IDYES, true, true},
        {true, false, Exit, IDYES, true, true},
        {true, false, Exit, IDCANCEL, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.kept ? "kept frames" : "recording") << (c.edit ? ", editing" : "")
                                        << ", " << (c.how == Exit ? "Exit" : "end of session") << ", answer "
                                        << c.answer);
        if (!FrameAlive()) NewFrame();
        ::WritePrivateProfileStringW(L"AniGif", L"ChkEdit", c.edit ? L"1" : L"0",
                                     m_recorderFolder.File(L"tovrix.ini").c_str());
        const size_t gifsBefore = SavedGifs();
        int frameEditors = 0;
        size_t gifsAfter = 0;
        std::vector<std::wstring> asked;
        bool ended = false, stillRecording = false, stillKept = false;
        WithRecorder([&](CAnigifCapture& recorder) {
            recorder.OnRecord();
            ASSERT_TRUE(WaitForFrames(recorder));
            if (c.kept) {
                m_settings.saveFolder = m_folder.File(L"missing");
                MessageBoxRecorder retry(IDCANCEL);
                recorder.OnRecord();
                ASSERT_TRUE(recorder.Recording().HasUnsavedFrames());
                m_settings.saveFolder = m_folder.Path();
            }
            MessageBoxRecorder boxes(c.answer);
            // A frame editor would be a detour the program has no time for: it is counted and
            // closed.
            tray_test::ModalWatcher editors([&](HWND window) {
                if (tray_test::WindowText(window) != L"프레임 편집") return;
                ++frameEditors;
                ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
            });
            if (c.how == Exit) {
                Command(ID_TRAY_EXIT);
                WaitUntil([&] { return !boxes.Messages().empty() || !FrameAlive(); });
                PumpMessages(50);
                ended = !FrameAlive();
            } else {
                ended = ::SendMessageW(m_hwnd, WM_QUERYENDSESSION, 0, 0) != FALSE;
            }
            asked = boxes.Texts();
            gifsAfter = SavedGifs();
            if (FrameAlive()) {
                stillRecording = recorder.IsRecording();
                stillKept = recorder.Recording().HasUnsavedFrames();
            }
        });
        EXPECT_EQ(std::vector<std::wstring>{c.kept ? CAnigifCapture::kKeptFramesText
                                                   : CAnigifCapture::kEndWhileRecordingText},
                  asked);
        EXPECT_EQ(c.ends, ended);
        EXPECT_EQ(c.saved ? 1u : 0u, gifsAfter - gifsBefore);
        EXPECT_EQ(0, frameEditors);
        if (!c.ends) {
            // Everything as it was.
            EXPECT_EQ(!c.kept, stillRecording);
            EXPECT_EQ(c.kept, stillKept);
        }
    }
}

// A dialog the tray opens over the recorder runs its loop inside the recorder's: a recorder
// closed meanwhile cannot go before that dialog ends. Until then it must be out of sight and
// take no command: a recording started there would go with it, unasked.
TEST_F(OneAtATime, ARecorderClosedUnderAnotherDialogTakesNoMoreCommands) {
    bool hidden = false, recorded = true, settingsSeen = false;
    WithRecorder([&](CAnigifCapture& recorder) {
        tray_test::ModalWatcher inSettings([&](HWND settings) {
            settingsSeen = true;
            recorder.SendMessage(WM_COMMAND, IDCANCEL, 0);  // Esc on the recorder
            hidden = !recorder.IsWindowVisible() && !recorder.FrameWindow().IsWindowVisible();
            recorder.SendMessage(WM_HOTKEY, CAnigifCapture::kHotKeyId, 0);
            recorded = recorder.IsRecording();
            ::PostMessageW(settings, WM_COMMAND, IDCANCEL, 0);
        });
        Command(ID_TRAY_SETTINGS);
    });
    EXPECT_TRUE(settingsSeen);
    EXPECT_TRUE(hidden);
    EXPECT_FALSE(recorded);
    EXPECT_EQ(0u, SavedGifs());
}

// While something waits, the tray menu still opens (the user sees why nothing happens) with
// every command greyed.
TEST_F(OneAtATime, TheTrayMenuIsGreyedWhileABoxWaits) {
    auto menuStates = [&] {
        std::vector<bool> greyed;
        tray_test::ModalWatcher watcher([&](HWND window) {
            if (tray_test::ClassName(window) == L"#32768") {
                auto menu = reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0));
                for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
                    const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
                    if (!(state & MF_SEPARATOR)) greyed.push_back((state & MF_GRAYED) != 0);
                }
            }
            ::EndMenu();
        });
        ::SendMessageW(m_hwnd, WM_TRAY_NOTIFY, IDR_TRAYMENU, WM_RBUTTONUP);
        PumpMessages(50);
        return greyed;
    };
    EXPECT_EQ(std::vector<bool>(8, false), menuStates());
    std::vector<bool> underTheBox;
    MessageBoxRecorder boxes([&](const MessageBoxRecorder::Shown&) {
        underTheBox = menuStates();
        return IDOK;
    });
    ShowMessageBox(m_hwnd, L"?", L"", MB_OK);
    EXPECT_EQ(std::vector<bool>(8, true), underTheBox);
}

}  // namespace
