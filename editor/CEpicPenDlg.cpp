#include "CEpicPenDlg.h"
#include <algorithm>
#include <iterator>
#include "CColorDialog.h"
#include "DeviceContext.h"
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
}  // namespace

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
    m_background = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                     MAKEINTRESOURCEW(IDB_PEN_TOOLBAR),
                                                     IMAGE_BITMAP, 0, 0, LR_SHARED));
    m_textButton.SubclassDlgItem(ID_EDITOR_TEXT_TOOL, m_hWnd);
    m_textButton.LoadStateBitmap(IDB_PEN_TEXT, true, false);
    m_undoButton.SubclassDlgItem(ID_EDITOR_UNDO, m_hWnd);
    m_undoButton.LoadStateBitmap(IDB_PEN_UNDO, true, true);
    m_redoButton.SubclassDlgItem(ID_EDITOR_REDO, m_hWnd);
    m_redoButton.LoadStateBitmap(IDB_PEN_REDO, true, true);
    m_finishButton.SubclassDlgItem(ID_EDITOR_FINISH, m_hWnd);
    m_finishButton.LoadStateBitmap(IDB_PEN_FINISH, true, false);
    m_colorButton.SubclassDlgItem(IDC_PEN_COLOR, m_hWnd);
    m_colorButton.SetFillColor(m_color, kColorSquareSize, kColorSquareSize);
    EnableUndo(false);
    EnableRedo(false);
    return TRUE;
}

LRESULT CEpicPenDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
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
    if (!m_background) return TRUE;
    RECT client{};
    GetClientRect(&client);
    CMemoryDC memory(dc);
    CSelectObject select(memory, m_background);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
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
