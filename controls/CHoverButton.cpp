#include "CHoverButton.h"
#include <commctrl.h>
#include "DeviceContext.h"

namespace {
constexpr UINT_PTR kToolId = 1;

TTTOOLINFOW ToolInfo(HWND button) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = button;
    tool.uId = kToolId;
    return tool;
}

// Fills the rectangle and draws a one-pixel frame just inside it with the current pen.
void FillWithFrame(HDC dc, const RECT& r, HBRUSH brush) {
    ::FillRect(dc, &r, brush);
    ::MoveToEx(dc, r.left, r.top, nullptr);
    ::LineTo(dc, r.right - 1, r.top);
    ::LineTo(dc, r.right - 1, r.bottom - 1);
    ::LineTo(dc, r.left, r.bottom - 1);
    ::LineTo(dc, r.left, r.top);
}
}  // namespace

CHoverButton::CHoverButton()
    : m_pressedBrush(RGB(0, 255, 0)), m_hoverBrush(RGB(255, 0, 0)) {}

BOOL CHoverButton::SubclassWindow(HWND hwnd) {
    if (!CButton::SubclassWindow(hwnd)) return FALSE;
    if ((GetStyle() & BS_TYPEMASK) != BS_OWNERDRAW) ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    m_dpi = WindowDpi(m_hWnd);
    Invalidate();
    return TRUE;
}

BOOL CHoverButton::Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent, UINT id) {
    if (!CButton::Create(text, (style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW, rect, parent, id))
        return FALSE;
    m_dpi = WindowDpi(m_hWnd);
    return TRUE;
}

void CHoverButton::SetDpi(UINT dpi) {
    if (dpi == 0 || dpi == m_dpi) return;
    m_dpi = dpi;
    if (m_pictureId) LoadStateBitmap(m_pictureId, m_strip, m_withDisabled);
    if (m_fontPoints > 0) CreateCaptionFont();
    m_background.DeleteObject();
    Invalidate();
}

bool CHoverButton::LoadStateBitmap(UINT resourceId, bool strip, bool withDisabled) {
    m_pictureId = resourceId;
    m_withDisabled = withDisabled;
    const int states = strip ? (withDisabled ? 4 : 3) : 1;
    // Exact colours when stretched between scales: the transparent colour must stay itself.
    m_picture = LoadBitmapForDpi(resourceId, m_dpi, states, true);
    BITMAP info{};
    if (!m_picture || !::GetObjectW(m_picture, sizeof(info), &info)) {
        m_stateSize = SIZE{0, 0};
        m_states = 0;
        return false;
    }
    m_strip = strip;
    m_states = states;
    m_stateSize = SIZE{info.bmWidth / m_states, info.bmHeight};
    if (strip) {
        SetWindowPos(nullptr, 0, 0, m_stateSize.cx, m_stateSize.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Invalidate();
    return true;
}

void CHoverButton::SetFillColor(COLORREF color, int width, int height) {
    m_fill = color;
    if (width > 0) SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void CHoverButton::SetHighlightBrushes(COLORREF hoverColor, COLORREF pressedColor) {
    m_hoverBrush = CBrush(hoverColor);
    m_pressedBrush = CBrush(pressedColor);
}

void CHoverButton::CreateToolTip() {
    // Creating the tip may send this button messages, which come back here.
    if (m_tooltip.m_hWnd || !m_hWnd || m_creatingTip) return;
    m_creatingTip = true;
    if (m_tooltip.Create(m_hWnd, TTS_ALWAYSTIP)) m_tooltip.SendMessage(TTM_ACTIVATE, FALSE);
    m_creatingTip = false;
}

void CHoverButton::SetTipText(const wchar_t* text, BOOL activate) {
    if (!text) return;
    CreateToolTip();
    if (!m_tooltip.m_hWnd) return;
    // The tool is the button's client rectangle; the button relays its mouse messages.
    TTTOOLINFOW tool = ToolInfo(m_hWnd);
    tool.lpszText = const_cast<wchar_t*>(text);
    if (m_tooltip.SendMessage(TTM_GETTOOLCOUNT) == 0) {
        tool.uFlags = 0;
        GetClientRect(&tool.rect);
        m_tooltip.SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    m_tooltip.SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    m_tooltip.SendMessage(TTM_ACTIVATE, activate);
}

void CHoverButton::SetTextFont(int pointSize, COLORREF captionColor, UINT format, bool underline) {
    m_caption = GetWindowText();
    m_fontPoints = pointSize;
    m_underline = underline;
    CreateCaptionFont();
    m_captionColor = captionColor;
    m_captionFormat = format;
}

void CHoverButton::CreateCaptionFont() {
    LOGFONTW font{};
    font.lfHeight = FontHeightForDpi(m_fontPoints, m_dpi);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfUnderline = m_underline ? TRUE : FALSE;
    font.lfQuality = m_underline ? ANTIALIASED_QUALITY : DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, L"Arial", LF_FACESIZE);
    m_font.CreateFontIndirect(font);
}

void CHoverButton::SetCaption(const std::wstring& text, bool redraw) {
    m_caption = text;
    if (redraw) Invalidate();
}

void CHoverButton::RelayToToolTip(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!m_tooltip.m_hWnd) return;
    const DWORD pos = ::GetMessagePos();
    MSG relayed{m_hWnd, msg, wParam, lParam, static_cast<DWORD>(::GetMessageTime()),
                POINT{static_cast<SHORT>(LOWORD(pos)), static_cast<SHORT>(HIWORD(pos))}};
    m_tooltip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void CHoverButton::OnMouseMove() {
    if (m_tracking) return;
    TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, m_hWnd, 1};
    m_tracking = ::_TrackMouseEvent(&track) != FALSE;
}

void CHoverButton::TakeBackground(int width, int height) {
    HWND parent = GetParent();
    RECT inParent{};
    GetWindowRect(&inParent);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&inParent), 2);
    CClientDC parentDC(parent);
    CMemoryDC memory(parentDC);
    if (!m_background.CreateCompatibleBitmap(parentDC, width, height)) return;
    CSelectObject select(memory, m_background);
    ::BitBlt(memory, 0, 0, width, height, parentDC, inParent.left, inParent.top, SRCCOPY);
    // Over what the screen shows there, what the parent itself draws there (its background and
    // its print), so that a button moved or resized later never takes its own old pixels.
    ::SetViewportOrgEx(memory, -inParent.left, -inParent.top, nullptr);
    ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.get()), 0);
    ::SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
    ::SetViewportOrgEx(memory, 0, 0, nullptr);
}

