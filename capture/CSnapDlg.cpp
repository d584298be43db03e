#include "CSnapDlg.h"
#include <algorithm>
#include <cwchar>
#include <utility>
#include "CCustomSizeDlg.h"
#include "CCutControl.h"
#include "CHoverButton.h"
#include "CInteraction.h"
#include "CMonitors.h"
#include "MessageArgs.h"
#include "resource.h"

namespace {
constexpr COLORREF kMagenta = RGB(255, 0, 255);
// Beyond any hole the size dialog or a screen gives, within what a window may be.
constexpr LONG kMaxFrameSide = 32767;
// The handles' system hit-test codes, in the order of the handle rectangles.
constexpr int kHandleHitTests[8] = {HTTOPLEFT, HTTOP, HTTOPRIGHT, HTLEFT,
                                    HTRIGHT, HTBOTTOMLEFT, HTBOTTOM, HTBOTTOMRIGHT};
// Guide rectangles (x0, y0, x1, y1) of the skin's marks.
struct Guides { int x0, y0, x1, y1; };
constexpr Guides kTitleGuides{0, 0, 9, 1};
constexpr Guides kButtonGuides{1, 0, 8, 1};
constexpr Guides kInnerGuides{1, 2, 8, 9};
constexpr Guides kHandleGuides[8] = {{2, 3, 3, 4}, {4, 3, 5, 4}, {6, 3, 7, 4}, {2, 5, 3, 6},
                                     {6, 5, 7, 6}, {2, 7, 3, 8}, {4, 7, 5, 8}, {6, 7, 7, 8}};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool Contains(const RECT& r, POINT p) { return ::PtInRect(&r, p) != FALSE; }
}  // namespace

CSnapDlg::CSnapDlg() : CDialog(IDD_POPUP, nullptr) {}

CSnapDlg::~CSnapDlg() {
    m_backSelection.reset();
}

INT_PTR CSnapDlg::DoModalWithRect(const RECT& rect) {
    // The user places the frame: a capture or a recording started meanwhile would run under it.
    CInteraction placing;
    m_initial = rect;
    return DoModal();
}

RECT CSnapDlg::GetCaptureRect() const {
    RECT screen{}, clipped{};
    GetVirtualScreenRect(screen);
    if (!::IntersectRect(&clipped, &m_inner, &screen)) return RECT{0, 0, 0, 0};
    return clipped;
}

SIZE CSnapDlg::MinimumSize(UINT dpi) {
    // The smallest hole and the borders around it, each scaled.
    const int hole = ScaleToDpi(kMinWidth - 8, dpi);
    return SIZE{hole + 2 * ScaleToDpi(4, dpi), hole + ScaleToDpi(24, dpi) + ScaleToDpi(4, dpi)};
}

RECT CSnapDlg::FrameRectForHole(const RECT& hole, const std::vector<RECT>& monitors, UINT dpi) {
    const int side = ScaleToDpi(4, dpi), top = ScaleToDpi(24, dpi);
    RECT frame{hole.left - side, hole.top - top, hole.right + side, hole.bottom + side};
    // Where the OK button will be: on screen, the frame can be confirmed and stays as asked.
    const RECT probe{hole.right - top, hole.top - top, hole.right, hole.top};
    const POINT topLeft{probe.left, probe.top}, bottomRight{probe.right, probe.bottom};
    bool onOneMonitor = false;
    for (const RECT& monitor : monitors) {
        // Right and bottom edges count as inside: the probe's corner is an edge, not a pixel.
        const RECT closed{monitor.left, monitor.top, monitor.right + 1, monitor.bottom + 1};
        if (Contains(closed, topLeft) && Contains(closed, bottomRight)) onOneMonitor = true;
    }
    if (!onOneMonitor) {
        const RECT* column = nullptr;
        for (const RECT& monitor : monitors) {
            if (probe.left >= monitor.left && probe.right <= monitor.right) {
                column = &monitor;
                break;
            }
        }
        if (column) frame.top = column->top;
        else frame.top = monitors.empty() ? 0 : monitors.back().top;
    }
    const SIZE minimum = MinimumSize(dpi);
    if (Width(frame) < minimum.cx) frame.right = frame.left + minimum.cx;
    if (Height(frame) < minimum.cy) frame.bottom = frame.top + minimum.cy;
    return frame;
}

