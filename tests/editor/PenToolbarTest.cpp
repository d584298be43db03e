// The pen toolbar on the screen, inside a running editor and driven by real mouse input: every
// button shows its skin, the marked size, tool and swatch show their "on" pictures, a click
// moves the mark and the value and gives the keyboard back to the editor, the hover buttons
// light up under the pointer, and the colour dialog gives the pen any colour.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "CEpicPenDlg.h"
#include "CHoverButton.h"
#include "ScriptedEditor.h"
#include "resource.h"

using namespace editor_test;

namespace {

const RECT kRect{200, 150, 600, 450};
const POINT kAway{400, 420};  // over the editor, far from the toolbar
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(218, 14, 14);

uint32_t Dib(COLORREF c) {
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

RECT WindowRectOf(HWND hwnd) {
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    return rc;
}

// Pixels of the button on the screen that differ from frame `state` of its strip; the button
// must also be exactly one frame large.
size_t DifferencesFromFrame(HWND button, UINT bitmap, int frames, int state) {
    SIZE size{};
    std::vector<uint32_t> expected = BitmapFrame(bitmap, frames, state, &size);
    const RECT rc = WindowRectOf(button);
    if (rc.right - rc.left != size.cx || rc.bottom - rc.top != size.cy || expected.empty())
        return static_cast<size_t>(-1);
    return CountDifferent(ScreenPixels(rc), expected);
}

// Pixels of the window on the screen that are not `colour`.
size_t DifferencesFromColour(HWND hwnd, COLORREF colour) {
    size_t count = 0;
    for (uint32_t p : ScreenPixels(WindowRectOf(hwnd)))
        if (p != Dib(colour)) ++count;
    return count;
}

struct SkinGroup {
    const char* name;
    int firstId;
    UINT firstBitmap;
    int count;
    int marked;  // the button marked when the toolbar opens
};
const SkinGroup kGroups[] = {
    {"sizes", IDC_PEN_SIZE_FIRST, IDB_PEN_SIZE_FIRST, 6, 0},
    {"tools", IDC_PEN_TOOL_FIRST, IDB_PEN_TOOL_FIRST, 6, 0},
    {"swatches", IDC_PEN_SWATCH_FIRST, IDB_PEN_SWATCH_FIRST, 16, 1},
};

HWND Item(ScriptedEditor& e, int id) {
    return e.GetPenToolbar()->GetDlgItem(id);
}

// Every skin button shows frame 1 when marked and frame 0 otherwise.
bool SkinsShowMarks(ScriptedEditor& e, const int marked[3]) {
    for (int g = 0; g < 3; ++g) {
        for (int i = 0; i < kGroups[g].count; ++i) {
            const int state = i == marked[g] ? 1 : 0;
            if (DifferencesFromFrame(Item(e, kGroups[g].firstId + i), kGroups[g].firstBitmap + i, 4, state) != 0)
                return false;
        }
    }
    return true;
}

TEST(PenToolbar, OpensWithEverySkinTheFirstSizeAndToolAndRedMarkedAndUndoRedoDisabled) {
    CScreenImage picture;
    MakePicture(picture, kRect, kWhite);
    ScriptedEditor editor(picture, kRect);
    const int marked[3] = {0, 0, 1};
    std::vector<std::string> wrong;
    std::vector<uint32_t> background;
    SIZE backgroundSize{};
    editor.Then([](ScriptedEditor&) { MoveMouse(kAway); });
    editor.ThenWhen([&](ScriptedEditor& e) { return SkinsShowMarks(e, marked); }, [&](ScriptedEditor& e) {
        for (int g = 0; g < 3; ++g) {
            for (int i = 0; i < kGroups[g].count; ++i) {
                const int state = i == marked[g] ? 1 : 0;
                size_t differ = DifferencesFromFrame(Item(e, kGroups[g].firstId + i), kGroups[g].firstBitmap + i, 4, state);
                if (differ) wrong.push_back(std::string(kGroups[g].name) + " " + std::to_string(i) + ": " +
                                            std::to_string(differ) + " pixels");
            }
        }
        struct Hover { const char* name; int id; UINT bitmap; int frames, state; };
        const Hover hovers[] = {
            {"T", ID_EDITOR_TEXT_TOOL, IDB_PEN_TEXT, 3, 0},
            {"<- (disabled)", ID_EDITOR_UNDO, IDB_PEN_UNDO, 4, 3},
            {"-> (disabled)", ID_EDITOR_REDO, IDB_PEN_REDO, 4, 3},
            {"finish", ID_EDITOR_FINISH, IDB_PEN_FINISH, 3, 0},
        };
        for (const Hover& h : hovers) {
            size_t differ = DifferencesFromFrame(Item(e, h.id), h.bitmap, h.frames, h.state);
            if (differ) wrong.push_back(std::string(h.name) + ": " + std::to_string(differ) + " pixels");
        }
        const RECT square = WindowRectOf(Item(e, IDC_PEN_COLOR));
        if (square.right - square.left != 28 || square.bottom - square.top != 28 ||
            DifferencesFromColour(Item(e, IDC_PEN_COLOR), kRed) != 0)
            wrong.push_back("the C square is not a red 28 x 28 square");
        POINT client{0, 0};
        ::ClientToScreen(e.GetPenToolbar()->m_hWnd, &client);
        background = ScreenPixels(RECT{client.x, client.y, client.x + 60, client.y + 10});
        SIZE size{};
        std::vector<uint32_t> full = BitmapFrame(IDB_PEN_TOOLBAR, 1, 0, &size);
        backgroundSize = size;
        std::vector<uint32_t> corner;
        for (int y = 0; y < 10 && y < size.cy; ++y)
            for (int x = 0; x < 60 && x < size.cx; ++x) corner.push_back(full[static_cast<size_t>(y) * size.cx + x]);
        if (CountDifferent(background, corner) != 0) wrong.push_back("the background is not picture 205");
    });
    editor.Run();
    EXPECT_TRUE(wrong.empty()) << testing::PrintToString(wrong);
    EXPECT_EQ(backgroundSize.cx, 385);
    EXPECT_EQ(backgroundSize.cy, 101);
}

TEST(PenToolbar, AClickMovesTheMarkAndTheValueAndGivesTheKeyboardBackToTheEditor) {
    struct Case {
        int group;
        int clicked;
        int width, tool;
        COLORREF colour;
        POINT probe;  // a point of what a drag from (20, 100) to (300, 200) draws
    };
    const Case cases[] = {
        {0, 2, 8, 0, kRed, {160, 150}},
        {1, 3, 2, 3, kRed, {20, 150}},  // the ellipse's leftmost point
        {2, 5, 2, 0, RGB(243, 138, 10), {160, 150}},
        {2, 12, 2, 0, RGB(255, 255, 255), {160, 150}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << kGroups[c.group].name << " " << c.clicked);
        CScreenImage picture;
        MakePicture(picture, kRect, kWhite);
        ScriptedEditor editor(picture, kRect);
        int marked[3] = {0, 0, 1};
        marked[c.group] = c.clicked;
        bool focusBack = false, marksMoved = false;
        size_t squareDiffers = 99;
        int width = 0, tool = -1;
        COLORREF colour = 0;
        editor.Then([&](ScriptedEditor& e) {
            Click(CentreOf(Item(e, kGroups[c.group].firstId + c.clicked)));
        });
        editor.Then([](ScriptedEditor&) { MoveMouse(kAway); });
        editor.ThenWhen([&](ScriptedEditor& e) { return SkinsShowMarks(e, marked); }, [&](ScriptedEditor& e) {
            marksMoved = SkinsShowMarks(e, marked);
            focusBack = ::GetFocus() == e.m_hWnd;
            width = e.GetPenToolbar()->GetPenWidth();
            tool = e.GetPenToolbar()->GetToolIndex();
            colour = e.GetPenToolbar()->GetPenColor();
            squareDiffers = DifferencesFromColour(Item(e, IDC_PEN_COLOR), c.colour);
            // The editor draws with what was chosen.
            e.Drag(POINT{20, 100}, POINT{300, 200});
            e.Command(ID_EDITOR_FINISH);
        });
        ASSERT_EQ(editor.Run(), IDOK);
        EXPECT_TRUE(marksMoved);
        EXPECT_TRUE(focusBack);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(tool, c.tool);
        EXPECT_EQ(colour, c.colour);
        EXPECT_EQ(squareDiffers, 0u);
        EXPECT_EQ(editor.ActiveKinds(), std::vector<int>{c.tool});
        if (c.colour != kWhite) {
            // The pen is at least two pixels wide: one of the probe's neighbours across it.
            bool drawn = false;
            for (int dx = -1; dx <= 1; ++dx) drawn |= picture.PixelAt(c.probe.x + dx, c.probe.y) == c.colour;
            EXPECT_TRUE(drawn);
        }
    }
}

CHoverButton* HoverButton(ScriptedEditor& e, int id) {
    return dynamic_cast<CHoverButton*>(CWnd::FromHandle(Item(e, id)));
}

TEST(PenToolbar, HoverButtonsLightUpUnderThePointerAndUndoWakesWithTheFirstItem) {
    CScreenImage picture;
    MakePicture(picture, kRect, kWhite);
    ScriptedEditor editor(picture, kRect);
    size_t hovered = 99, left = 99, undoEnabled = 99, redoStillDisabled = 99;
    bool sawHover = false, sawLeave = false;
    editor.Then([](ScriptedEditor& e) { MoveMouse(CentreOf(Item(e, ID_EDITOR_TEXT_TOOL))); });
    // The hover notification comes from the system some time after the move; the screen shows
    // the lit picture once the button has painted.
    editor.ThenWhen([](ScriptedEditor& e) {
                        return HoverButton(e, ID_EDITOR_TEXT_TOOL)->IsHovered() &&
                               DifferencesFromFrame(Item(e, ID_EDITOR_TEXT_TOOL), IDB_PEN_TEXT, 3, 2) == 0;
                    },
                    [&](ScriptedEditor& e) {
                        sawHover = HoverButton(e, ID_EDITOR_TEXT_TOOL)->IsHovered();
                        hovered = DifferencesFromFrame(Item(e, ID_EDITOR_TEXT_TOOL), IDB_PEN_TEXT, 3, 2);
                        MoveMouse(kAway);
                    });
    editor.ThenWhen([](ScriptedEditor& e) {
                        return !HoverButton(e, ID_EDITOR_TEXT_TOOL)->IsHovered() &&
                               DifferencesFromFrame(Item(e, ID_EDITOR_TEXT_TOOL), IDB_PEN_TEXT, 3, 0) == 0;
                    },
                    [&](ScriptedEditor& e) {
                        sawLeave = !HoverButton(e, ID_EDITOR_TEXT_TOOL)->IsHovered();
                        left = DifferencesFromFrame(Item(e, ID_EDITOR_TEXT_TOOL), IDB_PEN_TEXT, 3, 0);
                        e.Drag(POINT{20, 150}, POINT{300, 150});
                    });
    editor.Then([&](ScriptedEditor& e) {
        undoEnabled = DifferencesFromFrame(Item(e, ID_EDITOR_UNDO), IDB_PEN_UNDO, 4, 0);
        redoStillDisabled = DifferencesFromFrame(Item(e, ID_EDITOR_REDO), IDB_PEN_REDO, 4, 3);
        e.Command(ID_EDITOR_FINISH);
    });
    ASSERT_EQ(editor.Run(), IDOK);
    EXPECT_TRUE(sawHover);
    EXPECT_EQ(hovered, 0u);
    EXPECT_TRUE(sawLeave);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(undoEnabled, 0u);
    EXPECT_EQ(redoStillDisabled, 0u);
}

TEST(PenToolbar, TheColourButtonGivesThePenAnyColourAndLeavesTheSwatchMarkAlone) {
    struct Case {
        WPARAM answer;
        COLORREF pen;
    };
    const Case cases[] = {
        {IDOK, RGB(20, 200, 120)},
        {IDCANCEL, kRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "answer " << c.answer);
        CScreenImage picture;
        MakePicture(picture, kRect, kWhite);
        ScriptedEditor editor(picture, kRect);
        const int marked[3] = {0, 0, 1};
        bool dialogSeen = false, marksKept = false, focusBack = false;
        size_t square = 99, squareAfterKey = 99;
        COLORREF colour = 0, colourAfterKey = 0;
        editor.Then([](ScriptedEditor& e) { Click(CentreOf(Item(e, IDC_PEN_COLOR))); });
        editor.ThenWhen([](ScriptedEditor&) { return FindCommonDialog() != nullptr; }, [&](ScriptedEditor&) {
            dialogSeen = FindCommonDialog() != nullptr;
            AnswerColourDialog(RGB(20, 200, 120), c.answer);
        });
        editor.Then([](ScriptedEditor&) { MoveMouse(kAway); });
        editor.ThenWhen([&](ScriptedEditor& e) {
            return !FindCommonDialog() && DifferencesFromColour(Item(e, IDC_PEN_COLOR), c.pen) == 0;
        }, [&](ScriptedEditor& e) {
            colour = e.GetPenToolbar()->GetPenColor();
            square = DifferencesFromColour(Item(e, IDC_PEN_COLOR), c.pen);
            marksKept = SkinsShowMarks(e, marked);
            focusBack = ::GetFocus() == e.m_hWnd;
            e.Drag(POINT{20, 100}, POINT{300, 100});
            // A key changes the pen, not the square.
            SendKey('I', true);
            SendKey('I', false);
        });
        editor.Then([&](ScriptedEditor& e) {
            colourAfterKey = e.GetPenToolbar()->GetPenColor();
            squareAfterKey = DifferencesFromColour(Item(e, IDC_PEN_COLOR), c.pen);
            e.Drag(POINT{20, 200}, POINT{300, 200});
            e.Command(ID_EDITOR_FINISH);
        });
        ASSERT_EQ(editor.Run(), IDOK);
        EXPECT_TRUE(dialogSeen);
        EXPECT_EQ(colour, c.pen);
        EXPECT_EQ(square, 0u);
        EXPECT_TRUE(marksKept);
        EXPECT_TRUE(focusBack);
        EXPECT_EQ(picture.PixelAt(150, 100), c.pen);
        EXPECT_EQ(colourAfterKey, RGB(243, 138, 10));
        EXPECT_EQ(squareAfterKey, 0u);
        EXPECT_EQ(picture.PixelAt(150, 200), RGB(243, 138, 10));
    }
}

// The colour dialog waits over the editor: neither the editor nor its toolbar takes input until
// the dialog closes, so a click on the editor and Alt+F4 cannot draw or end the editor (and with
// it the toolbar whose handler runs the dialog) underneath.
TEST(PenToolbar, TheEditorAndItsToolbarWaitWhileTheColourDialogIsOpen) {
    CScreenImage picture;
    MakePicture(picture, kRect, kWhite);
    ScriptedEditor editor(picture, kRect);
    bool dialogSeen = false, editorEnabled = true, toolbarEnabled = true;
    editor.Then([](ScriptedEditor& e) { Click(CentreOf(Item(e, IDC_PEN_COLOR))); });
    editor.ThenWhen([](ScriptedEditor&) { return FindCommonDialog() != nullptr; }, [&](ScriptedEditor& e) {
        HWND dialog = FindCommonDialog();
        dialogSeen = dialog != nullptr;
        editorEnabled = ::IsWindowEnabled(e.m_hWnd) != FALSE;
        toolbarEnabled = ::IsWindowEnabled(e.GetPenToolbar()->m_hWnd) != FALSE;
        // Clear of the editor, so that the click lands on the editor itself.
        ::SetWindowPos(dialog, nullptr, kRect.right + 20, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Click(kAway);
        SendKey(VK_MENU, true);
        SendKey(VK_F4, true);
        SendKey(VK_F4, false);
        SendKey(VK_MENU, false);
    });
    editor.Then([](ScriptedEditor&) {
        // Whatever the keys did to the dialog, it goes now.
        if (FindCommonDialog()) AnswerColourDialog(RGB(0, 0, 0), IDCANCEL);
    });
    editor.ThenWhen([](ScriptedEditor&) { return FindCommonDialog() == nullptr; },
                    [](ScriptedEditor& e) { e.Command(ID_EDITOR_FINISH); });
    ASSERT_EQ(editor.Run(), IDOK);
    EXPECT_TRUE(dialogSeen);
    EXPECT_FALSE(editorEnabled);
    EXPECT_FALSE(toolbarEnabled);
    EXPECT_TRUE(editor.ActiveKinds().empty()) << "the click drew on the editor under the dialog";
}

TEST(PenToolbar, DraggingTheBackgroundMovesTheToolbarAndDraggingAButtonDoesNot) {
    struct Case {
        const char* what;
        int id;  // 0: the background strip at the top
        bool moves;
    };
    const Case cases[] = {
        {"background", 0, true},
        {"size button", IDC_PEN_SIZE_FIRST + 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CScreenImage picture;
        MakePicture(picture, kRect, kWhite);
        ScriptedEditor editor(picture, kRect);
        RECT before{}, after{};
        editor.Then([&](ScriptedEditor& e) {
            HWND bar = e.GetPenToolbar()->m_hWnd;
            before = WindowRectOf(bar);
            POINT from = c.id ? CentreOf(Item(e, c.id)) : POINT{before.left + 8, before.top + 6};
            MoveMouse(from);
            MouseButtonAt(from, true);
        });
        // The moves come once the press has been handled, as a hand's would.
        editor.Then([&](ScriptedEditor& e) {
            POINT from = c.id ? CentreOf(Item(e, c.id)) : POINT{before.left + 8, before.top + 6};
            MoveMouse(POINT{from.x + 20, from.y + 15});
            MoveMouse(POINT{from.x + 40, from.y + 30});
            // The release carries its place, so that a position echoed late cannot end the drag.
            MouseButtonAt(POINT{from.x + 40, from.y + 30}, false);
        });
        editor.ThenWhen([&](ScriptedEditor& e) {
            // A move ends with the window where the pointer left it; a button press moves nothing.
            RECT now = WindowRectOf(e.GetPenToolbar()->m_hWnd);
            return !c.moves || now.left != before.left;
        }, [&](ScriptedEditor& e) {
            after = WindowRectOf(e.GetPenToolbar()->m_hWnd);
            MoveMouse(kAway);
        });
        editor.Run();
        EXPECT_EQ(after.left - before.left, c.moves ? 40 : 0);
        EXPECT_EQ(after.top - before.top, c.moves ? 30 : 0);
        EXPECT_EQ(after.right - after.left, before.right - before.left);
    }
}

}  // namespace
