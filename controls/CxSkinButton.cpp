#include "CxSkinButton.h"
#include <algorithm>
#include "DeviceContext.h"
#include "MessageArgs.h"

namespace {
// The size of a bitmap (0 x 0 for none).
SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

void FillFace(HDC dc, const RECT& r) {
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
}
}  // namespace

BOOL CxSkinButton::SubclassWindow(HWND hwnd) {
    if (!CButton::SubclassWindow(hwnd)) return FALSE;
    const UINT style = static_cast<UINT>(GetStyle() & 0xFFFF);
    if ((style & BS_AUTOCHECKBOX) == BS_AUTOCHECKBOX) {
        m_kind = CheckBox;
    } else if ((style & BS_AUTORADIOBUTTON) == BS_AUTORADIOBUTTON) {
        m_kind = RadioButton;
    } else {
        m_kind = PushButton;
    }
    ModifyStyle(0, BS_OWNERDRAW);
    m_dpi = WindowDpi(m_hWnd);
    Invalidate();
    return TRUE;
}

void CxSkinButton::SetDpi(UINT dpi) {
    if (dpi == 0 || dpi == m_dpi) return;
    m_dpi = dpi;
    if (m_skinId) LoadSkin(m_skinId);
}

BOOL CxSkinButton::LoadSkin(UINT bitmapId) {
    for (CBitmap* picture : {&m_normal, &m_pressed, &m_disabled, &m_mask, &m_hover, &m_heldPicture}) {
        picture->DeleteObject();
    }
    m_skinId = bitmapId;
    CBitmap skin = LoadBitmapForDpi(bitmapId, m_dpi, 4);
    if (!skin) return FALSE;
    const SIZE size = BitmapSize(skin);
    const int fw = size.cx / 4, fh = size.cy;
    if (fw <= 0 || fh <= 0) return FALSE;
    CClientDC buttonDC(m_hWnd);
    CMemoryDC source(buttonDC), target(buttonDC);
    CSelectObject selectSource(source, skin);
    CBitmap* frames[] = {&m_normal, &m_pressed, &m_hover, &m_heldPicture};
    for (int k = 0; k < 4; ++k) {
        if (!frames[k]->CreateCompatibleBitmap(buttonDC, fw, fh)) return FALSE;
        CSelectObject selectTarget(target, *frames[k]);
        ::BitBlt(target, 0, 0, fw, fh, source, k * fw, 0, SRCCOPY);
    }
    m_drawMode = DrawCopy;
    m_border = FALSE;
    m_focusMargin = 0;
    SetWindowPos(nullptr, 0, 0, fw, fh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
    return TRUE;
}

LRESULT CxSkinButton::OnSetCheck(WPARAM check) {
    m_on = check != 0 && m_kind != PushButton;
    if (m_on && m_kind == RadioButton) {
        // Tell the rest of the group. Controls that the walk skips (hidden or disabled ones,
        // this button included) must not keep it going round for ever.
        HWND parent = GetParent();
        HWND first = ::GetNextDlgGroupItem(parent, m_hWnd, FALSE);
        for (HWND item = first; item && item != m_hWnd;) {
            ::PostMessageW(item, WM_SKIN_RADIO_OFF, 0, 0);
            item = ::GetNextDlgGroupItem(parent, item, FALSE);
            if (item == first) break;
        }
    }
    Invalidate();
    return 0;
}

void CxSkinButton::OnLButtonDown() {
    if (m_tracking) {
        TRACKMOUSEEVENT track{sizeof(track), TME_CANCEL | TME_LEAVE, m_hWnd, 0};
        if (::TrackMouseEvent(&track)) m_tracking = false;
    }
    Default();
    m_held = true;
    Invalidate(TRUE);
}

void CxSkinButton::OnLButtonUp(POINT point) {
    if (m_kind == CheckBox || m_kind == RadioButton) {
        POINT screen = point;
        ClientToScreen(&screen);
        if (PointerOverButton(screen)) {
            if (m_kind == CheckBox) {
                m_on = !m_on;
            } else {
                SendMessage(BM_SETCHECK, 1);
            }
        }
    }
    m_held = false;
    // Released off the button nothing else repaints it, and it would keep the held picture.
    Invalidate();
}

void CxSkinButton::OnMouseMove(POINT point) {
    if (m_held && ::GetCapture() == m_hWnd) {
        POINT screen = point;
        ClientToScreen(&screen);
        const bool over = PointerOverButton(screen);
        const bool pushed = (GetState() & BST_PUSHED) != 0;
        if (over != pushed) {
            SetState(over);
            Invalidate();
        }
    } else if (!m_tracking) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
        if (::TrackMouseEvent(&track)) {
            m_tracking = true;
            Invalidate();
        }
    }
}

