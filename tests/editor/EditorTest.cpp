// The capture editor run modally as the pipeline runs it, driven from inside its own message
// loop: shapes land in the picture where the arrowhead formulas and the pen put them, strokes
// stop at their limit, undo and redo move through the items and switch the toolbar's buttons,
// keys choose kinds, sizes, tools and colours, and finish leaves the picture on the clipboard.
#include <gtest/gtest.h>
#include <thread>
#include "CEpicPenDlg.h"
#include "Dib.h"
#include "EditorTestSupport.h"
#include "ScriptedEditor.h"
#include "VectorShapes.h"
#include "resource.h"

using editor_test::Canvas;
using editor_test::MakePicture;
using editor_test::ScriptedEditor;
using editor_test::SendKey;

namespace {

const RECT kRect{200, 150, 600, 450};
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(218, 14, 14);

class Editor : public testing::Test {
protected:
    void SetUp() override { MakePicture(m_picture, kRect, kWhite); }
    COLORREF At(int x, int y) const { return m_picture.PixelAt(x, y); }
    CScreenImage m_picture;
};

TEST(Arrowheads, FollowTheFormulasWithTruncationTowardsZero) {
    struct Case {
        POINT from, to;
        POINT end[3], start[3];
    };
    const Case cases[] = {
        // Horizontal, to the right. sin(pi) is not quite zero in doubles, which moves two corners
        // just below 15 and so one pixel in.
        {{50, 100}, {150, 100}, {{150, 100}, {135, 93}, {136, 107}}, {{50, 100}, {64, 93}, {65, 107}}},
        // Straight down.
        {{10, 10}, {10, 110}, {{10, 110}, {17, 95}, {3, 95}}, {{10, 10}, {17, 25}, {3, 25}}},
        // A 5-12-13 slope, where cutting towards zero differs from rounding down.
        {{0, 0}, {50, 120}, {{50, 120}, {51, 104}, {38, 110}}, {{0, 0}, {12, 10}, {-1, 16}}},
    };
    for (const Case& c : cases) {
        POINT end[3], start[3];
        ArrowheadAtEnd(c.from.x, c.from.y, c.to.x, c.to.y, end);
        ArrowheadAtStart(c.from.x, c.from.y, c.to.x, c.to.y, start);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(end[i].x, c.end[i].x) << "end " << i << " of " << c.to.x << "," << c.to.y;
            EXPECT_EQ(end[i].y, c.end[i].y) << "end " << i << " of " << c.to.x << "," << c.to.y;
            EXPECT_EQ(start[i].x, c.start[i].x) << "start " << i << " of " << c.to.x << "," << c.to.y;
            EXPECT_EQ(start[i].y, c.start[i].y) << "start " << i << " of " << c.to.x << "," << c.to.y;
        }
    }
}

TEST(PackedPoints, KeepNegativeCoordinates) {
    for (POINT p : {POINT{0, 0}, POINT{-40, -30}, POINT{32767, -32768}, POINT{1279, 799}}) {
        POINT back = UnpackPoint(PackPoint(p.x, p.y));
        EXPECT_EQ(back.x, p.x);
        EXPECT_EQ(back.y, p.y);
    }
}

