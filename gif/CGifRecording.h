#pragma once
// The frames of one GIF recording and everything needed to take and write them: the recording
// thread that asks the frame window for a frame at the chosen rate and drops frames identical to
// the previous one (adding their time to it), the lock through which Stop waits for that thread,
// and Save, which writes the frames through the GIF encoder with a progress window. Frames are
// not bitmaps: each names a picture of a compressed picture log, and becomes a bitmap only while
// something shows or edits it (MakePicture); a changed picture is kept anew (KeepPicture). Past
// kMemoryBudget of compressed pictures they go to a temporary file (CGifSpillFile), removed when
// the frames are saved or cleared: a recording goes on until the disk is full.
//
//   CGifRecording recording;
//   recording.SetOwner(dialog);             // hears WM_GIF_FRAME_ADDED, WM_GIF_RECORDING_STOPPED
//   recording.SetFrameWindow(frameWindow);  // answers WM_GIF_CAPTURE_FRAME
//   recording.SetOverlay([&](HDC dc) { overlay.ApplyOverlay(dc); });
//   recording.Start(settings);  ...  recording.Stop();
//   recording.Save(&dialog, nextStillPath, quality);
#include <windows.h>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include "CGifCaptureRequest.h"
#include "CGifFrameImage.h"
#include "CGifPictureLog.h"
#include "CGifSpillFile.h"
#include "GifFrame.h"
#include "GifRecordingPacer.h"
#include "PixelBuffer.h"

class CWnd;

// One frame of a recording as the store keeps it: the picture of the store's log it shows (frames
// may share one) and for how long, in milliseconds.
struct GifStoredFrame {
    uint32_t picture = CGifPictureLog::kNoPicture;
    uint32_t delay = 0;
};

// What the recorder fixed for one recording.
struct GifRecordingSettings {
    int fps = 10;
    GifCaptureOptions capture;
};

class CGifRecording {
public:
    using Frames = std::vector<std::unique_ptr<GifStoredFrame>>;
    // Draws the logo and caption onto a kept frame (on the recording thread).
    using Overlay = std::function<void(HDC dc)>;

    // Why a recording ended without Stop having been asked (WM_GIF_RECORDING_STOPPED's wParam).
    enum StopReason : int {
        StoppedDiskFull = 1,  // the temporary file could take no more (a full disk)
        StoppedNoPicture = 2  // the system could not give a frame a bitmap
    };

    enum class SaveResult { Saved, Failed, Cancelled };

    // The texts the user sees.
    static constexpr const wchar_t* kDiskFullText =
        L"디스크 공간이 부족하여 녹화를 멈췄습니다. 지금까지 녹화한 프레임은 남아 있으며 저장할 수 "
        L"있습니다.";
    // Compressed pictures kept in memory before the rest go to the temporary file.
    static constexpr uint64_t kMemoryBudget = 128ull << 20;
    static constexpr const wchar_t* kNoPictureText =
        L"메모리가 부족하여 녹화를 멈췄습니다. 지금까지 녹화한 프레임은 남아 있습니다.";
    static constexpr const wchar_t* kStartFailedText =
        L"녹화를 시작하지 못했습니다. 시스템의 메모리나 자원이 부족합니다. 다른 프로그램을 닫은 뒤 "
        L"다시 시도하세요.";
    static constexpr const wchar_t* kSaveFailedText =
        L"GIF 파일을 저장하지 못했습니다. 녹화한 프레임은 남아 있습니다.\n저장 폴더를 확인한 뒤 "
        L"다시 시도하세요.";

    CGifRecording();
    ~CGifRecording();
    CGifRecording(const CGifRecording&) = delete;
    CGifRecording& operator=(const CGifRecording&) = delete;

    void SetOwner(HWND owner) { m_owner = owner; }
    void SetFrameWindow(HWND frameWindow) { m_frameWindow = frameWindow; }
    void SetOverlay(Overlay overlay) { m_overlay = std::move(overlay); }
    // The compressed pictures kept in memory before the next go to the temporary file
    // (kMemoryBudget unless set; see CGifPictureLog::SetSpill), and the
    // temporary file's size past which its writes fail as on a full disk: tests spill early and
    // fill the disk at will. For the next recording.
    void SetSpillLimits(uint64_t memoryBytes, uint64_t fileBytes);
    void SetSpillFolder(const std::wstring& folder) { m_spill.SetFolder(folder); }
    // The temporary file while it exists (empty otherwise) and its bytes.
    const std::wstring& SpillPath() const { return m_spill.Path(); }
    uint64_t SpilledBytes() const { return m_log.SpilledBytes(); }
    // Save writes frames after the first as what changed only (the encoder's small-file mode).
    void SetSmallFile(bool on) { m_smallFile = on; }
    bool IsSmallFile() const { return m_smallFile; }
    // The thread's clock and its pause between passes (timeGetTime and Sleep unless replaced):
    // tests drive a recording by a clock of their own.
    void SetPacing(std::function<uint32_t()> now, std::function<void(uint32_t)> wait);
    // Makes the recording thread (std::thread's constructor unless replaced), which throws
    // std::system_error when the system has no thread to give: tests make it fail so.
    using ThreadMaker = std::function<std::thread(std::function<void()> body)>;
    void SetThreadMaker(ThreadMaker maker);

