#include "CNinePatch.h"
#include "CPngImage.h"
#include "DeviceContext.h"

namespace {
// A mark is any pixel that is not fully transparent; its colour does not matter.
bool IsMarked(uint32_t pixel) {
    return pixel > 0x00FFFFFFu;
}

// One axis from count pixels of the border, read by at(i) for i = 1 .. count - 2.
template <typename Read>
CNinePatch::Axis ParseAxis(int count, Read at) {
    CNinePatch::Axis axis;
    for (int i = 1; i <= count - 2; ++i) {
        const int marked = IsMarked(at(i)) ? 1 : 0;
        if (i == 1 || marked != axis.runFlags.back()) {
            axis.runFlags.push_back(marked);
            axis.runStarts.push_back(i);
            if (marked) ++axis.stretchRuns;
        }
        if (marked) ++axis.stretchPixels;
    }
    axis.runStarts.push_back(count - 1);
    axis.innerSize = count - 2;
    return axis;
}

bool ValidIndex(const std::vector<int>& list, int index) {
    return index >= 0 && static_cast<size_t>(index) < list.size();
}
}  // namespace

int CNinePatch::Scaled(int length) const {
    return m_dpi == m_pictureDpi ? length : ::MulDiv(length, static_cast<int>(m_dpi), static_cast<int>(m_pictureDpi));
}

int CNinePatch::MinimumSize(const Axis& axis) const {
    int size = 0;
    for (size_t i = 0; i + 1 < axis.runStarts.size(); ++i) {
        const int width = axis.runStarts[i + 1] - axis.runStarts[i];
        size += axis.runFlags[i] ? width : Scaled(width);
    }
    return size;
}

// Where the run boundaries land when the axis is drawn at size: fixed runs keep their width (at
// the DPI), stretchable runs share the extra size equally, the first ones taking the remainder.
std::vector<int> CNinePatch::Destinations(const Axis& axis, int size) const {
    int fixed = 0;
    for (size_t i = 0; i + 1 < axis.runStarts.size(); ++i) {
        if (!axis.runFlags[i]) fixed += Scaled(axis.runStarts[i + 1] - axis.runStarts[i]);
    }
    const int extra = size - fixed;
    std::vector<int> dest{0};
    int stretchIndex = 0;
    for (size_t i = 0; i + 1 < axis.runStarts.size(); ++i) {
        int width = Scaled(axis.runStarts[i + 1] - axis.runStarts[i]);
        if (axis.runFlags[i]) {
            width = extra / axis.stretchRuns + (stretchIndex < extra % axis.stretchRuns ? 1 : 0);
            ++stretchIndex;
        }
        dest.push_back(dest.back() + width);
    }
    return dest;
}

// The drawn position of picture coordinate g (a guide); -1 when no run holds it. In a fixed run
// its offset is scaled with the run; in a stretchable run it keeps its offset.
int CNinePatch::GuidePosition(const Axis& axis, const std::vector<int>& dest, int g) const {
    for (size_t i = 0; i + 1 < axis.runStarts.size() && i < dest.size(); ++i) {
        if (axis.runStarts[i] <= g && g < axis.runStarts[i + 1]) {
            const int offset = g - axis.runStarts[i];
            return dest[i] + (axis.runFlags[i] ? offset : Scaled(offset));
        }
    }
    return -1;
}

void CNinePatch::Clear() {
    Destroy();
    m_premultiplied.DeleteObject();
    m_horizontal = {};
    m_vertical = {};
    m_destX.clear();
    m_destY.clear();
    m_guideX.clear();
    m_guideY.clear();
}

BOOL CNinePatch::LoadPng(UINT resourceId, UINT dpi) {
    Clear();
    UINT pictureDpi = kDefaultDpi;
    const UINT found = FindPictureForDpi(resourceId, L"PNG", dpi, &pictureDpi);
    CPngImage png;
    if (!png.Load(found)) return FALSE;
    m_dpi = dpi;
    m_pictureDpi = pictureDpi;
    m_premultiplied.Attach(png.CreatePremultipliedCopy());
    Attach(png.Detach());
    return ParseBorder();
}

