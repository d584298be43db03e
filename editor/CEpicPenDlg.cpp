#include "CEpicPenDlg.h"
#include <algorithm>
#include <iterator>
#include "CColorDialog.h"
#include "DeviceContext.h"
#include "Dpi.h"
#include "MessageArgs.h"
#include "resource.h"

const COLORREF CEpicPenDlg::penColors[16] = {
    RGB(0, 0, 0),       RGB(218, 14, 14),   RGB(11, 212, 29),   RGB(18, 27, 216),
    RGB(89, 89, 89),    RGB(243, 138, 10),  RGB(12, 232, 182),  RGB(128, 75, 22),
    RGB(180, 180, 180), RGB(215, 23, 224),  RGB(255, 121, 243), RGB(236, 236, 19),
    RGB(255, 255, 255), RGB(161, 240, 66),  RGB(174, 247, 237), RGB(241, 136, 136),
};

namespace {
const int kSizeCount = 6;
const int kToolCount = 6;
const int kColorCount = 16;
const int kColorSquareSize = 28;

bool InRange(int id, int first, int count) {
    return id >= first && id < first + count;
}

// The layout at 100 %, on the 385 x 101 background: below the 26-pixel drag strip, the sizes over
// the tools (28 x 28, 32 apart), the text tool over the colour square, the swatches (15 x 15, 16
// apart) in four rows of four, undo over redo, and the 54 x 63 finish button.
constexpr SIZE kClient100{385, 101};
constexpr int kTopRow = 32;
constexpr int kBottomRow = 67;
constexpr int kButtonSide = 28;
constexpr int kTextColumn = 196;
constexpr int kSwatchLeft = 228;
constexpr int kSwatchSide = 15;
constexpr int kSwatchStep = 16;
constexpr int kUndoColumn = 295;
constexpr RECT kFinish100{327, 32, 327 + 54, 32 + 63};

RECT Square(int x, int y, int side) {
    return RECT{x, y, x + side, y + side};
}
}  // namespace

SIZE CEpicPenDlg::ClientSize100() {
    return kClient100;
}

RECT CEpicPenDlg::ControlRect100(int id) {
    if (InRange(id, IDC_PEN_SIZE_FIRST, kSizeCount))
        return Square(4 + 32 * (id - IDC_PEN_SIZE_FIRST), kTopRow, kButtonSide);
    if (InRange(id, IDC_PEN_TOOL_FIRST, kToolCount))
        return Square(4 + 32 * (id - IDC_PEN_TOOL_FIRST), kBottomRow, kButtonSide);
    if (InRange(id, IDC_PEN_SWATCH_FIRST, kColorCount)) {
        const int i = id - IDC_PEN_SWATCH_FIRST;
        return Square(kSwatchLeft + kSwatchStep * (i % 4), kTopRow + kSwatchStep * (i / 4), kSwatchSide);
    }
    switch (id) {
    case ID_EDITOR_TEXT_TOOL: return Square(kTextColumn, kTopRow, kButtonSide);
    case IDC_PEN_COLOR: return Square(kTextColumn, kBottomRow, kColorSquareSize);
    case ID_EDITOR_UNDO: return Square(kUndoColumn, kTopRow, kButtonSide);
    case ID_EDITOR_REDO: return Square(kUndoColumn, kBottomRow, kButtonSide);
    case ID_EDITOR_FINISH: return kFinish100;
    default: return RECT{};
    }
}

CEpicPenDlg::CEpicPenDlg(CWnd* editor)
    : CDialog(IDD_PEN_TOOLBAR, editor), m_editor(editor), m_color(penColors[1]) {}

BOOL CEpicPenDlg::Create() {
    return CDialog::Create(IDD_PEN_TOOLBAR, m_editor);
}

void CEpicPenDlg::SetPenSizeIndex(int index) {
    if (InRange(index, 0, kSizeCount)) penSizeIndex = index;
}

void CEpicPenDlg::SetToolIndex(int index) {
    if (InRange(index, 0, kToolCount)) toolIndex = index;
}

void CEpicPenDlg::SetColorIndex(int index) {
    if (InRange(index, 0, kColorCount)) m_color = penColors[index];
}

