// The picture type against the known screen that scripts/test paints on the virtual display,
// and its files decoded back with GDI+.
#include <gtest/gtest.h>
#include <objidl.h>
#include <gdiplus.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>
#include "CScreenImage.h"
#include "JpegWriter.h"
#include "TestSupport.h"

using testing_support::FileExists;
using testing_support::PatternColor;
using testing_support::TempFolder;

namespace {

int Channel(COLORREF c, int shift) { return (c >> shift) & 255; }

int MaxChannelDifference(COLORREF a, COLORREF b) {
    int worst = 0;
    for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(Channel(a, shift) - Channel(b, shift)));
    return worst;
}

// Pixels of a decoded file as COLORREFs, rows from the top; empty if it cannot be decoded.
struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Decoded DecodeFile(const std::wstring& path) {
    Decoded out;
    Gdiplus::Bitmap bitmap(path.c_str());
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return out;
    out.width = static_cast<int>(bitmap.GetWidth());
    out.height = static_cast<int>(bitmap.GetHeight());
    Gdiplus::Rect all(0, 0, out.width, out.height);
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppRGB, &data) != Gdiplus::Ok) {
        out.width = out.height = 0;
        return out;
    }
    for (int y = 0; y < out.height; ++y) {
        auto* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
        for (int x = 0; x < out.width; ++x) {
            uint32_t p = row[x];
            out.pixels.push_back(RGB((p >> 16) & 255, (p >> 8) & 255, p & 255));
        }
    }
    bitmap.UnlockBits(&data);
    return out;
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return bytes;
    for (int c; (c = fgetc(f)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
    fclose(f);
    return bytes;
}

class KnownScreen : public testing::Test {
protected:
    void SetUp() override {
        if (testing_support::ScreenShowsPattern()) return;
        // scripts/test paints the pattern and says so: there a missing pattern is a failure.
        if (std::getenv("TOVRIX_PATTERN")) FAIL() << "the display does not show the test pattern";
        GTEST_SKIP() << "the display does not show the test pattern (run through scripts/test)";
    }
};

// Every pixel of the picture against the pattern at its screen position.
void ExpectShowsScreenAt(const CScreenImage& picture, const RECT& rect) {
    ASSERT_EQ(picture.GetWidth(), rect.right - rect.left);
    ASSERT_EQ(picture.GetHeight(), rect.bottom - rect.top);
    EXPECT_EQ(testing_support::CountPixelsUnlikePattern(picture, rect), 0);
}

TEST_F(KnownScreen, CaptureRectCopiesTheScreenPixelForPixel) {
    const RECT cases[] = {
        {100, 50, 400, 250},   // inside the screen
        {0, 0, 1280, 800},     // the whole virtual screen
        {1279, 799, 1280, 800},  // the last pixel
        {250, 250, 770, 530},  // across the 256-pixel bands of the pattern
    };
    for (const RECT& rect : cases) {
        CScreenImage picture;
        EXPECT_TRUE(picture.CaptureRect(rect));
        ExpectShowsScreenAt(picture, rect);
        EXPECT_EQ(picture.PixelAt(0, 0), PatternColor(rect.left, rect.top));
    }
}

TEST_F(KnownScreen, CaptureStretchedAtOneToOneEqualsCaptureRect) {
    RECT rect{40, 30, 240, 130};
    CScreenImage picture;
    EXPECT_TRUE(picture.CaptureStretched(200, 100, rect));
    ExpectShowsScreenAt(picture, rect);
}

TEST_F(KnownScreen, CaptureStretchedScalesToTheGivenSize) {
    RECT rect{0, 0, 400, 200};
    CScreenImage picture;
    EXPECT_TRUE(picture.CaptureStretched(200, 100, rect));
    EXPECT_EQ(picture.GetWidth(), 200);
    EXPECT_EQ(picture.GetHeight(), 100);
    // Halving samples every second pixel, so the corners keep their neighbourhood's colour.
    EXPECT_LE(MaxChannelDifference(picture.PixelAt(0, 0), PatternColor(0, 0)), 2);
    EXPECT_LE(MaxChannelDifference(picture.PixelAt(199, 99), PatternColor(398, 198)), 2);
}

TEST(ScreenImage, EmptyRectangleGivesAnEmptyPicture) {
    CScreenImage picture;
    EXPECT_FALSE(picture.CaptureRect(RECT{10, 10, 10, 50}));
    EXPECT_TRUE(picture.IsNull());
    EXPECT_EQ(picture.GetWidth(), 0);
    EXPECT_FALSE(picture.CaptureStretched(0, 10, RECT{0, 0, 10, 10}));
    EXPECT_TRUE(picture.IsNull());
    EXPECT_TRUE(picture.CreateBlank(RECT{5, 5, 5, 5}));
    EXPECT_TRUE(picture.IsNull());
    PixelBuffer pixels;
    EXPECT_FALSE(picture.ReadPixels(pixels));
}

TEST(ScreenImage, CreateBlankHasTheRectanglesSizeAndScreenDepth) {
    CScreenImage picture;
    EXPECT_TRUE(picture.CreateBlank(RECT{-100, -50, 220, 190}));
    EXPECT_EQ(picture.GetWidth(), 320);
    EXPECT_EQ(picture.GetHeight(), 240);
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(picture.GetBPP(), ::GetDeviceCaps(screen, BITSPIXEL));
    ::ReleaseDC(nullptr, screen);
}

TEST(ScreenImage, ResizeChangesTheSizeAndKeepsAnEmptyPictureEmpty) {
    CScreenImage empty;
    EXPECT_TRUE(empty.Resize(640, 480));
    EXPECT_TRUE(empty.IsNull());

    CScreenImage picture;
    picture.CreateBlank(RECT{0, 0, 300, 200});
    HDC dc = picture.GetDC();
    RECT all{0, 0, 300, 200};
    HBRUSH red = ::CreateSolidBrush(RGB(200, 10, 20));
    ::FillRect(dc, &all, red);
    ::DeleteObject(red);
    picture.ReleaseDC();

    EXPECT_TRUE(picture.Resize(300, 200));
    EXPECT_EQ(picture.GetWidth(), 300);
    EXPECT_EQ(picture.GetHeight(), 200);
    EXPECT_TRUE(picture.Resize(640, 480));
    EXPECT_EQ(picture.GetWidth(), 640);
    EXPECT_EQ(picture.GetHeight(), 480);
    EXPECT_EQ(picture.PixelAt(639, 479), RGB(200, 10, 20));
}

class SavedFiles : public KnownScreen {
protected:
    TempFolder folder;
    const RECT rect{120, 60, 520, 360};
};

TEST_F(SavedFiles, PngAndBmpRoundTripWithIdenticalPixels) {
    CScreenImage picture;
    picture.CaptureRect(rect);
    for (const wchar_t* name : {L"shot.png", L"shot.bmp", L"SHOT.PNG"}) {
        std::wstring path = folder.File(name);
        ASSERT_EQ(picture.Save(path), S_OK) << path.c_str();
        Decoded decoded = DecodeFile(path);
        ASSERT_EQ(decoded.width, 400);
        ASSERT_EQ(decoded.height, 300);
        int wrong = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                wrong += decoded.At(x, y) != PatternColor(rect.left + x, rect.top + y);
        EXPECT_EQ(wrong, 0) << name;
    }
}

TEST_F(SavedFiles, GifIsARealPictureExactWhenItHasFewColours) {
    // Few colours (a typical window): every pixel survives.
    CScreenImage few;
    few.CreateBlank(RECT{0, 0, 90, 60});
    HDC dc = few.GetDC();
    const COLORREF colours[] = {RGB(255, 255, 255), RGB(10, 120, 200), RGB(250, 30, 40)};
    for (int i = 0; i < 3; ++i) {
        RECT band{i * 30, 0, i * 30 + 30, 60};
        HBRUSH brush = ::CreateSolidBrush(colours[i]);
        ::FillRect(dc, &band, brush);
        ::DeleteObject(brush);
    }
    few.ReleaseDC();
    ASSERT_EQ(few.Save(folder.File(L"few.gif")), S_OK);
    Decoded decoded = DecodeFile(folder.File(L"few.gif"));
    ASSERT_EQ(decoded.width, 90);
    ASSERT_EQ(decoded.height, 60);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(decoded.At(i * 30, 0), colours[i]);
        EXPECT_EQ(decoded.At(i * 30 + 29, 59), colours[i]);
    }

    // Thousands of colours: the picture is whole and every pixel stays near its colour.
    CScreenImage many;
    many.CaptureRect(rect);
    ASSERT_EQ(many.Save(folder.File(L"many.gif")), S_OK);
    Decoded manyDecoded = DecodeFile(folder.File(L"many.gif"));
    ASSERT_EQ(manyDecoded.width, 400);
    ASSERT_EQ(manyDecoded.height, 300);
    int worst = 0;
    for (int y = 0; y < 300; y += 7)
        for (int x = 0; x < 400; x += 7)
            worst = std::max(worst, MaxChannelDifference(manyDecoded.At(x, y),
                                                         PatternColor(rect.left + x, rect.top + y)));
    EXPECT_LE(worst, 26);
}

