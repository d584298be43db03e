// The small-file mode, decoded back and drawn as a viewer draws it: every frame after the first
// holds only the rectangle that changed, shows the frame before wherever nothing changed and
// its own pixels exactly where the changes have at most 255 colours; unchanged frames cost no
// image and lengthen the frame before; frames of other sizes are compared on the canvas.
#include <gtest/gtest.h>
#include <cstdlib>
#include <set>
#include <string>
#include "CGifEncoder.h"
#include "CGifMemorySink.h"
#include "GifChangedRect.h"
#include "GifTestPictures.h"

namespace {

bool SameAt(const TestPicture& a, const TestPicture& b, int x, int y) {
    int p[3], q[3];
    a.ColourAt(x, y, p);
    b.ColourAt(x, y, q);
    return p[0] == q[0] && p[1] == q[1] && p[2] == q[2];
}

// Every canvas pixel of one picture equals the other's (both padded black to the canvas).
bool SameOnCanvas(const TestPicture& a, const TestPicture& b, int width, int height) {
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            if (!SameAt(a, b, x, y)) return false;
    return true;
}

struct Change {
    GifRect rect;
    std::set<uint32_t> colours;
};

Change ChangeBetween(const TestPicture& before, const TestPicture& now, int width, int height) {
    Change change;
    change.rect = GifRect{width, height, 0, 0};
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            if (SameAt(before, now, x, y)) continue;
            int rgb[3];
            now.ColourAt(x, y, rgb);
            change.colours.insert(static_cast<uint32_t>(rgb[0] << 16 | rgb[1] << 8 | rgb[2]));
            change.rect.left = std::min(change.rect.left, x);
            change.rect.top = std::min(change.rect.top, y);
            change.rect.right = std::max(change.rect.right, x + 1);
            change.rect.bottom = std::max(change.rect.bottom, y + 1);
        }
    return change;
}

// Outside exact tables a pixel may keep the entry of the pixel before it when that entry is at
// most this much further from its colour than the nearest one (runs compress far better).
constexpr int kRunSlack = 3;

int Distance(const uint8_t* entry, const int rgb[3]) {
    return std::abs(entry[0] - rgb[0]) + std::abs(entry[1] - rgb[1]) + std::abs(entry[2] - rgb[2]);
}