TEST_F(Editor, EachShapeLandsInThePictureWhereItWasDragged) {
    struct Probe { POINT at; bool drawn; };
    struct Case {
        int kind;
        POINT from, to;
        std::vector<Probe> probes;
    };
    const std::vector<Case> cases = {
        {ShapeLine, {50, 50}, {150, 50}, {{{100, 50}, true}, {{100, 60}, false}, {{160, 50}, false}}},
        {ShapeRectangle, {50, 50}, {150, 120},
         {{{50, 85}, true}, {{100, 50}, true}, {{149, 85}, true}, {{100, 119}, true}, {{100, 85}, false}}},
        {ShapeEllipse, {50, 50}, {150, 120},
         {{{50, 85}, true}, {{100, 50}, true}, {{100, 85}, false}, {{53, 53}, false}}},
        {ShapeArrow, {50, 100}, {150, 100},
         {{{100, 100}, true}, {{140, 96}, true}, {{140, 104}, true}, {{60, 96}, false}, {{130, 92}, false}}},
        {ShapeDoubleArrow, {50, 100}, {150, 100},
         {{{100, 100}, true}, {{140, 96}, true}, {{60, 96}, true}, {{60, 104}, true}, {{100, 96}, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind);
        MakePicture(m_picture, kRect, kWhite);
        ScriptedEditor editor(m_picture, kRect);
        editor.Then([&](ScriptedEditor& e) {
            e.GetPenToolbar()->SetToolIndex(c.kind);
            e.Drag(c.from, c.to);
        });
        editor.Then([](ScriptedEditor& e) { e.Command(ID_EDITOR_FINISH); });
        ASSERT_EQ(editor.Run(), IDOK);
        ASSERT_EQ(editor.ActiveKinds(), std::vector<int>{c.kind});
        for (const Probe& probe : c.probes) {
            COLORREF colour = At(probe.at.x, probe.at.y);
            EXPECT_EQ(colour, probe.drawn ? kRed : kWhite) << "at " << probe.at.x << "," << probe.at.y;
        }
    }
}

TEST_F(Editor, AClickWithoutADragAddsNoShapeButAOnePointStroke) {
    ScriptedEditor editor(m_picture, kRect);
    std::vector<int> afterShapeClick, afterFreehandClick;
    HWND captured = reinterpret_cast<HWND>(1);
    editor.Then([&](ScriptedEditor& e) {
        e.GetPenToolbar()->SetToolIndex(ShapeRectangle);
        e.Press(POINT{80, 80});
        e.Release(POINT{80, 80});
        afterShapeClick = e.ActiveKinds();
        captured = ::GetCapture();
        e.GetPenToolbar()->SetToolIndex(ShapeFreehand);
        e.Press(POINT{90, 90});
        e.Release(POINT{90, 90});
        afterFreehandClick = e.ActiveKinds();
    });
    editor.Then([](ScriptedEditor& e) { e.Command(ID_EDITOR_FINISH); });
    ASSERT_EQ(editor.Run(), IDOK);
    EXPECT_TRUE(afterShapeClick.empty());
    EXPECT_EQ(captured, nullptr);
    EXPECT_EQ(afterFreehandClick, std::vector<int>{ShapeFreehand});
    int points = -1;
    editor.GetItems().ForEachActive([&](const CVectorData& item) { points = item.pointCount; });
    EXPECT_EQ(points, 1);
    EXPECT_EQ(At(90, 90), kWhite);
}

TEST_F(Editor, AFreehandStrokeEndsAtItsLimitWhileTheButtonIsStillDown) {
    ScriptedEditor editor(m_picture, kRect);
    int pointsAtLimit = 0, itemsAtLimit = 0;
    bool capturedAfter = true;
    editor.Then([&](ScriptedEditor& e) {
        e.Press(POINT{10, 10});
        for (int i = 1; i < 6000; ++i) e.MoveTo(POINT{10 + i % 300, 10 + (i / 300) * 10});
        itemsAtLimit = static_cast<int>(e.GetItems().Count());
        e.GetItems().ForEachActive([&](const CVectorData& item) { pointsAtLimit = item.pointCount; });
        capturedAfter = ::GetCapture() == e.m_hWnd;
        e.Release(POINT{20, 20});
    });
    editor.Then([](ScriptedEditor& e) { e.Command(ID_EDITOR_FINISH); });
    ASSERT_EQ(editor.Run(), IDOK);
    EXPECT_EQ(itemsAtLimit, 1);
    EXPECT_EQ(pointsAtLimit, CVectorData::kMaxPoints - 1);
    EXPECT_FALSE(capturedAfter);
    EXPECT_EQ(editor.GetItems().Count(), 1u);
    // The part after the limit was not drawn: its rows stay white.
    EXPECT_EQ(At(150, 10 + (5500 / 300) * 10), kWhite);
    EXPECT_EQ(At(150, 10 + (4000 / 300) * 10), kRed);
}

TEST_F(Editor, UndoAndRedoMoveThroughTheItemsAndSwitchTheButtons) {
    ScriptedEditor editor(m_picture, kRect);
    struct State { size_t active, total; bool undo, redo; };
    std::vector<State> states;
    auto record = [&](ScriptedEditor& e) {
        states.push_back({e.GetItems().ActiveCount(), e.GetItems().Count(), e.UndoEnabled(), e.RedoEnabled()});
    };
    editor.Then([&](ScriptedEditor& e) {
        record(e);                       // 0: nothing yet
        e.Command(ID_EDITOR_UNDO);
        e.Command(ID_EDITOR_REDO);
        record(e);                       // 1: undo and redo of nothing change nothing
        e.GetPenToolbar()->SetToolIndex(ShapeLine);
        e.Drag(POINT{10, 10}, POINT{100, 10});
        e.Drag(POINT{10, 30}, POINT{100, 30});
        e.Drag(POINT{10, 50}, POINT{100, 50});
        record(e);                       // 2: three items
        e.Command(ID_EDITOR_UNDO);
        record(e);                       // 3
        e.Command(ID_EDITOR_UNDO);
        e.Command(ID_EDITOR_UNDO);
        record(e);                       // 4: everything undone
        e.Command(ID_EDITOR_UNDO);
        record(e);                       // 5: no further
        e.Command(ID_EDITOR_REDO);
        record(e);                       // 6
        e.Drag(POINT{10, 70}, POINT{100, 70});
        record(e);                       // 7: the redo tail is gone
        e.Command(ID_EDITOR_REDO);
        record(e);                       // 8: nothing to redo
    });
    editor.Then([](ScriptedEditor& e) { e.Command(ID_EDITOR_FINISH); });
    ASSERT_EQ(editor.Run(), IDOK);
    const State expected[] = {
        {0, 0, false, false}, {0, 0, false, false}, {3, 3, true, false}, {2, 3, true, true},
        {0, 3, false, true},  {0, 3, false, true},  {1, 3, true, true},  {2, 2, true, false},
        {2, 2, true, false},
    };
    ASSERT_EQ(states.size(), sizeof(expected) / sizeof(expected[0]));
    for (size_t i = 0; i < states.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "state " << i);
        EXPECT_EQ(states[i].active, expected[i].active);
        EXPECT_EQ(states[i].total, expected[i].total);
        EXPECT_EQ(states[i].undo, expected[i].undo);
        EXPECT_EQ(states[i].redo, expected[i].redo);
    }
    // The picture holds the first line and the last, not the dropped ones.
    EXPECT_EQ(At(50, 10), kRed);
    EXPECT_EQ(At(50, 30), kWhite);
    EXPECT_EQ(At(50, 50), kWhite);
    EXPECT_EQ(At(50, 70), kRed);
}

TEST_F(Editor, AShapeDraggedPastTheTopLeftKeepsItsNegativeCornerThroughUndoAndRedo) {
    ScriptedEditor editor(m_picture, kRect);
    editor.Then([](ScriptedEditor& e) {
        e.GetPenToolbar()->SetToolIndex(ShapeRectangle);
        e.Drag(POINT{60, 60}, POINT{-40, -30});
        e.Command(ID_EDITOR_UNDO);
        e.Command(ID_EDITOR_REDO);
    });
    editor.Then([](ScriptedEditor& e) { e.Command(ID_EDITOR_FINISH); });
    ASSERT_EQ(editor.Run(), IDOK);
    POINT corner{};
    editor.GetItems().ForEachActive([&](const CVectorData& item) { corner = item.PointAt(1); });
    EXPECT_EQ(corner.x, -40);
    EXPECT_EQ(corner.y, -30);
    EXPECT_EQ(At(59, 20), kRed);   // the right side, from the top edge down to 60
    EXPECT_EQ(At(20, 59), kRed);   // the bottom side
    EXPECT_EQ(At(20, 20), kWhite);
    EXPECT_EQ(At(0, 0), kWhite);
}

TEST_F(Editor, HeldModifierKeysChooseTheKindWhateverTheTool) {
    struct Case {
        std::vector<WORD> keys;
        int tool;
        int kind;
    };
    const Case cases[] = {
        {{VK_CONTROL, VK_SHIFT}, ShapeFreehand, ShapeArrow},
        {{VK_CONTROL}, ShapeEllipse, ShapeRectangle},
        {{VK_SHIFT}, ShapeFreehand, ShapeLine},
        {{VK_TAB}, ShapeLine, ShapeEllipse},
        {{}, ShapeDoubleArrow, ShapeDoubleArrow},
    };
    ScriptedEditor editor(m_picture, kRect);
    for (const Case& c : cases) {
        editor.Then([&](ScriptedEditor& e) {
            e.GetPenToolbar()->SetToolIndex(c.tool);
            for (WORD key : c.keys) SendKey(key, true);
        });
        editor.Then([&](ScriptedEditor& e) {
            e.Drag(POINT{20, 20}, POINT{120, 90});
            for (WORD key : c.keys) SendKey(key, false);
        });
    }
    editor.Then([](ScriptedEditor& e) { e.Command(ID_EDITOR_FINISH); });
    ASSERT_EQ(editor.Run(), IDOK);
    std::vector<int> expected;
    for (const Case& c : cases) expected.push_back(c.kind);
    EXPECT_EQ(editor.ActiveKinds(), expected);
}

TEST_F(Editor, TheKeyTableMovesSizeToolAndColourButNotTheButtonMarks) {
    struct Case {
        WORD key;
        int width, tool;
        COLORREF colour;
    };
    const Case cases[] = {
        {'W', 5, 0, kRed},        {'Y', 17, 0, kRed},
        {'D', 2, 2, kRed},        {'H', 2, 5, kRed},
        {'7', 2, 0, RGB(0, 0, 0)}, {'I', 2, 0, RGB(243, 138, 10)},
        {VK_OEM_1, 2, 0, RGB(236, 236, 19)}, {VK_OEM_2, 2, 0, RGB(241, 136, 136)},
        {VK_OEM_COMMA, 2, 0, RGB(161, 240, 66)}, {'M', 2, 0, RGB(255, 255, 255)},
    };
    struct Seen {
        int width = 0, tool = -1;
        COLORREF colour = 0;
        bool sizeMarkKept = false, swatchMarkKept = false;
    };
    std::vector<Seen> seen(sizeof(cases) / sizeof(cases[0]));
    ScriptedEditor editor(m_picture, kRect);
    for (size_t i = 0; i < seen.size(); ++i) {
        editor.Then([&, i](ScriptedEditor&) {
            SendKey(cases[i].key, true);
            SendKey(cases[i].key, false);
        });
        editor.Then([&, i](ScriptedEditor& e) {
            Seen& s = seen[i];
            s.width = e.GetPenToolbar()->GetPenWidth();
            s.tool = e.GetPenToolbar()->GetToolIndex();
            s.colour = e.GetPenToolbar()->GetPenColor();
            HWND bar = e.GetPenToolbar()->m_hWnd;
            s.sizeMarkKept = ::IsDlgButtonChecked(bar, IDC_PEN_SIZE_FIRST) == BST_CHECKED;
            s.swatchMarkKept = ::IsDlgButtonChecked(bar, IDC_PEN_SWATCH_FIRST + 1) == BST_CHECKED;
            // Back to the first size, tool and red, so that each key shows its own effect.
            e.GetPenToolbar()->SetPenSizeIndex(0);
            e.GetPenToolbar()->SetToolIndex(0);
            e.GetPenToolbar()->SetColorIndex(1);
        });
    }
    editor.Then([](ScriptedEditor& e) { e.Command(ID_EDITOR_FINISH); });
    ASSERT_EQ(editor.Run(), IDOK);
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "key " << cases[i].key);
        EXPECT_EQ(seen[i].width, cases[i].width);
        EXPECT_EQ(seen[i].tool, cases[i].tool);
        EXPECT_EQ(seen[i].colour, cases[i].colour);
        EXPECT_TRUE(seen[i].sizeMarkKept);
        EXPECT_TRUE(seen[i].swatchMarkKept);
    }
}

