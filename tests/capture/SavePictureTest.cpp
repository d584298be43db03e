// The one save entry and the pieces it stands on: pictures past the platform's limits are
// refused, pixels are read the same way from every kind of bitmap, and a file already at the
// target is kept unless a complete new one replaces it.
#include <gtest/gtest.h>
#include <fstream>
#include <iterator>
#include <string>
#include "CScreenImage.h"
#include "PixelBuffer.h"
#include "SavePicture.h"
#include "TestSupport.h"

using testing_support::ListFiles;
using testing_support::TempFolder;

namespace {

std::string ReadText(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void WriteText(const std::wstring& path, const std::string& text) {
    std::ofstream file(path.c_str(), std::ios::binary);
    file << text;
}

void Fill(CScreenImage& picture, COLORREF colour) {
    HDC dc = picture.GetDC();
    RECT all{0, 0, picture.GetWidth(), picture.GetHeight()};
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &all, brush);
    ::DeleteObject(brush);
    picture.ReleaseDC();
}

TEST(PictureLimits, SizesBeyondThePlatformFailCleanlyAndTheLimitItselfWorks) {
    struct Case {
        RECT rect;
        bool possible;
    } cases[] = {
        {{0, 0, 32767, 10}, true},
        {{0, 0, 10, 32767}, true},
        {{0, 0, 32768, 10}, false},
        {{0, 0, 70000, 10}, false},
        {{0, 0, 20000, 20000}, false},  // sides fit, the pixels do not
        {{-2147483647, 0, 2147483647, 10}, false},  // a width that overflows an int
        {{100, 0, 50, 10}, false},  // inverted
    };
    for (const Case& c : cases) {
        const int width = static_cast<int>(std::min<long long>(static_cast<long long>(c.rect.right) - c.rect.left, 1 << 30));
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(c.rect.bottom - c.rect.top));
        CScreenImage grabbed;
        EXPECT_EQ(grabbed.CaptureRect(c.rect) != FALSE, c.possible);
        EXPECT_EQ(grabbed.IsNull(), !c.possible);
        CScreenImage stretched;
        EXPECT_FALSE(stretched.CaptureStretched(64, 64, c.rect) == FALSE && c.possible);
        CScreenImage blank;
        // An empty rectangle asks for the empty picture it gets.
        EXPECT_EQ(blank.CreateBlank(c.rect) != FALSE, c.possible || ::IsRectEmpty(&c.rect));
        EXPECT_EQ(blank.IsNull(), !c.possible);
    }
    // A refused resize keeps the picture as it was.
    CScreenImage picture;
    ASSERT_TRUE(picture.CreateBlank(RECT{0, 0, 40, 30}));
    EXPECT_FALSE(picture.Resize(32768, 10));
    EXPECT_FALSE(picture.Resize(20000, 20000));
    EXPECT_EQ(picture.GetWidth(), 40);
    EXPECT_EQ(picture.GetHeight(), 30);
    EXPECT_TRUE(picture.Resize(32767, 2));
    EXPECT_EQ(picture.GetWidth(), 32767);
}

TEST(PixelReading, EveryKindOfBitmapGivesRowsFromTheTop) {
    // A colour per row, so that a picture read upside down shows.
    const int width = 3, height = 4;
    const COLORREF rows[height] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(10, 20, 30)};
    auto paint = [&](HBITMAP bitmap) {
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) ::SetPixel(dc, x, y, rows[y]);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
    };
    auto dib = [&](int bits, bool bottomUp) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = bottomUp ? height : -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = static_cast<WORD>(bits);
        void* bits_ = nullptr;
        return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    };
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmaps[] = {::CreateCompatibleBitmap(screen, width, height), dib(32, true), dib(32, false),
                         dib(24, true), ::CreateBitmap(width, height, 1, 32, nullptr)};
    ::ReleaseDC(nullptr, screen);
    const char* names[] = {"screen-compatible", "32-bit bottom-up DIB", "32-bit top-down DIB",
                           "24-bit DIB", "32-bit device bitmap"};
    for (size_t i = 0; i < std::size(bitmaps); ++i) {
        SCOPED_TRACE(names[i]);
        ASSERT_NE(bitmaps[i], nullptr);
        paint(bitmaps[i]);
        PixelBuffer pixels;
        ASSERT_TRUE(pixels.ReadBitmap(bitmaps[i]));
        ASSERT_EQ(pixels.GetWidth(), width);
        ASSERT_EQ(pixels.GetHeight(), height);
        for (int y = 0; y < height; ++y) {
            uint32_t p = pixels.At(width - 1, y);
            EXPECT_EQ(RGB((p >> 16) & 255, (p >> 8) & 255, p & 255), rows[y]) << "row " << y;
        }
        ::DeleteObject(bitmaps[i]);
    }
    PixelBuffer none;
    EXPECT_FALSE(none.ReadBitmap(nullptr));
    EXPECT_TRUE(none.IsEmpty());
    // More than one read can hold: refused before anything is allocated.
    EXPECT_FALSE(none.Allocate(32767, 32767));
    EXPECT_FALSE(none.Allocate(0, 10));
    EXPECT_TRUE(none.IsEmpty());
}

