// The encoder in the Windows build: frame bitmaps as the recorder makes them, written to a file
// with a Korean name, then read back by GDI+. Every pixel GDI+ shows must be the palette entry
// the file gives it, and that entry must be nearest to the bitmap's colour there.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <vector>
#include "Dib.h"
#include "CGifEncoder.h"
#include "CGifMemorySink.h"
#include "CPlainGifEncoder.h"
#include "GifTestDecoder.h"
#include "GifTestPictures.h"
#include "TestSupport.h"

namespace {

// A screen-compatible bitmap holding the picture, as the recorder's frames are.
HBITMAP CompatibleBitmap(const TestPicture& picture) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, picture.width, picture.height);
    BITMAPINFO info = TopDownDib32(picture.width, picture.height);
    ::SetDIBits(screen, bitmap, 0, picture.height, picture.bgrx.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

// A 24-bit section: another depth than the encoder reads directly.
HBITMAP Bitmap24(const TestPicture& picture) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const int stride = (picture.width * 3 + 3) & ~3;
    for (int y = 0; y < picture.height; y++)
        for (int x = 0; x < picture.width; x++)
            for (int c = 0; c < 3; c++)
                static_cast<uint8_t*>(bits)[y * stride + x * 3 + c] = picture.bgrx[y * picture.stride + x * 4 + c];
    return bitmap;
}

std::vector<uint8_t> ReadFileBytes(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) return bytes;
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
    return bytes;
}