TEST_F(SavedFiles, JpegAtEveryQualityDecodesCloseToTheScreen) {
    CScreenImage picture;
    picture.CaptureRect(rect);
    size_t previousSize = 0;
    for (int quality : {60, 70, 80, 90, 100}) {
        std::wstring path = folder.File(L"q" + std::to_wstring(quality) + L".jpg");
        ASSERT_EQ(picture.SaveJpeg(path, quality), S_OK);
        std::vector<uint8_t> bytes = ReadBytes(path);
        ASSERT_GT(bytes.size(), 4u);
        EXPECT_EQ(bytes[0], 0xFF);  // start of image
        EXPECT_EQ(bytes[1], 0xD8);
        EXPECT_GT(bytes.size(), previousSize) << "quality " << quality;
        previousSize = bytes.size();

        Decoded decoded = DecodeFile(path);
        ASSERT_EQ(decoded.width, 400);
        ASSERT_EQ(decoded.height, 300);
        double error = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                error += MaxChannelDifference(decoded.At(x, y), PatternColor(rect.left + x, rect.top + y));
        EXPECT_LT(error / (400.0 * 300.0), quality >= 90 ? 3.0 : 8.0) << "quality " << quality;
    }
}

TEST_F(SavedFiles, JpegQualityIsClampedToZeroToHundred) {
    CScreenImage picture;
    picture.CaptureRect(RECT{0, 0, 64, 64});
    const std::pair<int, int> same[] = {{-20, 0}, {150, 100}};
    for (auto [given, clamped] : same) {
        ASSERT_EQ(picture.SaveJpeg(folder.File(L"given.jpg"), given), S_OK);
        ASSERT_EQ(picture.SaveJpeg(folder.File(L"clamped.jpg"), clamped), S_OK);
        EXPECT_EQ(ReadBytes(folder.File(L"given.jpg")), ReadBytes(folder.File(L"clamped.jpg")))
            << "quality " << given;
    }
}

