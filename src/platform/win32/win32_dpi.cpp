// Per-monitor DPI functions looked up at run time, with the system DPI as fallback.
#include "platform/win32/win32_dpi.h"

#include "platform/win32/proc_address.h"

namespace kakehashi {

DpiFunctions DpiFunctions::Lookup() {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  DpiFunctions f;
  f.get_dpi_for_window = FindProc<GetDpiForWindowFn>(user32, "GetDpiForWindow");
  f.adjust_window_rect_ex_for_dpi = FindProc<AdjustWindowRectExForDpiFn>(user32, "AdjustWindowRectExForDpi");
  return f;
}

UINT DpiFunctions::WindowDpi(HWND window) const {
  if (get_dpi_for_window) {
    if (const UINT dpi = get_dpi_for_window(window)) return dpi;
  }
  return ScreenDpi();
}

UINT DpiFunctions::ScreenDpi() {
  int dpi = 0;
  if (HDC screen = GetDC(nullptr)) {
    dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void DpiFunctions::AdjustWindowRect(RECT& client, DWORD style, bool has_menu, DWORD ex_style, UINT dpi) const {
  if (adjust_window_rect_ex_for_dpi) {
    adjust_window_rect_ex_for_dpi(&client, style, has_menu, ex_style, dpi);
  } else {
    AdjustWindowRectEx(&client, style, has_menu, ex_style);
  }
}

const DpiFunctions& SystemDpiFunctions() {
  static const DpiFunctions functions = DpiFunctions::Lookup();
  return functions;
}

}  // namespace kakehashi