// Decodes a small file of `sources` (each given for 100 ms) and checks every frame as a viewer
// shows it, and how each frame is laid out.
::testing::AssertionResult ShowsEveryChange(const std::vector<uint8_t>& file, const std::vector<TestPicture>& sources,
                                            int width, int height) {
    DecodedGif gif;
    std::string error;
    std::vector<std::vector<uint8_t>> shown;
    if (!DecodeGif(file, gif, error) || !CompositeGif(gif, shown, error))
        return ::testing::AssertionFailure() << error;
    if (gif.width != width || gif.height != height)
        return ::testing::AssertionFailure() << "canvas " << gif.width << " x " << gif.height;

    // The first frame: the whole canvas with the global table, every pixel at its nearest entry
    // or nearly.
    const DecodedFrame& first = gif.frames.at(0);
    if (first.left != 0 || first.top != 0 || first.width != width || first.height != height ||
        !first.localTable.empty() || first.minimumCodeSize != 8 || (first.controlPacked & 1) != 0)
        return ::testing::AssertionFailure() << "the first frame is not whole";
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            int rgb[3];
            sources[0].ColourAt(x, y, rgb);
            int nearest = 1 << 30;
            for (int k = 0; k < 256; k++) nearest = std::min(nearest, Distance(&gif.globalTable[k * 3], rgb));
            const uint8_t* got = &shown[0][(static_cast<size_t>(y) * width + x) * 3];
            if (Distance(got, rgb) > nearest + kRunSlack)
                return ::testing::AssertionFailure() << "first frame (" << x << ", " << y << ") is far from its nearest entry";
        }

    size_t f = 0;
    int slots = 1;  // source frames shown by frame f
    for (size_t i = 1; i <= sources.size(); i++) {
        if (i < sources.size() && SameOnCanvas(sources[i], sources[i - 1], width, height)) {
            slots++;
            continue;
        }
        // Frame f covers `slots` source frames of 100 ms: one delay, added up.
        if (gif.frames[f].delay != 10 * slots)
            return ::testing::AssertionFailure() << "frame " << f << " waits " << gif.frames[f].delay << ", not "
                                                 << 10 * slots;
        if (i == sources.size()) break;
        slots = 1;
        if (++f >= gif.frames.size()) return ::testing::AssertionFailure() << "too few frames";
        const DecodedFrame& frame = gif.frames[f];
        const Change change = ChangeBetween(sources[i - 1], sources[i], width, height);
        if (frame.left != change.rect.left || frame.top != change.rect.top || frame.width != change.rect.Width() ||
            frame.height != change.rect.Height())
            return ::testing::AssertionFailure() << "frame " << f << " is not the changed rectangle";
        if ((frame.controlPacked & 0x1C) != 0x04 || (frame.controlPacked & 1) != 1)
            return ::testing::AssertionFailure() << "frame " << f << " is not left in place with transparency";
        const bool exact = change.colours.size() <= 255;
        int bits = 1;
        while ((1u << bits) < change.colours.size() + 1) bits++;
        // Many colours: a table of 256 learnt from the changes, or the first frame's (the file's
        // global table) when it shows them well enough.
        const std::vector<uint8_t>& palette = frame.Palette(gif.globalTable);
        const size_t entries = palette.size() / 3;
        if (exact ? frame.localTable.size() != 3u << bits : entries != 256)
            return ::testing::AssertionFailure() << "frame " << f << " has " << entries << " entries for "
                                                 << change.colours.size() << " colours";
        if (frame.minimumCodeSize != std::max(2, exact ? bits : 8))
            return ::testing::AssertionFailure() << "frame " << f << " has code size " << frame.minimumCodeSize;

        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) {
                const size_t at = (static_cast<size_t>(y) * width + x) * 3;
                const uint8_t* got = &shown[f][at];
                int rgb[3];
                sources[i].ColourAt(x, y, rgb);
                if (SameAt(sources[i], sources[i - 1], x, y)) {
                    if (std::equal(got, got + 3, &shown[f - 1][at])) continue;
                    return ::testing::AssertionFailure() << "frame " << f << " (" << x << ", " << y
                                                         << ") changed where nothing did";
                }
                const int index = frame.indices[static_cast<size_t>(y - frame.top) * frame.width + x - frame.left];
                if (index == frame.transparentIndex)
                    return ::testing::AssertionFailure() << "frame " << f << " (" << x << ", " << y << ") is transparent";
                if (exact) {
                    if (Distance(got, rgb) == 0) continue;
                    return ::testing::AssertionFailure() << "frame " << f << " (" << x << ", " << y << ") is not exact";
                }
                int nearest = 1 << 30;
                for (size_t k = 0; k < 256; k++)
                    if (static_cast<int>(k) != frame.transparentIndex)
                        nearest = std::min(nearest, Distance(&palette[k * 3], rgb));
                if (Distance(got, rgb) > nearest + kRunSlack)
                    return ::testing::AssertionFailure() << "frame " << f << " (" << x << ", " << y
                                                         << ") is far from its nearest entry";
            }
    }
    if (f + 1 != gif.frames.size()) return ::testing::AssertionFailure() << gif.frames.size() << " frames, " << f + 1 << " expected";
    return ::testing::AssertionSuccess();
}

// A screen session: text typed, the pointer moving, a busy picture opening (thousands of
// colours), held, then closing again, and the screen as it was at the start.
std::vector<TestPicture> Session(int width, int height) {
    const TestPicture desktop = TestPicture::Screen(width, height, 1);
    std::vector<TestPicture> s;
    s.push_back(desktop);
    s.push_back(s.back().WithFill(10, 22, 2, 7, 20, 20, 20).WithFill(14, 22, 2, 7, 20, 20, 20));
    const TestPicture typed = s.back();
    s.push_back(typed.WithFill(60, 30, 5, 8, 0, 0, 0));
    s.push_back(typed.WithFill(70, 40, 5, 8, 0, 0, 0));
    s.push_back(s.back());  // nothing changed
    s.push_back(s.back().WithNoise(20, 30, 40, 20, 9));
    s.push_back(s.back());
    s.push_back(s.back());
    s.push_back(s.back().WithFill(18, 22, 2, 7, 20, 20, 20).WithFill(30, 36, 10, 6, 255, 255, 255));
    s.push_back(desktop);
    return s;
}

