#include "FrameEditTestSupport.h"
#include <cstdlib>
#include "CScreenImage.h"
#include "RecorderTestSupport.h"
#include "resource.h"

namespace frameedit_testing {

using testing_support::PumpMessages;

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool WritePicture(const std::wstring& path, int width, int height, COLORREF colour) {
    return testing_support::WritePicture(path, width, height, colour, colour);
}

void FrameEditor::TearDown() {
    if (dialog && dialog->IsWindow()) dialog->DestroyWindow();
    dialog.reset();
    PumpMessages(50);
}

void FrameEditor::AddFrames(const std::vector<SolidFrame>& frames) {
    for (const SolidFrame& solid : frames) {
        CGifFrameImage frame;
        recorder_testing::FillSolid(frame, solid.width, solid.height, solid.colour);
        ASSERT_FALSE(frame.IsNull());
        frame.delay = solid.delay;
        ASSERT_TRUE(store.AppendFrame(frame));
    }
}

void FrameEditor::Open() {
    dialog = std::make_unique<CGifFrameEditDlg>();
    dialog->SetStore(&store, [this] { return folder.File(L"TX_[20261210-211500].png"); }, 0);
    ASSERT_TRUE(dialog->Create(IDD_GIF_FRAME_EDIT, nullptr));
    dialog->ShowWindow(SW_SHOW);
    PumpMessages(50);
}

void FrameEditor::Click(int id) {
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    PumpMessages();
}

void FrameEditor::Command(UINT id) {
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    PumpMessages();
}

std::vector<std::wstring> FrameEditor::ItemTexts() const {
    std::vector<std::wstring> texts;
    for (int i = 0; i < dialog->GetList().GetItemCount(); ++i) texts.push_back(dialog->GetList().GetItemText(i, 0));
    return texts;
}

std::vector<int> FrameEditor::Selected() const {
    std::vector<int> indexes;
    const CListCtrl& list = dialog->GetList();
    for (int i = list.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = list.GetNextItem(i, LVNI_SELECTED)) {
        indexes.push_back(i);
    }
    return indexes;
}

void FrameEditor::Select(const std::vector<int>& indexes) {
    CListCtrl& list = dialog->GetList();
    list.SetItemState(-1, 0, LVIS_SELECTED);
    for (int i : indexes) list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
}

std::vector<GifStoredFrame*> FrameEditor::Order() const {
    std::vector<GifStoredFrame*> order;
    for (const auto& frame : store.GetFrames()) order.push_back(frame.get());
    return order;
}

std::vector<uint32_t> FrameEditor::Delays() const {
    std::vector<uint32_t> delays;
    for (const auto& frame : store.GetFrames()) delays.push_back(frame->delay);
    return delays;
}

COLORREF FrameEditor::FrameColour(size_t index) const {
    const SIZE size = Size(index);
    return Pixel(index, size.cx / 2, size.cy / 2);
}

COLORREF FrameEditor::Pixel(size_t index, int x, int y) const {
    return recorder_testing::Rebuilt(store, index)->PixelAt(x, y);
}

std::vector<COLORREF> FrameEditor::Colours() const {
    std::vector<COLORREF> colours;
    for (size_t i = 0; i < store.GetFrames().size(); ++i) colours.push_back(FrameColour(i));
    return colours;
}

COLORREF FrameEditor::PreviewPixel(int x, int y) const {
    CGifFrameView& preview = dialog->GetPreview();
    preview.RedrawWindow(RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    PumpMessages();
    HDC dc = ::GetDC(preview.m_hWnd);
    const COLORREF colour = ::GetPixel(dc, x, y);
    ::ReleaseDC(preview.m_hWnd, dc);
    return colour;
}

void FrameEditor::ExpectStripMatchesStore() const {
    const CListCtrl& list = dialog->GetList();
    const auto& frames = store.GetFrames();
    ASSERT_EQ(list.GetItemCount(), static_cast<int>(frames.size()));
    // Thumbnails are made as they are shown, into a fixed number of pictures, not one per frame.
    EXPECT_EQ(dialog->GetImageList().GetImageCount(), CGifFrameEditDlg::kThumbnailSlots);
    POINT first{};
    list.GetItemPosition(0, &first);
    for (size_t i = 0; i < frames.size(); ++i) {
        const int index = static_cast<int>(i);
        EXPECT_EQ(list.GetItemData(index), reinterpret_cast<LPARAM>(frames[i].get())) << "item " << i;
        const int image = dialog->ThumbnailImage(index);
        EXPECT_GE(image, 0) << "item " << i;
        EXPECT_EQ(dialog->ThumbnailImage(index), image) << "item " << i;
        EXPECT_EQ(list.GetItemText(index, 0), CGifFrameEditDlg::SecondsText(static_cast<float>(frames[i]->delay * 0.001)));
        // One row of thumbnails, 81 pixels apart.
        POINT at{};
        list.GetItemPosition(index, &at);
        EXPECT_EQ(at.x, 6 + 81 * index) << "item " << i;
        EXPECT_EQ(at.y, first.y) << "item " << i;
    }
    EXPECT_EQ(dialog->GetDlgItemText(IDC_FRAMEEDIT_COUNT), std::to_wstring(frames.size()));
    if (frames.empty()) {
        EXPECT_EQ(dialog->GetCurrent(), -1);
    } else {
        ASSERT_GE(dialog->GetCurrent(), 0);
        ASSERT_LT(dialog->GetCurrent(), static_cast<int>(frames.size()));
    }
}

namespace {
DialogAnswers* g_answers = nullptr;
}  // namespace

DialogAnswers::DialogAnswers(std::vector<Answer> answers) : m_answers(std::move(answers)) {
    g_answers = this;
    m_timer = ::SetTimer(nullptr, 0, 30, &DialogAnswers::Tick);
}

DialogAnswers::~DialogAnswers() {
    ::KillTimer(nullptr, m_timer);
    g_answers = nullptr;
}

void CALLBACK DialogAnswers::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_answers || g_answers->m_given >= g_answers->m_answers.size()) return;
    ::EnumThreadWindows(::GetCurrentThreadId(), &DialogAnswers::Look, 0);
}

