// The text tool run modally, driven from inside its own loop: what it shows when it opens, how
// the preview follows the edits (on the screen), what it hands over, what it refuses, and the
// whole road from the toolbar's "T" to outlined text in the finished picture.
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "CTextForm.h"
#include "Dpi.h"
#include "EditorTestSupport.h"
#include "FontDescription.h"
#include "ScriptedEditor.h"
#include "TestSupport.h"
#include "TextCursor.h"
#include "resource.h"

using testing_support::MessageBoxRecorder;
using namespace editor_test;

namespace {

const COLORREF kFill = RGB(128, 255, 255);     // the tool's first text colour
const COLORREF kOutline = RGB(0, 128, 128);    // and outline colour

class ScriptedTextForm : public CTextForm {
public:
    using Step = std::function<void(ScriptedTextForm&)>;
    using Condition = std::function<bool(ScriptedTextForm&)>;
    // Steps run one by one from a timer of the form's loop; a step with a condition waits
    // until it holds (or a few hundred looks have passed, so that its checks show the fault).
    void Then(Step step, Condition when = nullptr) { m_steps.push_back({std::move(step), std::move(when)}); }
    void SetText(int id, const std::wstring& text) { SetDlgItemText(id, text); }
    // A click as the button reports it; posted, so that a dialog it opens runs outside the step.
    void Click(int id) { PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(id))); }
    std::wstring Text(int id) const { return GetDlgItemText(id); }
    // The preview as the screen shows it.
    std::vector<uint32_t> PreviewPixels() const {
        RECT rc{};
        ::GetClientRect(GetPreview()->m_hWnd, &rc);
        ::MapWindowPoints(GetPreview()->m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        return ScreenPixels(rc);
    }

protected:
    BOOL OnInitDialog() override {
        BOOL result = CTextForm::OnInitDialog();
        // Clear of the stand-in tray window in the top-left corner.
        SetWindowPos(nullptr, 300, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Forms()[m_hWnd] = this;
        ::SetTimer(m_hWnd, 1, 10, &ScriptedTextForm::Tick);
        return result;
    }

private:
    struct Scripted {
        Step step;
        Condition when;
    };
    static std::map<HWND, ScriptedTextForm*>& Forms() {
        static std::map<HWND, ScriptedTextForm*> forms;
        return forms;
    }
    static void CALLBACK Tick(HWND hwnd, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(hwnd, id);
        auto it = Forms().find(hwnd);
        if (it == Forms().end()) return;
        ScriptedTextForm& form = *it->second;
        if (form.m_next < form.m_steps.size()) {
            Scripted& s = form.m_steps[form.m_next];
            if (s.when && !s.when(form) && ++form.m_looks < 500) {
                ::SetTimer(hwnd, 1, 10, &ScriptedTextForm::Tick);
                return;
            }
            form.m_looks = 0;
            ++form.m_next;
            s.step(form);
            if (::IsWindow(hwnd)) ::SetTimer(hwnd, 1, 10, &ScriptedTextForm::Tick);
            else Forms().erase(hwnd);
            return;
        }
        Forms().erase(hwnd);
        form.EndDialog(IDABORT);
    }
    std::vector<Scripted> m_steps;
    size_t m_next = 0;
    int m_looks = 0;
};

uint32_t Dib(COLORREF c) {
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

int CountNear(const std::vector<uint32_t>& pixels, COLORREF colour, int tolerance) {
    int count = 0;
    for (uint32_t p : pixels) {
        COLORREF c = RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
        if (ChannelDifference(c, colour) <= tolerance) ++count;
    }
    return count;
}

TEST(TextForm, OpensWithSampleInArialBlackAndHandsItOver) {
    ScriptedTextForm form;
    std::wstring label;
    int fill = 0, outline = 0;
    form.Then([&](ScriptedTextForm& f) {
        label = f.Text(IDC_TEXT_FONT_LABEL);
        std::vector<uint32_t> preview = f.PreviewPixels();
        fill = CountNear(preview, kFill, 0);
        outline = CountNear(preview, kOutline, 8);
        f.Click(IDC_TEXT_DRAW);
    });
    ASSERT_EQ(form.DoModal(), IDOK);
    EXPECT_EQ(label, L"Arial Black, 36 Regular");
    EXPECT_GT(fill, 100);
    EXPECT_GT(outline, 100);
    const TextItemSettings& s = form.GetSettings();
    EXPECT_EQ(s.textColor, kFill);
    EXPECT_EQ(s.outlineColor, kOutline);
    EXPECT_EQ(s.outlineAlpha, 255);
    EXPECT_EQ(s.thickness, 4);
    EXPECT_STREQ(s.faceName, L"Arial Black");
    HDC screen = ::GetDC(nullptr);
    const int height = -::MulDiv(24, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    LOGFONTW font = ParseFontDescription(s.fontDesc, s.faceName);
    EXPECT_EQ(font.lfHeight, height);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfOutPrecision, 7);
    EXPECT_EQ(form.GetText(), L"Sample");
}

TEST(TextForm, ThePreviewFollowsThicknessAndTransparencyOnTheScreen) {
    struct Case {
        const wchar_t* thickness;
        const wchar_t* alpha;
        int shownThickness, shownAlpha;
        bool outlineShows;
    };
    const Case cases[] = {
        {L"6", L"255", 6, 255, true},
        {L"4", L"999", 4, 255, true},   // above 255 counts as opaque
        {L"4", L"0", 4, 0, false},      // transparent outline
        {L"0", L"255", 0, 255, false},  // no outline at all
        {L"", L"255", 0, 255, false},   // an empty thickness is 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "thickness '" << testing::PrintToString(std::wstring(c.thickness))
                                        << "' alpha " << testing::PrintToString(std::wstring(c.alpha)));
        ScriptedTextForm form;
        int fill = 0, outline = 0, thickness = -1, alpha = -1;
        form.Then([&](ScriptedTextForm& f) {
            f.SetText(IDC_TEXT_EDIT, L"WWW");
            f.SetText(IDC_TEXT_THICKNESS, c.thickness);
            f.SetText(IDC_TEXT_ALPHA, c.alpha);
        });
        form.Then([&](ScriptedTextForm& f) {
            std::vector<uint32_t> preview = f.PreviewPixels();
            fill = CountNear(preview, kFill, 0);
            outline = CountNear(preview, kOutline, 8);
            thickness = f.GetPreview()->GetThickness();
            alpha = f.GetPreview()->GetOutlineAlpha();
            f.Click(IDC_TEXT_DRAW);
        });
        ASSERT_EQ(form.DoModal(), IDOK);
        EXPECT_GT(fill, 100);
        if (c.outlineShows) EXPECT_GT(outline, 50); else EXPECT_EQ(outline, 0);
        EXPECT_EQ(thickness, c.shownThickness);
        EXPECT_EQ(alpha, c.shownAlpha);
        EXPECT_EQ(form.GetText(), L"WWW");
        EXPECT_EQ(form.GetSettings().thickness, c.shownThickness);
        EXPECT_EQ(form.GetSettings().outlineAlpha, c.shownAlpha);
    }
}

TEST(TextForm, TheColourButtonsChangeThePreviewThroughTheColourDialog) {
    struct Case {
        int button;
        WPARAM answer;
        COLORREF fill, outline;
    };
    const COLORREF chosen = RGB(200, 30, 60);
    const Case cases[] = {
        {IDC_TEXT_COLOR, IDOK, chosen, kOutline},
        {IDC_TEXT_OUTLINE_COLOR, IDOK, kFill, chosen},
        {IDC_TEXT_COLOR, IDCANCEL, kFill, kOutline},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "button " << c.button << " answer " << c.answer);
        ScriptedTextForm form;
        int fill = 0, outline = 0;
        form.Then([&](ScriptedTextForm& f) { f.Click(c.button); });
        form.Then([&](ScriptedTextForm&) { AnswerColourDialog(chosen, c.answer); },
                  [](ScriptedTextForm&) { return FindCommonDialog() != nullptr; });
        form.Then([&](ScriptedTextForm& f) {
            std::vector<uint32_t> preview = f.PreviewPixels();
            fill = CountNear(preview, c.fill, 0);
            outline = CountNear(preview, c.outline, 8);
            f.Click(IDC_TEXT_DRAW);
        }, [](ScriptedTextForm&) { return FindCommonDialog() == nullptr; });
        ASSERT_EQ(form.DoModal(), IDOK);
        EXPECT_GT(fill, 100);
        EXPECT_GT(outline, 50);
        EXPECT_EQ(form.GetSettings().textColor, c.fill);
        EXPECT_EQ(form.GetSettings().outlineColor, c.outline);
    }
}

