#include "CMonitorSelectDlg.h"
#include <algorithm>
#include <cstring>
#include "DeviceContext.h"
#include "Dpi.h"
#include "Dib.h"
#include "MessageArgs.h"
#include "WindowMessages.h"
#include "resource.h"

namespace {
// The label's size at 100 %; each monitor's is drawn at that monitor's scale.
constexpr int kLabelWidth = 128;
constexpr int kLabelHeight = 32;
const COLORREF kTransparent = RGB(0, 0, 0);

bool IsSwallowedKey(const MSG& msg) {
    return msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
}

// The label drawn into a 32-bit DIB so that its pixels can be read back in one go: the device
// name after its last backslash in blue, centred, in a red one-pixel frame, on black; at a DPI,
// in the system's message font for it.
HBITMAP DrawLabel(const std::wstring& deviceName, UINT dpi, SIZE size, uint32_t** pixels) {
    BITMAPINFO info = TopDownDib32(size.cx, size.cy);
    void* bits = nullptr;
    HBITMAP label = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!label) return nullptr;
    std::memset(bits, 0, static_cast<size_t>(size.cx) * size.cy * 4);  // black

    size_t slash = deviceName.find_last_of(L'\\');
    std::wstring text = slash == std::wstring::npos ? deviceName : deviceName.substr(slash + 1);
    NONCLIENTMETRICSW metrics{};
    CFont font;
    if (NonClientMetricsForDpi(metrics, dpi)) font.CreateFontIndirect(metrics.lfMessageFont);
    CMemoryDC dc(nullptr);
    {
        CSelectObject selectBitmap(dc, label);
        CSelectObject selectFont(dc, font ? static_cast<HGDIOBJ>(font.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetTextColor(dc, RGB(0, 0, 255));
        ::SetBkMode(dc, TRANSPARENT);
        RECT textRect{0, ScaleToDpi(6, dpi), size.cx, size.cy};
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_CENTER);
        CPen red(PS_SOLID, std::max(1, ScaleToDpi(1, dpi)), RGB(255, 0, 0));
        CSelectObject selectPen(dc, red);
        // The pen is centred on the lines: the frame keeps inside the label.
        const int inset = (std::max(1, ScaleToDpi(1, dpi)) - 1) / 2;
        ::MoveToEx(dc, inset, inset, nullptr);
        ::LineTo(dc, size.cx - 1 - inset, inset);
        ::LineTo(dc, size.cx - 1 - inset, size.cy - 1 - inset);
        ::LineTo(dc, inset, size.cy - 1 - inset);
        ::LineTo(dc, inset, inset);
    }
    ::GdiFlush();
    *pixels = static_cast<uint32_t*>(bits);
    return label;
}

// Where the label is black the cursor is transparent (mask white, colour black); elsewhere the
// mask is black and the colour keeps the label's pixel.
CUniqueCursor CursorFromLabel(HBITMAP label, SIZE size, const uint32_t* pixels) {
    const int maskStride = ((size.cx + 15) / 16) * 2;  // monochrome rows are WORD-aligned
    std::vector<BYTE> mask(static_cast<size_t>(maskStride) * size.cy, 0);
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            uint32_t p = pixels[y * size.cx + x] & 0xFFFFFF;
            COLORREF color = RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
            if (color == kTransparent) mask[static_cast<size_t>(y) * maskStride + x / 8] |= 0x80 >> (x % 8);
        }
    }
    CBitmap maskBitmap(::CreateBitmap(size.cx, size.cy, 1, 1, mask.data()));
    ICONINFO icon{};
    icon.fIcon = FALSE;
    icon.xHotspot = 0;
    icon.yHotspot = 0;
    icon.hbmMask = maskBitmap;
    icon.hbmColor = label;
    return CUniqueCursor(reinterpret_cast<HCURSOR>(::CreateIconIndirect(&icon)));
}
}  // namespace

