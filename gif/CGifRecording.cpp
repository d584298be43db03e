#include "CGifRecording.h"
#include <mmsystem.h>
#include <algorithm>
#include <cstring>
#include <exception>
#include <new>
#include "CGifEncoder.h"
#include "CInteraction.h"
#include "CProgressWnd.h"
#include "CWnd.h"
#include "Dib.h"
#include "MessageBox.h"
#include "TemporaryFile.h"
#include "WindowMessages.h"

namespace {
uint32_t SystemNow() { return ::timeGetTime(); }
void SystemWait(uint32_t milliseconds) { ::Sleep(milliseconds); }
std::thread SystemThread(std::function<void()> body) { return std::thread(std::move(body)); }

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SamePixels(const PixelBuffer& a, const PixelBuffer& b) {
    return !a.IsEmpty() && !b.IsEmpty() && a.GetWidth() == b.GetWidth() && a.GetHeight() == b.GetHeight() &&
           std::memcmp(a.Data(), b.Data(), a.GetCount() * sizeof(uint32_t)) == 0;
}

// Shows the wait cursor while it lives.
class WaitCursor {
public:
    WaitCursor() : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(m_previous); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_previous;
};
}  // namespace

CGifRecording::CGifRecording() : m_now(SystemNow), m_wait(SystemWait), m_makeThread(SystemThread) {}

CGifRecording::~CGifRecording() {
    if (IsRecording()) {
        Stop();
    }
    Clear();
}

void CGifRecording::SetPacing(std::function<uint32_t()> now, std::function<void(uint32_t)> wait) {
    m_now = now ? std::move(now) : std::function<uint32_t()>(SystemNow);
    m_wait = wait ? std::move(wait) : std::function<void(uint32_t)>(SystemWait);
}

void CGifRecording::SetThreadMaker(ThreadMaker maker) {
    m_makeThread = maker ? std::move(maker) : ThreadMaker(SystemThread);
}

bool CGifRecording::Start(const GifRecordingSettings& settings) {
    if (IsRecording() || HasUnsavedFrames()) {
        return false;
    }
    {
        std::lock_guard<std::mutex> hold(m_lock);
        Clear();
        m_spill.SetLimit(m_fileLimit);
        m_log.SetSpill(&m_spill, m_memoryBudget);
        m_delays.clear();
        m_previous.Reset();
        m_current.Reset();
        m_failedGrabs = 0;
        m_stopReason.store(0);
        m_settings = settings;
        m_request.SetOptions(settings.capture);
        m_running.store(true);
    }
    // The thread must hold the lock before Start returns, or a Stop right after could take the
    // lock first and believe the thread had already ended.
    HANDLE holding = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!holding) {
        m_running.store(false);
        return false;
    }
    // The one place where the library throws: a thread the system cannot give. The recording is
    // refused then, instead of the program ending.
    try {
        m_thread = m_makeThread([this, holding] {
            std::lock_guard<std::mutex> hold(m_lock);
            ::SetEvent(holding);
            ThreadMain();
        });
    } catch (const std::exception&) {
        ::CloseHandle(holding);
        m_running.store(false);
        return false;
    }
    ::WaitForSingleObject(holding, INFINITE);
    ::CloseHandle(holding);
    return true;
}

void CGifRecording::ThreadMain() {
    GifRecordingPacer pacer(m_settings.fps);
    const uint32_t start = m_now();
    while (m_running.load()) {
        const uint32_t elapsed = m_now() - start;
        if (pacer.Due(elapsed)) {
            switch (CaptureFrame()) {
            case Attempt::Kept: pacer.Kept(); break;
            case Attempt::Missed: pacer.Missed(); break;
            case Attempt::Unchanged: break;
            }
        }
        // A grab takes a good part of a 33 ms interval (about 20 ms for 800 x 600 under Wine):
        // a fixed 10 ms pause after it would push every following attempt later until one
        // interval got none.
        m_wait(pacer.PauseBefore(m_now() - start, 10));
    }
    pacer.Finish();
    m_delays = pacer.Delays();
}

