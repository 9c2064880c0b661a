// The DPI of a window and the frame around a client area at a DPI, through the per-monitor
// functions where the system has them (Windows 10 1607 and later) and the system-wide DPI
// on older systems. Looked up at run time: a static import stops Windows 7 to 8.1 at load.
#pragma once

#include <windows.h>

namespace kakehashi {

struct DpiFunctions {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

  // The functions user32 of this system exports; missing ones stay null.
  static DpiFunctions Lookup();

  // The window's DPI; without GetDpiForWindow the screen's (LOGPIXELSX), 96 if unknown.
  UINT WindowDpi(HWND window) const;
  // The system's DPI (the primary monitor's at sign-in, where a new window opens); 96 if
  // unknown.
  static UINT ScreenDpi();
  // Grows `client` (a client rectangle) to the window rectangle at `dpi`; without
  // AdjustWindowRectExForDpi the frame is measured at the system DPI.
  void AdjustWindowRect(RECT& client, DWORD style, bool has_menu, DWORD ex_style, UINT dpi) const;

  GetDpiForWindowFn get_dpi_for_window = nullptr;
  AdjustWindowRectExForDpiFn adjust_window_rect_ex_for_dpi = nullptr;
};

// This system's functions, looked up once.
const DpiFunctions& SystemDpiFunctions();

}  // namespace kakehashi
