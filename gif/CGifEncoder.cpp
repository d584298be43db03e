#include "CGifEncoder.h"

#include <cstring>
#include <new>
#include <thread>
#include "CGifFrameJob.h"
#include "CGifFramePipeline.h"
#include "GifChangedRect.h"

namespace {

constexpr int kMaxThreads = 4;
constexpr int kPaletteSizeExponent = 7;
// The control extension's packed byte in the small-file mode: disposal method 1 (the frame stays
// for the next one to be drawn over) and the transparency flag.
constexpr int kLeaveInPlace = 1 << 2;
constexpr int kTransparentFlag = 1;

int DefaultThreadCount() {
    const unsigned hardware = std::thread::hardware_concurrency();
    if (hardware == 0) {
        return 1;
    }
    return hardware > kMaxThreads ? kMaxThreads : static_cast<int>(hardware);
}

// The largest canvas a frame is written with: the file stores 16-bit sizes, and the quantiser
// counts the frame's bytes (three per pixel) in 32 bits.
bool CanvasFits(int width, int height) {
    return width <= 65535 && height <= 65535 &&
           static_cast<int64_t>(width) * height * 3 <= 2147483647;
}

class HeaderWriter {
public:
    void Byte(int value) { m_bytes[m_size++] = static_cast<uint8_t>(value); }
    void Short(int value) {
        Byte(value & 0xFF);
        Byte((value >> 8) & 0xFF);
    }
    void Bytes(const void* bytes, size_t count) {
        std::memcpy(m_bytes + m_size, bytes, count);
        m_size += count;
    }
    const uint8_t* Data() const { return m_bytes; }
    size_t Size() const { return m_size; }

private:
    // Screen descriptor, global table, repeat block, control extension, image descriptor and
    // local table: never more than 7 + 768 + 19 + 8 + 10 + 768 bytes.
    uint8_t m_bytes[1600];
    size_t m_size = 0;
};

// The screen descriptor, the first frame's table as the global one, and the repeat block.
void AddFileHeader(HeaderWriter& header, const CGifFrameJob& job, int loopCount) {
    header.Short(job.Width());
    header.Short(job.Height());
    header.Byte(0x80 | 0x70 | kPaletteSizeExponent);
    header.Byte(0);
    header.Byte(0);
    header.Bytes(job.ColourTable(), 768);
    if (loopCount >= 0) {
        header.Byte(0x21);
        header.Byte(0xFF);
        header.Byte(11);
        header.Bytes("NETSCAPE2.0", 11);
        header.Byte(3);
        header.Byte(1);
        header.Short(loopCount);
        header.Byte(0);
    }
}

// A graphic control extension: packed fields, delay in hundredths, transparent entry.
void AddControl(HeaderWriter& header, int packed, int delay, int transparent) {
    header.Byte(0x21);
    header.Byte(0xF9);
    header.Byte(4);
    header.Byte(packed);
    header.Short(delay);
    header.Byte(transparent);
    header.Byte(0);
}

// An image descriptor without a table of its own.
void AddDescriptor(HeaderWriter& header, int left, int top, int width, int height) {
    header.Byte(0x2C);
    header.Short(left);
    header.Short(top);
    header.Short(width);
    header.Short(height);
}

}  // namespace

CGifEncoder::CGifEncoder() : m_threads(DefaultThreadCount()), m_isa(BestGifIsa()) {}

CGifEncoder::~CGifEncoder() {
    StopWorkers();
    if (m_ownsSink) {
        (void)m_sink->Close();
        delete m_sink;
    }
}

bool CGifEncoder::Open(CGifByteSink* sink) {
    if (sink == nullptr || m_started) {
        return false;
    }
    m_ownsSink = false;
    m_sink = sink;
    m_started = m_sink->Write(reinterpret_cast<const uint8_t*>("GIF89a"), 6);
    return m_started;
}