void CEpicPenDlg::EnableUndo(bool enable) const {
    ::EnableWindow(GetDlgItem(ID_EDITOR_UNDO), enable);
}

void CEpicPenDlg::EnableRedo(bool enable) const {
    ::EnableWindow(GetDlgItem(ID_EDITOR_REDO), enable);
}

BOOL CEpicPenDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Everything is placed from the pictures: the system must not rescale the template too.
    KeepDialogLayoutOnDpiChange(m_hWnd);
    m_dpi = WindowDpi(m_hWnd);
    for (int i = 0; i < kSizeCount; ++i) {
        m_sizeButtons[i].SubclassDlgItem(IDC_PEN_SIZE_FIRST + i, m_hWnd);
        m_sizeButtons[i].LoadSkin(IDB_PEN_SIZE_FIRST + i);
    }
    for (int i = 0; i < kToolCount; ++i) {
        m_toolButtons[i].SubclassDlgItem(IDC_PEN_TOOL_FIRST + i, m_hWnd);
        m_toolButtons[i].LoadSkin(IDB_PEN_TOOL_FIRST + i);
    }
    for (int i = 0; i < kColorCount; ++i) {
        m_swatchButtons[i].SubclassDlgItem(IDC_PEN_SWATCH_FIRST + i, m_hWnd);
        m_swatchButtons[i].LoadSkin(IDB_PEN_SWATCH_FIRST + i);
    }
    ::CheckRadioButton(m_hWnd, IDC_PEN_SIZE_FIRST, IDC_PEN_SIZE_FIRST + kSizeCount - 1, IDC_PEN_SIZE_FIRST);
    ::CheckRadioButton(m_hWnd, IDC_PEN_TOOL_FIRST, IDC_PEN_TOOL_FIRST + kToolCount - 1, IDC_PEN_TOOL_FIRST);
    ::CheckRadioButton(m_hWnd, IDC_PEN_SWATCH_FIRST, IDC_PEN_SWATCH_FIRST + kColorCount - 1,
                       IDC_PEN_SWATCH_FIRST + 1);
    m_background = LoadBitmapForDpi(IDB_PEN_TOOLBAR, m_dpi);
    m_textButton.SubclassDlgItem(ID_EDITOR_TEXT_TOOL, m_hWnd);
    m_textButton.LoadStateBitmap(IDB_PEN_TEXT, true, false);
    m_undoButton.SubclassDlgItem(ID_EDITOR_UNDO, m_hWnd);
    m_undoButton.LoadStateBitmap(IDB_PEN_UNDO, true, true);
    m_redoButton.SubclassDlgItem(ID_EDITOR_REDO, m_hWnd);
    m_redoButton.LoadStateBitmap(IDB_PEN_REDO, true, true);
    m_finishButton.SubclassDlgItem(ID_EDITOR_FINISH, m_hWnd);
    m_finishButton.LoadStateBitmap(IDB_PEN_FINISH, true, false);
    m_colorButton.SubclassDlgItem(IDC_PEN_COLOR, m_hWnd);
    m_colorButton.SetFillColor(m_color);
    EnableUndo(false);
    EnableRedo(false);
    LayOut();
    return TRUE;
}

