// The fast encoder against the plain reference: the same bytes for every picture size, sample
// factor, thread count and instruction set, and every file decodes to the nearest colours.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "CNeuQuant.h"
#include "CPlainNeuQuant.h"
#include "GifTestPictures.h"

namespace {

struct SizeCase {
    const char* name;
    int width;
    int height;
    std::vector<int> samples;
};

// Sizes around the quantiser's step choice: under 503 pixels every pixel is learnt; otherwise the
// step is the first of 499, 491, 487 (then 503) pixels that does not divide the byte count.
const SizeCase kSizes[] = {
    {"OnePixel", 1, 1, {1, 10}},
    {"Pixels502", 502, 1, {1, 10, 20}},
    {"Pixels503", 503, 1, {1, 10, 20}},
    {"MultipleOf499", 499, 2, {1, 20}},
    {"MultipleOf499And491", 491, 499, {10, 20}},
    {"Odd", 37, 23, {1, 2, 7, 20}},
    {"Screen", 160, 120, {1, 5, 10, 15, 20}},
};

class GifEquivalence : public ::testing::TestWithParam<SizeCase> {};

TEST_P(GifEquivalence, FastMatchesPlain) {
    const SizeCase& size = GetParam();
    const std::vector<TestPicture> pictures{TestPicture::Screen(size.width, size.height, 1),
                                            TestPicture::Noise(size.width, size.height, 2),
                                            TestPicture::Gradient(size.width, size.height)};
    for (int sample : size.samples) {
        EncodeOptions options;
        options.sample = sample;
        options.loop = 0;
        const std::vector<uint8_t> reference = EncodePlain(pictures, options);
        EXPECT_TRUE(DecodesToNearestColours(reference, pictures)) << "sample " << sample;
        for (GifIsa isa : AvailableIsas()) {
            for (int threads : {1, 3}) {
                options.isa = isa;
                options.threads = threads;
                EXPECT_EQ(reference, EncodeFast(pictures, options))
                    << "sample " << sample << ", " << GifIsaName(isa) << ", " << threads << " threads";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, GifEquivalence, ::testing::ValuesIn(kSizes),
                         [](const ::testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

TEST(GifSampling, SmallFramesLearnFromEveryPixelWhateverTheFactor) {
    for (const auto& size : {std::pair<int, int>{502, 1}, {503, 1}}) {
        const std::vector<TestPicture> pictures{TestPicture::Noise(size.first, size.second, 11)};
        EncodeOptions every, sparse;
        every.sample = 1;
        sparse.sample = 20;
        const bool same = EncodeFast(pictures, every) == EncodeFast(pictures, sparse);
        EXPECT_EQ(size.first < 503, same) << size.first << " pixels";
    }
}

TEST(GifSampling, ManyFramesOnManyThreadsStayInOrder) {
    std::vector<TestPicture> pictures;
    for (uint32_t i = 0; i < 9; i++)
        pictures.push_back(i % 3 == 0 ? TestPicture::Noise(48, 36, i) : TestPicture::Screen(48, 36, i));
    EncodeOptions options;
    options.sample = 5;
    const std::vector<uint8_t> reference = EncodePlain(pictures, options);
    for (int threads : {1, 2, 4}) {
        options.threads = threads;
        options.isa = AvailableIsas().back();
        EXPECT_EQ(reference, EncodeFast(pictures, options)) << threads << " threads";
    }
}

// The wide colour lookups compute the walk's answer without walking: check them on a grid of
// colours against the plain walk, after learning from pictures of different kinds.
TEST(GifLookup, EveryInstructionSetFindsTheWalksEntry) {
    for (const TestPicture& picture : {TestPicture::Screen(64, 48, 3), TestPicture::Noise(40, 40, 5),
                                       TestPicture::Solid(30, 30, 0, 0, 0)}) {
        std::vector<uint8_t> rgb;
        for (size_t i = 0; i < picture.bgrx.size(); i += 4) {
            rgb.push_back(picture.bgrx[i + 2]);
            rgb.push_back(picture.bgrx[i + 1]);
            rgb.push_back(picture.bgrx[i]);
        }
        const int count = picture.width * picture.height;
        CPlainNeuQuant plain(rgb.data(), count * 3, 1);
        uint8_t plainTable[768];
        plain.Process(plainTable);
        for (GifIsa isa : AvailableIsas()) {
            CNeuQuant fast(picture.bgrx.data(), count, 1, isa);
            uint8_t table[768];
            fast.Process(table);
            ASSERT_EQ(0, std::memcmp(plainTable, table, sizeof(table))) << GifIsaName(isa);
            int mismatches = 0;
            for (int r = 0; r < 256; r += 5)
                for (int g = 0; g < 256; g += 3)
                    for (int b = 0; b < 256; b += 7)
                        mismatches += fast.Map(r, g, b) != plain.Map(r, g, b);
            EXPECT_EQ(0, mismatches) << GifIsaName(isa);
        }
    }
}

// Each wide instruction set is compared by name as well, so that a run on a processor without it
// says so (skipped) instead of passing over it in silence. The frames are larger than a register's
// worth of neurons at every step: the neighbour pull's masked ends and both lookup passes run.
class GifWideIsa : public ::testing::TestWithParam<GifIsa> {};

TEST_P(GifWideIsa, MatchesPlainWhereTheProcessorHasIt) {
    const GifIsa isa = GetParam();
    if (!IsGifIsaAvailable(isa)) {
        GTEST_SKIP() << GifIsaName(isa) << " is not available on this processor or system";
    }
    const std::vector<TestPicture> pictures{TestPicture::Screen(200, 150, 21),
                                            TestPicture::Noise(67, 45, 22),
                                            TestPicture::Solid(40, 40, 200, 10, 90)};
    for (int sample : {1, 7, 10}) {
        EncodeOptions options;
        options.sample = sample;
        options.loop = 0;
        const std::vector<uint8_t> reference = EncodePlain(pictures, options);
        for (int threads : {1, 2}) {
            options.isa = isa;
            options.threads = threads;
            EXPECT_EQ(reference, EncodeFast(pictures, options)) << "sample " << sample << ", " << threads << " threads";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Isas, GifWideIsa, ::testing::Values(GifIsa::Sse2, GifIsa::Avx2, GifIsa::Avx512),
                         [](const ::testing::TestParamInfo<GifIsa>& info) { return std::string(GifIsaName(info.param)); });

TEST(GifIsaChoice, NamesRoundTripAndTheBestIsAvailable) {
    for (GifIsa isa : {GifIsa::Scalar, GifIsa::Sse2, GifIsa::Avx2, GifIsa::Avx512}) {
        GifIsa parsed = GifIsa::Scalar;
        EXPECT_TRUE(ParseGifIsa(GifIsaName(isa), parsed)) << GifIsaName(isa);
        EXPECT_EQ(isa, parsed) << GifIsaName(isa);
    }
    GifIsa unchanged = GifIsa::Avx2;
    EXPECT_FALSE(ParseGifIsa("avx1024", unchanged));
    EXPECT_EQ(GifIsa::Avx2, unchanged);
    EXPECT_TRUE(IsGifIsaAvailable(BestGifIsa()));
    EXPECT_EQ(AvailableIsas().back(), BestGifIsa());
}

}  // namespace