bool CGifEncoder::OpenPath(const GifPath& path) {
    if (m_started) {
        return false;
    }
    auto* file = new (std::nothrow) CGifFileSink();
    if (file == nullptr) {
        return false;
    }
    if (!file->Open(path) || !Open(file)) {
        (void)file->Close();
        delete file;
        m_sink = nullptr;
        return false;
    }
    m_ownsSink = true;
    return true;
}

void CGifEncoder::SetCanvasSize(int width, int height) {
    // Queued frames decide whether a frame has been written yet.
    m_unreportedFailure = !Drain() || m_unreportedFailure;
    if (m_started && FrameGiven()) {
        return;
    }
    m_width = width < 1 ? 320 : width;
    m_height = height < 1 ? 240 : height;
    m_sizeSet = true;
}

void CGifEncoder::SetLoopCount(int count) {
    if (count < 0) {
        return;
    }
    if (m_smallFile && m_started && FrameGiven()) {
        // The first frame may wait for its delay long after it was given.
        return;
    }
    // A first frame still queued must get the repeat block as it stood when it was given.
    m_unreportedFailure = !Drain() || m_unreportedFailure;
    m_loopCount = count > 0xFFFF ? 0xFFFF : count;  // 16 bits in the file
}

void CGifEncoder::SetFrameDelay(int milliseconds) {
    m_delayMs = milliseconds < 0 ? 0 : milliseconds;
    // Rounded in single precision; the stores keep x87 builds from carrying extra precision.
    volatile float sum = static_cast<float>(milliseconds) + 5.0f;
    volatile float hundredths = sum / 10.0f;
    // The file holds 16 bits: a long still scene (merged unchanged frames) or a negative delay
    // must not wrap around to a short one.
    const int rounded = static_cast<int>(hundredths);
    m_delay = rounded < 0 ? 0 : rounded > 0xFFFF ? 0xFFFF : rounded;
}

void CGifEncoder::SetSampleFactor(int factor) {
    m_sampleFactor = factor < 1 ? 1 : factor;
}

void CGifEncoder::SetSmallFile(bool on) {
    if (m_started && FrameGiven()) {
        return;
    }
    m_smallFile = on;
}

void CGifEncoder::SetThreadCount(int threads) {
    threads = threads < 1 ? 1 : (threads > kMaxThreads ? kMaxThreads : threads);
    if (threads != m_threads) {
        m_unreportedFailure = !Drain() || m_unreportedFailure;
        StopWorkers();
        m_threads = threads;
    }
}

void CGifEncoder::SetInstructionSet(GifIsa isa) {
    m_isa = IsGifIsaAvailable(isa) ? isa : GifIsa::Scalar;
}

bool CGifEncoder::WriteFrame(const GifFrame& frame) {
    if (!m_started || !frame.IsReadable()) {
        return false;
    }
    if (!m_sizeSet) {
        SetCanvasSize(frame.width, frame.height);
    }
    if (!CanvasFits(m_width, m_height)) {
        return false;
    }
    if (m_smallFile) {
        return WriteSmallFrame(frame);
    }
    std::unique_ptr<CGifFrameJob> job = NewJob();
    if (!job || !job->Prepare(frame, m_width, m_height, m_sampleFactor, m_delay, m_isa)) {
        return false;
    }
    job->SetDelayMs(m_delayMs);
    return Submit(std::move(job));
}

bool CGifEncoder::Submit(std::unique_ptr<CGifFrameJob> job) {
    if (m_threads <= 1) {
        job->Run();
        const bool written = WriteOrHold(std::move(job));
        return written && !TakeUnreportedFailure();
    }
    if (!m_pipeline) {
        m_pipeline.reset(new (std::nothrow) CGifFramePipeline());
        if (!m_pipeline || !m_pipeline->Start(m_threads)) {
            m_pipeline.reset();
            job->Run();
            return WriteOrHold(std::move(job));
        }
    }
    m_pipeline->Submit(std::move(job));
    // One frame more than there are workers stays queued, so a worker never waits for the
    // caller, and the caller's progress stays close to the file's.
    bool failed = TakeUnreportedFailure();
    while (WriteFinished(m_pipeline->Pending() > m_threads, failed)) {
    }
    return !failed;
}

