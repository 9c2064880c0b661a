// Drives Win32 programs from another process the way a user would: start them, find their
// windows and controls, read and change controls, press keys, close, and never leave a
// process behind. Every wait is bounded. Windows only: the Wine UI tests, the demonstration
// and the benchmarks use it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kakehashi::ui {

// Timeout of the bounded waits when a test names none. Generous: Wine is slow to start.
inline constexpr int kDefaultTimeoutMs = 10000;

// Polls `condition` every ~20 ms until it holds or `timeout_ms` has passed; its last value.
bool WaitUntil(const std::function<bool()>& condition, int timeout_ms = kDefaultTimeoutMs);

// A path as Wine accepts it: a Unix path "/a/b" becomes "Z:\a\b"; others stay as they are.
std::wstring WindowsPath(std::string_view path);

// The full Windows path of kakehashi.exe in this build tree.
std::wstring KakehashiExePath();

// A started program. The destructor terminates it (by its own handle) if it still runs,
// so a failing test leaves no process behind.
class Process {
 public:
  // Starts `exe_path` with `arguments` (may be empty); check started() afterwards.
  explicit Process(const std::wstring& exe_path, const std::wstring& arguments = L"");
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  bool Running() const;
  // Waits until the process has ended; false on timeout.
  bool WaitForExit(int timeout_ms = kDefaultTimeoutMs) const;
  // The exit code, or STILL_ACTIVE.
  DWORD ExitCode() const;
  void Terminate();
  // The visible top-level window of this process whose caption is exactly `caption`,
  // waited for; nullptr on timeout.
  HWND WaitForWindow(std::wstring_view caption, int timeout_ms = kDefaultTimeoutMs) const;
  // The visible top-level window of this process whose class name is exactly `class_name`,
  // waited for; nullptr on timeout.
  HWND WaitForWindowOfClass(std::wstring_view class_name, int timeout_ms = kDefaultTimeoutMs) const;
  // The top-level windows of this process (visible or not).
  std::vector<HWND> TopLevelWindows() const;

 private:
  HWND WaitForTopWindow(const std::function<bool(HWND)>& matches, int timeout_ms) const;

  PROCESS_INFORMATION info_{};
};

// Top-level window by exact caption (FindWindowW); nullptr if none.
HWND FindTopWindow(std::wstring_view caption);

// Descendants of `parent` (children, grandchildren, ...) in Z order, depth first.
std::vector<HWND> Descendants(HWND parent);
// The first descendant with control id `id`; nullptr if none.
HWND FindControl(HWND parent, int id);
// The `index`-th descendant (0 based) of class `class_name` (compared without case).
HWND FindControlByClass(HWND parent, std::wstring_view class_name, int index = 0);
// The first descendant whose text is exactly `text`.
HWND FindControlByText(HWND parent, std::wstring_view text);

std::wstring Text(HWND window);                 // WM_GETTEXT
void SetText(HWND window, std::wstring_view text);  // WM_SETTEXT (an edit sends EN_CHANGE)
std::wstring ClassName(HWND window);

// BM_CLICK: the button's owner sees BN_CLICKED as from a mouse click. Returns when the
// click has been handled.
void Click(HWND button);
// The same click, posted: returns at once, while the program handles it (a send).
void ClickAsync(HWND button);
// BM_GETCHECK: 0, 1 or 2.
int CheckState(HWND button);
// IsWindowVisible: the window and all its ancestors are visible.
bool Visible(HWND window);

// The menu command `id` posted as WM_COMMAND to `window` (another process's menu cannot
// be read under Wine, so tests choose items by their known ids).
void PostMenuCommand(HWND window, int id);

// Brings `window` to the front (SetForegroundWindow) and waits until it is in front.
bool BringToFront(HWND window, int timeout_ms = kDefaultTimeoutMs);
// Gives the keyboard focus to `control` in another process (attaches to its input
// state for the call) and waits until it has it.
bool Focus(HWND control, int timeout_ms = kDefaultTimeoutMs);
// The window with the keyboard focus in the GUI thread that owns `window`.
HWND FocusedWindow(HWND window);

// Presses and releases `vk` through SendInput (the window in front receives it), with
// Shift and/or Ctrl held if asked. Does not wait for the key to be handled.
void PressKey(WORD vk, bool shift = false, bool ctrl = false);
// Types `text` through SendInput as Unicode characters.
void TypeText(std::wstring_view text);

// The centre of `window` in screen coordinates.
POINT CentreOf(HWND window);
// Moves the mouse pointer to `screen` through SendInput and waits until it is there (to
// a pixel); false on timeout.
bool MoveMouse(POINT screen, int timeout_ms = 1000);
// Presses (`down`) or releases the left mouse button with the pointer at `screen`, in one
// event. Wine: a press sent alone, right after a move, now and then went to the window
// under the pointer's place before the move.
void LeftButtonAt(POINT screen, bool down);
// Drags as a user does: the left button pressed at `from`, the pointer moved to `to` in
// `steps` even steps with a pause after each, and the button released there.
void DragMouse(POINT from, POINT to, int steps = 10);

// Sends WM_CLOSE (as the close box does) without waiting for it to be handled.
void Close(HWND window);
// Waits until `window` no longer exists.
bool WaitForGone(HWND window, int timeout_ms = kDefaultTimeoutMs);

// The window rectangle of `control` in client coordinates of `parent`.
RECT RectInParent(HWND control, HWND parent);
// The size of the client area.
SIZE ClientSize(HWND window);

}  // namespace kakehashi::ui
