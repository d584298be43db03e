// How long the capture editor takes to repaint from its items, and to come up after a key
// release. Run under Wine on a display: editor_bench.exe [runs]
//
// Repaint: the picture copied into the memory picture and every active item drawn over it, on a
// 1280 x 800 picture with 100, 1,000 and 5,000 items (a mix of freehand strokes of 200 points
// and shapes): what every paint, undo and redo would cost without checkpoints. Then what the
// editor's memory picture with checkpoints costs for the same items: a paint that finds it up to
// date, an undo, and a redo. Shown: grabbing the screen and opening the editor over it until its
// first paint has reached the window.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>
#include "BenchClock.h"
#include "CPresentDlg.h"
#include "CScreenImage.h"
#include "CActivePicture.h"
#include "CVectorData.h"
#include "EditorItems.h"
#include "DeviceContext.h"
#include "GdiObject.h"
#include "GdiplusSession.h"
#include "OutlineTextRenderer.h"

namespace {
const int kWidth = 1280, kHeight = 800;

// Every fourth item a freehand stroke of 200 points, the others shapes of each kind.
std::vector<std::unique_ptr<CVectorData>> MakeItems(int count) {
    std::vector<std::unique_ptr<CVectorData>> items;
    std::srand(1234);
    for (int i = 0; i < count; ++i) {
        auto item = std::make_unique<CVectorData>();
        item->penWidth = 2 + 3 * (i % 6);
        item->color = RGB(i * 37 & 255, i * 91 & 255, i * 53 & 255);
        int x = std::rand() % kWidth, y = std::rand() % kHeight;
        if (i % 4 == 0) {
            item->kind = ShapeFreehand;
            for (int p = 0; p < 200; ++p) {
                x += std::rand() % 21 - 10;
                y += std::rand() % 21 - 10;
                item->AddPoint(POINT{x, y});
            }
        } else {
            item->kind = 1 + i % 5;
            item->pointCount = 2;
            item->SetPoint(0, POINT{x, y});
            item->SetPoint(1, POINT{x + std::rand() % 300 - 150, y + std::rand() % 300 - 150});
        }
        items.push_back(std::move(item));
    }
    return items;
}

double MeasureRepaint(int count, int runs) {
    CScreenImage picture;
    picture.CaptureRect(RECT{0, 0, kWidth, kHeight});
    std::vector<std::unique_ptr<CVectorData>> items = MakeItems(count);
    CClientDC screen(nullptr);
    CMemoryDC memory(screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(screen, kWidth, kHeight);
    CSelectObject select(memory, bitmap);
    OutlineTextRenderer renderer;
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        double start = Now();
        picture.BitBlt(memory, 0, 0, SRCCOPY);
        for (const auto& item : items) DrawVectorItem(memory, *item, renderer);
        ::GdiFlush();
        double elapsed = Now() - start;
        if (elapsed < best) best = elapsed;
    }
    return best;
}

struct Costs { double undo = 0, redo = 0, paint = 0; };

// The worst undo and redo over the last 150 items, and a paint with nothing to redraw.
Costs MeasureCheckpoints(int count) {
    CScreenImage picture;
    picture.CaptureRect(RECT{0, 0, kWidth, kHeight});
    EditorItems items;
    for (auto& item : MakeItems(count)) items.Append(std::move(item));
    CClientDC screen(nullptr);
    CActivePicture active;
    active.Create(screen, &picture, kWidth, kHeight);
    OutlineTextRenderer renderer;
    active.Update(items, renderer);
    Costs costs;
    double start = Now();
    active.Update(items, renderer);
    costs.paint = Now() - start;
    for (int i = 0; i < 150; ++i) {
        items.Undo();
        start = Now();
        active.Update(items, renderer);
        ::GdiFlush();
        costs.undo = std::max(costs.undo, Now() - start);
    }
    for (int i = 0; i < 150; ++i) {
        items.Redo();
        start = Now();
        active.Update(items, renderer);
        ::GdiFlush();
        costs.redo = std::max(costs.redo, Now() - start);
    }
    return costs;
}

// The editor notes when its first paint has reached the window, and ends.
class FirstPaintEditor : public CPresentDlg {
public:
    double paintedAt = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = CPresentDlg::WindowProc(msg, wParam, lParam);
        if (msg == WM_PAINT && paintedAt == 0) {
            ::GdiFlush();
            paintedAt = Now();
            PostMessage(WM_COMMAND, IDCANCEL);
        }
        return result;
    }
};

double MeasureShown(double& grabbed) {
    double start = Now();
    CScreenImage picture;
    RECT rect{0, 0, kWidth, kHeight};
    picture.CaptureRect(rect);
    grabbed = Now() - start;
    FirstPaintEditor editor;
    editor.captureRect = rect;
    editor.picture = &picture;
    editor.DoModal();
    return editor.paintedAt - start;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    ::SetProcessDPIAware();
    GdiplusSession gdiplus;
    gdiplus.Startup();
    int runs = argc > 1 ? _wtoi(argv[1]) : 5;
    if (runs < 1) runs = 1;
    for (int count : {100, 1000, 5000})
        std::printf("repaint %5d items: %8.1f ms (best of %d)\n", count, MeasureRepaint(count, runs), runs);
    for (int count : {100, 1000, 5000}) {
        Costs costs = MeasureCheckpoints(count);
        std::printf("with checkpoints %5d items: worst undo %6.1f ms, worst redo %6.1f ms, paint %5.2f ms\n",
                    count, costs.undo, costs.redo, costs.paint);
    }
    double grabbed = 0;
    double shown = MeasureShown(grabbed);
    std::printf("grab 1280x800: %.1f ms; grab and editor painted: %.1f ms\n", grabbed, shown);
    return 0;
}