TEST_F(SavedFiles, JpegGoesToAnyUnicodePath) {
    std::wstring korean = folder.File(L"캡쳐 사진");
    ASSERT_TRUE(::CreateDirectoryW(korean.c_str(), nullptr));
    CScreenImage picture;
    picture.CaptureRect(rect);
    std::wstring path = korean + L"\\화면.jpg";
    ASSERT_EQ(picture.SaveJpeg(path, 80), S_OK);
    EXPECT_EQ(DecodeFile(path).width, 400);
}

TEST(ScreenImageFailures, JpegIntoAMissingFolderFailsAndCreatesNothing) {
    TempFolder folder;
    CScreenImage picture;
    picture.CaptureRect(RECT{0, 0, 32, 32});
    std::wstring path = folder.File(L"missing\\shot.jpg");
    EXPECT_EQ(picture.SaveJpeg(path, 80), E_FAIL);
    EXPECT_FALSE(FileExists(folder.File(L"missing")));
}

TEST(ScreenImageFailures, AnErrorInsideTheJpegLibraryFailsTheSaveAndLeavesNoFile) {
    // Wider than a JPEG frame can be: the library refuses it after the file was opened.
    TempFolder folder;
    // The picture type makes nothing that wide any more, so the bitmap is attached directly.
    CScreenImage picture;
    EXPECT_FALSE(picture.CreateBlank(RECT{0, 0, 70000, 1}));
    picture.Attach(::CreateBitmap(70000, 1, 1, 32, nullptr));
    ASSERT_EQ(picture.GetWidth(), 70000);
    std::wstring path = folder.File(L"wide.jpg");
    EXPECT_EQ(picture.SaveJpeg(path, 80), E_FAIL);
    EXPECT_FALSE(FileExists(path));
    // And the process is still here to check it: a second, valid save works.
    EXPECT_TRUE(picture.Resize(100, 1));
    EXPECT_EQ(picture.SaveJpeg(path, 80), S_OK);
}

TEST(ScreenImageFailures, SavingAnEmptyPictureOrAnUnknownExtensionFails) {
    TempFolder folder;
    CScreenImage empty;
    EXPECT_EQ(empty.SaveJpeg(folder.File(L"a.jpg"), 80), E_FAIL);
    EXPECT_EQ(empty.Save(folder.File(L"a.png")), E_FAIL);
    CScreenImage picture;
    picture.CreateBlank(RECT{0, 0, 8, 8});
    EXPECT_EQ(picture.Save(folder.File(L"a.xyz")), E_FAIL);
    EXPECT_TRUE(testing_support::ListFiles(folder.Path()).empty());
}

TEST(JpegWriter, RefusesWhatItCannotWrite) {
    uint32_t pixel = 0x00FF8040;
    EXPECT_FALSE(WriteJpeg(nullptr, &pixel, 1, 1, 80));
    TempFolder folder;
    FILE* file = _wfopen(folder.File(L"one.jpg").c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(WriteJpeg(file, &pixel, 0, 1, 80));
    EXPECT_TRUE(WriteJpeg(file, &pixel, 1, 1, 80));
    fclose(file);
    Decoded decoded = DecodeFile(folder.File(L"one.jpg"));
    ASSERT_EQ(decoded.width, 1);
    EXPECT_LE(MaxChannelDifference(decoded.At(0, 0), RGB(0xFF, 0x80, 0x40)), 4);
}

}  // namespace
