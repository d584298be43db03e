#include "CScaledCursor.h"

HCURSOR CScaledCursor::ForDpi(UINT dpi) {
    if (!m_cursor || dpi != m_dpi) {
        const int side = ScaleToDpi(32, dpi);
        m_cursor.reset(static_cast<HCURSOR>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_id),
                                                         IMAGE_CURSOR, side, side, 0)));
        m_dpi = dpi;
    }
    return m_cursor.get();
}

HCURSOR CScaledCursor::AtPointer() {
    POINT pointer{};
    ::GetCursorPos(&pointer);
    return ForDpi(MonitorDpiForRect(RECT{pointer.x, pointer.y, pointer.x + 1, pointer.y + 1}));
}
