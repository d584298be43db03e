// The frame editor's three small dialogs, each run modally and driven from inside its own loop
// by messages and real mouse input: the delay box that only ever holds a number and its range
// check, the crop rectangle in picture coordinates (scrolled, partly outside, refused when off
// the picture), the crop dialog's layout and keys, and the four placement buttons.
#include <gtest/gtest.h>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "CClippingDlg.h"
#include "CGifFrameImage.h"
#include "CInsertImageQuery.h"
#include "CSetFrameTimeDlg.h"
#include "FrameDlgTestSupport.h"
#include "framedlg_ids.h"

using framedlg_test::Do;
using framedlg_test::MakePicture;
using framedlg_test::MouseDrag;
using framedlg_test::RunDialog;
using framedlg_test::Step;
using framedlg_test::TypeChars;
using testing_support::MessageBoxRecorder;
using testing_support::PumpMessages;

namespace {

const wchar_t kEnterNumber[] = L"숫자를 입력하십시오.";
const wchar_t kDelayRange[] = L"0.01에서 180 사이의 숫자를 입력하십시오.";

HWND Item(const CDialog& dialog, int id) { return ::GetDlgItem(dialog.m_hWnd, id); }
std::wstring Text(HWND hwnd) { return GetWindowTextString(hwnd); }

void ClearByKey(HWND edit) {
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SendMessageW(edit, WM_CHAR, VK_BACK, 0);
}

bool PutOnClipboard(HWND owner, const std::wstring& text) {
    if (!::OpenClipboard(owner)) return false;
    ::EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool put = false;
    if (memory) {
        std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
        ::GlobalUnlock(memory);
        put = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!put) ::GlobalFree(memory);
    }
    ::CloseClipboard();
    return put;
}

std::pair<int, int> Selection(HWND edit) {
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

TEST(SetFrameTimeDlg, TheValueIsWrittenInItsShortestForm) {
    const std::vector<std::pair<double, std::wstring>> cases = {
        {0.1, L"0.1"}, {2, L"2"}, {0.25, L"0.25"}, {1.0 / 3, L"0.333333333333333"}, {180, L"180"}};
    for (const auto& [value, text] : cases) {
        CSetFrameTimeDlg dialog;
        dialog.m_value = value;
        std::wstring shown;
        EXPECT_EQ(RunDialog(dialog, {Do([&] { shown = Text(Item(dialog, IDC_FRAME_TIME)); })}), IDCANCEL);
        EXPECT_EQ(shown, text);
        EXPECT_EQ(dialog.m_value, value);
    }
}

TEST(SetFrameTimeDlg, TypedKeysThatWouldMakeTheTextNoNumberAreUndone) {
    // Typed one by one into an emptied box; a refused key leaves no trace.
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L".", L""}, {L"0.5", L"0.5"}, {L"1.", L"1."}, {L"-", L""}, {L"1e", L"1"},
        {L"12a3", L"123"}, {L"1 ", L"1"}, {L" 1", L"1"}, {L"2.5.1", L"2.51"}, {L"x", L""}};
    CSetFrameTimeDlg dialog;
    dialog.m_value = 1;
    std::vector<Step> steps;
    for (const auto& [keys, expected] : cases) {
        steps.push_back(Do([&dialog, keys = keys, expected = expected] {
            HWND edit = Item(dialog, IDC_FRAME_TIME);
            ClearByKey(edit);
            TypeChars(edit, keys);
            EXPECT_EQ(Text(edit), expected) << "typed \"" << std::string(keys.begin(), keys.end()) << "\"";
        }));
    }
    // A refused key puts the caret back where it was.
    steps.push_back(Do([&] {
        HWND edit = Item(dialog, IDC_FRAME_TIME);
        ClearByKey(edit);
        TypeChars(edit, L"12");
        ::SendMessageW(edit, EM_SETSEL, 1, 1);
        TypeChars(edit, L"k");
        EXPECT_EQ(Text(edit), L"12");
        EXPECT_EQ(Selection(edit), std::make_pair(1, 1));
    }));
    EXPECT_EQ(RunDialog(dialog, steps), IDCANCEL);
}

