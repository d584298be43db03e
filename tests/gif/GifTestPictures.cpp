#include "GifTestPictures.h"

#include <cstdlib>
#include <string>
#include "CGifEncoder.h"
#include "CGifMemorySink.h"
#include "CPlainGifEncoder.h"

namespace {

uint32_t NextRandom(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

void Put(TestPicture& p, int x, int y, int red, int green, int blue) {
    uint8_t* px = &p.bgrx[static_cast<size_t>(y) * p.stride + static_cast<size_t>(x) * 4];
    px[0] = static_cast<uint8_t>(blue);
    px[1] = static_cast<uint8_t>(green);
    px[2] = static_cast<uint8_t>(red);
    px[3] = 0xA5;  // the unused byte must not matter
}

TestPicture Blank(int width, int height) {
    TestPicture p;
    p.width = width;
    p.height = height;
    p.stride = width * 4;
    p.bgrx.assign(static_cast<size_t>(p.stride) * height, 0);
    return p;
}

template <typename Encoder>
std::vector<uint8_t> Encode(Encoder& encoder, const std::vector<TestPicture>& pictures,
                            const EncodeOptions& options) {
    CGifMemorySink sink;
    EXPECT_TRUE(encoder.Open(&sink));
    if (options.loop >= 0) {
        encoder.SetLoopCount(options.loop);
    }
    encoder.SetSampleFactor(options.sample);
    for (const TestPicture& picture : pictures) {
        encoder.SetFrameDelay(options.delayMs);
        EXPECT_TRUE(encoder.WriteFrame(picture.Frame()));
    }
    EXPECT_TRUE(encoder.Close());
    return sink.Bytes();
}

}  // namespace

GifFrame TestPicture::Frame() const {
    GifFrame frame;
    frame.pixels = bgrx.empty() ? nullptr : bgrx.data();
    frame.width = width;
    frame.height = height;
    frame.stride = stride;
    return frame;
}

void TestPicture::ColourAt(int x, int y, int rgb[3]) const {
    if (x >= width || y >= height) {
        rgb[0] = rgb[1] = rgb[2] = 0;
        return;
    }
    const uint8_t* px = &bgrx[static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4];
    rgb[0] = px[2];
    rgb[1] = px[1];
    rgb[2] = px[0];
}

TestPicture TestPicture::Solid(int width, int height, int red, int green, int blue) {
    TestPicture p = Blank(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) Put(p, x, y, red, green, blue);
    return p;
}

TestPicture TestPicture::Noise(int width, int height, uint32_t seed) {
    TestPicture p = Blank(width, height);
    uint32_t state = seed * 2654435761u + 1;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const uint32_t r = NextRandom(state);
            Put(p, x, y, r & 0xFF, (r >> 8) & 0xFF, (r >> 16) & 0xFF);
        }
    return p;
}

TestPicture TestPicture::Gradient(int width, int height) {
    TestPicture p = Blank(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) Put(p, x, y, x * 255 / (width > 1 ? width - 1 : 1), y & 255, (x + y) & 255);
    return p;
}

TestPicture TestPicture::Screen(int width, int height, uint32_t seed) {
    TestPicture p = Blank(width, height);
    uint32_t state = seed * 2246822519u + 7;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) Put(p, x, y, 30 + y * 60 / height, 80 + x * 40 / width, 150);
    // A photo in the top right corner.
    for (int y = 0; y < height / 3; y++)
        for (int x = width * 2 / 3; x < width; x++) {
            const int n = static_cast<int>(NextRandom(state) % 25) - 12;
            Put(p, x, y, std::abs((x * 3 + y + n) % 256), std::abs((128 + x - y + n) % 256), std::abs((y * 2 - n) % 256));
        }
    // Windows with a title bar and lines of text-like strokes.
    for (int w = 0; w < 2; w++) {
        const int left = width / 16 + w * width / 3, top = height / 8 + w * height / 4;
        const int right = left + width / 2, bottom = top + height / 2;
        for (int y = top; y < bottom && y < height; y++)
            for (int x = left; x < right && x < width; x++) {
                if (y < top + 12) Put(p, x, y, 40, 80 + w * 60, 160 - w * 80);
                else Put(p, x, y, 255, 255, 255);
            }
        for (int y = top + 16; y + 8 < bottom && y + 8 < height; y += 12)
            for (int x = left + 4; x < right - 4 && x < width; x += 3)
                if (NextRandom(state) % 5 != 0)
                    for (int k = 0; k < 7; k++) Put(p, x, y + k, 20, 20, w ? 20 : 140);
    }
    return p;
}

