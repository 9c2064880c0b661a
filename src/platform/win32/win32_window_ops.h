// The window operations on the real platform: user32, kernel32 and shell32 (ANSI variants).
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/win32_clipboard.h"
#include "platform/window_ops.h"

namespace kakehashi {

inline HWND ToHwnd(Handle h) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(h.value)); }

// Win32: HWND values are 32-bit significant even in 64-bit processes.
inline Handle FromHwnd(HWND hwnd) {
  return Handle(static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(hwnd)));
}

class Win32WindowOps final : public WindowOps {
 public:
  Handle GetForegroundWindow() override;
  std::string GetClassNameA(Handle window, int capacity) override;
  std::string GetWindowTextA(Handle window, int capacity) override;
  Handle FindWindowExA(Handle parent, Handle child_after, std::string_view class_name) override;
  std::intptr_t SendMessageA(Handle window, std::uint32_t message, std::uintptr_t wparam,
                             std::intptr_t lparam) override;
  PostResult PostMessageA(Handle window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam) override;
  int GetDlgCtrlID(Handle window) override;
  bool Sleep(std::uint32_t milliseconds, StopRequest& stop) override;
  std::uint64_t TickCount() override;
  bool RunsAboveUs(Handle window) override;
  std::uint32_t AnsiCodePage() override;
  bool IsWindow(Handle window) override;
  std::uint32_t WindowProcessId(Handle window) override;
  std::uint32_t CurrentProcessId() override;
  std::u16string GetWindowTextW(Handle window, int capacity) override;
  bool IsWindowUnicode(Handle window) override;
  std::uint32_t WindowStyle(Handle window) override;
  Handle GetParent(Handle window) override;
  PostResult PostMessageW(Handle window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam) override;
  std::uint32_t EnterScanCode() override;
  void SetForegroundWindow(Handle window) override;
  std::uint32_t TypeUnicode(std::u16string_view units) override;
  std::uint32_t PressEnterKey() override;
  bool ModifierKeysHeld() override;
  bool IsIconic(Handle window) override;
  void RestoreWindow(Handle window) override;
  Handle RootWindow(Handle window) override;
  bool RoundTrip(Handle window, std::uint32_t timeout_ms) override;
  std::optional<std::vector<ClipboardFormat>> SaveClipboard() override;
  bool OfferClipboardText(std::u16string_view text) override;
  std::optional<std::uint32_t> AwaitClipboardRender(std::uint32_t milliseconds,
                                                    const std::function<bool(std::uint32_t process)>& accept) override;
  bool RestoreClipboard(const std::vector<ClipboardFormat>& formats) override;
  std::uint32_t PressPasteKeys() override;
  bool RequestPaint(Handle window) override;
  bool PaintPending(Handle window) override;
  Handle GetDesktopWindow() override;
  void ShellExecuteA(Handle owner, std::string_view operation, std::string_view file,
                     std::string_view parameters, std::string_view directory, int show_command) override;

  // Opens the file at `path` (any characters) with the program the shell has for it.
  void OpenFile(const std::wstring& path);

 private:
  Win32Clipboard clipboard_;
};

// COM for the shell calls: ShellExecuteA initialises it (apartment-threaded, OLE1 DDE off)
// on the calling thread before its first call. EndComForShell, called by that thread when
// it is done (at the end of the program), undoes it; on another thread it does nothing.
void StartComForShell();
void EndComForShell();

}  // namespace kakehashi
