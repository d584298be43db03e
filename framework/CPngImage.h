#pragma once
// A PNG picture from the program's resources (type "PNG") or from memory, decoded through GDI+
// into a 32-bit top-down DIB section whose pixels keep straight (not premultiplied) alpha, so
// that marks and colours read back exactly as the file holds them.
#include <windows.h>
#include <cstddef>
#include "GdiObject.h"

class CPngImage : public CBitmap {
public:
    // FALSE, holding no bitmap, when the resource is missing or does not decode.
    [[nodiscard]] BOOL Load(UINT resourceId, HINSTANCE instance = nullptr);
    [[nodiscard]] BOOL LoadFromBuffer(const void* data, size_t size);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    // A copy with every colour multiplied by its alpha, the form AlphaBlend's per-pixel alpha
    // expects (straight pixels would add the colour of transparent pixels); null on failure.
    [[nodiscard]] HBITMAP CreatePremultipliedCopy() const;

private:
    int m_width = 0;
    int m_height = 0;
};
