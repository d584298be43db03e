// The frame operations of the frame editor on real bitmaps and real picture files: a copy is a
// picture of its own with the delay, a loaded picture lands where each placement puts it and the
// file is free again afterwards, a file that is missing or no picture leaves the frame as it was,
// and cropping copies the chosen part.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "CGifFrameImage.h"
#include "FrameDlgTestSupport.h"

using framedlg_test::Gradient;
using framedlg_test::MakePicture;
using framedlg_test::WriteBytes;
using framedlg_test::WritePicture;
using testing_support::TempFolder;

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 160, 0);

TEST(FrameImage, CloneFrameCopiesPictureAndDelayIntoAPictureOfItsOwn) {
    CGifFrameImage source;
    ASSERT_TRUE(MakePicture(source, 30, 20));
    source.delay = 120;
    CGifFrameImage copy;
    copy.CloneFrame(source);
    ASSERT_FALSE(copy.IsNull());
    EXPECT_EQ(copy.GetWidth(), 30);
    EXPECT_EQ(copy.GetHeight(), 20);
    EXPECT_EQ(copy.delay, 120u);
    EXPECT_NE(static_cast<HBITMAP>(copy), static_cast<HBITMAP>(source));
    for (POINT p : {POINT{0, 0}, POINT{29, 19}, POINT{13, 7}}) EXPECT_EQ(copy.PixelAt(p.x, p.y), Gradient(p.x, p.y));
    // Drawing on the source afterwards leaves the copy alone.
    HDC dc = source.GetDC();
    const RECT all{0, 0, 30, 20};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    source.ReleaseDC();
    EXPECT_EQ(copy.PixelAt(13, 7), Gradient(13, 7));

    // A frame without picture copies as one without picture.
    CGifFrameImage empty;
    empty.delay = 40;
    copy.CloneFrame(empty);
    EXPECT_TRUE(copy.IsNull());
    EXPECT_EQ(copy.delay, 40u);
}

struct Placement {
    const wchar_t* file;
    int mode;
    SIZE size;
    std::vector<std::pair<POINT, COLORREF>> pixels;
};

TEST(FrameImage, LoadPicturePlacesThePictureAsEachModeSays) {
    // A 40 x 30 picture, red on the left half, blue on the right, into frames of 100 x 80.
    const RECT frame{0, 0, 100, 80};
    const std::vector<Placement> cases = {
        {L"a.bmp", InsertTopLeft, {100, 80}, {{{5, 15}, kRed}, {{30, 15}, kBlue}, {{0, 0}, kRed}, {{39, 29}, kBlue}}},
        {L"a.png", InsertTopLeft, {100, 80}, {{{5, 15}, kRed}, {{30, 15}, kBlue}}},
        {L"a.png", InsertCentre, {100, 80}, {{{31, 26}, kRed}, {{45, 40}, kRed}, {{55, 40}, kBlue}, {{69, 54}, kBlue}}},
        {L"a.bmp", InsertStretch, {100, 80}, {{{3, 3}, kRed}, {{40, 40}, kRed}, {{60, 40}, kBlue}, {{96, 76}, kBlue}}},
        {L"a.png", InsertFitFrames, {40, 30}, {{{0, 0}, kRed}, {{19, 29}, kRed}, {{20, 0}, kBlue}, {{39, 29}, kBlue}}},
        // Without frames there is no size to take: the picture's own size in every mode.
        {L"a.png", InsertStretch, {40, 30}, {{{5, 15}, kRed}, {{30, 15}, kBlue}}},
    };
    TempFolder folder;
    ASSERT_TRUE(WritePicture(folder.File(L"a.bmp"), 40, 30, kRed, kBlue));
    ASSERT_TRUE(WritePicture(folder.File(L"a.png"), 40, 30, kRed, kBlue));
    for (size_t i = 0; i < cases.size(); ++i) {
        const Placement& c = cases[i];
        SCOPED_TRACE(testing::Message() << "case " << i << " mode " << c.mode);
        const RECT rect = i + 1 == cases.size() ? RECT{} : frame;
        CGifFrameImage image;
        ASSERT_TRUE(image.LoadPicture(folder.File(c.file), rect, c.mode));
        EXPECT_EQ(image.GetWidth(), c.size.cx);
        EXPECT_EQ(image.GetHeight(), c.size.cy);
        EXPECT_EQ(image.delay, 500u);
        for (const auto& [at, colour] : c.pixels)
            EXPECT_EQ(image.PixelAt(at.x, at.y), colour) << "at " << at.x << ", " << at.y;
    }
    // The decoder let go of the files: they can be deleted at once.
    EXPECT_TRUE(::DeleteFileW(folder.File(L"a.bmp").c_str()));
    EXPECT_TRUE(::DeleteFileW(folder.File(L"a.png").c_str()));
}

