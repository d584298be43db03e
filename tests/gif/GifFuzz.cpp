// Fuzz target: arbitrary frames, sizes, canvas, delays, loop counts and sample factors through
// the fast encoder (any thread count and instruction set) and the plain reference. Both must
// give the same bytes, and the file must decode back to the canvas with every frame. The same
// frames in the small-file mode must decode and compose inside the canvas, with no more frames
// than were given (and the fillers of long delays).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>
#include "CGifEncoder.h"
#include "CGifMemorySink.h"
#include "CPlainGifEncoder.h"
#include "GifTestDecoder.h"

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    int Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    int Small(int limit) { return Byte() % limit; }
    const uint8_t* Rest(size_t& size) const {
        size = m_size - (m_pos < m_size ? m_pos : m_size);
        return m_data + (m_size - size);
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

struct Frame {
    int width, height, stride, delay;
    std::vector<uint8_t> pixels;
};

template <typename Encoder>
bool Run(Encoder& encoder, CGifMemorySink& sink, int canvasW, int canvasH, int loop, int sample,
         const std::vector<Frame>& frames) {
    if (!encoder.Open(&sink)) return false;
    if (canvasW >= 0) encoder.SetCanvasSize(canvasW, canvasH);
    encoder.SetLoopCount(loop);
    encoder.SetSampleFactor(sample);
    for (const Frame& f : frames) {
        encoder.SetFrameDelay(f.delay);
        GifFrame frame;
        frame.pixels = f.pixels.empty() ? nullptr : f.pixels.data();
        frame.width = f.width;
        frame.height = f.height;
        frame.stride = f.stride;
        if (!encoder.WriteFrame(frame)) return false;
    }
    return encoder.Close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const int frameCount = 1 + in.Small(4);
    // Sizes below 1 give the 320 x 240 default canvas, slow to fuzz through: kept rare.
    const int canvasW = in.Small(4) == 0 ? (in.Small(16) == 15 ? 0 : 1 + in.Small(47)) : -1;
    const int canvasH = in.Small(16) == 15 ? -1 : 1 + in.Small(47);
    const int loop = in.Small(5) - 2;
    const int sample = in.Small(25) - 2;
    const int threads = 1 + in.Small(3);
    const GifIsa isas[] = {GifIsa::Scalar, GifIsa::Sse2, GifIsa::Avx2, GifIsa::Avx512};
    const GifIsa isa = isas[in.Small(4)];
    std::vector<Frame> frames(frameCount);
    for (Frame& f : frames) {
        f.width = in.Small(16) == 15 ? 0 : 1 + in.Small(40);
        f.height = in.Small(16) == 15 ? 0 : 1 + in.Small(40);
        f.stride = f.width * 4 + in.Small(3) * 4;
        f.delay = (in.Byte() << 8 | in.Byte()) - 1000;
        f.pixels.resize(static_cast<size_t>(f.stride) * f.height);
    }
    // The remaining bytes paint the frames, repeated as needed.
    size_t restSize;
    const uint8_t* rest = in.Rest(restSize);
    size_t k = 0;
    for (Frame& f : frames)
        for (uint8_t& byte : f.pixels) byte = restSize ? rest[k++ % restSize] : static_cast<uint8_t>(k++);

    CGifMemorySink fastSink, plainSink;
    CGifEncoder fast;
    fast.SetThreadCount(threads);
    fast.SetInstructionSet(isa);
    CPlainGifEncoder plain;
    const bool fastOk = Run(fast, fastSink, canvasW, canvasH, loop, sample, frames);
    const bool plainOk = Run(plain, plainSink, canvasW, canvasH, loop, sample, frames);
    if (fastOk != plainOk || fastSink.Bytes() != plainSink.Bytes()) std::abort();
    if (!fastOk) return 0;

    DecodedGif gif;
    std::string error;
    if (!DecodeGif(fastSink.Bytes(), gif, error) || gif.frames.size() != frames.size()) std::abort();
    for (const DecodedFrame& frame : gif.frames)
        if (frame.width != gif.width || frame.height != gif.height) std::abort();

    CGifMemorySink smallSink;
    CGifEncoder small;
    small.SetThreadCount(threads);
    small.SetInstructionSet(isa);
    small.SetSmallFile(true);
    if (!Run(small, smallSink, canvasW, canvasH, loop, sample, frames)) std::abort();
    DecodedGif smallGif;
    std::vector<std::vector<uint8_t>> shown;
    if (!DecodeGif(smallSink.Bytes(), smallGif, error) || !CompositeGif(smallGif, shown, error)) std::abort();
    if (smallGif.width != gif.width || smallGif.height != gif.height || smallGif.frames.empty()) std::abort();
    return 0;
}
