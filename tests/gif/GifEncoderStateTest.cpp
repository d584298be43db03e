// The encoder's life: refusals, files, write failures, and reuse after Close.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <unistd.h>
#include "CGifEncoder.h"
#include "CGifMemorySink.h"
#include "CPlainGifEncoder.h"
#include "GifTestDecoder.h"
#include "GifTestPictures.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
    return bytes;
}

std::string TempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/tovrix_gif_" + std::to_string(getpid()) + "_" + name;
}

TEST(GifEncoderState, RefusesWhatItCannotDo) {
    const TestPicture picture = TestPicture::Solid(3, 3, 9, 9, 9);
    CGifMemorySink sink;
    CGifEncoder encoder;
    EXPECT_FALSE(encoder.WriteFrame(picture.Frame()));
    EXPECT_FALSE(encoder.Close());
    EXPECT_FALSE(encoder.Open(nullptr));
    EXPECT_TRUE(sink.Bytes().empty());

    ASSERT_TRUE(encoder.Open(&sink));
    CGifMemorySink other;
    EXPECT_FALSE(encoder.Open(&other));
    EXPECT_FALSE(encoder.OpenPath(TempPath("second.gif")));
    EXPECT_TRUE(other.Bytes().empty());

    GifFrame missing = picture.Frame();
    missing.pixels = nullptr;
    GifFrame negative = picture.Frame();
    negative.width = -3;
    GifFrame narrowStride = picture.Frame();
    narrowStride.stride = 8;
    for (const GifFrame& bad : {missing, negative, narrowStride}) EXPECT_FALSE(encoder.WriteFrame(bad));
    EXPECT_EQ(6u, sink.Bytes().size());
    // A refused frame fixes nothing: the next good frame is still the first.
    ASSERT_TRUE(encoder.WriteFrame(picture.Frame()));
    ASSERT_TRUE(encoder.Close());
    EXPECT_FALSE(encoder.Close());
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(DecodeGif(sink.Bytes(), gif, error)) << error;
    EXPECT_EQ(3, gif.width);
    EXPECT_EQ(1u, gif.frames.size());
}

TEST(GifEncoderState, WritesAFileByPath) {
    const std::vector<TestPicture> pictures{TestPicture::Screen(64, 48, 1), TestPicture::Screen(64, 48, 2)};
    const std::string path = TempPath("byPath.gif");
    {
        CGifEncoder encoder;
        ASSERT_TRUE(encoder.OpenPath(path));
        encoder.SetSampleFactor(10);
        for (const TestPicture& p : pictures) {
            encoder.SetFrameDelay(100);
            ASSERT_TRUE(encoder.WriteFrame(p.Frame()));
        }
        ASSERT_TRUE(encoder.Close());
    }
    EXPECT_EQ(EncodeFast(pictures, {}), ReadFile(path));
    std::remove(path.c_str());
}

TEST(GifEncoderState, AFileThatCannotBeCreatedLeavesItClosed) {
    CGifEncoder encoder;
    EXPECT_FALSE(encoder.OpenPath("/nonexistent-folder/x/recording.gif"));
    EXPECT_FALSE(encoder.IsStarted());
    EXPECT_FALSE(encoder.WriteFrame(TestPicture::Solid(2, 2, 0, 0, 0).Frame()));
    EXPECT_FALSE(encoder.Close());
    CPlainGifEncoder plain;
    EXPECT_FALSE(plain.OpenPath("/nonexistent-folder/x/recording.gif"));
    EXPECT_FALSE(plain.WriteFrame(TestPicture::Solid(2, 2, 0, 0, 0).Frame()));
}

// A sink that fills up: the failure reaches the caller, and what was written is the start of
// the complete file.
TEST(GifEncoderState, WriteFailuresAreReported) {
    const std::vector<TestPicture> pictures{TestPicture::Noise(40, 30, 1), TestPicture::Noise(40, 30, 2),
                                            TestPicture::Noise(40, 30, 3)};
    const std::vector<uint8_t> whole = EncodePlain(pictures, {});
    for (size_t limit : {size_t{0}, size_t{5}, size_t{100}, size_t{800}, whole.size() / 2, whole.size() - 10, whole.size() - 1}) {
        for (int threads : {1, 2}) {
            CGifMemorySink sink(limit);
            CGifEncoder encoder;
            encoder.SetThreadCount(threads);
            bool ok = encoder.Open(&sink);
            if (ok) {
                for (const TestPicture& p : pictures) {
                    encoder.SetFrameDelay(100);
                    ok = encoder.WriteFrame(p.Frame()) && ok;
                }
                ok = encoder.Close() && ok;
            }
            EXPECT_FALSE(ok) << "limit " << limit << ", threads " << threads;
            EXPECT_LE(sink.Bytes().size(), limit);
            EXPECT_TRUE(std::equal(sink.Bytes().begin(), sink.Bytes().end(), whole.begin()));
        }
    }
}

TEST(GifEncoderState, CanBeOpenedAgainAfterClose) {
    const TestPicture small = TestPicture::Gradient(8, 6);
    const TestPicture large = TestPicture::Noise(20, 10, 7);
    CGifEncoder encoder;
    CGifMemorySink first;
    ASSERT_TRUE(encoder.Open(&first));
    encoder.SetLoopCount(0);
    ASSERT_TRUE(encoder.WriteFrame(small.Frame()));
    ASSERT_TRUE(encoder.Close());

    CGifMemorySink second;
    ASSERT_TRUE(encoder.Open(&second));
    ASSERT_TRUE(encoder.WriteFrame(large.Frame()));
    ASSERT_TRUE(encoder.WriteFrame(small.Frame()));
    ASSERT_TRUE(encoder.Close());
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(DecodeGif(second.Bytes(), gif, error)) << error;
    // A new file starts with a screen descriptor and global table again, on the kept canvas.
    EXPECT_EQ(8, gif.width);
    EXPECT_EQ(6, gif.height);
    EXPECT_EQ(0, gif.loopCount);
    ASSERT_EQ(2u, gif.frames.size());
    EXPECT_EQ(0, gif.frames[0].descriptorPacked);
    EXPECT_TRUE(DecodesToNearestColours(second.Bytes(), {large, small}));
}

}  // namespace