void CxSkinButton::OnKeyDown(WPARAM key, LPARAM flags) {
    // Only the first press of a held Space counts: auto-repeats would flip a check box on and
    // off for as long as the key is held.
    if (key != VK_SPACE || KeyFlagsFromLParam(flags).wasDown) return;
    if (m_kind == CheckBox) {
        m_on = !m_on;
    } else if (m_kind == RadioButton) {
        SendMessage(BM_SETCHECK, 1);
    }
}

LRESULT CxSkinButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        OnLButtonDown();
        return 0;
    case WM_LBUTTONDBLCLK:
        // A double click counts as a second press.
        return SendMessage(WM_LBUTTONDOWN, wParam, lParam);
    case WM_LBUTTONUP:
        OnLButtonUp(MousePoint(lParam));
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(MousePoint(lParam));
        break;
    case WM_MOUSELEAVE:
        m_tracking = false;
        Invalidate();
        return 0;
    case WM_KILLFOCUS:
        if (::GetCapture() == m_hWnd) {
            ::ReleaseCapture();
            m_held = false;
        }
        break;
    case WM_KEYDOWN:
        OnKeyDown(wParam, lParam);
        break;
    case WM_ERASEBKGND:
        return TRUE;
    case BM_SETCHECK:
        return OnSetCheck(wParam);
    case BM_GETCHECK:
        return m_on ? BST_CHECKED : BST_UNCHECKED;
    case WM_SKIN_RADIO_OFF:
        if (m_on) {
            m_on = false;
            Invalidate();
        }
        return 0;
    default:
        break;
    }
    return CButton::WindowProc(msg, wParam, lParam);
}

BOOL CxSkinButton::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (msg != WM_DRAWITEM) return CButton::OnChildNotify(msg, wParam, lParam, result);
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    *result = TRUE;
    return TRUE;
}

void CxSkinButton::DrawItem(const DRAWITEMSTRUCT& item) {
    // While held, the pushed state follows the pointer; changing it draws again.
    POINT pointer{};
    if (m_held && ::GetCapture() == m_hWnd && ::GetCursorPos(&pointer)) {
        const bool over = PointerOverButton(pointer);
        const bool pushed = (GetState() & BST_PUSHED) != 0;
        if (over != pushed) {
            SetState(over);
            return;
        }
    }
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    RECT t = r;
    t.left += m_focusMargin + 2;
    t.right -= m_focusMargin + 2;
    const std::wstring caption = GetWindowText();
    const int savedDC = ::SaveDC(dc);
    ::SetBkMode(dc, TRANSPARENT);
    // The caption is never cut off: wider than its inset rectangle it may take the button's whole
    // width, and wider than that it is drawn smaller.
    FitCaption(dc, caption, r.right - r.left);
    if (m_captionFont) ::SelectObject(dc, m_captionFont);
    SIZE extent{};
    if (::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent) &&
        extent.cx > t.right - t.left) {
        const int spare = std::max<int>(0, (r.right - r.left) - extent.cx) / 2;
        t.left = r.left + spare;
        t.right = r.right - spare;
    }
    auto drawCaption = [&](const RECT& where) {
        RECT box = where;
        ::DrawTextW(dc, caption.c_str(), -1, &box, m_textFormat);
    };

    if (item.itemState & ODS_DISABLED) {
        if (m_disabled) DrawPicture(dc, r, m_disabled); else FillFace(dc, r);
        if (m_border) ::DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_3DHILIGHT));
        if (m_on) ::OffsetRect(&t, 1, 1);
        drawCaption(t);
        ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
        ::OffsetRect(&t, -1, -1);
        drawCaption(t);
        ::RestoreDC(dc, savedDC);
        return;
    }

    if (m_held && !m_on) {
        DrawPicture(dc, r, m_heldPicture);
    } else if ((item.itemState & ODS_SELECTED) || m_on) {
        if (m_pressed) DrawPicture(dc, r, m_pressed); else FillFace(dc, r);
        ::OffsetRect(&t, 1, 1);
        if (m_border) ::DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    } else {
        if (!m_normal) {
            FillFace(dc, r);
        } else if (m_tracking && m_hover) {
            DrawPicture(dc, r, m_hover);
        } else {
            DrawPicture(dc, r, m_normal);
        }
        if (m_border) ::DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    }
    if ((item.itemState & ODS_FOCUS) && m_focusMargin > 0) {
        RECT focus = r;
        ::InflateRect(&focus, -m_focusMargin, -m_focusMargin);
        ::DrawFocusRect(dc, &focus);
    }
    ::SetTextColor(dc, m_textColor);
    drawCaption(t);
    ::RestoreDC(dc, savedDC);
}

