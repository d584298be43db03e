#pragma once
// A picture that draws at any size not smaller than itself by stretching only the columns and
// rows its one-pixel mark border calls stretchable; the border's guide marks map to rectangles
// of the drawn result (the frame windows' hole, handles and title strip at any size). Loaded for
// a DPI, it takes the picture drawn at the nearest scale and draws its fixed runs (and the guides
// in them) at their size times the DPI over the picture's own scale.
//
//   CNinePatch skin;
//   skin.LoadPng(IDB_RECORD_FRAME, WindowDpi(m_hWnd));
//   skin.Draw(backBuffer, 0, 0, width, height);
//   RECT hole = skin.GetGuideRect(0, 0, 9, 9);
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <vector>
#include "CImage.h"
#include "Dpi.h"
#include "GdiObject.h"

class CNinePatch : public CImage {
public:
    // The runs of one axis, read from the top row (columns) or the left column (rows).
    struct Axis {
        int innerSize = 0;       // picture size without the mark border
        int stretchPixels = 0;   // marked pixels
        int stretchRuns = 0;     // maximal runs of marked pixels
        std::vector<int> runFlags;   // per run, left to right: 1 stretchable, 0 fixed
        std::vector<int> runStarts;  // where each run starts, then one more entry (size - 1)
    };

    // Loads the program's "PNG" resource drawn nearest to `dpi` and reads its border. FALSE
    // (holding no picture) when the resource is missing, does not decode, or is too small to
    // have an inside (3 x 3). A picture from memory counts as drawn at `pictureDpi`.
    BOOL LoadPng(UINT resourceId, UINT dpi = kDefaultDpi);
    BOOL LoadPng(const void* data, size_t size, UINT dpi = kDefaultDpi, UINT pictureDpi = kDefaultDpi);

    // Draws with the top-left corner at (x, y) and the given outer size. FALSE without drawing
    // (and forgetting the last drawing) below the smallest size (the inner size when the DPI is
    // the picture's own).
    BOOL Draw(HDC dc, int x, int y, int width, int height);
    using CImage::Draw;

    // The smallest size Draw takes: the fixed runs at the DPI and one pixel per stretch pixel.
    int MinimumWidth() const { return MinimumSize(m_horizontal); }
    int MinimumHeight() const { return MinimumSize(m_vertical); }
    UINT GetDpi() const { return m_dpi; }
    UINT GetPictureDpi() const { return m_pictureDpi; }

    // The rectangle covered by guide marks in the last successful drawing, relative to its
    // origin: left at guide x #ix0, top at guide y #iy0, right and bottom just after guides
    // #ix1 and #iy1. (0, 0, 0, 0) for invalid indexes or before a successful drawing.
    RECT GetGuideRect(int ix0, int iy0, int ix1, int iy1) const;

    const Axis& Horizontal() const { return m_horizontal; }
    const Axis& Vertical() const { return m_vertical; }
    const std::vector<int>& DestinationX() const { return m_destX; }
    const std::vector<int>& DestinationY() const { return m_destY; }
    const std::vector<int>& GuideX() const { return m_guideX; }
    const std::vector<int>& GuideY() const { return m_guideY; }

private:
    void Clear();
    BOOL ParseBorder();
    // A length of the picture at the DPI.
    int Scaled(int length) const;
    int MinimumSize(const Axis& axis) const;
    std::vector<int> Destinations(const Axis& axis, int size) const;
    int GuidePosition(const Axis& axis, const std::vector<int>& dest, int g) const;

    Axis m_horizontal;
    Axis m_vertical;
    std::vector<int> m_destX;
    std::vector<int> m_destY;
    std::vector<int> m_guideX;
    std::vector<int> m_guideY;
    // The picture with premultiplied colours: what AlphaBlend draws from.
    CBitmap m_premultiplied;
    UINT m_dpi = kDefaultDpi;
    UINT m_pictureDpi = kDefaultDpi;
};