CGifRecording::Attempt CGifRecording::CaptureFrame() {
    std::unique_ptr<CGifFrameImage> frame(new (std::nothrow) CGifFrameImage);
    if (!frame) {
        EndBy(StoppedNoPicture);
        return Attempt::Unchanged;
    }
    const WPARAM serial = m_request.Offer(frame.get());
    DWORD_PTR answer = 0;
    const bool answered =
        m_frameWindow && ::SendMessageTimeoutW(m_frameWindow, WM_GIF_CAPTURE_FRAME, serial,
                                               reinterpret_cast<LPARAM>(&m_request), SMTO_NORMAL, 1000,
                                               &answer) != 0;
    switch (m_request.TakeBack()) {
    case CGifCaptureRequest::Outcome::Unanswered:
        // The window was busy for a whole second (or is gone): this attempt counts as unchanged.
        return Attempt::Unchanged;
    case CGifCaptureRequest::Outcome::GrabFailed:
        // Nothing was read of the screen: no frame, and the slot is missed, not shown longer.
        ++m_failedGrabs;
        return Attempt::Missed;
    case CGifCaptureRequest::Outcome::Filled:
        break;
    }
    if (frame->IsNull() || !frame->ReadPixels(m_current)) {
        // The system has no bitmap (or no memory) left for a frame. Dropping such frames as
        // unchanged would silently freeze the recording on its last picture: stop instead.
        (void)answered;
        EndBy(StoppedNoPicture);
        return Attempt::Unchanged;
    }
    if (SamePixels(m_current, m_previous)) {
        return Attempt::Unchanged;
    }
    std::swap(m_previous, m_current);
    // The overlay is drawn after the comparison, so that it never makes a frame look changed;
    // the picture kept is the one with the overlay.
    const PixelBuffer* kept = &m_previous;
    if (m_overlay) {
        HDC dc = frame->GetDC();
        if (dc) {
            m_overlay(dc);
            ::GdiFlush();
            frame->ReleaseDC();
        }
        if (!frame->ReadPixels(m_current)) {
            EndBy(StoppedNoPicture);
            return Attempt::Unchanged;
        }
        kept = &m_current;
    }
    std::unique_ptr<GifStoredFrame> stored(new (std::nothrow) GifStoredFrame);
    if (stored) stored->picture = m_log.Append(kept->Data(), kept->GetWidth(), kept->GetHeight());
    if (!stored || stored->picture == CGifPictureLog::kNoPicture) {
        // No room for the picture: the recording stops with what it has, which stays whole.
        EndBy(stored && m_log.LastFailure() == CGifPictureLog::Failure::Spill ? StoppedDiskFull : StoppedNoPicture);
        return Attempt::Unchanged;
    }
    m_frames.push_back(std::move(stored));
    if (m_owner) {
        ::PostMessageW(m_owner, WM_GIF_FRAME_ADDED, m_frames.size(), 0);
    }
    return Attempt::Kept;
}

void CGifRecording::EndBy(StopReason reason) {
    m_stopReason.store(reason);
    m_running.store(false);
    if (m_owner) {
        ::PostMessageW(m_owner, WM_GIF_RECORDING_STOPPED, reason, 0);
    }
}

void CGifRecording::Stop() {
    if (!IsRecording()) {
        return;
    }
    m_running.store(false);
    // The thread may be waiting for the frame window, whose thread is this one: answer sent
    // messages while waiting, so that its last request is served instead of timing out.
    while (!m_lock.try_lock()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    m_thread.join();
    const std::vector<uint32_t> delays = GifRecordingPacer::FrameDelays(m_delays, m_frames.size());
    for (size_t i = 0; i < m_frames.size(); ++i) {
        m_frames[i]->delay = delays[i];
    }
    m_previous.Reset();
    m_current.Reset();
    m_lock.unlock();
}

void CGifRecording::Clear() {
    m_frames.clear();
    m_log.Clear();
    m_spill.Close();
}

void CGifRecording::SetSpillLimits(uint64_t memoryBytes, uint64_t fileBytes) {
    m_memoryBudget = memoryBytes;
    m_fileLimit = fileBytes;
}

bool CGifRecording::MakePicture(const GifStoredFrame& frame, CGifFrameImage& into) const {
    into.Destroy();
    into.delay = frame.delay;
    const uint32_t* pixels = m_log.Rebuild(frame.picture);
    return pixels && into.SetPixels(pixels, m_log.Width(frame.picture), m_log.Height(frame.picture));
}

GifFrame CGifRecording::RebuildPixels(const GifStoredFrame& frame) const {
    GifFrame pixels;
    pixels.pixels = reinterpret_cast<const uint8_t*>(m_log.Rebuild(frame.picture));
    if (pixels.pixels) {
        pixels.width = m_log.Width(frame.picture);
        pixels.height = m_log.Height(frame.picture);
        pixels.stride = static_cast<ptrdiff_t>(pixels.width) * 4;
    }
    return pixels;
}

bool CGifRecording::DrawPicture(const GifStoredFrame& frame, HDC dc, const RECT& to) const {
    const uint32_t* pixels = m_log.Rebuild(frame.picture);
    if (!pixels) return false;
    const int width = m_log.Width(frame.picture);
    const int height = m_log.Height(frame.picture);
    const BITMAPINFO format = TopDownDib32(width, height);
    return ::StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, width, height, pixels,
                           &format, DIB_RGB_COLORS, SRCCOPY) != 0;
}

bool CGifRecording::KeepPicture(const CImage& picture, GifStoredFrame& frame) {
    PixelBuffer pixels;
    if (picture.IsNull() || !picture.ReadPixels(pixels)) return false;
    const uint32_t id = m_log.Append(pixels.Data(), pixels.GetWidth(), pixels.GetHeight());
    if (id == CGifPictureLog::kNoPicture) return false;
    frame.picture = id;
    return true;
}