BOOL CNinePatch::LoadPng(const void* data, size_t size, UINT dpi, UINT pictureDpi) {
    Clear();
    CPngImage png;
    if (!png.LoadFromBuffer(data, size)) return FALSE;
    m_dpi = dpi;
    m_pictureDpi = pictureDpi;
    m_premultiplied.Attach(png.CreatePremultipliedCopy());
    Attach(png.Detach());
    return ParseBorder();
}

BOOL CNinePatch::ParseBorder() {
    std::vector<uint32_t> pixels;
    const int w = GetWidth();
    const int h = GetHeight();
    // A picture needs an inside besides its border to be drawn at all.
    if (w < 3 || h < 3 || !m_premultiplied || !ReadPixels(pixels)) {
        Clear();
        return FALSE;
    }
    auto pixel = [&](int x, int y) { return pixels[static_cast<size_t>(y) * w + x]; };
    m_horizontal = ParseAxis(w, [&](int x) { return pixel(x, 0); });
    m_vertical = ParseAxis(h, [&](int y) { return pixel(0, y); });
    for (int x = 1; x <= w - 2; ++x) {
        if (IsMarked(pixel(x, h - 1))) m_guideX.push_back(x);
    }
    for (int y = 1; y <= h - 2; ++y) {
        if (IsMarked(pixel(w - 1, y))) m_guideY.push_back(y);
    }
    return TRUE;
}

BOOL CNinePatch::Draw(HDC dc, int x, int y, int width, int height) {
    m_destX.clear();
    m_destY.clear();
    if (IsNull() || width < MinimumWidth() || height < MinimumHeight()) return FALSE;
    // An axis without stretch marks keeps its picture size; the extra size stays undrawn.
    auto destinations = [this](const Axis& axis, int size) {
        return Destinations(axis, axis.stretchRuns > 0 ? size : MinimumSize(axis));
    };
    std::vector<int> destX = destinations(m_horizontal, width);
    std::vector<int> destY = destinations(m_vertical, height);

    CMemoryDC source(dc);
    if (!source) return FALSE;
    CSelectObject select(source, m_premultiplied);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const std::vector<int>& startsX = m_horizontal.runStarts;
    const std::vector<int>& startsY = m_vertical.runStarts;
    for (size_t s = 0; s + 1 < startsX.size(); ++s) {
        for (size_t t = 0; t + 1 < startsY.size(); ++t) {
            const int dw = destX[s + 1] - destX[s];
            const int dh = destY[t + 1] - destY[t];
            if (dw <= 0 || dh <= 0) continue;
            ::AlphaBlend(dc, x + destX[s], y + destY[t], dw, dh, source, startsX[s], startsY[t],
                         startsX[s + 1] - startsX[s], startsY[t + 1] - startsY[t], blend);
        }
    }
    m_destX = std::move(destX);
    m_destY = std::move(destY);
    return TRUE;
}

RECT CNinePatch::GetGuideRect(int ix0, int iy0, int ix1, int iy1) const {
    RECT rc{0, 0, 0, 0};
    if (!ValidIndex(m_guideX, ix0) || !ValidIndex(m_guideX, ix1) || !ValidIndex(m_guideY, iy0) ||
        !ValidIndex(m_guideY, iy1) || ix0 > ix1 || iy0 > iy1 || m_destX.empty() || m_destY.empty()) {
        return rc;
    }
    rc.left = GuidePosition(m_horizontal, m_destX, m_guideX[static_cast<size_t>(ix0)]);
    rc.right = GuidePosition(m_horizontal, m_destX, m_guideX[static_cast<size_t>(ix1)]) + 1;
    rc.top = GuidePosition(m_vertical, m_destY, m_guideY[static_cast<size_t>(iy0)]);
    rc.bottom = GuidePosition(m_vertical, m_destY, m_guideY[static_cast<size_t>(iy1)]) + 1;
    return rc;
}