TEST(GifSmallFile, EveryFrameShowsWhatChangedAndKeepsTheRest) {
    const std::vector<TestPicture> pictures = Session(96, 64);
    EncodeOptions options;
    options.small = true;
    options.loop = 0;
    const std::vector<uint8_t> file = EncodeFast(pictures, options);
    EXPECT_TRUE(ShowsEveryChange(file, pictures, 96, 64));
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(DecodeGif(file, gif, error)) << error;
    EXPECT_EQ(7u, gif.frames.size());  // three of the ten pictures changed nothing
    EXPECT_EQ(0, gif.loopCount);
    // Much smaller than every frame whole with its own 256 colours.
    options.small = false;
    EXPECT_LT(file.size() * 2, EncodeFast(pictures, options).size());
}

// A change that ends in the colour of the unchanged pixel after it: that pixel must go on
// showing what the first frame's palette made of it, not its exact colour.
TEST(GifSmallFile, UnchangedPixelsKeepWhatTheViewerShows) {
    const TestPicture gradient = TestPicture::Noise(64, 16, 6);
    std::vector<TestPicture> pictures{gradient};
    for (int y = 2; y < 14; y += 3) {
        int rgb[3];
        pictures.back().ColourAt(40, y, rgb);
        // (a change further on keeps that pixel inside the rectangle)
        pictures.push_back(pictures.back().WithFill(8, y, 32, 1, rgb[0], rgb[1], rgb[2]).WithFill(50, y, 1, 1, 0, 0, 0));
    }
    EncodeOptions options;
    options.small = true;
    EXPECT_TRUE(ShowsEveryChange(EncodeFast(pictures, options), pictures, 64, 16));
}

// A busy window dragged over a busy picture: what it uncovers is what the first frame showed,
// so its table serves the changes and the frames carry none of their own. New colours (the
// session's busy picture over a plain desktop) get a table learnt for them.
TEST(GifSmallFile, WhatTheFirstFrameShowedWellIsDrawnWithItsTable) {
    const TestPicture photo = TestPicture::Noise(96, 64, 5);
    std::vector<TestPicture> pictures;
    for (int k = 0; k < 5; k++) pictures.push_back(photo.WithNoise(10 + 6 * k, 8 + 4 * k, 30, 20, 77));
    EncodeOptions options;
    options.small = true;
    std::vector<uint8_t> file = EncodeFast(pictures, options);
    EXPECT_TRUE(ShowsEveryChange(file, pictures, 96, 64));
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(DecodeGif(file, gif, error)) << error;
    ASSERT_EQ(5u, gif.frames.size());
    for (size_t f = 1; f < gif.frames.size(); f++) EXPECT_TRUE(gif.frames[f].localTable.empty()) << "frame " << f;

    DecodedGif session;
    ASSERT_TRUE(DecodeGif(EncodeFast(Session(96, 64), options), session, error)) << error;
    ASSERT_EQ(7u, session.frames.size());
    EXPECT_EQ(768u, session.frames[4].localTable.size());  // the busy picture opening
}

TEST(GifSmallFile, TheBytesDependOnNoThreadCountOrInstructionSet) {
    std::vector<TestPicture> pictures = Session(160, 120);
    pictures.push_back(pictures.back().WithNoise(0, 0, 160, 120, 4));  // every pixel changes
    EncodeOptions options;
    options.small = true;
    options.sample = 5;
    const std::vector<uint8_t> reference = EncodeFast(pictures, options);
    EXPECT_TRUE(ShowsEveryChange(reference, pictures, 160, 120));
    for (GifIsa isa : AvailableIsas()) {
        for (int threads : {1, 2, 4}) {
            options.isa = isa;
            options.threads = threads;
            EXPECT_EQ(reference, EncodeFast(pictures, options)) << GifIsaName(isa) << ", " << threads << " threads";
        }
    }
}