TEST(TextForm, TheFontDialogReplacesTheFontAndItsLabel) {
    ScriptedTextForm form;
    std::wstring label;
    form.Then([](ScriptedTextForm& f) { f.Click(IDC_TEXT_FONT); });
    form.Then([](ScriptedTextForm&) { ::PostMessageW(FindCommonDialog(), WM_COMMAND, IDOK, 0); },
              [](ScriptedTextForm&) { return FindCommonDialog() != nullptr; });
    form.Then([&](ScriptedTextForm& f) {
        label = f.Text(IDC_TEXT_FONT_LABEL);
        f.Click(IDC_TEXT_DRAW);
    }, [](ScriptedTextForm&) { return FindCommonDialog() == nullptr; });
    ASSERT_EQ(form.DoModal(), IDOK);
    const LOGFONTW font = form.GetPreview()->GetLogFont();
    EXPECT_EQ(label, FontLabel(font, form.GetPreview()->GetPointSize()));
    EXPECT_NE(label, L"Arial Black, 36 Regular");
    EXPECT_STREQ(form.GetSettings().faceName, font.lfFaceName);
}

TEST(TextForm, AnEmptyTextCancelsAndATextOfSpacesIsAText) {
    struct Case {
        const wchar_t* text;
        INT_PTR result;
    };
    for (const Case& c : {Case{L"", IDCANCEL}, Case{L"   ", IDOK}}) {
        ScriptedTextForm form;
        form.Then([&](ScriptedTextForm& f) {
            f.SetText(IDC_TEXT_EDIT, c.text);
            f.Click(IDC_TEXT_DRAW);
        });
        EXPECT_EQ(form.DoModal(), c.result);
        if (c.result == IDOK) {
            EXPECT_EQ(form.GetText(), c.text);
        }
    }
}

