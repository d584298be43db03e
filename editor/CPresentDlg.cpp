#include "CPresentDlg.h"
#include "CTextForm.h"
#include "Dpi.h"
#include "MessageArgs.h"
#include "TextCursor.h"
#include "resource.h"

namespace {
const COLORREF kFrameColor = RGB(128, 128, 128);

// Keys that choose pen size, tool and colour, in the order of the toolbar's rows.
struct KeyChoice {
    UINT key;
    enum { Size, Tool, Colour } what;
    int index;
};
const KeyChoice kKeyTable[] = {
    {'Q', KeyChoice::Size, 0}, {'W', KeyChoice::Size, 1}, {'E', KeyChoice::Size, 2},
    {'R', KeyChoice::Size, 3}, {'T', KeyChoice::Size, 4}, {'Y', KeyChoice::Size, 5},
    {'A', KeyChoice::Tool, 0}, {'S', KeyChoice::Tool, 1}, {'D', KeyChoice::Tool, 2},
    {'F', KeyChoice::Tool, 3}, {'G', KeyChoice::Tool, 4}, {'H', KeyChoice::Tool, 5},
    {'7', KeyChoice::Colour, 0}, {'8', KeyChoice::Colour, 1}, {'9', KeyChoice::Colour, 2},
    {'0', KeyChoice::Colour, 3}, {'U', KeyChoice::Colour, 4}, {'I', KeyChoice::Colour, 5},
    {'O', KeyChoice::Colour, 6}, {'P', KeyChoice::Colour, 7}, {'J', KeyChoice::Colour, 8},
    {'K', KeyChoice::Colour, 9}, {'L', KeyChoice::Colour, 10}, {VK_OEM_1, KeyChoice::Colour, 11},
    {'M', KeyChoice::Colour, 12}, {VK_OEM_COMMA, KeyChoice::Colour, 13},
    {VK_OEM_PERIOD, KeyChoice::Colour, 14}, {VK_OEM_2, KeyChoice::Colour, 15},
};

POINT PointFromLParam(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

bool SamePoint(POINT a, POINT b) {
    return a.x == b.x && a.y == b.y;
}

// True when a rectangle lies on the monitors from its top to its bottom: it meets a monitor, and
// its top-left and bottom-left corners are each on one (two stacked monitors may share it). A
// toolbar reaching past every monitor's edge would be partly out of sight. Monitors may lie
// above the primary one, at negative coordinates.
bool FitsOnTheMonitors(const RECT& rect) {
    return ::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) &&
           ::MonitorFromPoint(POINT{rect.left, rect.top}, MONITOR_DEFAULTTONULL) &&
           ::MonitorFromPoint(POINT{rect.left, rect.bottom - 1}, MONITOR_DEFAULTTONULL);
}

// Where the toolbar of `size` goes for a capture rectangle: directly above it, else directly
// below it, each where it lies on a monitor; else at the top of the rectangle's own monitor.
int ToolbarTop(const RECT& capture, SIZE size) {
    const RECT above{capture.left, capture.top - size.cy, capture.left + size.cx, capture.top};
    if (FitsOnTheMonitors(above)) return above.top;
    const RECT below{capture.left, capture.bottom, capture.left + size.cx, capture.bottom + size.cy};
    if (FitsOnTheMonitors(below)) return below.top;
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    HMONITOR own = ::MonitorFromRect(&capture, MONITOR_DEFAULTTOPRIMARY);
    return own && ::GetMonitorInfoW(own, &info) ? info.rcMonitor.top : 0;
}
}  // namespace

CPresentDlg::CPresentDlg(CWnd* owner)
    : CDialog(IDD_POPUP, owner), m_penCursor(IDC_EDITOR_PEN_CURSOR), m_drawCursor(IDC_EDITOR_DRAW_CURSOR) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    m_accelerators = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_EDITOR_ACCEL));
}

CPresentDlg::~CPresentDlg() = default;