// The frame editor can leave frames of other sizes: each is compared as it is shown, at the
// canvas's top-left with black around it (rows with padding read as well).
TEST(GifSmallFile, FramesOfOtherSizesAreComparedOnTheCanvas) {
    const TestPicture large = TestPicture::Screen(60, 40, 2);
    const std::vector<TestPicture> pictures{large, TestPicture::Screen(30, 20, 3).WithRowPadding(8),
                                            TestPicture::Screen(30, 20, 3), large.WithFill(50, 30, 4, 4, 9, 9, 9),
                                            TestPicture::Gradient(70, 50)};
    for (int threads : {1, 2}) {
        CGifMemorySink sink;
        CGifEncoder encoder;
        encoder.SetThreadCount(threads);
        encoder.SetSmallFile(true);
        ASSERT_TRUE(encoder.Open(&sink));
        encoder.SetCanvasSize(60, 40);
        for (const TestPicture& picture : pictures) {
            encoder.SetFrameDelay(100);
            ASSERT_TRUE(encoder.WriteFrame(picture.Frame()));
        }
        ASSERT_TRUE(encoder.Close());
        EXPECT_TRUE(ShowsEveryChange(sink.Bytes(), pictures, 60, 40)) << threads << " threads";
    }
}

struct DelayCase {
    const char* name;
    std::vector<int> delays;        // milliseconds of each picture given
    std::vector<bool> changes;      // whether picture i differs from the one before
    std::vector<int> written;       // hundredths of every frame in the file
    std::vector<bool> images;       // whether frame k is a real image (not a 1 x 1 filler)
};

// Delays of unchanged pictures are added in milliseconds, then rounded once; past the field's
// 16 bits a delay goes on in empty frames.
const DelayCase kDelays[] = {
    {"ThirtyFpsAddsUpBeforeRounding", {33, 33, 33, 33}, {true, false, false, true}, {10, 3}, {true, true}},
    {"EveryPictureChanged", {33, 33, 40}, {true, true, true}, {3, 3, 4}, {true, true, true}},
    {"SevenHundredSeconds", {700000, 50}, {true, true}, {65535, 4465, 5}, {true, false, true}},
    {"TwoAndAHalfFields", {600000, 600000, 200000, 1337, 100}, {true, false, false, false, true},
     {65535, 65535, 9064, 10}, {true, false, false, true}},
    {"ALastStillnessAsWell", {10, 655360, 100}, {true, true, false}, {1, 65535, 11}, {true, true, false}},
};

class GifSmallFileDelays : public ::testing::TestWithParam<DelayCase> {};