TEST(TextForm, ATextLongerThanAnItemHoldsIsRefusedAndTheToolStaysOpen) {
    MessageBoxRecorder boxes;
    ScriptedTextForm form;
    bool openAfterRefusal = false;
    size_t keptLength = 0;
    // Spaces, which the preview lays out quickly: a text is a text however it looks.
    form.Then([](ScriptedTextForm& f) {
        f.SetText(IDC_TEXT_EDIT, std::wstring(9780, L' '));
        f.Click(IDC_TEXT_DRAW);
    });
    form.Then([&](ScriptedTextForm& f) {
        openAfterRefusal = f.IsWindow() != FALSE;
        keptLength = f.Text(IDC_TEXT_EDIT).size();
        f.SetText(IDC_TEXT_EDIT, std::wstring(9779, L' '));
        f.Click(IDC_TEXT_DRAW);
    });
    ASSERT_EQ(form.DoModal(), IDOK);
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(keptLength, 9780u);
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_NE(boxes.Messages()[0].text.find(L"9779"), std::wstring::npos) << testing::PrintToString(boxes.Texts());
    EXPECT_EQ(form.GetText().size(), 9779u);
}

TEST(TextForm, FontLabelsNameWeightAndSlant) {
    struct Case { LONG weight; BYTE italic; const wchar_t* label; };
    for (const Case& c : {Case{400, 0, L"Tahoma, 12 Normal"}, Case{700, 0, L"Tahoma, 12 Bold"},
                          Case{400, 1, L"Tahoma, 12 Italic"}, Case{700, 1, L"Tahoma, 12 Bold Italic"}}) {
        LOGFONTW font{};
        font.lfWeight = c.weight;
        font.lfItalic = c.italic;
        ::lstrcpyW(font.lfFaceName, L"Tahoma");
        EXPECT_EQ(FontLabel(font, 12), c.label);
    }
}