TEST_F(Editor, EnterDoesNothingAndEscCancelsWithoutTouchingThePicture) {
    ScriptedEditor editor(m_picture, kRect);
    bool openAfterEnter = false;
    editor.Then([](ScriptedEditor& e) {
        e.GetPenToolbar()->SetToolIndex(ShapeLine);
        e.Drag(POINT{10, 10}, POINT{100, 10});
        SendKey(VK_RETURN, true);
        SendKey(VK_RETURN, false);
    });
    editor.Then([&](ScriptedEditor& e) {
        openAfterEnter = e.IsWindow() != FALSE;
        SendKey(VK_ESCAPE, true);
        SendKey(VK_ESCAPE, false);
    });
    // Esc must end the editor by itself: a further step would cancel it anyway, so it fails.
    editor.Then([](ScriptedEditor& e) { e.Command(ID_EDITOR_FINISH); });
    EXPECT_EQ(editor.Run(), IDCANCEL);
    EXPECT_TRUE(openAfterEnter);
    EXPECT_EQ(At(50, 10), kWhite);
}

TEST_F(Editor, UndoAndRedoReachTheEditorFromCtrlZAndCtrlY) {
    ScriptedEditor editor(m_picture, kRect);
    size_t afterUndo = 9, afterRedo = 9;
    editor.Then([](ScriptedEditor& e) {
        e.GetPenToolbar()->SetToolIndex(ShapeLine);
        e.Drag(POINT{10, 10}, POINT{100, 10});
        SendKey(VK_CONTROL, true);
        SendKey('Z', true);
        SendKey('Z', false);
        SendKey(VK_CONTROL, false);
    });
    editor.Then([&](ScriptedEditor& e) {
        afterUndo = e.GetItems().ActiveCount();
        SendKey(VK_CONTROL, true);
        SendKey('Y', true);
        SendKey('Y', false);
        SendKey(VK_CONTROL, false);
    });
    editor.Then([&](ScriptedEditor& e) {
        afterRedo = e.GetItems().ActiveCount();
        e.Command(ID_EDITOR_FINISH);
    });
    ASSERT_EQ(editor.Run(), IDOK);
    EXPECT_EQ(afterUndo, 0u);
    EXPECT_EQ(afterRedo, 1u);
}

