#include "host/win32/window_dpi.h"

#include "host/win32/system_function.h"

namespace velbor {
namespace {

// Before per-monitor awareness, the system's DPI is the one every window has.
UINT SystemDpi() {
  const HDC screen = GetDC(nullptr);
  if (screen == nullptr) return USER_DEFAULT_SCREEN_DPI;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

UINT WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT WINAPI(HWND);
  if (auto* getDpi = SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow")) {
    if (const UINT dpi = getDpi(window); dpi != 0) return dpi;
  }
  return SystemDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, UINT dpi) {
  using AdjustForDpiFunction = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);
  if (auto* adjust =
          SystemFunction<AdjustForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi")) {
    if (adjust(&rect, style, FALSE, 0, dpi)) return;
  }
  // The frame's metrics are then the system's, which match the system DPI that
  // WindowDpi answers there.
  AdjustWindowRectEx(&rect, style, FALSE, 0);
}

}  // namespace velbor