void CEpicPenDlg::LayOut() {
    RECT window{0, 0, ScaleToDpi(kClient100.cx, m_dpi), ScaleToDpi(kClient100.cy, m_dpi)};
    AdjustWindowRectForDpi(window, static_cast<DWORD>(GetStyle()), static_cast<DWORD>(GetExStyle()), m_dpi);
    SetWindowPos(nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const RECT place = ScaleRectToDpi(ControlRect100(::GetDlgCtrlID(child)), m_dpi);
        ::SetWindowPos(child, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Invalidate(TRUE);
}

void CEpicPenDlg::OnDpiChanged(UINT dpi, const RECT& suggested) {
    if (dpi == 0) return;
    m_dpi = dpi;
    for (CxSkinButton* group : {m_sizeButtons, m_toolButtons}) {
        for (int i = 0; i < kSizeCount; ++i) group[i].SetDpi(dpi);
    }
    for (CxSkinButton& swatch : m_swatchButtons) swatch.SetDpi(dpi);
    for (CHoverButton* button : {&m_textButton, &m_colorButton, &m_undoButton, &m_redoButton, &m_finishButton}) {
        button->SetDpi(dpi);
    }
    m_background = LoadBitmapForDpi(IDB_PEN_TOOLBAR, m_dpi);
    // Where the system suggests (the toolbar was moved onto that monitor), at the new size.
    if (!::IsRectEmpty(&suggested)) {
        SetWindowPos(nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LayOut();
}

LRESULT CEpicPenDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_DPICHANGED: {
        const DpiChangedArgs args = DpiChangedArgsFrom(wParam, lParam);
        OnDpiChanged(args.dpi, args.suggested);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        // A press on the background (buttons take their own presses) drags the toolbar as if
        // its caption had been pressed; non-client messages carry screen coordinates.
        POINT press = MousePoint(lParam);
        ClientToScreen(&press);
        PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MouseLParam(press));
        return 0;
    }
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}

BOOL CEpicPenDlg::OnEraseBkgnd(HDC dc) {
    BITMAP picture{};
    if (!m_background || !::GetObjectW(m_background, sizeof(picture), &picture)) return TRUE;
    RECT client{};
    GetClientRect(&client);
    // The picture is made at the client's size; should the two ever differ, it still covers it.
    CMemoryDC memory(dc);
    CSelectObject select(memory, m_background);
    ::StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, picture.bmWidth, picture.bmHeight, SRCCOPY);
    return TRUE;
}

BOOL CEpicPenDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED || lParam == 0) {
        if (InRange(id, IDC_PEN_SIZE_FIRST, kSizeCount)) {
            penSizeIndex = id - IDC_PEN_SIZE_FIRST;
            GiveFocusToEditor();
            return TRUE;
        }
        if (InRange(id, IDC_PEN_TOOL_FIRST, kToolCount)) {
            toolIndex = id - IDC_PEN_TOOL_FIRST;
            GiveFocusToEditor();
            return TRUE;
        }
        if (InRange(id, IDC_PEN_SWATCH_FIRST, kColorCount)) {
            m_color = penColors[id - IDC_PEN_SWATCH_FIRST];
            ShowColorSquare();
            GiveFocusToEditor();
            return TRUE;
        }
        switch (id) {
        case ID_EDITOR_TEXT_TOOL:
        case ID_EDITOR_FINISH:
            if (m_editor) m_editor->PostMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
            GiveFocusToEditor();
            return TRUE;
        case IDC_PEN_COLOR:
            ChoosePenColor();
            GiveFocusToEditor();
            return TRUE;
        case IDOK:
        case IDCANCEL:
            return TRUE;
        }
    }
    // Undo, redo and whatever else the toolbar does not handle belong to the editor.
    if (m_editor && HIWORD(wParam) == BN_CLICKED) {
        m_editor->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CEpicPenDlg::ChoosePenColor() {
    // Custom colours the user mixed are offered again at the next opening while the program runs.
    static COLORREF customColors[16] = {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                        RGB(255, 255, 255)};
    // Owned by the editor, which the dialog then disables, and the editor this toolbar with it.
    CColorDialog dialog(m_color, CC_FULLOPEN, m_editor ? m_editor : this);
    std::copy(std::begin(customColors), std::end(customColors), dialog.m_customColors);
    const INT_PTR result = dialog.DoModal();
    std::copy(std::begin(dialog.m_customColors), std::end(dialog.m_customColors), customColors);
    // The swatch marks stay as they are: the chosen colour need not be one of them.
    if (result != IDOK) return;
    m_color = dialog.GetColor();
    ShowColorSquare();
}

void CEpicPenDlg::ShowColorSquare() {
    m_colorButton.SetFillColor(m_color);
    m_colorButton.UpdateWindow();
}

void CEpicPenDlg::GiveFocusToEditor() const {
    if (m_editor && m_editor->IsWindow()) ::SetFocus(m_editor->m_hWnd);
}

BOOL CEpicPenDlg::PreTranslateMessage(MSG* msg) {
    // Enter and Esc pressed on a toolbar button go to the editor as the same key: Esc cancels
    // the editor, Enter does nothing there.
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        if (m_editor) m_editor->PostMessage(WM_KEYDOWN, msg->wParam, msg->lParam);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}
