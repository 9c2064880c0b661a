// The window-procedure thunk and the start-up error path.
#include "forms/window.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace kakehashi {
namespace {

// The tool's windows by handle. Win32: a window's user data and properties can be written
// by any program on the desktop, so the object of a window is never read from the window:
// it is found here. All of them are made and used on the window thread.
std::vector<std::pair<HWND, Window*>>& Windows() {
  static std::vector<std::pair<HWND, Window*>> windows;
  return windows;
}

// The window that Create is making: its first message names its handle.
Window* being_created = nullptr;

Window* ObjectOf(HWND hwnd) {
  for (const auto& [handle, object] : Windows()) {
    if (handle == hwnd) return object;
  }
  return nullptr;
}

void Forget(HWND hwnd) {
  auto& windows = Windows();
  windows.erase(std::remove_if(windows.begin(), windows.end(), [hwnd](const auto& w) { return w.first == hwnd; }),
                windows.end());
}

}  // namespace

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
    Forget(hwnd_);
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
  being_created = this;
  const HWND created = CreateWindowExW(ex_style, class_name, title, style, bounds.left, bounds.top,
                                       bounds.right - bounds.left, bounds.bottom - bounds.top, parent, menu_or_id,
                                       instance, nullptr);
  being_created = nullptr;
  Check(created != nullptr, "CreateWindowExW");
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

LRESULT CALLBACK Window::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = ObjectOf(hwnd);
  if (!self && being_created) {
    // The first message of the window being made (WM_GETMINMAXINFO or WM_NCCREATE).
    self = std::exchange(being_created, nullptr);
    self->hwnd_ = hwnd;
    Windows().emplace_back(hwnd, self);
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
    Forget(hwnd);
    try {
      self->OnFinalMessage();
    } catch (...) {
    }
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace kakehashi
