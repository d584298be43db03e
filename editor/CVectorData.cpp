#include "CVectorData.h"
#include <new>
#include "DeviceContext.h"
#include "GdiObject.h"

CVectorData::CVectorData() = default;

bool CVectorData::AddPoint(POINT p) {
    if (kind == ShapeText || pointCount >= kMaxPoints) return false;
    SetPoint(pointCount++, p);
    return true;
}

bool CVectorData::SetText(const TextItemSettings& settings, const wchar_t* text) {
    const int length = text ? ::lstrlenW(text) : 0;
    if (length > kMaxTextLength) return false;
    TextRecord* record = new (&m_storage.text) TextRecord;
    record->settings = settings;
    if (length) ::CopyMemory(record->text, text, sizeof(wchar_t) * length);
    record->text[length] = L'\0';
    record->settings.text = record->text;
    kind = ShapeText;
    pointCount = 0;
    return true;
}

const TextItemSettings* CVectorData::GetTextSettings() const {
    return kind == ShapeText ? &m_storage.text.settings : nullptr;
}

void DrawVectorItem(HDC dc, const CVectorData& item, OutlineTextRenderer& renderer) {
    switch (item.kind) {
    case ShapeText:
        DrawTextItem(dc, renderer, *item.GetTextSettings());
        break;
    case ShapeFreehand: {
        if (item.pointCount < 2) break;
        CPen pen(PS_SOLID, item.penWidth, item.color);
        CSelectObject select(dc, pen);
        for (int i = 1; i < item.pointCount; ++i) {
            POINT from = item.PointAt(i - 1), to = item.PointAt(i);
            ::MoveToEx(dc, from.x, from.y, nullptr);
            ::LineTo(dc, to.x, to.y);
        }
        break;
    }
    default: {
        int previous = ::SetROP2(dc, R2_COPYPEN);
        POINT from = item.PointAt(0), to = item.PointAt(1);
        DrawShape(dc, item.kind, from.x, from.y, to.x, to.y, item.penWidth, item.color);
        ::SetROP2(dc, previous);
        break;
    }
    }
}