bool CGifEncoder::WriteFinished(bool wait, bool& failed) {
    if (!m_pipeline) {
        return false;
    }
    std::unique_ptr<CGifFrameJob> job = m_pipeline->TakeOldest(wait);
    if (!job) {
        return false;
    }
    if (!WriteOrHold(std::move(job))) {
        failed = true;
    }
    return true;
}

bool CGifEncoder::WriteOrHold(std::unique_ptr<CGifFrameJob> job) {
    if (job.get() == m_newest) {
        m_held = std::move(job);
        return m_held->Succeeded();
    }
    const bool written = WriteJob(*job);
    Recycle(std::move(job));
    return written;
}

bool CGifEncoder::FinishNewest() {
    if (m_newest == nullptr) {
        return true;
    }
    m_newest->SetDelayMs(m_newestDelayMs);
    m_newest = nullptr;
    if (!m_held) {
        return true;  // still queued: written in its turn
    }
    const bool written = WriteJob(*m_held);
    Recycle(std::move(m_held));
    return written;
}

bool CGifEncoder::WriteSmallFrame(const GifFrame& frame) {
    const ptrdiff_t canvasStride = static_cast<ptrdiff_t>(m_width) * 4;
    const size_t canvasPixels = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
    std::unique_ptr<CGifFrameJob> job = NewJob();
    if (!job) {
        return false;
    }
    if (!FrameGiven()) {
        // The first frame is written whole, its palette refined once over its pixels. It is
        // made here, before any other frame: which pixels it shows exactly is needed by the
        // next frame.
        if (!m_canvas) {
            m_canvas.reset(new (std::nothrow) uint8_t[canvasPixels * 4]);
            m_firstCanvas.reset(new (std::nothrow) uint8_t[canvasPixels * 4]);
            m_firstIndices.reset(new (std::nothrow) uint8_t[canvasPixels]);
            m_exact.reset(new (std::nothrow) uint8_t[canvasPixels]);
        }
        if (!m_canvas || !m_firstCanvas || !m_firstIndices || !m_exact ||
            !job->Prepare(frame, m_width, m_height, m_sampleFactor, m_delay, m_isa, true)) {
            return false;
        }
        CopyToCanvas(frame.pixels, frame.stride, frame.width, frame.height, m_canvas.get(), m_width, m_height);
        std::memcpy(m_firstCanvas.get(), m_canvas.get(), canvasPixels * 4);
        job->Run();
        if (!job->Succeeded()) {
            return false;
        }
        const uint8_t* table = job->ColourTable();
        const uint8_t* indices = job->Indices();
        std::memcpy(m_firstIndices.get(), indices, canvasPixels);
        std::memcpy(m_first.colours, table, sizeof(m_first.colours));
        m_first.transparent = job->SpareIndex();
        m_first.pixels = static_cast<int64_t>(canvasPixels);
        m_first.squaredError = 0;
        for (size_t i = 0; i < canvasPixels; i++) {
            const uint8_t* shown = table + indices[i] * 3;
            const uint8_t* source = m_canvas.get() + i * 4;
            const int r = shown[0] - source[2], g = shown[1] - source[1], b = shown[2] - source[0];
            m_first.squaredError += r * r + g * g + b * b;
            m_exact[i] = r == 0 && g == 0 && b == 0;
        }
        m_newest = job.get();
        m_newestDelayMs = m_delayMs;
        return WriteOrHold(std::move(job));
    }

    // A frame of another size (the frame editor's) is compared as it is shown: on the canvas.
    const uint8_t* current = frame.pixels;
    ptrdiff_t stride = frame.stride;
    if (frame.width != m_width || frame.height != m_height) {
        if (!m_padded) {
            m_padded.reset(new (std::nothrow) uint8_t[canvasPixels * 4]);
            if (!m_padded) {
                return false;
            }
        }
        CopyToCanvas(frame.pixels, frame.stride, frame.width, frame.height, m_padded.get(), m_width, m_height);
        current = m_padded.get();
        stride = canvasStride;
    }
    const GifRect changed = FindChangedRect(current, stride, m_canvas.get(), canvasStride, m_width, m_height);
    if (changed.IsEmpty()) {
        m_newestDelayMs += m_delayMs;
        bool failed = TakeUnreportedFailure();
        while (WriteFinished(false, failed)) {
        }
        return !failed;
    }
    // The exact table is made here, so that the next frame knows which pixels this one shows
    // exactly; the quantiser's work goes to the workers.
    bool exact = false;
    GifChangePalette palette;
    if (uint8_t* indices = job->BeginMapped(changed)) {
        exact = MapChangesExactly(current, stride, m_canvas.get(), canvasStride, m_exact.get(), m_width, changed,
                                  indices, palette);
        if (exact) {
            job->EndMapped(palette);
        }
    }
    if (!exact) {
        // As many samples as a whole frame gets, then spent on the changes alone.
        const int samples = static_cast<int>(canvasPixels / static_cast<size_t>(m_sampleFactor));
        if (!job->PrepareChange(current, stride, m_canvas.get(), m_firstCanvas.get(), m_firstIndices.get(),
                                canvasStride, changed, samples, m_isa, m_first)) {
            return false;
        }
    }
    for (int y = changed.top; y < changed.bottom; y++) {
        uint8_t* source = m_canvas.get() + canvasStride * y + changed.left * 4;
        const uint8_t* now = current + stride * y + changed.left * 4;
        uint8_t* shown = m_exact.get() + static_cast<ptrdiff_t>(m_width) * y + changed.left;
        for (int x = 0; x < changed.Width(); x++) {
            // What the quantiser will show is not known here: none of it counts as exact.
            if (GifRgbOf(source + x * 4) != GifRgbOf(now + x * 4)) {
                shown[x] = exact;
            }
        }
        std::memcpy(source, now, static_cast<size_t>(changed.Width()) * 4);
    }
    // The frame before now has its whole delay.
    bool ok = FinishNewest();
    m_newest = job.get();
    m_newestDelayMs = m_delayMs;
    ok = Submit(std::move(job)) && ok;
    return ok;
}

