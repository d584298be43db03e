#pragma once
// Pictures and encoding helpers shared by the encoder's tests: frames in the encoder's pixel
// layout, encoding through the fast or the plain encoder into memory, and the check that decoded
// pixels are the palette entries nearest to the pictures' colours.
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "GifFrame.h"
#include "GifIsa.h"
#include "GifTestDecoder.h"

struct TestPicture {
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes per row; more than width * 4 when rows carry padding
    std::vector<uint8_t> bgrx;

    GifFrame Frame() const;
    // Red, green, blue of a pixel of the canvas the picture is written on: outside the picture,
    // black.
    void ColourAt(int x, int y, int rgb[3]) const;

    static TestPicture Solid(int width, int height, int red, int green, int blue);
    static TestPicture Noise(int width, int height, uint32_t seed);
    // Windows, text strokes, gradients and a noisy photo, as in a screen recording.
    static TestPicture Screen(int width, int height, uint32_t seed);
    static TestPicture Gradient(int width, int height);
    // The same pixels with `extra` unused bytes after every row.
    TestPicture WithRowPadding(int extra) const;
    // A copy with a rectangle of one colour, or of noise (thousands of colours), painted in.
    TestPicture WithFill(int x, int y, int w, int h, int red, int green, int blue) const;
    TestPicture WithNoise(int x, int y, int w, int h, uint32_t seed) const;
};

struct EncodeOptions {
    int sample = 10;
    int delayMs = 100;
    int loop = -1;  // SetLoopCount is called only for 0 or more
    int threads = 1;
    GifIsa isa = GifIsa::Scalar;
    bool small = false;  // the small-file mode
};

std::vector<uint8_t> EncodeFast(const std::vector<TestPicture>& pictures, const EncodeOptions& options);
std::vector<uint8_t> EncodePlain(const std::vector<TestPicture>& pictures, const EncodeOptions& options);

// Every instruction set this processor can run.
std::vector<GifIsa> AvailableIsas();

// Decodes and checks that frame i shows, at every canvas pixel, a palette entry at the smallest
// distance (sum of absolute differences) from pictures[i]'s colour there.
::testing::AssertionResult DecodesToNearestColours(const std::vector<uint8_t>& file,
                                                    const std::vector<TestPicture>& pictures);