void CSnapDlg::PlaceFrame(const RECT& hole) {
    if (::IsRectEmpty(&hole)) return;
    CMonitors monitors;
    std::vector<RECT> rects;
    for (int i = 0; i < monitors.GetCount(); ++i) {
        RECT rect{};
        monitors.GetMonitor(i)->GetMonitorRect(rect);
        rects.push_back(rect);
    }
    const RECT frame = FrameRectForHole(hole, rects, m_dpi);
    SetWindowPos(nullptr, frame.left, frame.top, Width(frame), Height(frame),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CSnapDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The frame lays itself out from its pictures: the system must not rescale the template.
    KeepDialogLayoutOnDpiChange(m_hWnd);
    // The scale of the monitor the hole lies on (without a hole, of the primary monitor).
    const RECT primary{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    m_dpi = MonitorDpiForRect(::IsRectEmpty(&m_initial) ? primary : m_initial);
    m_skin.LoadPng(IDB_FIXED_FRAME, m_dpi);
    // The system sizes only windows with a sizing frame; the frame's look stays the skin's,
    // since the whole window is client area (WM_NCCALCSIZE).
    ModifyStyle(WS_SYSMENU, WS_THICKFRAME, SWP_FRAMECHANGED);
    if (::IsRectEmpty(&m_initial)) {
        const SIZE size = ScaleSizeToDpi(kDefaultSize, m_dpi);
        SetWindowPos(nullptr, (primary.right - size.cx) / 2, (primary.bottom - size.cy) / 2, size.cx, size.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    PlaceFrame(m_initial);

    CClientDC window(m_hWnd);
    m_backBuffer = std::make_unique<CMemoryDC>(window);
    m_backBitmap.CreateCompatibleBitmap(window, ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                        ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    m_backSelection = std::make_unique<CSelectObject>(m_backBuffer->get(), m_backBitmap.get());

    RECT client{};
    GetClientRect(&client);
    RedrawSkin(client.right, client.bottom);
    ComputeRects();
    UpdateRegion();
    CreateButtons();
    LayoutButtons();
    m_initialised = true;
    return TRUE;
}

void CSnapDlg::CreateButtons() {
    const RECT place{0, 0, 100, 100};
    const DWORD style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
    m_find = std::make_unique<CHoverButton>();
    m_find->Create(L"", style, place, m_hWnd, IDC_SNAP_FIND);
    m_find->SetDpi(m_dpi);
    m_find->SetTipText(L"윈도우 찾기", TRUE);
    m_find->LoadStateBitmap(IDB_SNAP_FIND, false, false);
    m_find->SetTransparentColor(kMagenta);
    m_find->SetHighlightBrushes(RGB(200, 200, 100), RGB(200, 100, 200));

    m_size = std::make_unique<CHoverButton>();
    m_size->Create(L"", style, place, m_hWnd, IDC_SNAP_SIZE);
    m_size->SetDpi(m_dpi);
    m_size->SetTipText(L"해상도", TRUE);
    m_size->SetTextFont(10, RGB(255, 255, 255), DT_CENTER | DT_SINGLELINE, false);
    m_size->SetHighlightBrushes(RGB(200, 200, 100), RGB(200, 100, 200));
    UpdateSizeCaption();

    m_ok = std::make_unique<CHoverButton>();
    m_ok->Create(L"", style, place, m_hWnd, IDC_SNAP_OK);
    m_ok->SetDpi(m_dpi);
    m_ok->SetTipText(L"OK", TRUE);
    m_ok->LoadStateBitmap(IDB_SNAP_OK, false, false);
    m_ok->SetTransparentColor(kMagenta);
    m_ok->SetHighlightBrushes(RGB(255, 0, 0), RGB(128, 0, 0));
}

void CSnapDlg::RedrawSkin(int width, int height) {
    if (m_backBuffer) m_skin.Draw(m_backBuffer->get(), 0, 0, width, height);
}

RECT CSnapDlg::GetTitleRect() const {
    return m_skin.GetGuideRect(kTitleGuides.x0, kTitleGuides.y0, kTitleGuides.x1, kTitleGuides.y1);
}

void CSnapDlg::ComputeRects() {
    m_inner = m_skin.GetGuideRect(kInnerGuides.x0, kInnerGuides.y0, kInnerGuides.x1, kInnerGuides.y1);
    for (int i = 0; i < 8; ++i) {
        const Guides& g = kHandleGuides[i];
        m_handles[i] = m_skin.GetGuideRect(g.x0, g.y0, g.x1, g.y1);
    }
}

void CSnapDlg::UpdateRegion() {
    RECT client{};
    GetClientRect(&client);
    CRgn region(::CreateRectRgnIndirect(&client));
    CRgn hole(::CreateRectRgnIndirect(&m_inner));
    ::CombineRgn(region.get(), region.get(), hole.get(), RGN_DIFF);
    for (const RECT& handle : m_handles) {
        CRgn square(::CreateRectRgnIndirect(&handle));
        ::CombineRgn(region.get(), region.get(), square.get(), RGN_OR);
    }
    SetWindowRgn(std::move(region), TRUE);
}

RECT CSnapDlg::GetButtonStripRect() const {
    return m_skin.GetGuideRect(kButtonGuides.x0, kButtonGuides.y0, kButtonGuides.x1, kButtonGuides.y1);
}

void CSnapDlg::LayoutButtons() {
    if (!m_find || !m_size || !m_ok) return;
    const RECT s = GetButtonStripRect();
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    const int small = ScaleToDpi(20, m_dpi);
    // The size button is 65 pixels wide at 100 %, wider when its caption needs it (a large hole)
    // and the strip has the room between the other two.
    int sizeWidth = ScaleToDpi(65, m_dpi);
    if (HFONT font = m_size->GetCaptionFont()) {
        CClientDC dc(m_size->m_hWnd);
        CSelectObject select(dc, font);
        SIZE extent{};
        const std::wstring& caption = m_size->GetCaption();
        ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        sizeWidth = std::max<int>(sizeWidth, extent.cx + ScaleToDpi(6, m_dpi));
    }
    sizeWidth = std::max(0, std::min(sizeWidth, Width(s) - 2 * small));
    m_find->SetWindowPos(nullptr, s.left, s.top, small, Height(s), flags);
    m_size->SetWindowPos(nullptr, s.left + small, s.top, sizeWidth, Height(s), flags);
    m_ok->SetWindowPos(nullptr, s.right - small, s.top, small, Height(s), flags);
}

void CSnapDlg::UpdateSizeCaption() {
    if (!m_size) return;
    wchar_t text[32];
    std::swprintf(text, 32, L"%dX%d", Width(m_inner), Height(m_inner));
    m_size->SetCaption(text, false);
    // Moving the button keeps its old pixels: it must paint the new size at the next chance.
    m_size->Invalidate(FALSE);
    LayoutButtons();
}

BOOL CSnapDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const CommandArgs command = CommandArgsFrom(wParam, lParam);
    switch (command.id) {
    case IDC_SNAP_OK:
        PostMessage(WM_COMMAND, IDOK);
        return TRUE;
    case IDC_SNAP_FIND:
        OnFindWindow();
        return TRUE;
    case IDC_SNAP_SIZE:
        OnSizeButton();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CSnapDlg::OnOK() {
    // Enter and the check mark both come here: the hole is handed out in screen coordinates.
    POINT corners[2] = {{m_inner.left, m_inner.top}, {m_inner.right, m_inner.bottom}};
    ClientToScreen(&corners[0]);
    ClientToScreen(&corners[1]);
    m_inner = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    EndDialog(IDOK);
}

LRESULT CSnapDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCALCSIZE:
        // The sizing frame has no border of its own: the skin draws every pixel.
        return 0;
    case WM_SIZE: {
        const LRESULT result = CDialog::WindowProc(msg, wParam, lParam);
        const SizeArgs size = SizeArgsFrom(wParam, lParam);
        OnSize(size.width, size.height);
        return result;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(DpiChangedArgsFrom(wParam, lParam).dpi);
        return 0;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return CDialog::WindowProc(msg, wParam, lParam);
    case WM_MOUSEMOVE:
        OnMouseMove(MousePoint(lParam));
        break;
    case WM_SETCURSOR:
        if (OnSetCursor()) return TRUE;
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(MousePoint(lParam));
        break;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}

void CSnapDlg::OnSize(int width, int height) {
    if (!m_initialised) return;
    RedrawSkin(width, height);
    ComputeRects();
    UpdateRegion();
    LayoutButtons();
    UpdateSizeCaption();
    Invalidate(FALSE);
}

void CSnapDlg::OnDpiChanged(UINT dpi) {
    if (dpi == 0 || !m_initialised) return;
    // The hole stays where it is, in physical pixels; borders, handles and buttons take the
    // new scale around it.
    RECT hole = m_inner;
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&hole), 2);
    m_dpi = dpi;
    m_skin.LoadPng(IDB_FIXED_FRAME, m_dpi);
    for (CHoverButton* button : {m_find.get(), m_size.get(), m_ok.get()}) button->SetDpi(m_dpi);
    PlaceFrame(hole);
    RECT client{};
    GetClientRect(&client);
    OnSize(client.right, client.bottom);
}

void CSnapDlg::OnPaint() {
    CPaintDC dc(m_hWnd);
    PaintTo(dc);
}

void CSnapDlg::PaintTo(HDC dc) const {
    RECT client{};
    GetClientRect(&client);
    if (m_backBuffer) ::BitBlt(dc, 0, 0, client.right, client.bottom, m_backBuffer->get(), 0, 0, SRCCOPY);
}

void CSnapDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
    const SIZE minimum = MinimumSize(m_dpi);
    info->ptMinTrackSize = POINT{minimum.cx, minimum.cy};
    // A sizing frame is otherwise held to about the screen's size, and the hole may be as large
    // as the size dialog allows, or larger than the screen when it was stored so.
    info->ptMaxTrackSize.x = std::max<LONG>(info->ptMaxTrackSize.x, kMaxFrameSide);
    info->ptMaxTrackSize.y = std::max<LONG>(info->ptMaxTrackSize.y, kMaxFrameSide);
}

void CSnapDlg::OnMouseMove(POINT point) {
    m_hovered = -1;
    for (int i = 0; i < 8; ++i) {
        if (Contains(m_handles[i], point)) {
            m_hovered = i;
            break;
        }
    }
}

BOOL CSnapDlg::OnSetCursor() {
    const wchar_t* shape = nullptr;
    switch (m_hovered) {
    case 0: case 7: shape = IDC_SIZENWSE; break;
    case 1: case 6: shape = IDC_SIZENS; break;
    case 2: case 5: shape = IDC_SIZENESW; break;
    case 3: case 4: shape = IDC_SIZEWE; break;
    default: return FALSE;
    }
    ::SetCursor(::LoadCursorW(nullptr, shape));
    return TRUE;
}

void CSnapDlg::OnLButtonDown(POINT point) {
    // Non-client messages carry screen coordinates.
    POINT screen = point;
    ClientToScreen(&screen);
    const RECT title = GetTitleRect();
    if (Contains(title, point)) {
        PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MouseLParam(screen));
        return;
    }
    if (m_hovered >= 0) PostMessage(WM_NCLBUTTONDOWN, static_cast<WPARAM>(kHandleHitTests[m_hovered]), MouseLParam(screen));
}

INT_PTR CSnapDlg::RunWindowPicker(RECT& picked) {
    CCutControl picker;
    const INT_PTR result = picker.DoModal();
    if (result == IDOK) picked = picker.GetSelectedRect();
    return result;
}

void CSnapDlg::OnFindWindow() {
    ShowWindow(SW_HIDE);
    RECT picked{};
    if (RunWindowPicker(picked) == IDOK) PlaceFrame(picked);
    ShowWindow(SW_SHOW);
}

void CSnapDlg::OnSizeButton() {
    CCustomSizeDlg size(this);
    if (size.DoModalWithSize(static_cast<unsigned>(Width(m_inner)), static_cast<unsigned>(Height(m_inner))) != IDOK)
        return;
    const int dw = Width(m_inner) - static_cast<int>(size.m_width);
    const int dh = Height(m_inner) - static_cast<int>(size.m_height);
    RECT window{};
    GetWindowRect(&window);
    SetWindowPos(nullptr, 0, 0, Width(window) - dw, Height(window) - dh, SWP_NOMOVE | SWP_NOZORDER);
}