void CxSkinButton::FitCaption(HDC dc, const std::wstring& caption, int width) {
    // The dialog's font varies between systems and scales; the button's picture does not.
    m_captionFont.DeleteObject();
    LOGFONTW font{};
    SIZE extent{};
    if (width <= 0 || !::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent) ||
        extent.cx <= width || !::GetObjectW(::GetCurrentObject(dc, OBJ_FONT), sizeof(font), &font)) {
        return;
    }
    CSelectObject keep(dc, ::GetCurrentObject(dc, OBJ_FONT));
    for (int tries = 0; tries < 4 && extent.cx > width; ++tries) {
        font.lfHeight = ::MulDiv(font.lfHeight, width, extent.cx + 1);
        font.lfWidth = 0;
        CFont smaller;
        if (!smaller.CreateFontIndirect(font)) return;
        ::SelectObject(dc, smaller);
        ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        m_captionFont = std::move(smaller);
    }
}

HFONT CxSkinButton::GetCaptionFont() const {
    return m_captionFont ? m_captionFont.get() : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
}

void CxSkinButton::DrawPicture(HDC dc, const RECT& r, HBITMAP picture) const {
    const SIZE size = BitmapSize(picture);
    if (size.cx <= 0 || size.cy <= 0) return;
    const int width = r.right - r.left, height = r.bottom - r.top;
    CMemoryDC source(dc);
    CSelectObject select(source, picture);
    if (m_drawMode == DrawTile) {
        for (int y = r.top; y < r.bottom; y += size.cy) {
            for (int x = r.left; x < r.right; x += size.cx) {
                ::BitBlt(dc, x, y, std::min<int>(size.cx, r.right - x), std::min<int>(size.cy, r.bottom - y),
                         source, 0, 0, SRCCOPY);
            }
        }
        return;
    }
    auto blit = [&](HDC to, int x, int y, HDC from, DWORD rop) {
        if (m_drawMode == DrawStretch) {
            ::StretchBlt(to, x, y, width, height, from, 0, 0, size.cx, size.cy, rop);
        } else {
            ::BitBlt(to, x, y, width, height, from, 0, 0, rop);
        }
    };
    if (m_mask) {
        // Black mask pixels show the picture, white ones the background.
        CMemoryDC work(dc), maskDC(dc);
        CBitmap scratch;
        if (!scratch.CreateCompatibleBitmap(dc, width, height)) return;
        CSelectObject selectWork(work, scratch);
        CSelectObject selectMask(maskDC, m_mask);
        ::BitBlt(work, 0, 0, width, height, dc, r.left, r.top, SRCCOPY);
        blit(work, 0, 0, source, SRCINVERT);
        blit(work, 0, 0, maskDC, SRCAND);
        blit(work, 0, 0, source, SRCINVERT);
        ::BitBlt(dc, r.left, r.top, width, height, work, 0, 0, SRCCOPY);
        return;
    }
    blit(dc, r.left, r.top, source, SRCCOPY);
}
