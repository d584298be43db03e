#include "RecorderTestSupport.h"
#include <cstdio>
#include "TestSupport.h"
#include "WindowMessages.h"
#include "resource.h"

namespace recorder_testing {

namespace {
const wchar_t kSourceClass[] = L"TovrixRecorderTestSource";
}

ScriptedFrameSource::ScriptedFrameSource(Script script) : m_script(std::move(script)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kSourceClass;
    ::RegisterClassW(&wc);  // already registered by an earlier source: fine
    m_hwnd = ::CreateWindowExW(0, kSourceClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ScriptedFrameSource::~ScriptedFrameSource() {
    if (m_hwnd) ::DestroyWindow(m_hwnd);
}

LRESULT CALLBACK ScriptedFrameSource::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GIF_CAPTURE_FRAME) {
        auto* self = reinterpret_cast<ScriptedFrameSource*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        auto* request = reinterpret_cast<CGifCaptureRequest*>(lParam);
        if (self && request) {
            request->Fill(wParam, [self](CGifFrameImage& frame, const GifCaptureOptions& options) {
                self->m_script(self->m_attempts++, frame, options);
                return true;
            });
        }
        return 0;
    }
    if (msg >= WM_APP) {
        auto* self = reinterpret_cast<ScriptedFrameSource*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self) self->m_received.emplace_back(msg, wParam);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

std::vector<WPARAM> ScriptedFrameSource::Received(UINT msg) const {
    std::vector<WPARAM> values;
    for (const auto& received : m_received) {
        if (received.first == msg) values.push_back(received.second);
    }
    return values;
}

void FillSolid(CGifFrameImage& frame, int width, int height, COLORREF colour) {
    RECT r{0, 0, width, height};
    if (!frame.CreateBlank(r)) return;
    HDC dc = frame.GetDC();
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
    frame.ReleaseDC();
}

std::unique_ptr<CGifFrameImage> Rebuilt(const CGifRecording& store, size_t index) {
    auto picture = std::make_unique<CGifFrameImage>();
    if (index < store.GetFrames().size()) (void)store.MakePicture(*store.GetFrames()[index], *picture);
    return picture;
}

void RecordFor(CGifRecording& recording, const GifRecordingSettings& settings, uint32_t endMs) {
    // Touched by the recording thread only.
    auto now = std::make_shared<uint32_t>(0);
    recording.SetPacing([now] { return *now; },
                        [now, endMs, &recording](uint32_t ms) {
                            *now += ms;
                            if (*now >= endMs) recording.RequestStop();
                        });
    // A new recording: whatever the last one left is not wanted.
    recording.Clear();
    if (!recording.Start(settings)) return;
    while (recording.IsRunning()) {
        testing_support::PumpMessages(2);
    }
    recording.Stop();
}

bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return false;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(file);
    return true;
}

bool DecodeGifFile(const std::wstring& path, DecodedGif& gif, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) {
        error = "cannot read the file";
        return false;
    }
    return DecodeGif(bytes, gif, error);
}

COLORREF DecodedPixel(const DecodedGif& gif, size_t f, int x, int y) {
    const DecodedFrame& frame = gif.frames[f];
    const std::vector<uint8_t>& palette = frame.Palette(gif.globalTable);
    const uint8_t index = frame.indices[static_cast<size_t>(y) * frame.width + x];
    return RGB(palette[index * 3], palette[index * 3 + 1], palette[index * 3 + 2]);
}

void RecorderDialog::SetUp() {
    patternShown = testing_support::ScreenShowsPattern();
    ini = settingsFolder.File(L"tovrix.ini");
    saveFolder = folder.Path();
}

void RecorderDialog::TearDown() {
    if (dialog && dialog->IsWindow()) dialog->DestroyWindow();
    dialog.reset();
    testing_support::PumpMessages(50);
}

void RecorderDialog::Open() {
    dialog = std::make_unique<CAnigifCapture>(nullptr, [this] { return StillPath(); }, ini);
    ASSERT_TRUE(dialog->Create(IDD_ANIGIF_CAPTURE, nullptr));
    dialog->ShowWindow(SW_SHOW);
    testing_support::PumpMessages(100);
}

void RecorderDialog::Write(const wchar_t* key, const wchar_t* value) {
    ::WritePrivateProfileStringW(L"AniGif", key, value, ini.c_str());
}

}  // namespace recorder_testing