std::unique_ptr<CGifFrameJob> CGifEncoder::NewJob() {
    if (m_spareCount > 0) {
        return std::move(m_spareJobs[--m_spareCount]);
    }
    return std::unique_ptr<CGifFrameJob>(new (std::nothrow) CGifFrameJob());
}

void CGifEncoder::Recycle(std::unique_ptr<CGifFrameJob> job) {
    if (m_spareCount < static_cast<int>(sizeof(m_spareJobs) / sizeof(m_spareJobs[0]))) {
        m_spareJobs[m_spareCount++] = std::move(job);
    }
}

bool CGifEncoder::Drain() {
    bool failed = false;
    while (WriteFinished(true, failed)) {
    }
    return !failed;
}

bool CGifEncoder::TakeUnreportedFailure() {
    const bool failed = m_unreportedFailure;
    m_unreportedFailure = false;
    return failed;
}

void CGifEncoder::StopWorkers() {
    if (m_pipeline) {
        m_pipeline->Stop();
        m_pipeline.reset();
    }
}

bool CGifEncoder::WriteJob(const CGifFrameJob& job) {
    if (!job.Succeeded() || m_sink == nullptr) {
        return false;
    }
    if (m_smallFile) {
        return WriteSmallJob(job);
    }
    HeaderWriter header;
    if (m_firstFrame) {
        AddFileHeader(header, job, m_loopCount);
    }
    AddControl(header, 0, job.Delay(), m_transparentIndex);
    AddDescriptor(header, 0, 0, job.Width(), job.Height());
    if (m_firstFrame) {
        header.Byte(0);
    } else {
        header.Byte(0x80 | kPaletteSizeExponent);
        header.Bytes(job.ColourTable(), 768);
    }
    if (!m_sink->Write(header.Data(), header.Size()) ||
        !m_sink->Write(job.ImageData(), job.ImageDataSize())) {
        return false;
    }
    m_firstFrame = false;
    // Only a delay past the field's 655.35 s goes on: every other file is as it always was.
    return job.Delay() < 0xFFFF || WriteRestOfDelay((job.DelayMs() + 5) / 10 - 0xFFFF);
}