bool CGifRecording::AppendFrame(const CGifFrameImage& picture) {
    std::unique_ptr<GifStoredFrame> frame(new (std::nothrow) GifStoredFrame);
    if (!frame || !KeepPicture(picture, *frame)) return false;
    frame->delay = picture.delay;
    m_frames.push_back(std::move(frame));
    return true;
}

SIZE CGifRecording::PictureSize(const GifStoredFrame& frame) const {
    return SIZE{m_log.Width(frame.picture), m_log.Height(frame.picture)};
}

std::wstring CGifRecording::GifPathFor(const std::wstring& stillPath) {
    if (stillPath.empty()) {
        return {};
    }
    // The extension is the part after the last '.' of the file name, not of a folder.
    const size_t slash = stillPath.find_last_of(L"\\/");
    const size_t dot = stillPath.rfind(L'.');
    const std::wstring base =
        dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash) ? stillPath.substr(0, dot)
                                                                                   : stillPath;
    // The still name was chosen free for the still format's extension; a ".gif" of the same
    // name may exist all the same and must never be overwritten.
    std::wstring path = base + L".gif";
    for (int n = 1; Exists(path) && n < 1000000; ++n) {
        path = base + L"_" + std::to_wstring(n) + L".gif";
    }
    return Exists(path) ? std::wstring() : path;
}

SIZE CGifRecording::CanvasSize() const {
    SIZE canvas{0, 0};
    for (const auto& frame : m_frames) {
        const SIZE size = PictureSize(*frame);
        canvas.cx = std::max<LONG>(canvas.cx, size.cx);
        canvas.cy = std::max<LONG>(canvas.cy, size.cy);
    }
    return canvas;
}

HRESULT CGifRecording::WriteGif(CWnd* progressOwner, const std::wstring& path, int qualityIndex) {
    CProgressWnd progress(progressOwner, L"Progress", TRUE);
    progress.SetRange(0, static_cast<int>(m_frames.size()), 1);
    progress.SetText(L"Save......");
    bool cancelled = false;
    const HRESULT result = WriteThroughTemporary(path, ExistingTarget::Refuse, [&](const std::wstring& temporary) {
        CGifEncoder encoder;
        // The path stays UTF-16 all the way to the file: a folder or prefix outside the ANSI
        // code page must still get its file.
        if (!encoder.OpenPath(temporary)) {
            return E_FAIL;
        }
        encoder.SetLoopCount(0);
        encoder.SetSampleFactor(qualityIndex * 5);
        encoder.SetSmallFile(m_smallFile);
        // Edited recordings may hold frames of different sizes (pictures fitted in at their own
        // size): the canvas takes the largest width and height, so that every frame shows whole
        // (a smaller one at the top-left, padded), instead of the first frame cutting the others.
        const SIZE canvas = CanvasSize();
        if (canvas.cx > 0 && canvas.cy > 0) {
            encoder.SetCanvasSize(canvas.cx, canvas.cy);
        }
        bool written = true;
        for (const auto& frame : m_frames) {
            progress.StepIt();
            progress.PumpMessages(TRUE);
            if (progress.Cancelled()) {
                cancelled = true;
                break;
            }
            if (frame->picture == CGifPictureLog::kNoPicture) {
                // A frame without a picture has nothing to show.
                continue;
            }
            const GifFrame pixels = RebuildPixels(*frame);
            encoder.SetFrameDelay(static_cast<int>(frame->delay > 0x7fffffffu ? 0x7fffffffu : frame->delay));
            if (!pixels.pixels || !encoder.WriteFrame(pixels)) {
                written = false;
                break;
            }
        }
        const bool closed = encoder.Close();
        if (cancelled) {
            return E_ABORT;
        }
        return written && closed ? S_OK : E_FAIL;
    });
    return cancelled ? E_ABORT : result;
}

CGifRecording::SaveResult CGifRecording::Save(CWnd* progressOwner, const std::function<std::wstring()>& nextStillPath,
                                             int qualityIndex, std::wstring* savedPath) {
    WaitCursor wait;
    CInteraction saving;
    for (;;) {
        const std::wstring path = GifPathFor(nextStillPath ? nextStillPath() : std::wstring());
        const HRESULT result = path.empty() ? E_FAIL : WriteGif(progressOwner, path, qualityIndex);
        if (result == S_OK) {
            if (savedPath) *savedPath = path;
            Clear();
            return SaveResult::Saved;
        }
        if (result == E_ABORT) {
            return SaveResult::Cancelled;
        }
        const HWND owner = progressOwner ? progressOwner->m_hWnd : m_owner;
        if (ShowMessageBox(owner, kSaveFailedText, L"Error", MB_RETRYCANCEL | MB_ICONERROR) != IDRETRY) {
            return SaveResult::Failed;
        }
    }
}