TEST(FrameImage, LoadPictureOfAMissingOrUndecodableFileLeavesTheFrameAsItWas) {
    TempFolder folder;
    ASSERT_TRUE(WriteBytes(folder.File(L"text.png"), "this is not a picture\r\n"));
    ASSERT_TRUE(WriteBytes(folder.File(L"empty.bmp"), ""));
    ASSERT_TRUE(WriteBytes(folder.File(L"cut.png"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)));
    const std::vector<std::wstring> files = {folder.File(L"missing.png"), folder.File(L"text.png"),
                                             folder.File(L"empty.bmp"), folder.File(L"cut.png"),
                                             folder.Path()};
    for (const std::wstring& file : files) {
        for (int mode = InsertTopLeft; mode <= InsertFitFrames; ++mode) {
            SCOPED_TRACE(testing::Message() << "mode " << mode);
            CGifFrameImage image;
            ASSERT_TRUE(MakePicture(image, 10, 10, [](int, int) { return kGreen; }));
            image.delay = 70;
            const HBITMAP before = image;
            EXPECT_FALSE(image.LoadPicture(file, RECT{0, 0, 50, 50}, mode));
            EXPECT_EQ(static_cast<HBITMAP>(image), before);
            EXPECT_EQ(image.GetWidth(), 10);
            EXPECT_EQ(image.delay, 70u);
            EXPECT_EQ(image.PixelAt(5, 5), kGreen);
        }
    }
    // A file that could not be decoded is not held open either.
    EXPECT_TRUE(::DeleteFileW(folder.File(L"text.png").c_str()));
}

TEST(FrameImage, CropToCopiesThePartOfTheRectangle) {
    struct Crop {
        RECT rect;
        std::vector<POINT> inside;  // points of the new picture that lie on the old one
    };
    const std::vector<Crop> cases = {
        {{10, 20, 50, 60}, {{0, 0}, {39, 39}, {20, 5}}},
        {{0, 0, 100, 80}, {{0, 0}, {99, 79}}},
        {{80, 60, 120, 100}, {{0, 0}, {19, 19}}},  // partly outside the 100 x 80 picture
    };
    for (const Crop& c : cases) {
        SCOPED_TRACE(testing::Message() << "crop " << c.rect.left << "," << c.rect.top);
        CGifFrameImage image;
        ASSERT_TRUE(MakePicture(image, 100, 80));
        image.delay = 90;
        ASSERT_TRUE(image.CropTo(c.rect));
        EXPECT_EQ(image.GetWidth(), c.rect.right - c.rect.left);
        EXPECT_EQ(image.GetHeight(), c.rect.bottom - c.rect.top);
        EXPECT_EQ(image.delay, 90u);
        for (POINT p : c.inside)
            EXPECT_EQ(image.PixelAt(p.x, p.y), Gradient(p.x + c.rect.left, p.y + c.rect.top));
    }
}

TEST(FrameImage, CropToRefusesAnEmptyRectangleAndPassesOverAFrameWithoutPicture) {
    for (RECT empty : {RECT{10, 10, 10, 50}, RECT{30, 30, 20, 40}, RECT{}}) {
        CGifFrameImage image;
        ASSERT_TRUE(MakePicture(image, 40, 30));
        EXPECT_FALSE(image.CropTo(empty));
        EXPECT_EQ(image.GetWidth(), 40);
        EXPECT_EQ(image.PixelAt(7, 9), Gradient(7, 9));
    }
    CGifFrameImage none;
    EXPECT_TRUE(none.CropTo(RECT{0, 0, 20, 20}));
    EXPECT_TRUE(none.IsNull());
}

}  // namespace
