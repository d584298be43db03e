#include "CGifEncoder.h"

#include <cstring>
#include <new>
#include <thread>
#include "CGifFrameJob.h"
#include "CGifFramePipeline.h"

namespace {

constexpr int kMaxThreads = 4;
constexpr int kPaletteSizeExponent = 7;

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
    if (m_started && !m_firstFrame) {
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
    // A first frame still queued must get the repeat block as it stood when it was given.
    m_unreportedFailure = !Drain() || m_unreportedFailure;
    m_loopCount = count > 0xFFFF ? 0xFFFF : count;  // 16 bits in the file
}

void CGifEncoder::SetFrameDelay(int milliseconds) {
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
    std::unique_ptr<CGifFrameJob> job = NewJob();
    if (!job || !job->Prepare(frame, m_width, m_height, m_sampleFactor, m_delay, m_isa)) {
        return false;
    }

    if (m_threads <= 1) {
        job->Run();
        const bool written = WriteJob(*job);
        Recycle(std::move(job));
        return written && !TakeUnreportedFailure();
    }
    if (!m_pipeline) {
        m_pipeline.reset(new (std::nothrow) CGifFramePipeline());
        if (!m_pipeline || !m_pipeline->Start(m_threads)) {
            m_pipeline.reset();
            job->Run();
            const bool written = WriteJob(*job);
            Recycle(std::move(job));
            return written;
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
    if (!WriteJob(*job)) {
        failed = true;
    }
    Recycle(std::move(job));
    return true;
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
    HeaderWriter header;
    if (m_firstFrame) {
        header.Short(job.Width());
        header.Short(job.Height());
        header.Byte(0x80 | 0x70 | kPaletteSizeExponent);
        header.Byte(0);
        header.Byte(0);
        header.Bytes(job.ColourTable(), 768);
        if (m_loopCount >= 0) {
            header.Byte(0x21);
            header.Byte(0xFF);
            header.Byte(11);
            header.Bytes("NETSCAPE2.0", 11);
            header.Byte(3);
            header.Byte(1);
            header.Short(m_loopCount);
            header.Byte(0);
        }
    }
    header.Byte(0x21);
    header.Byte(0xF9);
    header.Byte(4);
    header.Byte(0);
    header.Short(job.Delay());
    header.Byte(m_transparentIndex);
    header.Byte(0);

    header.Byte(0x2C);
    header.Short(0);
    header.Short(0);
    header.Short(job.Width());
    header.Short(job.Height());
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
    return true;
}

bool CGifEncoder::Close() {
    if (!m_started) {
        return false;
    }
    const bool framesWritten = Drain() && !TakeUnreportedFailure();
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
    return ok && framesWritten;
}