// The clipboard's bitmap as COLORREFs, rows from the top.
std::vector<COLORREF> ClipboardPixels(int& width, int& height) {
    std::vector<COLORREF> out;
    width = height = 0;
    if (!::OpenClipboard(nullptr)) return out;
    HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    BITMAP info{};
    if (bitmap && ::GetObjectW(bitmap, sizeof(info), &info)) {
        width = info.bmWidth;
        height = info.bmHeight;
        BITMAPINFO header = TopDownDib32(width, height);
        std::vector<uint32_t> bits(static_cast<size_t>(width) * height);
        HDC screen = ::GetDC(nullptr);
        ::GetDIBits(screen, bitmap, 0, height, bits.data(), &header, DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, screen);
        for (uint32_t p : bits) out.push_back(RGB((p >> 16) & 255, (p >> 8) & 255, p & 255));
    }
    ::CloseClipboard();
    return out;
}

TEST_F(Editor, FinishLeavesThePictureOnTheClipboard) {
    ScriptedEditor editor(m_picture, kRect);
    editor.Then([](ScriptedEditor& e) {
        e.GetPenToolbar()->SetToolIndex(ShapeRectangle);
        e.Drag(POINT{30, 40}, POINT{200, 150});
        e.Command(ID_EDITOR_FINISH);
    });
    ASSERT_EQ(editor.Run(), IDOK);
    int width = 0, height = 0;
    std::vector<COLORREF> clip = ClipboardPixels(width, height);
    ASSERT_EQ(width, 400);
    ASSERT_EQ(height, 300);
    std::vector<uint32_t> picture;
    ASSERT_TRUE(m_picture.ReadPixels(picture));
    int differ = 0;
    for (size_t i = 0; i < clip.size(); ++i) {
        uint32_t p = picture[i];
        if (clip[i] != RGB((p >> 16) & 255, (p >> 8) & 255, p & 255)) ++differ;
    }
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(clip[40 * 400 + 100], kRed);
    // No grey display frame in what is handed on.
    EXPECT_EQ(clip[0], kWhite);
}

