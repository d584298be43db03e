#pragma once
// Writes a picture as PNG through the system's imaging codecs directly, letting the codec choose
// its row filters. The path through GDI+ asks for no filtering under some systems, which makes
// screen pictures (gradients, flat areas) several times larger and slower to write.
#include <windows.h>
#include <string>
#include "CImage.h"

// S_OK or a failure code (E_OUTOFMEMORY when the rows do not fit in memory); a failure may
// leave a partial file, which the caller removes.
[[nodiscard]] HRESULT WritePng(const CImage& picture, const std::wstring& path);