BOOL CPresentDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    KeepDialogLayoutOnDpiChange(m_hWnd);

    if (styleToAdd || styleToRemove) {
        ModifyStyle(styleToRemove, 0);
        ModifyStyle(0, styleToAdd);
        if (styleToAdd & 0x80) {
            ShowWindow(SW_HIDE);
            ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
            ShowWindow(SW_SHOW);
        }
    }
    // Nothing to edit: the first paint ends the editor with Cancel.
    if (::IsRectEmpty(&captureRect) || !picture || picture->IsNull()) return TRUE;

    SetWindowPos(nullptr, captureRect.left, captureRect.top, Width(), Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    {
        CClientDC window(m_hWnd);
        if (!m_memory.Create(window, picture, Width(), Height())) return TRUE;
    }

    m_toolbar = std::make_unique<CEpicPenDlg>(this);
    if (m_toolbar->Create()) {
        RECT bar{};
        m_toolbar->GetWindowRect(&bar);
        const int y = ToolbarTop(captureRect, SIZE{bar.right - bar.left, bar.bottom - bar.top});
        m_toolbar->SetWindowPos(nullptr, captureRect.left, y, 0, 0,
                                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_toolbar->SetPenSizeIndex(penSizeIndex);
        m_toolbar->SetToolIndex(toolIndex);
        m_toolbar->SetColorIndex(colorIndex);
        m_toolbar->ShowWindow(showPenToolbar ? SW_SHOWNOACTIVATE : SW_HIDE);
    } else {
        m_toolbar.reset();
    }
    ::SetFocus(m_hWnd);
    return FALSE;  // the focus is set
}

LRESULT CPresentDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), PointFromLParam(lParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor();
    case WM_ERASEBKGND:
        return TRUE;  // the window is drawn only from the memory picture
    case WM_DPICHANGED:
        // The editor lies over its capture in physical pixels at every scale: it stays put.
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(wParam, lParam)) return 0;
        break;
    case WM_ENABLE:
        // The toolbar is the editor's other half: while a dialog of the editor (the text tool,
        // the colour dialog) waits over it, the toolbar waits too, or its buttons could end the
        // editor under the dialog.
        if (m_toolbar && m_toolbar->IsWindow()) m_toolbar->EnableWindow(wParam != FALSE);
        break;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}

BOOL CPresentDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->hwnd == m_hWnd && msg->wParam == VK_RETURN) return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

bool CPresentDlg::OnKeyDown(WPARAM key, LPARAM flags) {
    // The accelerators come first, whichever loop delivered the key.
    MSG msg{m_hWnd, WM_KEYDOWN, key, flags, 0, {}};
    if (m_accelerators && ::TranslateAcceleratorW(m_hWnd, m_accelerators, &msg)) return true;
    return OnEditorKey(static_cast<UINT>(key));
}

bool CPresentDlg::OnEditorKey(UINT key) {
    if (key == VK_RETURN) return true;
    for (const KeyChoice& choice : kKeyTable) {
        if (choice.key != key) continue;
        switch (choice.what) {
        case KeyChoice::Size:
            penSizeIndex = choice.index;
            if (m_toolbar) m_toolbar->SetPenSizeIndex(choice.index);
            break;
        case KeyChoice::Tool:
            toolIndex = choice.index;
            if (m_toolbar) m_toolbar->SetToolIndex(choice.index);
            break;
        case KeyChoice::Colour:
            colorIndex = choice.index;
            if (m_toolbar) m_toolbar->SetColorIndex(choice.index);
            break;
        }
        break;
    }
    return false;  // the key goes on to the dialog's own processing (Esc cancels)
}

BOOL CPresentDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case ID_EDITOR_UNDO: OnUndo(); return TRUE;
    case ID_EDITOR_REDO: OnRedo(); return TRUE;
    case ID_EDITOR_TEXT_TOOL: OnTextTool(); return TRUE;
    case ID_EDITOR_FINISH: OnFinish(); return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

int CPresentDlg::CurrentKind() const {
    int kind = m_toolbar ? m_toolbar->GetToolIndex() : toolIndex;
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    if (control && shift) kind = ShapeArrow;
    else if (control) kind = ShapeRectangle;
    else if (shift) kind = ShapeLine;
    else if (::GetKeyState(VK_TAB) < 0) kind = ShapeEllipse;
    return kind;
}

void CPresentDlg::OnLButtonDown(UINT, POINT point) {
    if (m_placingText) {
        PlaceText(point);
        return;
    }
    TruncateRedoTail();
    ::SetCapture(m_hWnd);
    m_current = std::make_unique<CVectorData>();
    m_start = m_last = m_previous = point;
    m_current->AddPoint(point);
    m_drawing = true;
    m_kind = CurrentKind();
    ::SetCursor(m_drawCursor.AtPointer());
}

