#include "TextCursor.h"
#include <cstdint>
#include <vector>
#include "DeviceContext.h"
#include "Dib.h"
#include "GdiObject.h"
#include "OutlineTextRenderer.h"

namespace {
const uint32_t kWhite = 0x00FFFFFF;
}

HCURSOR CreateTextCursor(const TextItemSettings& settings, const wchar_t* text, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    BITMAPINFO info = TopDownDib32(width, height);
    void* bits = nullptr;
    CBitmap canvas(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!canvas || !bits) return nullptr;
    auto* pixels = static_cast<uint32_t*>(bits);
    {
        CMemoryDC memory(nullptr);
        CSelectObject select(memory, canvas);
        RECT all{0, 0, width, height};
        ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        TextItemSettings atOrigin = settings;
        atOrigin.x = atOrigin.y = 0;
        atOrigin.text = text;
        OutlineTextRenderer renderer;
        DrawTextItem(memory, renderer, atOrigin);
        ::GdiFlush();
    }
    int lastColumn = -1, lastRow = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((pixels[static_cast<size_t>(y) * width + x] & 0x00FFFFFF) == kWhite) continue;
            if (x > lastColumn) lastColumn = x;
            lastRow = y;
        }
    }
    if (lastColumn < 0) return nullptr;
    const int cw = lastColumn + 1, ch = lastRow + 1;

    // The colour part keeps the text with white turned black; the mask is set where white was,
    // so that those pixels leave the screen as it is.
    BITMAPINFO colorInfo = TopDownDib32(cw, ch);
    void* colorBits = nullptr;
    CBitmap color(::CreateDIBSection(nullptr, &colorInfo, DIB_RGB_COLORS, &colorBits, nullptr, 0));
    const int maskStride = ((cw + 15) / 16) * 2;
    std::vector<BYTE> maskBits(static_cast<size_t>(maskStride) * ch, 0);
    if (!color || !colorBits) return nullptr;
    auto* out = static_cast<uint32_t*>(colorBits);
    for (int y = 0; y < ch; ++y) {
        for (int x = 0; x < cw; ++x) {
            uint32_t p = pixels[static_cast<size_t>(y) * width + x] & 0x00FFFFFF;
            if (p == kWhite) {
                out[static_cast<size_t>(y) * cw + x] = 0;
                maskBits[static_cast<size_t>(y) * maskStride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
            } else {
                out[static_cast<size_t>(y) * cw + x] = p;
            }
        }
    }
    CBitmap mask(::CreateBitmap(cw, ch, 1, 1, maskBits.data()));
    if (!mask) return nullptr;
    ICONINFO icon{};
    icon.fIcon = FALSE;
    icon.xHotspot = 0;
    icon.yHotspot = 0;
    icon.hbmMask = mask;
    icon.hbmColor = color;
    return ::CreateIconIndirect(&icon);
}
