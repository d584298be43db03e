#pragma once
// Writes a sequence of frames as one animated GIF89a file: each frame gets its own 256-colour
// palette (the first frame's is the global table) and LZW-compressed image data.
//
// In the small-file mode the first frame is written whole, its palette refined once over its
// pixels; every frame after it holds only what changed: the smallest rectangle around the pixels
// that differ from the frame before, left in place for the next (disposal 1), its unchanged
// pixels transparent, with an exact table of the changed colours when there are at most 255 of
// them (and a code size to match), else the first frame's table where it shows them well, else
// a table learnt from them. A frame that changes nothing is not written: its time goes to the
// frame before.
//
// Frames may be compressed on worker threads while the caller goes on; they are always written
// in order and the bytes never depend on the thread count or the instruction set.
#include <cstdint>
#include <memory>
#include "CGifByteSink.h"
#include "CGifFileSink.h"
#include "GifFrame.h"
#include "GifChangePalette.h"
#include "GifIsa.h"

#ifdef _WIN32
#include <windows.h>
#endif

class CGifFrameJob;
class CGifFramePipeline;

class CGifEncoder {
public:
    CGifEncoder();
    ~CGifEncoder();
    CGifEncoder(const CGifEncoder&) = delete;
    CGifEncoder& operator=(const CGifEncoder&) = delete;

    // Takes a sink (not owned) and writes the signature; false if the sink is absent, a file is
    // already open, or the signature cannot be written.
    [[nodiscard]] bool Open(CGifByteSink* sink);
    // Creates or truncates the file and opens on it; the encoder closes it in Close.
    [[nodiscard]] bool OpenPath(const GifPath& path);

    // Fixes the canvas (a size below 1 becomes 320 x 240); ignored once a frame is written.
    void SetCanvasSize(int width, int height);
    // Repeat count for viewers, 0 for ever; without a call no repeat block is written.
    void SetLoopCount(int count);
    // Delay of the following frames, rounded to hundredths of a second.
    void SetFrameDelay(int milliseconds);
    // The quantiser learns from one pixel in `factor` (at least 1) from the next frame on.
    void SetSampleFactor(int factor);
    // The small-file mode (off unless asked for); ignored once a frame is given. In it the loop
    // count, too, is fixed by the first frame.
    void SetSmallFile(bool on);

    // Writes one frame with the canvas size: its top-left part, padded with black where the
    // frame is smaller. The first frame fixes the canvas if SetCanvasSize was not called.
    // With worker threads the frame is copied and queued: a failure of a frame queued earlier
    // (memory, or the file) is then reported by the WriteFrame or Close during which it is found.
    [[nodiscard]] bool WriteFrame(const GifFrame& frame);
#ifdef _WIN32
    // Reads the bitmap's pixels (32 bits per pixel; other depths are converted first).
    [[nodiscard]] bool WriteFrame(HBITMAP bitmap);
#endif
    // Writes the queued frames and the trailer, and closes a file opened by OpenPath. The canvas
    // size (and the mode) stay for a following Open.
    [[nodiscard]] bool Close();

    // Tuning that never changes a byte. With 1 thread frames are written inside WriteFrame; the
    // default uses the processor's threads (at most 4).
    void SetThreadCount(int threads);
    void SetInstructionSet(GifIsa isa);

    int ThreadCount() const { return m_threads; }
    bool IsStarted() const { return m_started; }
    bool IsSmallFile() const { return m_smallFile; }
    int CanvasWidth() const { return m_width; }
    int CanvasHeight() const { return m_height; }

private:
    // Runs the job here or queues it, writing what has finished meanwhile.
    bool Submit(std::unique_ptr<CGifFrameJob> job);
    bool WriteSmallFrame(const GifFrame& frame);
    // A frame has been given since Open (perhaps not yet written).
    bool FrameGiven() const { return !m_firstFrame || m_newest != nullptr; }
    // Writes every queued frame, waiting for each; false if one of them failed.
    bool Drain();
    bool WriteFinished(bool wait, bool& failed);
    // Writes a finished job, or holds it back while it is the newest of the small-file mode (its
    // delay is known only once the next frame has shown a change).
    bool WriteOrHold(std::unique_ptr<CGifFrameJob> job);
    // The newest frame's delay is final: writes it if it is held back.
    bool FinishNewest();
    bool WriteJob(const CGifFrameJob& job);
    // Frames of the small-file mode: delays past the file's 16 bits go on in empty frames.
    bool WriteSmallJob(const CGifFrameJob& job);
    // Empty frames (one transparent pixel, the picture left in place) for `hundredths` of delay
    // that no longer fit the frame before: nothing for 0 or less.
    bool WriteRestOfDelay(int64_t hundredths);
    void StopWorkers();
    // Jobs written out are kept (a few) for the next frames, with their buffers.
    std::unique_ptr<CGifFrameJob> NewJob();
    void Recycle(std::unique_ptr<CGifFrameJob> job);
    // A queued frame that failed while a setter wrote it out, not yet told to the caller.
    bool TakeUnreportedFailure();

    int m_width = 0;
    int m_height = 0;
    int m_transparentIndex = 0;
    int m_loopCount = -1;
    int m_delay = 0;
    bool m_started = false;
    CGifByteSink* m_sink = nullptr;
    bool m_ownsSink = false;
    bool m_firstFrame = true;
    bool m_sizeSet = false;
    int m_sampleFactor = 10;
    int m_delayMs = 0;

    bool m_smallFile = false;
    // The canvas as the last frame given left it (the small-file mode compares with it), as the
    // first frame had it and the entries it got, which of its pixels the viewer shows exactly (one byte each), and a
    // frame of another size padded onto the canvas.
    std::unique_ptr<uint8_t[]> m_canvas;
    std::unique_ptr<uint8_t[]> m_firstCanvas;
    std::unique_ptr<uint8_t[]> m_firstIndices;
    std::unique_ptr<uint8_t[]> m_exact;
    GifFirstPalette m_first;
    std::unique_ptr<uint8_t[]> m_padded;
    // The last frame given, whose delay grows while the frames after it change nothing, and
    // that frame once finished, waiting for its delay.
    CGifFrameJob* m_newest = nullptr;
    int64_t m_newestDelayMs = 0;
    std::unique_ptr<CGifFrameJob> m_held;

    int m_threads;
    GifIsa m_isa;
    std::unique_ptr<CGifFramePipeline> m_pipeline;
    bool m_unreportedFailure = false;
    // As many spare jobs as a frame can need while the workers hold theirs; more would only hold
    // memory.
    std::unique_ptr<CGifFrameJob> m_spareJobs[2];
    int m_spareCount = 0;
};