TEST(SetFrameTimeDlg, APastedTextThatIsNoNumberGivesBackTheTextBeforeTheLastTypedKey) {
    CSetFrameTimeDlg dialog;
    dialog.m_value = 2;
    EXPECT_EQ(RunDialog(dialog, {
        Do([&] {
            // Nothing typed yet: the remembered text is empty.
            HWND edit = Item(dialog, IDC_FRAME_TIME);
            ASSERT_TRUE(PutOnClipboard(dialog.m_hWnd, L"abc"));
            ::SetFocus(edit);
            ::SendMessageW(edit, EM_SETSEL, 0, -1);
            ::SendMessageW(edit, WM_PASTE, 0, 0);
            EXPECT_EQ(Text(edit), L"");
        }),
        Do([&] {
            HWND edit = Item(dialog, IDC_FRAME_TIME);
            TypeChars(edit, L"12");
            ::SendMessageW(edit, EM_SETSEL, 2, 2);
            ::SendMessageW(edit, WM_PASTE, 0, 0);
            EXPECT_EQ(Text(edit), L"1");
            EXPECT_EQ(Selection(edit), std::make_pair(1, 1));
        }),
        Do([&] {
            HWND edit = Item(dialog, IDC_FRAME_TIME);
            ASSERT_TRUE(PutOnClipboard(dialog.m_hWnd, L"3.75"));
            ::SendMessageW(edit, EM_SETSEL, 0, -1);
            ::SendMessageW(edit, WM_PASTE, 0, 0);
            EXPECT_EQ(Text(edit), L"3.75");
        }),
    }), IDCANCEL);
}

TEST(SetFrameTimeDlg, OkTakesDelaysFrom001To180AndRefusesOthersWithTheFrameworkMessages) {
    struct Case {
        std::wstring text;
        bool accepted;
        double value;
        std::wstring message;
    };
    const std::vector<Case> cases = {
        {L"180", true, 180, L""},          {L"0.01", true, 0.01, L""},
        {L" 2.5", true, 2.5, L""},         {L"180.01", false, 0, kDelayRange},
        {L"0.009", false, 0, kDelayRange}, {L"-1", false, 0, kDelayRange},
        {L"1e3", false, 0, kDelayRange},   {L"", false, 0, kEnterNumber},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << std::string(c.text.begin(), c.text.end()) << "\"");
        MessageBoxRecorder boxes;
        CSetFrameTimeDlg dialog;
        dialog.m_value = 1;
        std::vector<Step> steps = {Do([&] {
            HWND edit = Item(dialog, IDC_FRAME_TIME);
            ::SetWindowTextW(edit, c.text.c_str());
            ASSERT_EQ(Text(edit), c.text);
            ::SendMessageW(Item(dialog, IDOK), BM_CLICK, 0, 0);
        })};
        if (!c.accepted) {
            steps.push_back(Do([&] {
                ASSERT_TRUE(dialog.m_hWnd) << "the dialog closed";
                EXPECT_EQ(::GetFocus(), Item(dialog, IDC_FRAME_TIME));
            }));
        }
        const INT_PTR result = RunDialog(dialog, steps);
        EXPECT_EQ(result, c.accepted ? IDOK : IDCANCEL);
        if (c.accepted) {
            EXPECT_DOUBLE_EQ(dialog.m_value, c.value);
            EXPECT_TRUE(boxes.Texts().empty());
        } else {
            EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{c.message});
        }
    }
}

TEST(InsertImageQuery, EachButtonChoosesItsModeAndEscapeOrTheCloseBoxCancels) {
    const std::vector<std::pair<int, int>> buttons = {{IDC_INSERT_TOP_LEFT, InsertTopLeft},
                                                      {IDC_INSERT_CENTRE, InsertCentre},
                                                      {IDC_INSERT_STRETCH, InsertStretch},
                                                      {IDC_INSERT_FIT_FRAMES, InsertFitFrames}};
    for (const auto& [id, mode] : buttons) {
        CInsertImageQuery query;
        query.m_mode = -1;
        std::wstring caption;
        EXPECT_EQ(RunDialog(query, {Do([&, id = id] {
                      caption = Text(Item(query, id));
                      ::SendMessageW(Item(query, id), BM_CLICK, 0, 0);
                  })}),
                  IDOK);
        EXPECT_EQ(query.m_mode, mode) << "button " << id;
        EXPECT_FALSE(caption.empty());
    }
    // Enter presses the focused button; an IDOK without a button chooses nothing.
    {
        CInsertImageQuery query;
        query.m_mode = -1;
        EXPECT_EQ(RunDialog(query, {Do([&] { ::SendMessageW(query.m_hWnd, WM_COMMAND, IDOK, 0); }),
                                    Do([&] {
                                        ASSERT_TRUE(query.m_hWnd);
                                        // Focused the dialog's way, as Tab does.
                                        ::SendMessageW(query.m_hWnd, WM_NEXTDLGCTL,
                                                       reinterpret_cast<WPARAM>(Item(query, IDC_INSERT_FIT_FRAMES)), TRUE);
                                        ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
                                    })}),
                  IDOK);
        EXPECT_EQ(query.m_mode, InsertFitFrames);
    }
    const std::vector<std::function<void(CInsertImageQuery&)>> cancels = {
        [](CInsertImageQuery&) { ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); },
        [](CInsertImageQuery& q) { ::PostMessageW(q.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& cancel : cancels) {
        CInsertImageQuery query;
        EXPECT_EQ(RunDialog(query, {Do([&] { cancel(query); })}), IDCANCEL);
    }
}

}  // namespace