TEST_F(Editor, ABusyClipboardStillFinishesWithThePicture) {
    HANDLE opened = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        bool held = ::OpenClipboard(nullptr) != FALSE;
        ::SetEvent(opened);
        ::WaitForSingleObject(release, INFINITE);
        if (held) ::CloseClipboard();
    });
    ::WaitForSingleObject(opened, INFINITE);
    ScriptedEditor editor(m_picture, kRect);
    editor.Then([](ScriptedEditor& e) {
        e.GetPenToolbar()->SetToolIndex(ShapeLine);
        e.Drag(POINT{10, 10}, POINT{100, 10});
        e.Command(ID_EDITOR_FINISH);
    });
    INT_PTR result = editor.Run();
    ::SetEvent(release);
    holder.join();
    ::CloseHandle(opened);
    ::CloseHandle(release);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(At(50, 10), kRed);
}

TEST_F(Editor, AnEmptyRectangleEndsWithCancel) {
    ScriptedEditor editor(m_picture, RECT{300, 300, 300, 400});
    EXPECT_EQ(editor.Run(), IDCANCEL);
    // The runner cancels whatever its steps leave open: the editor must have ended by itself.
    EXPECT_FALSE(editor.EndedByRunner());
}

TEST_F(Editor, TextIsPlacedWhereThePressIsAndTheToolbarIsPlacedBesideTheRectangle) {
    ScriptedEditor editor(m_picture, kRect);
    editor.textToolText = L"Hi";
    editor.textToolSettings.textColor = RGB(0, 160, 0);
    editor.textToolSettings.thickness = 0;
    LOGFONTW font{};
    font.lfHeight = -40;
    font.lfWeight = 700;
    ::lstrcpyW(font.lfFaceName, L"Tahoma");
    ASSERT_TRUE(SetTextItemFont(editor.textToolSettings, font));
    RECT bar{};
    editor.Then([&](ScriptedEditor& e) {
        e.GetPenToolbar()->GetWindowRect(&bar);
        e.Command(ID_EDITOR_TEXT_TOOL);
        e.Press(POINT{150, 100});
        e.Release(POINT{150, 100});
        e.Command(ID_EDITOR_FINISH);
    });
    ASSERT_EQ(editor.Run(), IDOK);
    EXPECT_EQ(editor.textToolRuns, 1);
    EXPECT_EQ(editor.ActiveKinds(), std::vector<int>{ShapeText});
    int green = 0, greenAboveOrLeft = 0;
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(m_picture.ReadPixels(pixels));
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            uint32_t p = pixels[static_cast<size_t>(y) * 400 + x] & 0xFFFFFF;
            if (p != 0x00A000) continue;
            ++green;
            if (x < 150 || y < 100) ++greenAboveOrLeft;
        }
    }
    EXPECT_GT(green, 100);
    EXPECT_EQ(greenAboveOrLeft, 0);
    // Directly above the rectangle, left edges aligned.
    EXPECT_EQ(bar.left, kRect.left);
    EXPECT_EQ(bar.bottom, kRect.top);
}

TEST_F(Editor, DrawActiveItemsLeavesOutWhatWasUndone) {
    ScriptedEditor editor(m_picture, kRect);
    editor.Then([](ScriptedEditor& e) {
        e.GetPenToolbar()->SetToolIndex(ShapeLine);
        e.Drag(POINT{10, 10}, POINT{100, 10});
        e.Drag(POINT{10, 40}, POINT{100, 40});
        e.Command(ID_EDITOR_UNDO);
        e.Command(ID_EDITOR_FINISH);
    });
    ASSERT_EQ(editor.Run(), IDOK);
    Canvas frame(400, 300);
    editor.DrawActiveItems(frame.dc());
    EXPECT_EQ(frame.At(50, 10), kRed);
    EXPECT_EQ(frame.At(50, 40), kWhite);
}

}  // namespace