bool CGifEncoder::WriteRestOfDelay(int64_t hundredths) {
    for (; hundredths > 0; hundredths -= 0xFFFF) {
        HeaderWriter empty;
        const int delay = static_cast<int>(hundredths > 0xFFFF ? 0xFFFF : hundredths);
        AddControl(empty, kLeaveInPlace | kTransparentFlag, delay, 0);
        // One transparent pixel of the global table: code size 2, then the clear code (4), entry 0
        // and the end code (5), three bits each.
        AddDescriptor(empty, 0, 0, 1, 1);
        const uint8_t image[] = {0x00, 2, 2, 0x44, 0x01, 0};
        empty.Bytes(image, sizeof(image));
        if (!m_sink->Write(empty.Data(), empty.Size())) {
            return false;
        }
    }
    return true;
}

bool CGifEncoder::WriteSmallJob(const CGifFrameJob& job) {
    // Added up in milliseconds and rounded once, as one delay.
    int64_t hundredths = (job.DelayMs() + 5) / 10;
    const int transparent = job.TransparentIndex();
    HeaderWriter header;
    if (m_firstFrame) {
        AddFileHeader(header, job, m_loopCount);
    }
    AddControl(header, kLeaveInPlace | (transparent >= 0 ? kTransparentFlag : 0),
               static_cast<int>(hundredths > 0xFFFF ? 0xFFFF : hundredths), transparent >= 0 ? transparent : 0);
    AddDescriptor(header, job.Left(), job.Top(), job.Width(), job.Height());
    if (m_firstFrame || job.UsesGlobalTable()) {
        header.Byte(0);
    } else {
        header.Byte(0x80 | (job.TableBits() - 1));
        header.Bytes(job.ColourTable(), static_cast<size_t>(3) << job.TableBits());
    }
    if (!m_sink->Write(header.Data(), header.Size()) ||
        !m_sink->Write(job.ImageData(), job.ImageDataSize())) {
        return false;
    }
    m_firstFrame = false;
    // The field holds 655.35 s: the rest of a longer stillness goes into empty frames.
    return WriteRestOfDelay(hundredths - 0xFFFF);
}

bool CGifEncoder::Close() {
    if (!m_started) {
        return false;
    }
    const bool newestWritten = FinishNewest();
    const bool framesWritten = Drain() && !TakeUnreportedFailure() && newestWritten;
    StopWorkers();
    while (m_spareCount > 0) {
        m_spareJobs[--m_spareCount].reset();
    }
    m_started = false;
    const uint8_t trailer = 0x3B;
    bool ok = m_sink->Write(&trailer, 1);
    ok = m_sink->Flush() && ok;
    if (m_ownsSink) {
        ok = m_sink->Close() && ok;
        delete m_sink;
    }
    m_transparentIndex = 0;
    m_sink = nullptr;
    m_ownsSink = false;
    m_firstFrame = true;
    m_canvas.reset();
    m_firstCanvas.reset();
    m_firstIndices.reset();
    m_exact.reset();
    m_padded.reset();
    return ok && framesWritten;
}