    // Starts the recording thread; the first attempt is made at once. False (and nothing
    // started) when already recording, when unsaved frames are kept (Save or Clear them first:
    // frames are never dropped by the way), or when the thread cannot be made.
    [[nodiscard]] bool Start(const GifRecordingSettings& settings);
    // Ends the recording, waiting for the thread (a capture request pending at that moment is
    // still answered: sent messages are handled while waiting), and gives every frame its delay.
    void Stop();
    // Asks the thread to end at its next pass; Stop still has to be called. Any thread.
    void RequestStop() { m_running.store(false); }
    // True from Start until Stop.
    bool IsRecording() const { return m_thread.joinable(); }
    // True while the thread goes on taking frames (false once it was asked to end).
    bool IsRunning() const { return m_running.load(); }
    // Why the last recording ended by itself, 0 when it did not.
    int GetStopReason() const { return m_stopReason.load(); }
    // Attempts of the last recording whose grab could not read the screen (a locked or secure
    // desktop): no frame was kept for them and their slots count as missed. Read after Stop.
    int GetFailedGrabs() const { return m_failedGrabs; }

    // Writes every frame to a new ".gif" beside the name nextStillPath() gives (its extension
    // replaced, never an existing file) with a progress window over `progressOwner`, then
    // destroys the frames. On failure the "Error" box says so and offers to try again (with a
    // new name); no file is left and the frames stay. Cancelled in the progress window: no file,
    // frames kept, no message. `savedPath` receives the file written. While it runs a save is in
    // progress (CInteraction): the program's global entries wait.
    SaveResult Save(CWnd* progressOwner, const std::function<std::wstring()>& nextStillPath,
                    int qualityIndex, std::wstring* savedPath = nullptr);
    // Destroys every frame.
    void Clear();
    // True between a Stop and the Save or Clear of its frames, when there are any: frames that
    // exist nowhere else.
    bool HasUnsavedFrames() const { return !IsRecording() && !m_frames.empty(); }

    // The frames between Stop and Save (the frame editor changes them there: their order, their
    // delays, which picture each shows).
    Frames& GetFrames() { return m_frames; }
    const Frames& GetFrames() const { return m_frames; }
    // Makes `into` a bitmap of the frame's picture (with the frame's delay). False, and `into`
    // without picture, when the frame has none or there is no memory or bitmap for it.
    [[nodiscard]] bool MakePicture(const GifStoredFrame& frame, CGifFrameImage& into) const;
    // The frame's picture rebuilt as the encoder reads it, valid until the next picture is
    // rebuilt; no pixels (and 0 x 0) when the frame has none or there is no memory for it.
    GifFrame RebuildPixels(const GifStoredFrame& frame) const;
    // Draws the frame's picture stretched into `to` (the DC's stretch mode applies) without
    // making a bitmap of it; false when the frame has none or it cannot be rebuilt.
    [[nodiscard]] bool DrawPicture(const GifStoredFrame& frame, HDC dc, const RECT& to) const;
    // Keeps a copy of the bitmap's pixels as a new picture and makes `frame` show it. False, and
    // `frame` unchanged, for a bitmap without picture or when there is no memory left.
    [[nodiscard]] bool KeepPicture(const CImage& picture, GifStoredFrame& frame);
    // Adds a frame of `picture` and its delay after the last one; false when it cannot be kept.
    [[nodiscard]] bool AppendFrame(const CGifFrameImage& picture);
    // The size of a frame's picture (0 x 0 when it has none).
    SIZE PictureSize(const GifStoredFrame& frame) const;
    // Every byte the frames keep: the compressed pictures and the log's working pictures.
    uint64_t KeptBytes() const { return m_log.KeptBytes(); }
    // The delay entries of the last recording (see GifRecordingPacer::Delays).
    const std::vector<int32_t>& GetDelays() const { return m_delays; }
    // What the frame window fills (lParam of WM_GIF_CAPTURE_FRAME).
    CGifCaptureRequest& GetRequest() { return m_request; }

    // The ".gif" path for a still picture's path: its extension replaced, and "_1", "_2"...
    // added before it while a file of that name exists. Empty for an empty path.
    static std::wstring GifPathFor(const std::wstring& stillPath);

    // The size a GIF of the frames is written at: the largest width and the largest height of
    // the frames with a picture (0 x 0 when there is none).
    SIZE CanvasSize() const;

    // One attempt of the recording thread: take, compare and append a frame.
    enum class Attempt { Kept, Unchanged, Missed };
    Attempt CaptureFrame();

private:
    void ThreadMain();
    void EndBy(StopReason reason);
    // S_OK, E_ABORT when cancelled, or a failure.
    HRESULT WriteGif(CWnd* progressOwner, const std::wstring& path, int qualityIndex);

    Frames m_frames;
    // Rebuilding a picture only moves the log's cache: the frames stay as they are.
    mutable CGifPictureLog m_log;
    std::vector<int32_t> m_delays;
    HWND m_owner = nullptr;
    HWND m_frameWindow = nullptr;
    Overlay m_overlay;
    CGifSpillFile m_spill;
    uint64_t m_memoryBudget = kMemoryBudget;
    uint64_t m_fileLimit = UINT64_MAX;
    bool m_smallFile = false;
    std::function<uint32_t()> m_now;
    std::function<void(uint32_t)> m_wait;
    ThreadMaker m_makeThread;

    GifRecordingSettings m_settings;
    CGifCaptureRequest m_request;
    std::thread m_thread;
    // Held by the recording thread for its whole life: Stop waits on it.
    std::mutex m_lock;
    std::atomic<bool> m_running{false};
    std::atomic<int> m_stopReason{0};
    int m_failedGrabs = 0;
    PixelBuffer m_previous;
    PixelBuffer m_current;
};
