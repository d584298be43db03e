#include "CGifSnapDlg.h"
#include <algorithm>
#include <cwchar>
#include <vector>
#include "CGifCaptureRequest.h"
#include "MessageArgs.h"
#include "WindowMessages.h"
#include "resource.h"

namespace {
// The guide marks of each handle, in the order of CGifSnapDlg::Part.
const int kHandleGuides[CGifSnapDlg::kHandles][4] = {
    {1, 1, 2, 2}, {4, 1, 5, 2}, {7, 1, 8, 2}, {1, 4, 2, 5},
    {7, 4, 8, 5}, {1, 7, 2, 8}, {4, 7, 5, 8}, {7, 7, 8, 8},
};
const UINT kHitCodes[CGifSnapDlg::kHandles + 1] = {
    HTTOPLEFT, HTTOP, HTTOPRIGHT, HTLEFT, HTRIGHT, HTBOTTOMLEFT, HTBOTTOM, HTBOTTOMRIGHT, HTCAPTION,
};
const wchar_t* const kCursors[CGifSnapDlg::kHandles + 1] = {
    IDC_SIZENWSE, IDC_SIZENS, IDC_SIZENESW, IDC_SIZEWE, IDC_SIZEWE,
    IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE, IDC_SIZEALL,
};
}  // namespace

CGifSnapDlg::CGifSnapDlg() : CDialogEx(IDD_POPUP) {}

CGifSnapDlg::~CGifSnapDlg() {
    if (IsWindow()) DestroyWindow();
}

BOOL CGifSnapDlg::Create(HWND owner, const RECT& area) {
    m_initialArea = area;
    // The dialog needs only the owner's handle, and keeps no pointer to this stand-in.
    CWnd ownerWnd;
    ownerWnd.m_hWnd = owner;
    const BOOL created = CDialog::Create(IDD_POPUP, owner ? &ownerWnd : nullptr);
    ownerWnd.m_hWnd = nullptr;
    m_pParentWnd = nullptr;
    return created;
}

BOOL CGifSnapDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    // The frame lays itself out from its picture: the system must not rescale the template.
    KeepDialogLayoutOnDpiChange(m_hWnd);
    const RECT primary{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    m_dpi = MonitorDpiForRect(::IsRectEmpty(&m_initialArea) ? primary : m_initialArea);
    m_skin.LoadPng(IDB_RECORD_FRAME, m_dpi);
    // Without a system menu the frame cannot be moved, sized, re-ordered or activated from it.
    ModifyStyle(WS_SYSMENU, 0);
    const int screenWidth = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    {
        CClientDC client(m_hWnd);
        m_backBuffer = std::make_unique<CMemoryDC>(client);
        m_backBitmap.CreateCompatibleBitmap(client, screenWidth, screenHeight);
    }
    m_backSelection = std::make_unique<CSelectObject>(*m_backBuffer, m_backBitmap.get());

    RECT area = m_initialArea;
    if (::IsRectEmpty(&area)) {
        const SIZE frame = ScaleSizeToDpi(kDefaultSize, m_dpi);
        const int width = frame.cx - 2 * Border();
        const int height = frame.cy - 2 * Border();
        const int left = (primary.right - width) / 2;
        const int top = (primary.bottom - height) / 2;
        area = RECT{left, top, left + width, top + height};
    }
    SetCaptureRect(area);
    RECT client;
    GetClientRect(&client);
    DrawIdleLook(client.right, client.bottom);
    m_initialised = true;
    return TRUE;
}