// GDI+ must show, frame by frame, the colours of the palette entries the file holds.
::testing::AssertionResult GdiplusShowsThePalette(const std::wstring& path, const DecodedGif& gif) {
    Gdiplus::Bitmap image(path.c_str());
    if (image.GetLastStatus() != Gdiplus::Ok) return ::testing::AssertionFailure() << "GDI+ cannot open the file";
    if (static_cast<int>(image.GetWidth()) != gif.width || static_cast<int>(image.GetHeight()) != gif.height)
        return ::testing::AssertionFailure() << "GDI+ sees " << image.GetWidth() << " x " << image.GetHeight();
    GUID dimension = Gdiplus::FrameDimensionTime;
    const UINT count = image.GetFrameCount(&dimension);
    if (count != gif.frames.size()) return ::testing::AssertionFailure() << "GDI+ sees " << count << " frames";
    for (UINT f = 0; f < count; f++) {
        if (image.SelectActiveFrame(&dimension, f) != Gdiplus::Ok) return ::testing::AssertionFailure() << "frame " << f;
        Gdiplus::Rect all(0, 0, gif.width, gif.height);
        Gdiplus::BitmapData data{};
        if (image.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
            return ::testing::AssertionFailure() << "cannot lock frame " << f;
        const std::vector<uint8_t>& palette = gif.frames[f].Palette(gif.globalTable);
        int wrong = 0;
        std::string first;
        for (int y = 0; y < gif.height; y++) {
            const uint8_t* row = static_cast<const uint8_t*>(data.Scan0) + y * data.Stride;
            for (int x = 0; x < gif.width; x++) {
                const int index = gif.frames[f].indices[y * gif.width + x];
                const uint8_t* px = row + x * 4;
                if (px[2] != palette[index * 3] || px[1] != palette[index * 3 + 1] || px[0] != palette[index * 3 + 2]) {
                    if (wrong++ == 0) first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
                }
            }
        }
        image.UnlockBits(&data);
        if (wrong) return ::testing::AssertionFailure() << wrong << " pixels of frame " << f << " differ, first at " << first;
    }
    return ::testing::AssertionSuccess();
}

class GifBitmapTest : public ::testing::Test {
protected:
    testing_support::TempFolder m_folder;
};

TEST_F(GifBitmapTest, FrameBitmapsDecodeWithGdiplusToTheirPalette) {
    const std::vector<TestPicture> pictures{TestPicture::Screen(64, 48, 1), TestPicture::Noise(64, 48, 2),
                                            TestPicture::Gradient(64, 48)};
    const std::wstring path = m_folder.File(L"녹화 테스트.gif");
    {
        CGifEncoder encoder;
        ASSERT_TRUE(encoder.OpenPath(path));
        encoder.SetLoopCount(0);
        encoder.SetSampleFactor(10);
        for (const TestPicture& picture : pictures) {
            HBITMAP bitmap = CompatibleBitmap(picture);
            encoder.SetFrameDelay(70);
            EXPECT_TRUE(encoder.WriteFrame(bitmap));
            ::DeleteObject(bitmap);
        }
        ASSERT_TRUE(encoder.Close());
    }
    const std::vector<uint8_t> file = ReadFileBytes(path);
    EncodeOptions options;
    options.loop = 0;
    options.delayMs = 70;
    // The bitmaps were read exactly, and this machine's instruction set changed nothing.
    EXPECT_EQ(EncodePlain(pictures, options), file);

    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(DecodeGif(file, gif, error)) << error;
    EXPECT_EQ(0, gif.loopCount);
    EXPECT_TRUE(DecodesToNearestColours(file, pictures));
    EXPECT_TRUE(GdiplusShowsThePalette(path, gif));
}

TEST_F(GifBitmapTest, BitmapsOfOtherSizesAndDepthsAreReadSafely) {
    const std::vector<TestPicture> pictures{TestPicture::Screen(50, 40, 3), TestPicture::Noise(20, 60, 4),
                                            TestPicture::Gradient(90, 10), TestPicture::Screen(50, 40, 5)};
    const std::wstring path = m_folder.File(L"sizes.gif");
    {
        CGifEncoder encoder;
        ASSERT_TRUE(encoder.OpenPath(path));
        EXPECT_FALSE(encoder.WriteFrame(static_cast<HBITMAP>(nullptr)));
        for (size_t i = 0; i < pictures.size(); i++) {
            HBITMAP bitmap = i == 3 ? Bitmap24(pictures[i]) : CompatibleBitmap(pictures[i]);
            EXPECT_TRUE(encoder.WriteFrame(bitmap)) << "frame " << i;
            ::DeleteObject(bitmap);
        }
        ASSERT_TRUE(encoder.Close());
    }
    const std::vector<uint8_t> file = ReadFileBytes(path);
    DecodedGif gif;
    std::string error;
    ASSERT_TRUE(DecodeGif(file, gif, error)) << error;
    EXPECT_EQ(50, gif.width);
    EXPECT_EQ(40, gif.height);
    EXPECT_EQ(-1, gif.loopCount);
    EXPECT_TRUE(DecodesToNearestColours(file, pictures));
    EXPECT_TRUE(GdiplusShowsThePalette(path, gif));
}

// A small file of recorder-like bitmaps: GDI+ shows every frame as the frames before it left the
// canvas, with the changed rectangle drawn over it, exactly as the independent reader composes
// them (a busy picture included, and a frame that changed nothing costing none).
TEST_F(GifBitmapTest, SmallFilesShowEveryFrameOverTheOnesBefore) {
    const TestPicture desktop = TestPicture::Screen(80, 60, 7);
    const TestPicture typed = desktop.WithFill(10, 20, 2, 7, 20, 20, 20).WithFill(14, 20, 2, 7, 20, 20, 20);
    const std::vector<TestPicture> pictures{desktop, typed, typed, typed.WithFill(50, 30, 5, 8, 0, 0, 0),
                                            typed.WithNoise(30, 10, 30, 30, 3), desktop};
    const std::wstring path = m_folder.File(L"작은 파일.gif");
    {
        CGifEncoder encoder;
        encoder.SetSmallFile(true);
        ASSERT_TRUE(encoder.OpenPath(path));
        encoder.SetLoopCount(0);
        for (const TestPicture& picture : pictures) {
            HBITMAP bitmap = CompatibleBitmap(picture);
            encoder.SetFrameDelay(100);
            EXPECT_TRUE(encoder.WriteFrame(bitmap));
            ::DeleteObject(bitmap);
        }
        ASSERT_TRUE(encoder.Close());
    }
    DecodedGif gif;
    std::string error;
    std::vector<std::vector<uint8_t>> shown;
    ASSERT_TRUE(DecodeGif(ReadFileBytes(path), gif, error)) << error;
    ASSERT_TRUE(CompositeGif(gif, shown, error)) << error;
    ASSERT_EQ(5u, gif.frames.size());
    EXPECT_EQ(20, gif.frames[1].delay);  // the unchanged picture lengthened the one before
    for (size_t f = 1; f < gif.frames.size(); f++) EXPECT_LT(gif.frames[f].width * gif.frames[f].height, 80 * 60);

    Gdiplus::Bitmap image(path.c_str());
    ASSERT_EQ(Gdiplus::Ok, image.GetLastStatus());
    GUID dimension = Gdiplus::FrameDimensionTime;
    ASSERT_EQ(gif.frames.size(), image.GetFrameCount(&dimension));
    for (UINT f = 0; f < gif.frames.size(); f++) {
        ASSERT_EQ(Gdiplus::Ok, image.SelectActiveFrame(&dimension, f));
        Gdiplus::Rect all(0, 0, gif.width, gif.height);
        Gdiplus::BitmapData data{};
        ASSERT_EQ(Gdiplus::Ok, image.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data));
        int wrong = 0;
        for (int y = 0; y < gif.height; y++) {
            const uint8_t* row = static_cast<const uint8_t*>(data.Scan0) + y * data.Stride;
            for (int x = 0; x < gif.width; x++) {
                const uint8_t* want = &shown[f][(static_cast<size_t>(y) * gif.width + x) * 3];
                const uint8_t* px = row + x * 4;
                wrong += px[2] != want[0] || px[1] != want[1] || px[0] != want[2];
            }
        }
        image.UnlockBits(&data);
        EXPECT_EQ(0, wrong) << "frame " << f;
    }
}

TEST_F(GifBitmapTest, NothingIsWrittenWithoutAnOpenFile) {
    const TestPicture picture = TestPicture::Solid(4, 4, 1, 2, 3);
    HBITMAP bitmap = CompatibleBitmap(picture);
    CGifEncoder encoder;
    EXPECT_FALSE(encoder.WriteFrame(bitmap));
    EXPECT_FALSE(encoder.OpenPath(m_folder.File(L"없는 폴더\\x.gif")));
    EXPECT_FALSE(encoder.WriteFrame(bitmap));
    EXPECT_FALSE(encoder.Close());
    ::DeleteObject(bitmap);
}

}  // namespace