// From the toolbar's "T" to the picture: the real text tool, a real click where the pointer
// shows the text, and the finish command.
TEST(TextTool, PlacedTextShowsInTheFinishedPictureWhereThePointerShowedIt) {
    const RECT rect{200, 150, 600, 450};
    const POINT place{60, 120};  // in the editor's client area
    CScreenImage picture;
    MakePicture(picture, rect, RGB(0, 0, 0));
    ScriptedEditor editor(picture, rect);
    editor.realTextTool = true;
    bool formSeen = false;
    SIZE cursorSize{};
    editor.Then([](ScriptedEditor& e) {
        // Posted, as the toolbar posts it: the tool's own loop then runs the next step.
        e.PostMessage(WM_COMMAND, MAKEWPARAM(ID_EDITOR_TEXT_TOOL, 0), 0);
    });
    editor.ThenWhen([](ScriptedEditor&) { return FindThreadWindow(L"글 입력 도구") != nullptr; },
                    [&](ScriptedEditor&) {
                        HWND form = FindThreadWindow(L"글 입력 도구");
                        formSeen = form != nullptr;
                        if (!form) return;
                        ::SetDlgItemTextW(form, IDC_TEXT_EDIT, L"Tovrix");
                        Click(CentreOf(::GetDlgItem(form, IDC_TEXT_DRAW)));
                    });
    editor.ThenWhen([](ScriptedEditor&) { return FindThreadWindow(L"글 입력 도구") == nullptr; },
                    [&](ScriptedEditor& e) {
                        POINT screen = place;
                        ::ClientToScreen(e.m_hWnd, &screen);
                        MoveMouse(screen);
                    });
    editor.Then([&](ScriptedEditor& e) {
        // The pointer is the text, its hot spot at the text's top-left corner.
        ICONINFO info{};
        if (::GetIconInfo(::GetCursor(), &info)) {
            BITMAP bitmap{};
            if (info.hbmColor && ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap))
                cursorSize = SIZE{bitmap.bmWidth, bitmap.bmHeight};
            EXPECT_EQ(info.xHotspot, 0u);
            EXPECT_EQ(info.yHotspot, 0u);
            if (info.hbmColor) ::DeleteObject(info.hbmColor);
            if (info.hbmMask) ::DeleteObject(info.hbmMask);
        }
        POINT screen = place;
        ::ClientToScreen(e.m_hWnd, &screen);
        Click(screen);
    });
    editor.Then([](ScriptedEditor& e) { e.Command(ID_EDITOR_FINISH); });
    ASSERT_EQ(editor.Run(), IDOK);
    EXPECT_TRUE(formSeen);
    EXPECT_EQ(editor.textToolRuns, 1);
    ASSERT_EQ(editor.ActiveKinds(), std::vector<int>{ShapeText});
    // Where the picture changed: the fill colour inside, nothing above or left of the click.
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(picture.ReadPixels(pixels));
    // The outline's outer half (2 pixels at thickness 4) may reach just past the text cell's
    // corner, which is where the pointer's hot spot was.
    const int rim = 2;
    int fill = 0, changedAboveOrLeft = 0;
    RECT changed{400, 300, -1, -1};
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * 400 + x] & 0xFFFFFF;
            if (p == 0) continue;
            if (p == Dib(kFill)) ++fill;
            if (x < place.x - rim || y < place.y - rim) ++changedAboveOrLeft;
            changed.left = std::min<LONG>(changed.left, x);
            changed.top = std::min<LONG>(changed.top, y);
            changed.right = std::max<LONG>(changed.right, x);
            changed.bottom = std::max<LONG>(changed.bottom, y);
        }
    }
    EXPECT_GT(fill, 100);
    EXPECT_EQ(changedAboveOrLeft, 0);
    // The text ends where the pointer's picture of it ended (anti-aliased edges may fade into
    // the white the pointer was drawn on, so a pixel either way).
    ASSERT_GT(cursorSize.cx, 0);
    EXPECT_NEAR(changed.right, place.x + cursorSize.cx - 1, 1);
    EXPECT_NEAR(changed.bottom, place.y + cursorSize.cy - 1, 1);
}