// A writer that puts part of a file down and then fails, as a full disk or a dying encoder does.
HRESULT FailingHalfWay(const CImage&, const std::wstring& path, int) {
    WriteText(path, "half a pic");
    return E_FAIL;
}

HRESULT WritesNewPicture(const CImage&, const std::wstring& path, int) {
    WriteText(path, "new picture");
    return S_OK;
}

TEST(SaveEntry, AnExistingFileIsKeptUnlessACompleteNewOneReplacesIt) {
    TempFolder folder;
    const std::wstring path = folder.File(L"keep.jpg");
    CScreenImage picture;
    ASSERT_TRUE(picture.CreateBlank(RECT{0, 0, 8, 8}));
    struct Case {
        PictureWriter writer;
        ExistingTarget existing;
        bool succeeds;
        const char* afterwards;
    } cases[] = {
        {FailingHalfWay, ExistingTarget::Replace, false, "old picture"},
        {FailingHalfWay, ExistingTarget::Refuse, false, "old picture"},
        {WritesNewPicture, ExistingTarget::Refuse, false, "old picture"},
        {WritesNewPicture, ExistingTarget::Replace, true, "new picture"},
    };
    for (const Case& c : cases) {
        WriteText(path, "old picture");
        HRESULT result = SavePictureWith(c.writer, picture, path, 80, c.existing);
        EXPECT_EQ(SUCCEEDED(result), c.succeeds) << c.afterwards;
        EXPECT_EQ(ReadText(path), c.afterwards);
        EXPECT_EQ(ListFiles(folder.Path()), std::vector<std::wstring>{L"keep.jpg"}) << "a temporary file was left";
    }
}

TEST(SaveEntry, EveryFormatReplacesAnExistingFileOnlyWhenAskedAndRefusesAnEmptyPicture) {
    TempFolder folder;
    CScreenImage picture;
    ASSERT_TRUE(picture.CreateBlank(RECT{0, 0, 24, 16}));
    Fill(picture, RGB(30, 120, 210));
    CScreenImage empty;
    const std::pair<int, const wchar_t*> formats[] = {{Bmp, L"a.bmp"}, {Jpg, L"a.jpg"}, {Png, L"a.png"}, {Gif, L"a.gif"}};
    for (auto [format, name] : formats) {
        const std::wstring path = folder.File(name);
        WriteText(path, "old picture");
        EXPECT_NE(SavePicture(picture, path, format, 80), S_OK) << format;
        EXPECT_EQ(ReadText(path), "old picture") << format;
        EXPECT_NE(SavePicture(empty, path, format, 80, ExistingTarget::Replace), S_OK) << format;
        EXPECT_EQ(ReadText(path), "old picture") << format;
        ASSERT_EQ(SavePicture(picture, path, format, 80, ExistingTarget::Replace), S_OK) << format;
        EXPECT_GT(ReadText(path).size(), 20u) << format;
        EXPECT_NE(ReadText(path), "old picture") << format;
    }
    EXPECT_NE(SavePicture(picture, folder.File(L"a.xyz"), 7, 80), S_OK);
    EXPECT_EQ(ListFiles(folder.Path()).size(), std::size(formats));
}

}  // namespace
