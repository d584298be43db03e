#pragma once
// What the recorder tests share: a stand-in frame window that answers WM_GIF_CAPTURE_FRAME from
// a script, a recording driven by a clock of the test's own, GIF files read back, and the
// recorder dialog opened with settings and a save folder of the test's own.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "CAnigifCapture.h"
#include "CGifRecording.h"
#include "GifTestDecoder.h"
#include "TestSupport.h"

namespace recorder_testing {

// A hidden window answering WM_GIF_CAPTURE_FRAME: attempt i fills the frame through script(i).
class ScriptedFrameSource {
public:
    using Script = std::function<void(int attempt, CGifFrameImage& frame, const GifCaptureOptions& options)>;
    explicit ScriptedFrameSource(Script script);
    ~ScriptedFrameSource();
    ScriptedFrameSource(const ScriptedFrameSource&) = delete;
    ScriptedFrameSource& operator=(const ScriptedFrameSource&) = delete;

    HWND Hwnd() const { return m_hwnd; }
    int Attempts() const { return m_attempts; }
    // The wParam of every message `msg` (from WM_APP up) this window received, in order.
    std::vector<WPARAM> Received(UINT msg) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
    Script m_script;
    int m_attempts = 0;
    std::vector<std::pair<UINT, WPARAM>> m_received;
};

// A frame of one colour.
void FillSolid(CGifFrameImage& frame, int width, int height, COLORREF colour);
// Frame `index` of the store rebuilt as a bitmap (without picture when it cannot be).
std::unique_ptr<CGifFrameImage> Rebuilt(const CGifRecording& store, size_t index);

// Records with a clock that starts at 0 and moves only by the thread's pauses, until `endMs`:
// the frames and delays are the same on every run. The test thread answers the capture
// requests meanwhile.
void RecordFor(CGifRecording& recording, const GifRecordingSettings& settings, uint32_t endMs);

bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes);
// Decodes a GIF file; the reason in a failed assertion otherwise.
bool DecodeGifFile(const std::wstring& path, DecodedGif& gif, std::string& error);
// The colour of pixel (x, y) of frame f.
COLORREF DecodedPixel(const DecodedGif& gif, size_t f, int x, int y);

// The recorder dialog, opened modeless: its settings live in a file of the test's own and its
// files go to `saveFolder` (the temporary `folder` unless a test points it elsewhere).
class RecorderDialog : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void Open();
    void Write(const wchar_t* key, const wchar_t* value);
    HWND Item(int id) const { return dialog->GetDlgItem(id); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    bool Checked(int id) const { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // A click as the button reports it to the dialog.
    void Click(int id) {
        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }
    std::wstring Caption() const { return dialog->GetWindowText(); }
    // The name of the next still capture; the recorder's ".gif" goes beside it.
    std::wstring StillPath() const { return saveFolder + L"\\TX_[20261210-181500].png"; }
    std::wstring GifPath() const { return saveFolder + L"\\TX_[20261210-181500].gif"; }

    testing_support::TempFolder folder;
    testing_support::TempFolder settingsFolder;
    std::wstring ini;
    std::wstring saveFolder;
    bool patternShown = false;
    std::unique_ptr<CAnigifCapture> dialog;
};

}  // namespace recorder_testing