// While the text tool is open the toolbar waits too: its finish button cannot end the editor
// under the tool, and the text chosen afterwards is placed.
TEST(TextTool, TheToolbarWaitsWhileTheTextToolIsOpen) {
    const RECT rect{200, 150, 600, 450};
    CScreenImage picture;
    MakePicture(picture, rect, RGB(0, 0, 0));
    ScriptedEditor editor(picture, rect);
    editor.realTextTool = true;
    bool formSeen = false, toolbarEnabled = true;
    editor.Then([](ScriptedEditor& e) { e.PostMessage(WM_COMMAND, MAKEWPARAM(ID_EDITOR_TEXT_TOOL, 0), 0); });
    editor.ThenWhen([](ScriptedEditor&) { return FindThreadWindow(L"글 입력 도구") != nullptr; },
                    [&](ScriptedEditor& e) {
                        HWND form = FindThreadWindow(L"글 입력 도구");
                        formSeen = form != nullptr;
                        toolbarEnabled = ::IsWindowEnabled(e.GetPenToolbar()->m_hWnd) != FALSE;
                        // Clear of the toolbar, so that the click lands on its finish button.
                        ::SetWindowPos(form, nullptr, 650, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                        Click(CentreOf(e.GetPenToolbar()->GetDlgItem(ID_EDITOR_FINISH)));
                    });
    editor.Then([](ScriptedEditor&) {
        HWND form = FindThreadWindow(L"글 입력 도구");
        if (!form) return;
        ::SetDlgItemTextW(form, IDC_TEXT_EDIT, L"Tovrix");
        Click(CentreOf(::GetDlgItem(form, IDC_TEXT_DRAW)));
    });
    editor.ThenWhen([](ScriptedEditor&) { return FindThreadWindow(L"글 입력 도구") == nullptr; },
                    [](ScriptedEditor& e) {
                        POINT screen{60, 120};
                        ::ClientToScreen(e.m_hWnd, &screen);
                        Click(screen);
                    });
    editor.Then([](ScriptedEditor& e) { e.Command(ID_EDITOR_FINISH); });
    ASSERT_EQ(editor.Run(), IDOK);
    EXPECT_TRUE(formSeen);
    EXPECT_FALSE(toolbarEnabled);
    EXPECT_EQ(editor.ActiveKinds(), std::vector<int>{ShapeText}) << "the text was lost";
}

// A text that shows nothing makes no picture for the pointer: the pointer stays the pen, and
// the click still places the (invisible) text.
TEST(TextTool, ATextOfSpacesKeepsThePointerVisible) {
    const RECT rect{200, 150, 600, 450};
    CScreenImage picture;
    MakePicture(picture, rect, RGB(255, 255, 255));
    ScriptedEditor editor(picture, rect);
    editor.textToolText = L"   ";
    editor.textToolSettings.thickness = 4;
    HCURSOR shown = nullptr;
    editor.Then([](ScriptedEditor& e) {
        e.Command(ID_EDITOR_TEXT_TOOL);
        POINT screen{100, 100};
        ::ClientToScreen(e.m_hWnd, &screen);
        MoveMouse(screen);
    });
    editor.Then([&](ScriptedEditor& e) {
        shown = ::GetCursor();
        POINT screen{100, 100};
        ::ClientToScreen(e.m_hWnd, &screen);
        Click(screen);
    });
    editor.Then([](ScriptedEditor& e) { e.Command(ID_EDITOR_FINISH); });
    ASSERT_EQ(editor.Run(), IDOK);
    // The pen is the pointer whose hot spot is its tip, (1, 1) at 100 % (a text's is (0, 0)).
    ASSERT_NE(shown, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(shown, &info));
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    const DWORD tip = static_cast<DWORD>(ScaleToDpi(1, SystemDpi()));
    EXPECT_EQ(info.xHotspot, tip);
    EXPECT_EQ(info.yHotspot, tip);
    EXPECT_EQ(editor.ActiveKinds(), std::vector<int>{ShapeText});
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(picture.ReadPixels(pixels));
    EXPECT_EQ(std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return (p & 0xFFFFFF) != 0xFFFFFF; }), 0);
}

}  // namespace