void CPresentDlg::OnMouseMove(UINT flags, POINT point) {
    if (m_drawing && m_kind == ShapeFreehand && m_current &&
        m_current->pointCount >= CVectorData::kMaxPoints - 1) {
        // The freehand limit: the stroke ends here as if the button had been released.
        FinishStroke();
        return;
    }
    if (m_cursorMode == CursorMode::TextPlacement) {
        ::SetCursor(PlacementCursor());
        return;
    }
    if (!(flags & MK_LBUTTON) || !m_drawing || !m_current) return;

    CClientDC window(m_hWnd);
    const int width = m_toolbar ? m_toolbar->GetPenWidth() : 3 * penSizeIndex + 2;
    const COLORREF color = m_toolbar ? m_toolbar->GetPenColor() : CEpicPenDlg::penColors[colorIndex & 15];
    if (m_kind == ShapeFreehand) {
        m_current->AddPoint(point);
        CPen pen(PS_SOLID, width, color);
        CSelectObject select(window, pen);
        ::MoveToEx(window, m_last.x, m_last.y, nullptr);
        ::LineTo(window, point.x, point.y);
        m_last = point;
        return;
    }
    if (SamePoint(point, m_previous)) return;
    // The rubber band lives only on the window: drawing it twice with NOTXOR removes it.
    const int previousRop = ::SetROP2(window, R2_NOTXORPEN);
    if (!SamePoint(m_previous, m_start))
        DrawShape(window, m_kind, m_start.x, m_start.y, m_previous.x, m_previous.y, width, color);
    DrawShape(window, m_kind, m_start.x, m_start.y, point.x, point.y, width, color);
    ::SetROP2(window, previousRop);
    m_previous = point;
}

void CPresentDlg::OnLButtonUp(UINT, POINT point) {
    m_cursorMode = CursorMode::Normal;
    if (m_placingText) {
        m_placingText = false;  // the text was placed on the press
        UpdateUndoButtons();
        return;
    }
    if (!m_drawing || !m_current) return;
    if (m_kind != ShapeFreehand) {
        if (SamePoint(point, m_start)) {
            // A click without a drag adds nothing.
            m_current.reset();
            ::ReleaseCapture();
            m_drawing = false;
            ::SetCursor(m_penCursor.AtPointer());
            return;
        }
        m_previous = point;
    }
    FinishStroke();
}

void CPresentDlg::FinishStroke() {
    std::unique_ptr<CVectorData> item = std::move(m_current);
    m_drawing = false;
    ::ReleaseCapture();
    if (!item) return;
    item->kind = m_kind;
    item->penWidth = m_toolbar ? m_toolbar->GetPenWidth() : 3 * penSizeIndex + 2;
    item->color = m_toolbar ? m_toolbar->GetPenColor() : CEpicPenDlg::penColors[colorIndex & 15];
    if (m_kind != ShapeFreehand) {
        item->pointCount = 2;
        item->SetPoint(1, m_previous);
    }
    m_items.Append(std::move(item));
    Repaint();
    UpdateUndoButtons();
}

void CPresentDlg::TruncateRedoTail() {
    if (m_items.CanRedo()) m_memory.ForgetFrom(m_items.ActiveCount());
    m_items.TruncateRedoTail();
}

void CPresentDlg::PlaceText(POINT point) {
    if (!m_pendingText) {
        m_placingText = false;
        return;
    }
    TruncateRedoTail();
    m_pendingText->x = point.x;
    m_pendingText->y = point.y;
    auto item = std::make_unique<CVectorData>();
    const bool stored = item->SetText(*m_pendingText, m_pendingString.c_str());
    m_pendingText.reset();
    m_pendingString.clear();
    m_cursorMode = CursorMode::Normal;
    if (!stored) return;
    m_items.Append(std::move(item));
    Repaint();
    UpdateUndoButtons();
}

BOOL CPresentDlg::OnSetCursor() {
    if (m_cursorMode == CursorMode::Normal) {
        ::SetCursor(m_drawing ? m_drawCursor.AtPointer() : m_penCursor.AtPointer());
    }
    return TRUE;
}

void CPresentDlg::UpdateUndoButtons() {
    if (!m_toolbar) return;
    m_toolbar->EnableUndo(m_items.CanUndo());
    m_toolbar->EnableRedo(m_items.CanRedo());
}

