#pragma once
// What the recorder tests share: a stand-in frame window that answers WM_GIF_CAPTURE_FRAME from
// a script, a recording driven by a clock of the test's own, and GIF files read back.
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include "CGifRecording.h"
#include "GifTestDecoder.h"

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

// Records with a clock that starts at 0 and moves only by the thread's pauses, until `endMs`:
// the frames and delays are the same on every run. The test thread answers the capture
// requests meanwhile.
void RecordFor(CGifRecording& recording, const GifRecordingSettings& settings, uint32_t endMs);

bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes);
// Decodes a GIF file; the reason in a failed assertion otherwise.
bool DecodeGifFile(const std::wstring& path, DecodedGif& gif, std::string& error);
// The colour of pixel (x, y) of frame f.
COLORREF DecodedPixel(const DecodedGif& gif, size_t f, int x, int y);

}  // namespace recorder_testing
