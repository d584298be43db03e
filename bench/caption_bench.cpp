// How long the recorder's caption overlay takes to draw on one frame, by caption length. Run under
// Wine (it needs no display of its own):
//   caption_bench.exe [runs, default 5] [points, default 72] [lengths..., default 1 5 10 20 30 50 100 200]
//
// Each kept frame of a recording has the caption drawn into it on the recording thread, so the
// caption's length bounds how late a frame may come. The frame is the largest the recorder makes
// (2000 x 2000, its largest output size), the outline the thickest the overlay dialog takes (100
// pixels, half transparent) and the font the largest the font dialog of the overlay dialog
// offers (72 points, bold), at angles 0 and 45 degrees; the text mixes Hangul and Latin letters.
// For every length the median of the runs is printed, and the longest length whose median stays
// within 10 ms.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "BenchClock.h"
#include "CLogoDoc.h"
#include "CScreenImage.h"
#include "GdiplusSession.h"

namespace {
std::wstring CaptionOf(size_t length) {
    const std::wstring pattern = L"Tovrix 움짤 녹화 Caption 123 ";
    std::wstring text;
    while (text.size() < length) text += pattern;
    text.resize(length);
    return text;
}

double MedianDrawMs(CLogoDoc& doc, HDC dc, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double begin = Now();
        doc.RenderOverlay(dc);
        ::GdiFlush();
        times.push_back(Now() - begin);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
    const int pointSize = argc > 2 ? std::max(1, _wtoi(argv[2])) : 72;
    std::vector<size_t> lengths;
    for (int i = 3; i < argc; ++i) lengths.push_back(static_cast<size_t>(std::max(1, _wtoi(argv[i]))));
    if (lengths.empty()) lengths = {1, 5, 10, 20, 30, 50, 100, 200};
    GdiplusSession gdiplus;
    if (!gdiplus.Startup()) {
        std::fprintf(stderr, "GDI+ did not start\n");
        return 1;
    }
    const int side = 2000;
    CScreenImage frame;
    if (!frame.CreateBlank(RECT{0, 0, side, side}) || frame.IsNull()) {
        std::fprintf(stderr, "no %d x %d picture\n", side, side);
        return 1;
    }
    HDC dc = frame.GetDC();
    const int pixelsPerInch = ::GetDeviceCaps(dc, LOGPIXELSY);
    {
        for (const int alpha : {255, 128})
        for (int angle : {0, 45}) {
            CLogoDoc doc;
            doc.m_captionOn = true;
            doc.m_thickness = 100;
            doc.m_outlineAlpha = static_cast<BYTE>(alpha);
            doc.m_textColor = RGB(255, 255, 0);
            doc.m_outlineColor = RGB(0, 0, 160);
            doc.m_angle = angle * 10;
            doc.m_textPosition = 4;  // centred: the text crosses the middle of the frame
            doc.m_font.lfHeight = -::MulDiv(pointSize, pixelsPerInch, 72);
            doc.m_font.lfWeight = FW_BOLD;
            std::printf("caption %d pt, outline 100 alpha %d, angle %d, %d x %d frame:", pointSize, alpha, angle, side,
                        side);
            size_t within = 0;
            for (size_t length : lengths) {
                doc.m_text = CaptionOf(length);
                const double ms = MedianDrawMs(doc, dc, runs);
                if (ms <= 10.0) within = length;
                std::printf(" %zu=%.1fms", length, ms);
                std::fflush(stdout);
            }
            std::printf("; longest within 10 ms: %zu\n", within);
        }
    }
    frame.ReleaseDC();
    gdiplus.Shutdown();
    return 0;
}