void CPresentDlg::OnUndo() {
    m_items.Undo();
    UpdateUndoButtons();
    Repaint();
}

void CPresentDlg::OnRedo() {
    m_items.Redo();
    UpdateUndoButtons();
    Repaint();
}

void CPresentDlg::DrawActiveItems(HDC dc) {
    m_items.ForEachActive([&](const CVectorData& item) { DrawVectorItem(dc, item, m_renderer); });
}

void CPresentDlg::ShowMemoryPicture(HDC window) {
    ::BitBlt(window, 0, 0, Width(), Height(), m_memory.GetDC(), 0, 0, SRCCOPY);
    CPen grey(PS_SOLID, 1, kFrameColor);
    CSelectObject pen(window, grey);
    CSelectObject brush(window, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(window, 0, 0, Width(), Height());
}

void CPresentDlg::ShowMemoryPicture() {
    if (!m_memory.IsCreated()) return;
    CClientDC window(m_hWnd);
    ShowMemoryPicture(window);
}

void CPresentDlg::Repaint() {
    m_memory.Update(m_items, m_renderer);
    ShowMemoryPicture();
}

void CPresentDlg::OnPaint() {
    CPaintDC paint(m_hWnd);
    if (!m_memory.IsCreated()) {
        EndEditor(IDCANCEL);
        return;
    }
    m_memory.Update(m_items, m_renderer);
    ShowMemoryPicture(paint);
}

void CPresentDlg::OnFinish() {
    if (!m_memory.IsCreated() || !picture) return;
    m_memory.Update(m_items, m_renderer);
    if (HDC target = picture->GetDC()) {
        ::BitBlt(target, 0, 0, Width(), Height(), m_memory.GetDC(), 0, 0, SRCCOPY);
        picture->ReleaseDC();
    }
    CopyToClipboard();
    // Whether or not the clipboard took the picture, the picture itself is finished: another
    // program holding the clipboard must not cost the user the capture.
    EndEditor(IDOK);
}

void CPresentDlg::CopyToClipboard() {
    // A copy goes to the clipboard, which owns it from then on; the editor keeps its own.
    CBitmap copy;
    {
        CClientDC screen(nullptr);
        if (!copy.CreateCompatibleBitmap(screen, Width(), Height())) return;
        CMemoryDC memory(screen);
        CSelectObject select(memory, copy);
        ::BitBlt(memory, 0, 0, Width(), Height(), m_memory.GetDC(), 0, 0, SRCCOPY);
    }
    if (!::OpenClipboard(m_hWnd)) return;
    ::EmptyClipboard();
    if (::SetClipboardData(CF_BITMAP, copy.get())) (void)copy.Detach();
    ::CloseClipboard();
}

void CPresentDlg::OnTextTool() {
    TextItemSettings settings;
    std::wstring text;
    if (!RunTextTool(settings, text)) return;
    m_pendingText = std::make_unique<TextItemSettings>(settings);
    m_pendingString = std::move(text);
    m_pendingText->text = m_pendingString.c_str();
    m_textCursor.reset(CreateTextCursor(*m_pendingText, m_pendingString.c_str(), Width(), Height()));
    m_cursorMode = CursorMode::TextPlacement;
    m_placingText = true;
    ::SetCursor(PlacementCursor());
}

bool CPresentDlg::RunTextTool(TextItemSettings& settings, std::wstring& text) {
    // Owned by the editor, so that it shows above the editor's topmost window.
    CTextForm form(this);
    if (form.DoModal() != IDOK) return false;
    text = form.GetText();
    settings = form.GetSettings();
    settings.text = nullptr;  // the caller points it at its own copy
    return true;
}

void CPresentDlg::OnCancel() {
    EndEditor(IDCANCEL);
}

void CPresentDlg::EndEditor(INT_PTR result) {
    if (m_drawing) {
        ::ReleaseCapture();
        m_drawing = false;
        m_current.reset();
    }
    // Hidden only: a handler of the toolbar may still be running further up the stack (the modal
    // loop of its colour dialog). Its window goes with the editor's, once every loop inside the
    // editor's has ended.
    if (m_toolbar && m_toolbar->IsWindow()) m_toolbar->ShowWindow(SW_HIDE);
    EndDialog(result);
}
