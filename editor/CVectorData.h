#pragma once
// One drawn item of the editor: a freehand stroke, a shape between two points, or a piece of
// outlined text, with the pen it was drawn with; and how a stored item is drawn again.
#include <windows.h>
#include <cstdint>
#include "TextItemSettings.h"
#include "VectorShapes.h"

class OutlineTextRenderer;

class CVectorData {
public:
    static constexpr int kMaxPoints = 5000;
    // The longest text an item holds, without its terminating zero.
    static constexpr int kMaxTextLength = 9779;

    CVectorData();
    virtual ~CVectorData() = default;
    CVectorData(const CVectorData&) = delete;
    CVectorData& operator=(const CVectorData&) = delete;

    int pointCount = 0;
    int kind = ShapeFreehand;
    int penWidth = 2;
    COLORREF color = RGB(0, 0, 0);

    // Appends a point; false when the item is full.
    bool AddPoint(POINT p);
    POINT PointAt(int index) const { return UnpackPoint(m_storage.points[index]); }
    void SetPoint(int index, POINT p) { m_storage.points[index] = PackPoint(p.x, p.y); }

    // Turns the item into a text item holding a copy of the settings and of the text (the
    // copy's text pointer points into the item). False, with the item unchanged, when the text
    // is longer than kMaxTextLength.
    bool SetText(const TextItemSettings& settings, const wchar_t* text);
    // The text item's settings, or null for other kinds.
    const TextItemSettings* GetTextSettings() const;

private:
    // A text item keeps its settings and its text where a stroke keeps its points.
    struct TextRecord {
        TextItemSettings settings;
        wchar_t text[kMaxTextLength + 1];
    };
    union Storage {
        Storage() : points{} {}
        uint32_t points[kMaxPoints];
        TextRecord text;
    };
    static_assert(sizeof(TextRecord) <= sizeof(uint32_t) * kMaxPoints,
                  "a text item must fit in the points' storage");
    Storage m_storage;
};

// Draws a stored item: text through the renderer, a freehand stroke as the polyline through its
// points, a shape with R2_COPYPEN from its first point to its second.
void DrawVectorItem(HDC dc, const CVectorData& item, OutlineTextRenderer& renderer);