BOOL CHoverButton::OnEraseBkgnd(HDC dc) {
    RECT rc{};
    GetClientRect(&rc);
    // What lies behind the button, taken again whenever the button moved or changed its size:
    // erases show it where the picture is transparent.
    if (!m_background) TakeBackground(rc.right, rc.bottom);
    if (!m_background) return TRUE;
    CMemoryDC memory(dc);
    CSelectObject select(memory, m_background);
    ::BitBlt(dc, 0, 0, rc.right, rc.bottom, memory, 0, 0, SRCCOPY);
    return TRUE;
}

LRESULT CHoverButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_DESTROY && msg != WM_NCDESTROY) {
        CreateToolTip();
        if ((msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_MOUSELEAVE) RelayToToolTip(msg, wParam, lParam);
    }
    switch (msg) {
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_MOUSEHOVER:
        m_hover = true;
        Invalidate(TRUE);
        return 0;
    case WM_MOUSELEAVE:
        m_tracking = false;
        m_hover = false;
        Invalidate(TRUE);
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_WINDOWPOSCHANGED:
        if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
            m_background.DeleteObject();
        break;
    case WM_SIZE:
        // The tip covers the whole button whatever size it is given after the tip was set.
        if (m_tooltip.m_hWnd) {
            TTTOOLINFOW tool = ToolInfo(m_hWnd);
            GetClientRect(&tool.rect);
            m_tooltip.SendMessage(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
        break;
    case WM_DESTROY:
        m_tooltip.DestroyWindow();
        break;
    default:
        break;
    }
    return CButton::WindowProc(msg, wParam, lParam);
}

BOOL CHoverButton::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (msg != WM_DRAWITEM) return CButton::OnChildNotify(msg, wParam, lParam, result);
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    *result = TRUE;
    return TRUE;
}

void CHoverButton::DrawItem(const DRAWITEMSTRUCT& item) {
    const RECT r = item.rcItem;
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return;
    // Drawn off screen over a copy of what the button shows now (the background snapshot).
    CMemoryDC memory(item.hDC);
    CBitmap buffer;
    if (!buffer.CreateCompatibleBitmap(item.hDC, width, height)) return;
    CSelectObject selectBuffer(memory, buffer);
    ::BitBlt(memory, 0, 0, width, height, item.hDC, r.left, r.top, SRCCOPY);
    const RECT local{0, 0, width, height};
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;

    if (m_fill != kNone) {
        CBrush fill(m_fill);
        ::FillRect(memory, &local, fill);
    } else {
        if (pressed && m_pressedBrush) {
            FillWithFrame(memory, local, m_pressedBrush);
        } else if (m_hover && m_hoverBrush) {
            FillWithFrame(memory, local, m_hoverBrush);
        }
        if (m_picture && m_stateSize.cx > 0) {
            CMemoryDC source(memory.get());
            CSelectObject selectPicture(source, m_picture);
            const int sw = m_stateSize.cx, sh = m_stateSize.cy;
            if (!m_strip) {
                const int x = (width - sw) / 2, y = (height - sh) / 2;
                if (m_transparent != kNone) {
                    ::TransparentBlt(memory, x, y, sw, sh, source, 0, 0, sw, sh, m_transparent);
                } else {
                    ::BitBlt(memory, x, y, sw, sh, source, 0, 0, SRCCOPY);
                }
            } else {
                int state = 0;
                if (pressed) {
                    state = 1;
                } else if (m_hover) {
                    state = 2;
                } else if (m_transparent == kNone && disabled && m_states == 4) {
                    // Three-state strips have no disabled picture to show.
                    state = 3;
                }
                if (m_transparent != kNone) {
                    ::TransparentBlt(memory, 0, 0, sw, sh, source, state * sw, 0, sw, sh, m_transparent);
                } else {
                    ::BitBlt(memory, 0, 0, sw, sh, source, state * sw, 0, SRCCOPY);
                }
            }
        }
        if (!m_caption.empty()) {
            CSelectObject selectFont(memory, m_font ? static_cast<HGDIOBJ>(m_font.get()) : static_cast<HGDIOBJ>(GetFont()));
            ::SetTextColor(memory, m_captionColor);
            ::SetBkMode(memory, TRANSPARENT);
            RECT box = local;
            ::DrawTextW(memory, m_caption.c_str(), -1, &box, m_captionFormat);
        }
    }
    ::BitBlt(item.hDC, r.left, r.top, width, height, memory, 0, 0, SRCCOPY);
}
