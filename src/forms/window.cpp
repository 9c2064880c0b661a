// The window-procedure thunk and the start-up error path.
#include "forms/window.h"

#include <string>

namespace kakehashi {

StartupError::StartupError(const char* call, DWORD error)
    : std::runtime_error(std::string(call) + " failed (error " + std::to_string(error) + ")"), error_(error) {}

std::wstring StartupError::Describe() const {
  const std::string s = what();
  return std::wstring(s.begin(), s.end());  // the text is ASCII
}

void Check(bool ok, const char* call) {
  if (!ok) throw StartupError(call, GetLastError());
}

Window::~Window() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Window::RegisterClassOnce(HINSTANCE instance, const wchar_t* class_name, HBRUSH background, HICON icon,
                               UINT class_style) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, class_name, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = class_style;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = background;
  wc.lpszClassName = class_name;
  Check(RegisterClassExW(&wc) != 0, "RegisterClassExW");
}

void Window::Create(DWORD ex_style, const wchar_t* class_name, const wchar_t* title, DWORD style, RECT bounds,
                    HWND parent, HMENU menu_or_id, HINSTANCE instance) {
  const HWND created = CreateWindowExW(ex_style, class_name, title, style, bounds.left, bounds.top,
                                       bounds.right - bounds.left, bounds.bottom - bounds.top, parent, menu_or_id,
                                       instance, this);
  Check(created != nullptr, "CreateWindowExW");
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

LRESULT CALLBACK Window::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    // Only the window's first WM_NCCREATE names its object. Another program can send the
    // message again with any pointer in it (Win32 copies the structure, not what it points
    // to); that one is not acted on.
    if (self) return TRUE;
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);

  LRESULT result = 0;
  try {
    result = self->HandleMessage(msg, wp, lp);
  } catch (...) {
    // Win32: an exception unwinding through USER32 is undefined behaviour.
    try {
      self->OnException();
    } catch (...) {
    }
    result = DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    try {
      self->OnFinalMessage();
    } catch (...) {
    }
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace kakehashi
