#pragma once
// A cursor resource at the size for a DPI: the cursor files hold one picture per display scale
// (32, 40, 48 and 64 pixels), and the system takes the one of the size asked for, stretching the
// nearest for a scale between them. Loaded again whenever the DPI asked for changes, as when
// the pointer moves onto a monitor of another scale.
//
//   CScaledCursor knife(IDC_CUT_CURSOR);
//   ::SetCursor(knife.AtPointer());
#include <windows.h>
#include "CUniqueAny.h"
#include "Dpi.h"

class CScaledCursor {
public:
    explicit CScaledCursor(UINT resourceId) : m_id(resourceId) {}

    // The cursor for a DPI (null when the resource is missing).
    HCURSOR ForDpi(UINT dpi);
    // The cursor for the monitor under the pointer.
    HCURSOR AtPointer();

private:
    UINT m_id;
    UINT m_dpi = 0;
    CUniqueCursor m_cursor;
};
