#pragma once
// The editor's memory picture: the captured picture with the active items drawn on it, kept up
// to date item by item. Pictures of the first items are kept at checkpoints, so that a new
// item, a redo and a paint cost one item or none, and an undo at most one checkpoint's worth,
// however many items there are.
#include <windows.h>
#include <cstddef>
#include <map>
#include <memory>
#include "CScreenImage.h"
#include "DeviceContext.h"
#include "EditorItems.h"
#include "GdiObject.h"
#include "OutlineTextRenderer.h"

class CActivePicture {
public:
    CActivePicture() = default;
    ~CActivePicture();
    CActivePicture(const CActivePicture&) = delete;
    CActivePicture& operator=(const CActivePicture&) = delete;

    // A picture compatible with `compatible` of the captured picture's size, showing it; false
    // when the bitmap cannot be made.
    bool Create(HDC compatible, const CScreenImage* picture, int width, int height);
    bool IsCreated() const { return m_dc != nullptr; }
    HDC GetDC() const { return m_dc ? m_dc->get() : nullptr; }

    // Brings the picture to the active items of `items`.
    void Update(const EditorItems& items, OutlineTextRenderer& renderer);
    // The item just appended has been drawn on the picture by the caller.
    void ItemDrawn() { ++m_count; }
    // The items from `count` on are being replaced: pictures that show them are dropped.
    void ForgetFrom(size_t count);
    // Rebuilds from the captured picture without checkpoints (after the picture changed).
    void Reset();

    size_t CheckpointCount() const { return m_checkpoints.size(); }

private:
    void Restore(size_t count);
    void Keep(size_t count);

    const CScreenImage* m_picture = nullptr;
    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<CMemoryDC> m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    size_t m_count = 0;                      // items drawn on the picture now
    size_t m_spacing = 100;                  // items between checkpoints
    size_t m_maxCheckpoints = 16;
    std::map<size_t, CBitmap> m_checkpoints;  // picture with the first n items
};
