// Creation, placement, DPI changes and focus handling shared by the top-level windows.
#include "forms/form_window.h"

#include "platform/win32/win32_dpi.h"

namespace kakehashi {

void OpenWindows::Closed() {
  if (--open_ <= 0) PostQuitMessage(0);
}

void FormWindow::Build(const FormSpec& form, HINSTANCE instance, HMENU menu) {
  form_ = &form;
  const HICON icon = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  RegisterClassOnce(instance, form.class_name, GetSysColorBrush(COLOR_BTNFACE), icon);
  // Win32: WS_CLIPCHILDREN keeps the window's own background from being painted over
  // the controls, which would flicker.
  const DWORD style = form.style | WS_CLIPCHILDREN;
  const DWORD ex_style = form.ex_style | WS_EX_CONTROLPARENT;
  // The window is made in its place and size for the system's DPI: one move less at start.
  // A window that opens at another DPI is placed again.
  const UINT system_dpi = DpiFunctions::ScreenDpi();
  const POINT origin{0, 0};
  Create(ex_style, form.class_name, form.caption, style,
         Placement(system_dpi, style, menu != nullptr, ex_style, MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY)),
         nullptr, menu, instance);
  open_windows_.Opened();
  counted_ = true;
  dpi_ = SystemDpiFunctions().WindowDpi(hwnd());
  controls_.Create(hwnd(), form.table, instance, dpi_);
  if (dpi_ != system_dpi) Place();
}

// The window's outer rectangle for the client size of the form at `dpi`: centred on
// `monitor`, or with the client area's top left at the form's point.
RECT FormWindow::Placement(UINT dpi, DWORD style, bool has_menu, DWORD ex_style, HMONITOR monitor) const {
  RECT r{0, 0, TwipsToPixels(form_->client_width, dpi), TwipsToPixels(form_->client_height, dpi)};
  SystemDpiFunctions().AdjustWindowRect(r, style, has_menu, ex_style, dpi);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  int x = 0;
  int y = 0;
  if (form_->centred) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    x = info.rcMonitor.left + (info.rcMonitor.right - info.rcMonitor.left - width) / 2;
    y = info.rcMonitor.top + (info.rcMonitor.bottom - info.rcMonitor.top - height) / 2;
  } else {
    // The client area's top left at the given point: the frame lies outside it.
    x = TwipsToPixels(form_->client_left, dpi) + r.left;
    y = TwipsToPixels(form_->client_top, dpi) + r.top;
  }
  return RECT{x, y, x + width, y + height};
}

void FormWindow::Place() {
  const RECT r = Placement(dpi_, static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE)), GetMenu(hwnd()) != nullptr,
                           static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE)),
                           MonitorFromWindow(hwnd(), MONITOR_DEFAULTTOPRIMARY));
  SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::ShowAndFocus(int show_command) {
  ShowWindow(hwnd(), show_command);
  SetForegroundWindow(hwnd());
  last_focus_ = control(form_->first_focus);
  SetFocus(last_focus_);
}

LRESULT FormWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: return on_ctl_color(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_ACTIVATE: on_activate(wp); return 0;
    case WM_SETFOCUS: on_set_focus(); return 0;
    case WM_DPICHANGED: on_dpi_changed(HIWORD(wp), lp); return 0;
    case DM_GETDEFID: return MAKELRESULT(IdNumber(form_->default_button), DC_HASDEFID);
    default: return FormMessage(msg, wp, lp);
  }
}

void FormWindow::OnFinalMessage() {
  if (counted_) {
    counted_ = false;
    open_windows_.Closed();
  }
}

LRESULT FormWindow::on_ctl_color(UINT msg, HDC dc, HWND control) {
  if (HBRUSH brush = controls_.ColourFor(control, dc)) return reinterpret_cast<LRESULT>(brush);
  return DefaultProc(msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

void FormWindow::on_activate(WPARAM state) {
  if (LOWORD(state) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd(), focus)) last_focus_ = focus;
  }
}

HWND FormWindow::FocusedControl() const {
  HWND focus = GetFocus();
  return focus && IsChild(hwnd(), focus) ? focus : last_focus_;
}

void FormWindow::FocusControl(HWND control) {
  last_focus_ = control;
  if (GetActiveWindow() == hwnd()) SetFocus(control);
}

void FormWindow::on_set_focus() {
  if (last_focus_ && IsWindow(last_focus_) && IsChild(hwnd(), last_focus_)) SetFocus(last_focus_);
}

// Win32: the system sends WM_DPICHANGED on the window's own thread once the window's DPI
// has changed; any program can send or post it with any numbers. Where the window's DPI can
// be asked (GetDpiForWindow), only a real change is acted on, and only then is lParam read
// as the rectangle the system suggests; elsewhere the window keeps its place.
void FormWindow::on_dpi_changed(UINT dpi, LPARAM suggested) {
  const DpiFunctions& functions = SystemDpiFunctions();
  const bool known = functions.get_dpi_for_window != nullptr;
  if (dpi == dpi_ || (known && dpi != functions.WindowDpi(hwnd()))) return;
  dpi_ = dpi;
  controls_.Layout(dpi_);
  RECT r{0, 0, TwipsToPixels(form_->client_width, dpi_), TwipsToPixels(form_->client_height, dpi_)};
  functions.AdjustWindowRect(r, static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE)), GetMenu(hwnd()) != nullptr,
                             static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE)), dpi_);
  RECT at{};
  GetWindowRect(hwnd(), &at);
  if (known && suggested) at = *reinterpret_cast<const RECT*>(suggested);
  SetWindowPos(hwnd(), nullptr, at.left, at.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kakehashi