TestPicture TestPicture::WithRowPadding(int extra) const {
    TestPicture p;
    p.width = width;
    p.height = height;
    p.stride = stride + extra;
    p.bgrx.assign(static_cast<size_t>(p.stride) * height, 0x5A);
    for (int y = 0; y < height; y++)
        std::copy(bgrx.begin() + static_cast<size_t>(y) * stride, bgrx.begin() + static_cast<size_t>(y) * stride + width * 4,
                  p.bgrx.begin() + static_cast<size_t>(y) * p.stride);
    return p;
}

TestPicture TestPicture::WithFill(int x, int y, int w, int h, int red, int green, int blue) const {
    TestPicture p = *this;
    for (int yy = y; yy < y + h && yy < height; yy++)
        for (int xx = x; xx < x + w && xx < width; xx++) Put(p, xx, yy, red, green, blue);
    return p;
}

TestPicture TestPicture::WithNoise(int x, int y, int w, int h, uint32_t seed) const {
    TestPicture p = *this;
    uint32_t state = seed * 2654435761u + 3;
    for (int yy = y; yy < y + h && yy < height; yy++)
        for (int xx = x; xx < x + w && xx < width; xx++) {
            const uint32_t r = NextRandom(state);
            Put(p, xx, yy, r & 0xFF, (r >> 8) & 0xFF, (r >> 16) & 0xFF);
        }
    return p;
}

std::vector<uint8_t> EncodeFast(const std::vector<TestPicture>& pictures, const EncodeOptions& options) {
    CGifEncoder encoder;
    encoder.SetThreadCount(options.threads);
    encoder.SetInstructionSet(options.isa);
    encoder.SetSmallFile(options.small);
    return Encode(encoder, pictures, options);
}

std::vector<uint8_t> EncodePlain(const std::vector<TestPicture>& pictures, const EncodeOptions& options) {
    CPlainGifEncoder encoder;
    return Encode(encoder, pictures, options);
}

std::vector<GifIsa> AvailableIsas() {
    std::vector<GifIsa> isas;
    for (GifIsa isa : {GifIsa::Scalar, GifIsa::Sse2, GifIsa::Avx2, GifIsa::Avx512})
        if (IsGifIsaAvailable(isa)) isas.push_back(isa);
    return isas;
}

::testing::AssertionResult DecodesToNearestColours(const std::vector<uint8_t>& file,
                                                    const std::vector<TestPicture>& pictures) {
    DecodedGif gif;
    std::string error;
    if (!DecodeGif(file, gif, error)) return ::testing::AssertionFailure() << "not decodable: " << error;
    if (gif.frames.size() != pictures.size())
        return ::testing::AssertionFailure() << gif.frames.size() << " frames, expected " << pictures.size();
    for (size_t f = 0; f < pictures.size(); f++) {
        const DecodedFrame& frame = gif.frames[f];
        const std::vector<uint8_t>& palette = frame.Palette(gif.globalTable);
        if (palette.size() != 768 || frame.width != gif.width || frame.height != gif.height)
            return ::testing::AssertionFailure() << "frame " << f << " is not a full canvas with 256 colours";
        for (int y = 0; y < frame.height; y++)
            for (int x = 0; x < frame.width; x++) {
                int rgb[3];
                pictures[f].ColourAt(x, y, rgb);
                int nearest = 1 << 30;
                for (int k = 0; k < 256; k++) {
                    const int d = std::abs(palette[k * 3] - rgb[0]) + std::abs(palette[k * 3 + 1] - rgb[1]) +
                                  std::abs(palette[k * 3 + 2] - rgb[2]);
                    if (d < nearest) nearest = d;
                }
                const int index = frame.indices[static_cast<size_t>(y) * frame.width + x];
                const int d = std::abs(palette[index * 3] - rgb[0]) + std::abs(palette[index * 3 + 1] - rgb[1]) +
                              std::abs(palette[index * 3 + 2] - rgb[2]);
                if (d != nearest)
                    return ::testing::AssertionFailure() << "frame " << f << " pixel (" << x << ", " << y << ") has entry "
                                                         << index << " at distance " << d << ", nearest is " << nearest;
            }
    }
    return ::testing::AssertionSuccess();
}