CMonitorSelectDlg::CMonitorSelectDlg(int mode, const CMonitors* monitors, CWnd* parent)
    : CDialog(IDD_POPUP, parent), m_mode(mode), m_monitors(monitors) {}

CMonitorSelectDlg::~CMonitorSelectDlg() {
    if (m_hWnd) DestroyWindow();
}

BOOL CMonitorSelectDlg::CreateAndShow() {
    if (!Create()) return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

HCURSOR CMonitorSelectDlg::GetMonitorCursor(int index) const {
    return index >= 0 && index < static_cast<int>(m_cursors.size()) ? m_cursors[static_cast<size_t>(index)].get()
                                                                     : nullptr;
}

const CMonitor* CMonitorSelectDlg::MonitorAt(POINT screenPoint) const {
    return m_monitors ? m_monitors->MonitorFromPoint(screenPoint.x, screenPoint.y) : nullptr;
}

BOOL CMonitorSelectDlg::OnInitDialog() {
    KeepDialogLayoutOnDpiChange(m_hWnd);
    ModifyStyleEx(0, WS_EX_LAYERED);
    RECT all = m_monitors ? m_monitors->GetUnionRect() : RECT{};
    // One extra pixel to the left and above, so every monitor lies wholly under the veil.
    SetWindowPos(nullptr, all.left - 1, all.top - 1, all.right - all.left + 1, all.bottom - all.top + 1,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetLayeredWindowAttributes(m_hWnd, 0, kVeilAlpha, LWA_ALPHA);
    BuildMonitorCursors();
    return TRUE;
}

void CMonitorSelectDlg::BuildMonitorCursors() {
    const int count = m_monitors ? m_monitors->GetCount() : 0;
    for (int i = 0; i < count; ++i) {
        std::wstring name;
        m_monitors->GetMonitor(i)->GetDeviceName(name);
        RECT area{};
        m_monitors->GetMonitor(i)->GetMonitorRect(area);
        const UINT dpi = MonitorDpiForRect(area);
        const SIZE size{ScaleToDpi(kLabelWidth, dpi), ScaleToDpi(kLabelHeight, dpi)};
        uint32_t* pixels = nullptr;
        CBitmap label(DrawLabel(name, dpi, size, &pixels));
        m_cursors.push_back(label ? CursorFromLabel(label, size, pixels) : CUniqueCursor());
        m_labels.push_back(std::move(label));
    }
}

BOOL CMonitorSelectDlg::PreTranslateMessage(MSG* msg) {
    return IsSwallowedKey(*msg);
}

LRESULT CMonitorSelectDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_SETCURSOR:
        return OnSetCursor();
    case WM_DPICHANGED:
        // The veil covers every monitor in physical pixels at every scale: it stays as it is.
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(MousePoint(lParam));
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;
        break;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}

BOOL CMonitorSelectDlg::OnEraseBkgnd(HDC dc) {
    RECT client;
    GetClientRect(&client);
    CSelectObject select(dc, ::GetStockObject(WHITE_BRUSH));
    ::PatBlt(dc, 0, 0, client.right, client.bottom, PATCOPY);
    return TRUE;
}

BOOL CMonitorSelectDlg::OnSetCursor() {
    POINT pointer;
    ::GetCursorPos(&pointer);
    const CMonitor* monitor = MonitorAt(pointer);
    // Over the one-pixel margin outside every monitor the arrow shows.
    HCURSOR cursor = monitor ? GetMonitorCursor(m_monitors->IndexOf(monitor)) : nullptr;
    ::SetCursor(cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW));
    return TRUE;
}

void CMonitorSelectDlg::OnLButtonDown(POINT clientPoint) {
    POINT screen = clientPoint;
    ::ClientToScreen(m_hWnd, &screen);
    const CMonitor* monitor = MonitorAt(screen);
    if (m_pParentWnd)
        m_pParentWnd->SendMessage(WM_MONITOR_SELECTED, reinterpret_cast<WPARAM>(monitor),
                                  reinterpret_cast<LPARAM>(this));
}