TEST_P(GifSmallFileDelays, AreAddedUpAndSplit) {
    const DelayCase& c = GetParam();
    std::vector<TestPicture> pictures;
    TestPicture picture = TestPicture::Gradient(12, 8);
    for (size_t i = 0; i < c.delays.size(); i++) {
        if (i > 0 && c.changes[i]) picture = picture.WithFill(static_cast<int>(i), 2, 2, 2, 250, 0, 0);
        pictures.push_back(picture);
    }
    for (int threads : {1, 3}) {
        CGifMemorySink sink;
        CGifEncoder encoder;
        encoder.SetThreadCount(threads);
        encoder.SetSmallFile(true);
        ASSERT_TRUE(encoder.Open(&sink));
        for (size_t i = 0; i < pictures.size(); i++) {
            encoder.SetFrameDelay(c.delays[i]);
            ASSERT_TRUE(encoder.WriteFrame(pictures[i].Frame()));
        }
        ASSERT_TRUE(encoder.Close());
        DecodedGif gif;
        std::string error;
        std::vector<std::vector<uint8_t>> shown;
        ASSERT_TRUE(DecodeGif(sink.Bytes(), gif, error)) << error;
        ASSERT_TRUE(CompositeGif(gif, shown, error)) << error;
        ASSERT_EQ(c.written.size(), gif.frames.size()) << threads << " threads";
        for (size_t k = 0; k < gif.frames.size(); k++) {
            EXPECT_EQ(c.written[k], gif.frames[k].delay) << "frame " << k;
            if (!c.images[k]) {
                // A filler: one transparent pixel, so the picture before stays as it was.
                EXPECT_EQ(1, gif.frames[k].width) << "frame " << k;
                EXPECT_EQ(1, gif.frames[k].height) << "frame " << k;
                EXPECT_EQ(shown[k - 1], shown[k]) << "frame " << k;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GifSmallFileDelays, ::testing::ValuesIn(kDelays),
                         [](const ::testing::TestParamInfo<DelayCase>& info) { return std::string(info.param.name); });

// The mode, the canvas and the repeat count belong to the file from its first frame on, even
// while that frame waits for its delay.
TEST(GifSmallFile, TheFirstFrameFixesTheModeTheCanvasAndTheRepeatCount) {
    const TestPicture a = TestPicture::Screen(20, 10, 5);
    const TestPicture b = a.WithFill(3, 3, 2, 2, 1, 2, 3);
    CGifMemorySink sink;
    CGifEncoder encoder;
    encoder.SetSmallFile(true);
    ASSERT_TRUE(encoder.Open(&sink));
    encoder.SetLoopCount(2);
    ASSERT_TRUE(encoder.WriteFrame(a.Frame()));
    encoder.SetSmallFile(false);
    encoder.SetCanvasSize(40, 40);
    encoder.SetLoopCount(7);
    EXPECT_TRUE(encoder.IsSmallFile());
    ASSERT_TRUE(encoder.WriteFrame(b.Frame()));
    ASSERT_TRUE(encoder.Close());
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(DecodeGif(sink.Bytes(), gif, error)) << error;
    EXPECT_EQ(20, gif.width);
    EXPECT_EQ(10, gif.height);
    EXPECT_EQ(2, gif.loopCount);
    ASSERT_EQ(2u, gif.frames.size());
    EXPECT_EQ(2, gif.frames[1].width);
    // Off again for the next file, from its start.
    encoder.SetSmallFile(false);
    EXPECT_FALSE(encoder.IsSmallFile());
}

struct RectCase {
    const char* name;
    std::vector<std::pair<int, int>> changed;  // pixels given another colour
    bool unusedByteOnly;
    GifRect expected;
};

const RectCase kRects[] = {
    {"Nothing", {}, false, {0, 0, 0, 0}},
    {"OnePixel", {{3, 2}}, false, {3, 2, 4, 3}},
    {"Corners", {{0, 0}, {6, 4}}, false, {0, 0, 7, 5}},
    {"OtherCorners", {{6, 0}, {0, 4}}, false, {0, 0, 7, 5}},
    {"RightEdgeFirst", {{6, 1}, {2, 3}, {4, 3}}, false, {2, 1, 7, 4}},
    {"OneRow", {{1, 4}, {5, 4}}, false, {1, 4, 6, 5}},
    {"OnlyTheUnusedByte", {{2, 2}, {5, 1}}, true, {0, 0, 0, 0}},
};

class GifChangedRectCases : public ::testing::TestWithParam<RectCase> {};

TEST_P(GifChangedRectCases, IsTheSmallestRectangleAroundTheChanges) {
    const RectCase& c = GetParam();
    const TestPicture before = TestPicture::Noise(7, 5, 8).WithRowPadding(12);
    TestPicture after = TestPicture::Noise(7, 5, 8);
    for (const auto& at : c.changed) {
        uint8_t* px = &after.bgrx[static_cast<size_t>(at.second) * after.stride + at.first * 4];
        if (c.unusedByteOnly) px[3] ^= 0xFF;
        else px[1] ^= 0x40;
    }
    const GifRect rect = FindChangedRect(after.bgrx.data(), after.stride, before.bgrx.data(), before.stride, 7, 5);
    if (c.expected.IsEmpty()) {
        EXPECT_TRUE(rect.IsEmpty());
    } else {
        EXPECT_EQ(c.expected.left, rect.left);
        EXPECT_EQ(c.expected.top, rect.top);
        EXPECT_EQ(c.expected.right, rect.right);
        EXPECT_EQ(c.expected.bottom, rect.bottom);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GifChangedRectCases, ::testing::ValuesIn(kRects),
                         [](const ::testing::TestParamInfo<RectCase>& info) { return std::string(info.param.name); });

}  // namespace
