// The file layout, block by block, for small hand-checked cases.
#include <gtest/gtest.h>
#include <cstring>
#include <iterator>
#include <string>
#include "CGifEncoder.h"
#include "CLzwEncoder.h"
#include "CGifMemorySink.h"
#include "GifTestDecoder.h"
#include "GifTestPictures.h"

namespace {

DecodedGif Decode(const std::vector<uint8_t>& bytes) {
    DecodedGif gif;
    std::string error;
    EXPECT_TRUE(DecodeGif(bytes, gif, error)) << error;
    return gif;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t from, size_t count) {
    return std::vector<uint8_t>(bytes.begin() + from, bytes.begin() + from + count);
}

TEST(GifLayout, OneFrameHasTheGlobalTableOnly) {
    const std::vector<TestPicture> pictures{TestPicture::Gradient(5, 3)};
    const std::vector<uint8_t> file = EncodeFast(pictures, {});
    const std::vector<uint8_t> head{'G', 'I', 'F', '8', '9', 'a', 5, 0, 3, 0, 0xF7, 0, 0};
    EXPECT_EQ(head, Slice(file, 0, 13));
    // Control extension and image descriptor right after the 768-byte global table.
    const std::vector<uint8_t> frame{0x21, 0xF9, 4, 0, 10, 0, 0, 0, 0x2C, 0, 0, 0, 0, 5, 0, 3, 0, 0x00, 8};
    EXPECT_EQ(frame, Slice(file, 13 + 768, frame.size()));
    EXPECT_EQ(0x3B, file.back());

    const DecodedGif gif = Decode(file);
    ASSERT_EQ(1u, gif.frames.size());
    EXPECT_TRUE(gif.frames[0].localTable.empty());
    EXPECT_EQ(-1, gif.loopCount);
    EXPECT_TRUE(DecodesToNearestColours(file, pictures));
}

TEST(GifLayout, LaterFramesCarryTheirOwnFullTable) {
    const std::vector<TestPicture> pictures{TestPicture::Gradient(6, 4), TestPicture::Noise(6, 4, 3),
                                            TestPicture::Solid(6, 4, 200, 10, 10)};
    const std::vector<uint8_t> file = EncodeFast(pictures, {});
    const DecodedGif gif = Decode(file);
    ASSERT_EQ(3u, gif.frames.size());
    EXPECT_EQ(0x00, gif.frames[0].descriptorPacked);
    for (size_t i = 1; i < gif.frames.size(); i++) {
        EXPECT_EQ(0x87, gif.frames[i].descriptorPacked);
        ASSERT_EQ(768u, gif.frames[i].localTable.size());
        // Every frame is quantised on its own: its table is the one it gets as a file's only frame.
        const DecodedGif alone = Decode(EncodeFast({pictures[i]}, {}));
        EXPECT_EQ(alone.globalTable, gif.frames[i].localTable) << "frame " << i;
    }
    EXPECT_TRUE(DecodesToNearestColours(file, pictures));
}

TEST(GifLayout, RepeatBlockOnlyWithALoopCount) {
    struct Case {
        int loop;
        int blocks;
        int written;
    };
    const Case cases[] = {{-1, 0, -1}, {-5, 0, -1}, {0, 1, 0}, {3, 1, 3}, {65535, 1, 65535}};
    const TestPicture picture = TestPicture::Gradient(4, 4);
    for (const Case& c : cases) {
        EncodeOptions options;
        options.loop = c.loop;
        CGifMemorySink sink;
        CGifEncoder encoder;
        ASSERT_TRUE(encoder.Open(&sink));
        encoder.SetLoopCount(c.loop);
        ASSERT_TRUE(encoder.WriteFrame(picture.Frame()));
        ASSERT_TRUE(encoder.WriteFrame(picture.Frame()));
        ASSERT_TRUE(encoder.Close());
        const DecodedGif gif = Decode(sink.Bytes());
        EXPECT_EQ(c.blocks, gif.loopBlocks) << "loop " << c.loop;
        EXPECT_EQ(c.written, gif.loopCount) << "loop " << c.loop;
        if (c.blocks == 1) {
            const std::vector<uint8_t> block{0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1,
                                             static_cast<uint8_t>(c.loop & 0xFF), static_cast<uint8_t>(c.loop >> 8), 0};
            EXPECT_EQ(block, Slice(sink.Bytes(), 13 + 768, block.size())) << "loop " << c.loop;
        }
    }
}

TEST(GifLayout, LoopCountsPastSixteenBitsAreCapped) {
    const TestPicture picture = TestPicture::Solid(2, 2, 1, 2, 3);
    CGifMemorySink sink;
    CGifEncoder encoder;
    ASSERT_TRUE(encoder.Open(&sink));
    encoder.SetLoopCount(70000);
    ASSERT_TRUE(encoder.WriteFrame(picture.Frame()));
    ASSERT_TRUE(encoder.Close());
    EXPECT_EQ(65535, Decode(sink.Bytes()).loopCount);
}

// Past the field's 655.35 s a delay goes on in empty frames (one transparent pixel each).
TEST(GifLayout, DelaysAreRoundedToHundredthsAndLongOnesGoOnInEmptyFrames) {
    const struct {
        int ms;
        int hundredths;
        std::vector<int> rest;  // the empty frames after it
    } cases[] = {{0, 0, {}}, {4, 0, {}}, {5, 1, {}}, {14, 1, {}}, {15, 2, {}}, {100, 10, {}}, {1234, 123, {}},
                 {1235, 124, {}}, {-4, 0, {}}, {655345, 65535, {}}, {655355, 65535, {1}}, {700000, 65535, {4465}},
                 {1400000, 65535, {65535, 8930}}, {-20, 0, {}}, {-100000, 0, {}}};
    const TestPicture picture = TestPicture::Solid(2, 2, 1, 2, 3);
    CGifMemorySink sink;
    CGifEncoder encoder;
    ASSERT_TRUE(encoder.Open(&sink));
    for (const auto& c : cases) {
        encoder.SetFrameDelay(c.ms);
        ASSERT_TRUE(encoder.WriteFrame(picture.Frame()));
    }
    ASSERT_TRUE(encoder.Close());
    const DecodedGif gif = Decode(sink.Bytes());
    size_t k = 0;
    for (const auto& c : cases) {
        ASSERT_LT(k, gif.frames.size()) << c.ms << " ms";
        EXPECT_EQ(c.hundredths, gif.frames[k].delay) << c.ms << " ms";
        EXPECT_EQ(0, gif.frames[k].controlPacked);
        EXPECT_EQ(0, gif.frames[k].transparentIndex);
        EXPECT_EQ(2, gif.frames[k].width) << c.ms << " ms";
        ++k;
        for (int rest : c.rest) {
            ASSERT_LT(k, gif.frames.size()) << c.ms << " ms";
            EXPECT_EQ(rest, gif.frames[k].delay) << c.ms << " ms";
            EXPECT_EQ(1, gif.frames[k].width) << c.ms << " ms";
            EXPECT_EQ(1, gif.frames[k].height) << c.ms << " ms";
            ++k;
        }
    }
    EXPECT_EQ(k, gif.frames.size());
    // The picture stays as it was through the empty frames.
    std::vector<std::vector<uint8_t>> shown;
    std::string error;
    ASSERT_TRUE(CompositeGif(gif, shown, error)) << error;
    for (size_t i = 1; i < shown.size(); ++i) EXPECT_EQ(shown[0], shown[i]) << "frame " << i;
}

TEST(GifLayout, OnePixelIsClearIndexEnd) {
    const std::vector<TestPicture> pictures{TestPicture::Solid(1, 1, 90, 160, 30)};
    const std::vector<uint8_t> file = EncodeFast(pictures, {});
    const DecodedGif gif = Decode(file);
    ASSERT_EQ(1u, gif.frames.size());
    const int k = gif.frames[0].indices.at(0);
    // Three 9-bit codes (256, k, 257), least significant bit first, in one 4-byte sub-block.
    const std::vector<uint8_t> data{8, 4, 0x00, static_cast<uint8_t>(1 | (k << 1)), static_cast<uint8_t>((k >> 7) | 0x04),
                                    0x04, 0};
    EXPECT_EQ(data, Slice(file, 13 + 768 + 8 + 10, data.size()));
    EXPECT_TRUE(DecodesToNearestColours(file, pictures));
}

TEST(GifLayout, AnEmptyImageCompressesToClearAndEnd) {
    CLzwEncoder lzw(0, 0, nullptr, 8);
    std::vector<uint8_t> out(CLzwEncoder::MaxEncodedSize(0));
    out.resize(lzw.Encode(out.data()));
    // Codes 256 and 257, nine bits each.
    const std::vector<uint8_t> expected{8, 3, 0x00, 0x03, 0x02, 0};
    EXPECT_EQ(expected, out);
}

TEST(GifLayout, SubBlocksHoldAtMost254Bytes) {
    const std::vector<TestPicture> pictures{TestPicture::Noise(90, 70, 1), TestPicture::Screen(120, 90, 2)};
    const DecodedGif gif = Decode(EncodeFast(pictures, {}));
    for (const DecodedFrame& frame : gif.frames) {
        ASSERT_GT(frame.subBlockSizes.size(), 2u);
        for (size_t i = 0; i + 1 < frame.subBlockSizes.size(); i++) EXPECT_EQ(254, frame.subBlockSizes[i]);
        EXPECT_GE(frame.subBlockSizes.back(), 1);
        EXPECT_LE(frame.subBlockSizes.back(), 254);
    }
}

// After code 4095 is assigned, the next miss writes its prefix and a clear code, both 12 bits
// wide, and the code after them is 9 bits wide again.
TEST(GifLayout, FullCodeTableIsCleared) {
    const std::vector<TestPicture> pictures{TestPicture::Noise(100, 80, 9)};
    const std::vector<uint8_t> file = EncodeFast(pictures, {});
    const DecodedGif gif = Decode(file);
    ASSERT_EQ(1u, gif.frames.size());
    const std::vector<DecodedCode>& codes = gif.frames[0].codes;
    std::vector<size_t> clears;
    for (size_t i = 0; i < codes.size(); i++)
        if (codes[i].code == 256) clears.push_back(i);
    ASSERT_GE(clears.size(), 2u) << "the picture never filled the table";
    EXPECT_EQ(0u, clears[0]);
    for (size_t c = 1; c < clears.size(); c++) {
        // A reader adds nothing for the first code after a clear and then entries 258 to 4095,
        // one per code; the clear follows the code that added 4095.
        EXPECT_EQ(clears[c - 1] + 1 + (4096 - 258) + 1, clears[c]);
        EXPECT_EQ(12, codes[clears[c] - 1].width);
        EXPECT_EQ(12, codes[clears[c]].width);
        EXPECT_EQ(9, codes[clears[c] + 1].width);
    }
    EXPECT_TRUE(DecodesToNearestColours(file, pictures));
}

TEST(GifLayout, CanvasIsFixedByTheFirstFrame) {
    const TestPicture first = TestPicture::Gradient(12, 8);
    const TestPicture second = TestPicture::Noise(12, 8, 4);
    CGifMemorySink sink;
    CGifEncoder encoder;
    ASSERT_TRUE(encoder.Open(&sink));
    ASSERT_TRUE(encoder.WriteFrame(first.Frame()));
    encoder.SetCanvasSize(30, 30);
    ASSERT_TRUE(encoder.WriteFrame(second.Frame()));
    ASSERT_TRUE(encoder.Close());
    const DecodedGif gif = Decode(sink.Bytes());
    EXPECT_EQ(12, gif.width);
    EXPECT_EQ(8, gif.height);
    ASSERT_EQ(2u, gif.frames.size());
    EXPECT_EQ(12, gif.frames[1].width);
    EXPECT_EQ(8, gif.frames[1].height);
    EXPECT_TRUE(DecodesToNearestColours(sink.Bytes(), {first, second}));
}

TEST(GifLayout, CanvasSetBeforeTheFirstFrameCropsAndPads) {
    const std::vector<TestPicture> pictures{TestPicture::Gradient(10, 10), TestPicture::Noise(30, 4, 5)};
    CGifMemorySink sink;
    CGifEncoder encoder;
    encoder.SetCanvasSize(16, 6);
    ASSERT_TRUE(encoder.Open(&sink));
    for (const TestPicture& p : pictures) ASSERT_TRUE(encoder.WriteFrame(p.Frame()));
    ASSERT_TRUE(encoder.Close());
    const DecodedGif gif = Decode(sink.Bytes());
    EXPECT_EQ(16, gif.width);
    EXPECT_EQ(6, gif.height);
    EXPECT_TRUE(DecodesToNearestColours(sink.Bytes(), pictures));
}

TEST(GifLayout, EmptyFirstFrameGivesTheDefaultCanvas) {
    const std::vector<TestPicture> pictures{TestPicture::Solid(0, 0, 0, 0, 0), TestPicture::Gradient(400, 100)};
    const std::vector<uint8_t> file = EncodeFast(pictures, {});
    const DecodedGif gif = Decode(file);
    EXPECT_EQ(320, gif.width);
    EXPECT_EQ(240, gif.height);
    EXPECT_TRUE(DecodesToNearestColours(file, pictures));
}

// Frames of another size than the canvas (pictures inserted in the frame editor) are read only
// within their own rows: the canvas shows their top-left part, black where they do not reach.
// The pictures' buffers end exactly at their last pixel, so a read past them is caught.
TEST(GifLayout, FramesOfAnotherSizeAreCroppedOrPaddedWithBlack) {
    const std::vector<TestPicture> pictures{
        TestPicture::Screen(40, 30, 1), TestPicture::Noise(25, 50, 2), TestPicture::Gradient(60, 10),
        TestPicture::Noise(7, 3, 3).WithRowPadding(12), TestPicture::Solid(0, 5, 1, 1, 1),
        TestPicture::Noise(41, 31, 4)};
    for (int threads : {1, 2}) {
        EncodeOptions options;
        options.threads = threads;
        const std::vector<uint8_t> file = EncodeFast(pictures, options);
        EXPECT_EQ(EncodePlain(pictures, options), file);
        const DecodedGif gif = Decode(file);
        EXPECT_EQ(40, gif.width);
        EXPECT_EQ(30, gif.height);
        EXPECT_TRUE(DecodesToNearestColours(file, pictures));
    }
}

TEST(GifLayout, ACanvasTooLargeForTheFileIsRefused) {
    const TestPicture picture = TestPicture::Solid(2, 2, 5, 5, 5);
    for (const auto& size : {std::pair<int, int>{70000, 1}, {1, 65536}, {60000, 60000}}) {
        CGifMemorySink sink;
        CGifEncoder encoder;
        encoder.SetCanvasSize(size.first, size.second);
        ASSERT_TRUE(encoder.Open(&sink));
        EXPECT_FALSE(encoder.WriteFrame(picture.Frame())) << size.first << " x " << size.second;
        EXPECT_EQ(6u, sink.Bytes().size());
        EXPECT_TRUE(encoder.Close());
    }
}

}  // namespace