BOOL CALLBACK DialogAnswers::Look(HWND hwnd, LPARAM) {
    DialogAnswers* self = g_answers;
    if (!self || self->m_given >= self->m_answers.size()) return FALSE;
    if (!::IsWindowVisible(hwnd)) return TRUE;
    Answer& answer = self->m_answers[self->m_given];
    if (!answer.matches(hwnd)) return TRUE;
    ++self->m_given;
    answer.act(hwnd);
    return FALSE;
}

bool IsDialogWith(HWND hwnd, int controlId) {
    wchar_t className[16] = {};
    ::GetClassNameW(hwnd, className, 16);
    return std::wstring(className) == L"#32770" && ::GetDlgItem(hwnd, controlId) != nullptr;
}

namespace {
const int kFileNameBox = 0x47c;  // the file name box of the open dialog
bool IsFileDialog(HWND hwnd) {
    return IsDialogWith(hwnd, kFileNameBox);
}
void PostCommand(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}
}  // namespace

std::vector<DialogAnswers::Answer> ChooseFiles(const std::wstring& folder, const std::vector<std::wstring>& names) {
    std::wstring typed;
    for (const std::wstring& name : names) typed += (typed.empty() ? L"\"" : L" \"") + name + L"\"";
    return {
        {IsFileDialog,
         [folder](HWND hwnd) {
             ::SetDlgItemTextW(hwnd, kFileNameBox, folder.c_str());
             PostCommand(hwnd, IDOK);
         }},
        {IsFileDialog,
         [typed](HWND hwnd) {
             ::SetDlgItemTextW(hwnd, kFileNameBox, typed.c_str());
             PostCommand(hwnd, IDOK);
         }},
    };
}

DialogAnswers::Answer CancelFiles() {
    return {IsFileDialog, [](HWND hwnd) { PostCommand(hwnd, IDCANCEL); }};
}

DialogAnswers::Answer ChooseInsertMode(int mode) {
    return {[](HWND hwnd) { return IsDialogWith(hwnd, 1135); }, [mode](HWND hwnd) { PostCommand(hwnd, 1132 + mode); }};
}

DialogAnswers::Answer CancelInsertMode() {
    return {[](HWND hwnd) { return IsDialogWith(hwnd, 1135); }, [](HWND hwnd) { PostCommand(hwnd, IDCANCEL); }};
}

DialogAnswers::Answer EnterDelay(const std::wstring& text) {
    return {[](HWND hwnd) { return IsDialogWith(hwnd, 1123); },
            [text](HWND hwnd) {
                ::SetDlgItemTextW(hwnd, 1123, text.c_str());
                PostCommand(hwnd, IDOK);
            }};
}

DialogAnswers::Answer RunCrop() {
    return {[](HWND hwnd) { return IsDialogWith(hwnd, IDOK) && GetWindowTextString(hwnd) == L"자르기"; },
            [](HWND hwnd) { PostCommand(hwnd, IDOK); }};
}

}  // namespace frameedit_testing
