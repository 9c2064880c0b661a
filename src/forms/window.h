// The base of the tool's own windows: one static window procedure that finds the object of
// its window by the handle and forwards every message to it; no exception crosses it.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace kakehashi {

// A platform call failed while a window was being built. what() names the call.
class StartupError : public std::runtime_error {
 public:
  StartupError(const char* call, DWORD error);
  DWORD error() const { return error_; }
  // "CALL failed (error N)" as a wide string for the user.
  std::wstring Describe() const;

 private:
  DWORD error_;
};

// Throws StartupError naming `call` with GetLastError() when `ok` is false.
void Check(bool ok, const char* call);

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }

  // Registers a window class that uses this procedure (once per class name).
  static void RegisterClassOnce(HINSTANCE instance, const wchar_t* class_name, HBRUSH background, HICON icon,
                                UINT class_style = 0);

 protected:
  // Creates the window; throws StartupError when it cannot.
  void Create(DWORD ex_style, const wchar_t* class_name, const wchar_t* title, DWORD style, RECT bounds,
              HWND parent, HMENU menu_or_id, HINSTANCE instance);

  // One message. The default passes it to DefWindowProcW.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Called when HandleMessage threw; the message then gets DefWindowProcW's answer.
  virtual void OnException() {}
  // The last message of the window; hwnd() is still valid during the call.
  virtual void OnFinalMessage() {}

  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
};

}  // namespace kakehashi