RECT CGifSnapDlg::GetCaptureRect() const {
    RECT area = m_area;
    POINT topLeft{area.left, area.top};
    POINT bottomRight{area.right, area.bottom};
    ClientToScreen(&topLeft);
    ClientToScreen(&bottomRight);
    return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

int CGifSnapDlg::MinimumSize() const {
    // The picture's smallest drawing, which the rounding of its runs may make a pixel or two
    // smaller than the 100 % one scaled.
    const int scaled = ScaleToDpi(kMinimumSize, m_dpi);
    return m_skin.IsNull() ? scaled : std::max({scaled, m_skin.MinimumWidth(), m_skin.MinimumHeight()});
}

BOOL CGifSnapDlg::SetCaptureRect(const RECT& area) {
    const int border = Border();
    const int width = std::max(static_cast<int>(area.right - area.left) + 2 * border, MinimumSize());
    const int height = std::max(static_cast<int>(area.bottom - area.top) + 2 * border, MinimumSize());
    return SetWindowPos(nullptr, area.left - border, area.top - border, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring CGifSnapDlg::AreaCaption(const RECT& area) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%dX%d", static_cast<int>(area.right - area.left), static_cast<int>(area.bottom - area.top));
    return text;
}

void CGifSnapDlg::DrawIdleLook(int width, int height) {
    if (!m_backBuffer || width <= 0 || height <= 0) return;
    if (m_skin.Draw(*m_backBuffer, 0, 0, width, height)) {
        m_area = m_skin.GetGuideRect(0, 0, 9, 9);
        for (int i = 0; i < kHandles; ++i) {
            const int* g = kHandleGuides[i];
            m_handles[i] = m_skin.GetGuideRect(g[0], g[1], g[2], g[3]);
        }
        m_centre = m_skin.GetGuideRect(3, 3, 6, 6);
    } else {
        // No picture (or a size below it): a plain border, so that the frame still works.
        RECT all{0, 0, width, height};
        CBrush purple(RGB(163, 0, 187));
        ::FillRect(*m_backBuffer, &all, purple.get());
        m_area = RECT{Border(), Border(), width - Border(), height - Border()};
        for (RECT& handle : m_handles) handle = RECT{};
        m_centre = RECT{};
    }
    CRgn region(::CreateRectRgn(0, 0, width, height));
    CRgn hole(::CreateRectRgnIndirect(&m_area));
    ::CombineRgn(region.get(), region.get(), hole.get(), RGN_DIFF);
    for (const RECT& handle : m_handles) {
        if (::IsRectEmpty(&handle)) continue;
        CRgn part(::CreateRectRgnIndirect(&handle));
        ::CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
    }
    AddSymbolPixels(region.get());
    SetWindowRgn(std::move(region), TRUE);
    m_recordingLook = false;
    InvalidateRect(nullptr, FALSE);
}

void CGifSnapDlg::AddSymbolPixels(HRGN region) const {
    if (::IsRectEmpty(&m_centre)) return;
    // The right and bottom edges belong to the symbol's pixels too.
    const int width = m_centre.right - m_centre.left + 1;
    const int height = m_centre.bottom - m_centre.top + 1;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    CBitmap section(::CreateDIBSection(*m_backBuffer, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits) return;
    {
        CMemoryDC copy(m_backBuffer->get());
        CSelectObject select(copy, section.get());
        ::BitBlt(copy, 0, 0, width, height, *m_backBuffer, m_centre.left, m_centre.top, SRCCOPY);
        ::GdiFlush();
    }
    const auto* pixels = static_cast<const uint32_t*>(bits);
    const uint32_t key = 0x00FF00FFu;  // blue, green, red = 255, 0, 255
    for (int y = 0; y < height; ++y) {
        // Runs of visible pixels become one rectangle each: the same region as pixel by pixel.
        int x = 0;
        while (x < width) {
            while (x < width && (pixels[y * width + x] & 0x00FFFFFFu) == key) ++x;
            const int start = x;
            while (x < width && (pixels[y * width + x] & 0x00FFFFFFu) != key) ++x;
            if (x > start) {
                CRgn run(::CreateRectRgn(m_centre.left + start, m_centre.top + y, m_centre.left + x,
                                         m_centre.top + y + 1));
                ::CombineRgn(region, region, run.get(), RGN_OR);
            }
        }
    }
}

void CGifSnapDlg::DrawRecordingLook(int width, int height) {
    if (!m_backBuffer) return;
    RECT all{0, 0, width, height};
    CBrush yellow(kRecordingColour);
    ::FillRect(*m_backBuffer, &all, yellow.get());
    m_area = RECT{Border(), Border(), width - Border(), height - Border()};
    CRgn region(::CreateRectRgn(0, 0, width, height));
    CRgn hole(::CreateRectRgnIndirect(&m_area));
    ::CombineRgn(region.get(), region.get(), hole.get(), RGN_DIFF);
    SetWindowRgn(std::move(region), TRUE);
    m_recordingLook = true;
    InvalidateRect(nullptr, FALSE);
}

void CGifSnapDlg::ShowRecordingLook() {
    RECT client;
    GetClientRect(&client);
    DrawRecordingLook(client.right, client.bottom);
    UpdateWindow();
}

void CGifSnapDlg::ShowIdleLook() {
    RECT client;
    GetClientRect(&client);
    DrawIdleLook(client.right, client.bottom);
    UpdateWindow();
}

int CGifSnapDlg::PartAt(POINT client) const {
    for (int i = 0; i < kHandles; ++i) {
        if (!m_recordingLook && ::PtInRect(&m_handles[i], client)) return i;
    }
    RECT window;
    GetClientRect(&window);
    return ::PtInRect(&window, client) ? Frame : -1;
}

LRESULT CGifSnapDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
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
    case WM_MOUSEMOVE:
        OnMouseMove(MousePoint(lParam));
        break;
    case WM_SETCURSOR:
        // The cursor chosen on the last mouse move stays.
        return TRUE;
    case WM_LBUTTONDOWN:
        OnLButtonDown(MousePoint(lParam));
        break;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_SIZE: {
        const LRESULT result = CDialogEx::WindowProc(msg, wParam, lParam);
        OnSize();
        return result;
    }
    case WM_GIF_CAPTURE_FRAME:
        return OnCaptureFrame(wParam, lParam);
    default:
        break;
    }
    return CDialogEx::WindowProc(msg, wParam, lParam);
}

void CGifSnapDlg::OnPaint() {
    CPaintDC paint(m_hWnd);
    PaintTo(paint);
}

void CGifSnapDlg::PaintTo(HDC dc) const {
    RECT client;
    GetClientRect(&client);
    if (m_backBuffer) ::BitBlt(dc, 0, 0, client.right, client.bottom, *m_backBuffer, 0, 0, SRCCOPY);
}

void CGifSnapDlg::OnDpiChanged(UINT dpi) {
    if (dpi == 0 || !m_initialised) return;
    // The area stays where it is, in physical pixels (also while recording); the border and the
    // handles take the new scale around it.
    const RECT area = GetCaptureRect();
    m_dpi = dpi;
    m_skin.LoadPng(IDB_RECORD_FRAME, m_dpi);
    m_initialised = false;  // one drawing below, not one per size change
    SetCaptureRect(area);
    m_initialised = true;
    OnSize();
}

void CGifSnapDlg::OnMouseMove(POINT point) {
    const int part = PartAt(point);
    m_hover = part < 0 ? Frame : part;
    ::SetCursor(::LoadCursorW(nullptr, kCursors[m_hover]));
}

void CGifSnapDlg::OnLButtonDown(POINT point) {
    // The part is taken from the click itself too: a click needs no mouse move before it.
    const int part = PartAt(point);
    if (part >= 0) m_hover = part;
    if (m_hover < 0) return;
    POINT screen = point;
    ClientToScreen(&screen);
    // The system's own move and size loop drags the frame.
    PostMessage(WM_NCLBUTTONDOWN, kHitCodes[m_hover], MAKELPARAM(screen.x, screen.y));
}

void CGifSnapDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
    info->ptMinTrackSize.x = MinimumSize();
    info->ptMinTrackSize.y = MinimumSize();
}

void CGifSnapDlg::OnSize() {
    if (!m_initialised) return;
    RECT client;
    GetClientRect(&client);
    if (m_recordingLook) {
        DrawRecordingLook(client.right, client.bottom);
    } else {
        DrawIdleLook(client.right, client.bottom);
    }
    if (m_notify) ::PostMessageW(m_notify, WM_GIF_AREA_CHANGED, 0, 0);
}

LRESULT CGifSnapDlg::OnCaptureFrame(WPARAM serial, LPARAM request) {
    auto* hand = reinterpret_cast<CGifCaptureRequest*>(request);
    if (!hand) return 0;
    const RECT area = GetCaptureRect();
    hand->Fill(serial, [this, &area](CGifFrameImage& frame, const GifCaptureOptions& options) {
        const BOOL grabbed = m_grab ? m_grab(frame, area, options) : frame.CaptureArea(area, options);
        if (grabbed || frame.IsNull()) return true;  // no bitmap at all: the store stops for that
        // The copy from the screen failed (a locked or secure desktop): the bitmap holds pixels
        // nobody drew, which must never become a frame.
        frame.Destroy();
        return false;
    });
    return 0;
}
