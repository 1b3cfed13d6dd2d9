#pragma once

#include "host/win32/windows_api.h"

namespace velbor {

// The dots per inch that a window is drawn at: its monitor's where Windows tells
// each window its own (Windows 10 1607 and later), else the system's.
UINT WindowDpi(HWND window);

// Grows a client rectangle into the window rectangle that holds it at `dpi`.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, UINT dpi);

}  // namespace velbor
