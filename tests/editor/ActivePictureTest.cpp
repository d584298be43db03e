// The editor's memory picture kept up to date through checkpoints shows exactly what drawing
// every active item afresh over the captured picture shows, through undo, redo and new items
// that replace undone ones.
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "CActivePicture.h"
#include "Dib.h"

namespace {

const int kWidth = 240, kHeight = 160;

std::vector<uint32_t> Pixels(HDC dc, HBITMAP bitmap) {
    std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    BITMAPINFO info = TopDownDib32(kWidth, kHeight);
    ::GetDIBits(dc, bitmap, 0, kHeight, pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

std::unique_ptr<CVectorData> Item(int n) {
    auto item = std::make_unique<CVectorData>();
    item->kind = 1 + n % 5;
    item->penWidth = 1 + n % 4;
    item->color = RGB(n * 37 & 255, n * 91 & 255, n * 53 & 255);
    item->pointCount = 2;
    item->SetPoint(0, POINT{(n * 13) % kWidth, (n * 7) % kHeight});
    item->SetPoint(1, POINT{(n * 29) % kWidth - 20, (n * 17) % kHeight - 10});
    return item;
}

class ActivePicture : public testing::Test {
protected:
    void SetUp() override {
        HDC screen = ::GetDC(nullptr);
        m_picture.CreateBlank(RECT{0, 0, kWidth, kHeight});
        HDC dc = m_picture.GetDC();
        for (int y = 0; y < kHeight; y += 8) {
            RECT band{0, y, kWidth, y + 8};
            HBRUSH brush = ::CreateSolidBrush(RGB(y, 255 - y, 128));
            ::FillRect(dc, &band, brush);
            ::DeleteObject(brush);
        }
        m_picture.ReleaseDC();
        ASSERT_TRUE(m_active.Create(screen, &m_picture, kWidth, kHeight));
        ::ReleaseDC(nullptr, screen);
    }

    // The active items drawn afresh over the captured picture.
    std::vector<uint32_t> Expected() {
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kWidth, kHeight);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        m_picture.BitBlt(memory, 0, 0, SRCCOPY);
        m_items.ForEachActive([&](const CVectorData& item) { DrawVectorItem(memory, item, m_renderer); });
        ::SelectObject(memory, old);
        std::vector<uint32_t> pixels = Pixels(memory, bitmap);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
        return pixels;
    }
    std::vector<uint32_t> Shown() {
        m_active.Update(m_items, m_renderer);
        HBITMAP bitmap = static_cast<HBITMAP>(::GetCurrentObject(m_active.GetDC(), OBJ_BITMAP));
        return Pixels(m_active.GetDC(), bitmap);
    }
    void Add(int n) {
        if (m_items.CanRedo()) m_active.ForgetFrom(m_items.ActiveCount());
        m_items.TruncateRedoTail();
        m_items.Append(Item(n));
    }

    CScreenImage m_picture;
    EditorItems m_items;
    CActivePicture m_active;
    OutlineTextRenderer m_renderer;
};

TEST_F(ActivePicture, ShowsWhatDrawingEveryActiveItemShows) {
    for (int n = 0; n < 350; ++n) Add(n);
    EXPECT_EQ(Shown(), Expected());
    EXPECT_GE(m_active.CheckpointCount(), 3u);
    for (int i = 0; i < 130; ++i) m_items.Undo();  // back past two checkpoints
    EXPECT_EQ(Shown(), Expected());
    for (int i = 0; i < 40; ++i) m_items.Redo();
    EXPECT_EQ(Shown(), Expected());
    m_items.Undo();
    EXPECT_EQ(Shown(), Expected());
    // New items replace the undone ones, a checkpoint among them.
    for (int n = 1000; n < 1120; ++n) Add(n);
    EXPECT_EQ(m_items.Count(), 379u);
    EXPECT_EQ(Shown(), Expected());
    for (int i = 0; i < 100; ++i) m_items.Undo();
    EXPECT_EQ(Shown(), Expected());
    while (m_items.Undo()) {}
    EXPECT_EQ(Shown(), Expected());
    while (m_items.Redo()) {}
    EXPECT_EQ(Shown(), Expected());
}

TEST_F(ActivePicture, KeepsItsCheckpointsWithinItsBudget) {
    for (int n = 0; n < 3000; ++n) Add(n);
    EXPECT_EQ(Shown(), Expected());
    // 240 x 160 pictures are small: many fit, but never one per item.
    EXPECT_GE(m_active.CheckpointCount(), 20u);
    EXPECT_LE(m_active.CheckpointCount(), 30u);
    for (int i = 0; i < 1500; ++i) m_items.Undo();
    EXPECT_EQ(Shown(), Expected());
}

}  // namespace
