// The operating-system operations through which the tool reaches other programs and its
// own message box. Implemented by the real Win32 calls and by the simulated desktop.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/handle.h"
#include "platform/stop_request.h"

namespace kakehashi {

// Window messages the tool emits or uses, with their Win32 numbers.
inline constexpr std::uint32_t kWmNull = 0x0000;
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmKeyUp = 0x0101;
inline constexpr std::uint32_t kWmChar = 0x0102;
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kWmImeChar = 0x0286;
inline constexpr std::uint32_t kEmGetLineCount = 0x00BA;
inline constexpr std::uint32_t kEmGetLine = 0x00C4;
inline constexpr int kSwShow = 5;
inline constexpr std::uint32_t kVkReturn = 0x0D;
inline constexpr std::uint32_t kBnClicked = 0;
inline constexpr std::uint32_t kEsMultiLine = 0x0004;

// Win32 error codes the tool distinguishes when a post fails.
inline constexpr std::uint32_t kErrorAccessDenied = 5;          // the receiver runs elevated (UIPI)
inline constexpr std::uint32_t kErrorInvalidWindowHandle = 1400; // the window is gone
inline constexpr std::uint32_t kErrorNotEnoughQuota = 1816;      // the receiver's queue is full

// What became of a post: error 0 when the message was queued, otherwise the Win32 error
// code of the failure.
struct PostResult {
  std::uint32_t error = 0;
  constexpr bool ok() const { return error == 0; }
};

// One format of the clipboard's content as the tool saved it: the format's number (a
// registered format's number holds for the session) and its data.
struct ClipboardFormat {
  std::uint32_t format = 0;
  std::string bytes;
  friend bool operator==(const ClipboardFormat&, const ClipboardFormat&) = default;
};

// The code page whose characters the chat programs take.
inline constexpr std::uint32_t kShiftJisCodePage = 932;

// Strings crossing this interface are byte strings in the system's ANSI code page
// (Shift_JIS on Japanese systems), the contract with the chat programs, unless an
// operation's name ends in W (UTF-16). Implementations never throw.
class WindowOps {
 public:
  virtual ~WindowOps() = default;

  // The window in front, or 0.
  virtual Handle GetForegroundWindow() = 0;

  // The class name of `window`, cut to at most capacity - 1 bytes; empty if the window
  // does not exist or capacity < 1.
  virtual std::string GetClassNameA(Handle window, int capacity) = 0;

  // The title of `window`, cut to at most capacity - 1 bytes (a double-byte character
  // counts two); empty if the window does not exist.
  virtual std::string GetWindowTextA(Handle window, int capacity) = 0;

  // The first direct child of `parent` after `child_after` (0: from the first child), in
  // child order, whose class name equals `class_name` without regard to case; 0 if none.
  // Grandchildren are not searched.
  virtual Handle FindWindowExA(Handle parent, Handle child_after, std::string_view class_name) = 0;

  // SendMessageA: for EM_GETLINECOUNT the number of lines of an edit control (at least 1);
  // for EM_GETLINE, wparam is the zero-based line index and lparam the address of a
  // buffer whose first 16-bit word holds its capacity in bytes; the line's bytes are
  // copied there (no terminator is promised) and their count returned.
  virtual std::intptr_t SendMessageA(Handle window, std::uint32_t message, std::uintptr_t wparam,
                                     std::intptr_t lparam) = 0;

  // Queues a message for `window` and returns at once, with the reason when the post
  // failed: the window does not exist (kErrorInvalidWindowHandle), its thread's queue is
  // full (kErrorNotEnoughQuota), or it may not be reached (kErrorAccessDenied). Handle 0
  // names no window, so a post to it fails (Win32 would quietly queue it to the calling
  // thread instead).
  virtual PostResult PostMessageA(Handle window, std::uint32_t message, std::uintptr_t wparam,
                                  std::intptr_t lparam) = 0;

  // The control id of `window`; 0 if it has none or does not exist.
  virtual int GetDlgCtrlID(Handle window) = 0;

  // Waits `milliseconds` on the send's thread. True when the whole time has passed; false
  // as soon as `stop` is requested, by any thread.
  virtual bool Sleep(std::uint32_t milliseconds, StopRequest& stop) = 0;

  // Milliseconds on the system's clock since some fixed time; it never goes back.
  virtual std::uint64_t TickCount() = 0;

  // True when the program of `window` runs at a higher integrity level than the tool
  // (started as administrator while the tool is not), or when its level cannot be read
  // because access is denied. Windows may then drop posts to it while reporting success.
  // False for a window that does not exist.
  virtual bool RunsAboveUs(Handle window) = 0;

  // The system's ANSI code page, in which the A operations above pass their strings.
  virtual std::uint32_t AnsiCodePage() = 0;

  // --- windows of today's programs: keystrokes, and posts to a picked window ---

  virtual bool IsWindow(Handle window) = 0;
  // The process that owns `window`; 0 when it does not exist.
  virtual std::uint32_t WindowProcessId(Handle window) = 0;
  virtual std::uint32_t CurrentProcessId() = 0;
  // The caption of `window` in UTF-16, cut to at most capacity - 1 units.
  virtual std::u16string GetWindowTextW(Handle window, int capacity) = 0;
  // Whether `window` takes its text as UTF-16 (a window of a W class).
  virtual bool IsWindowUnicode(Handle window) = 0;
  // The style bits of `window` (GWL_STYLE); 0 when it does not exist.
  virtual std::uint32_t WindowStyle(Handle window) = 0;
  virtual Handle GetParent(Handle window) = 0;
  // PostMessageA's twin for Unicode windows: a WM_CHAR carries one UTF-16 unit.
  virtual PostResult PostMessageW(Handle window, std::uint32_t message, std::uintptr_t wparam,
                                  std::intptr_t lparam) = 0;
  // The keyboard's scan code of Enter, for key messages' lParam.
  virtual std::uint32_t EnterScanCode() = 0;

  // Asks the system to bring `window` to the front; whether it is there is a separate
  // question (GetForegroundWindow).
  virtual void SetForegroundWindow(Handle window) = 0;
  // Types `units` (one character: one unit, or the two of a surrogate pair) into the
  // window in front, as Unicode key-down/key-up pairs in one input call. The number of
  // input events the system took: 2 per unit when it took them all.
  virtual std::uint32_t TypeUnicode(std::u16string_view units) = 0;
  // Presses and releases Enter as a real key (virtual key and scan code). Events taken.
  virtual std::uint32_t PressEnterKey() = 0;
  // True while Shift, Ctrl, Alt or a Windows key is held down: typed characters would
  // become shortcuts.
  virtual bool ModifierKeysHeld() = 0;
  // Whether `window` is minimized.
  virtual bool IsIconic(Handle window) = 0;
  // Asks the program of the minimized `window` to restore it, without waiting for it.
  virtual void RestoreWindow(Handle window) = 0;
  // The top-level window that `window` is part of (itself when it is one); 0 when it
  // does not exist.
  virtual Handle RootWindow(Handle window) = 0;

  // Sends `window` a message that does nothing (WM_NULL) and waits at most `timeout_ms`
  // for it to be handled. A thread handles a message sent to it when it next looks at its
  // queue, before the messages and keys queued there: a round trip that comes back means
  // that the thread has taken at least one more of them, and says nothing of the rest.
  // Wine: not always. A thread that waits inside its handling of a message (a hook of
  // another process) answers there, and one that gets round trips back to back may answer
  // several before it takes its next message.
  // False when the window is gone, its program does not answer (hung), or the time ran out.
  virtual bool RoundTrip(Handle window, std::uint32_t timeout_ms) = 0;
  // Asks for a pixel of `window`'s client area to be painted again, without erasing. A
  // thread paints only when no posted message is left in its queue: while the window waits
  // to be painted, its thread has not yet taken all that was queued for it before the
  // request. True when the window now waits to be painted; false when it cannot be (it is
  // hidden or minimized), is gone, or was painted at once.
  virtual bool RequestPaint(Handle window) = 0;
  // Whether `window` waits to be painted (its update region is not empty); false when it
  // is gone.
  virtual bool PaintPending(Handle window) = 0;

  // --- the clipboard, to paste lines into the window in front ---
  // Every use of the clipboard by the tool is on one thread: the send's.

  // The clipboard's content: every format whose data can be copied, those that its owner
  // renders on request rendered now. Nothing when another program holds the clipboard
  // open (it is tried a few times first).
  virtual std::optional<std::vector<ClipboardFormat>> SaveClipboard() = 0;
  // Empties the clipboard and offers `text` on it as Unicode text, rendered only when a
  // program asks for it (delayed rendering), marked so that clipboard history, the cloud
  // clipboard and clipboard monitors leave it out. False when the clipboard cannot be had.
  virtual bool OfferClipboardText(std::u16string_view text) = 0;
  // Waits at most `milliseconds` until a program has asked for the offered text and got
  // it, serving the system's requests meanwhile. Each program that asks is put to
  // `accept` with the id of its process (0 when it opened the clipboard without a window):
  // one refused gets nothing, and the text stays offered. The process that got it;
  // nothing when none did in time.
  virtual std::optional<std::uint32_t> AwaitClipboardRender(std::uint32_t milliseconds,
                                                            const std::function<bool(std::uint32_t process)>& accept) = 0;
  // Puts `formats` back as the clipboard's content, marked as the offer is. False, with
  // the clipboard left as it is, when another program has put content of its own there
  // since the tool's offer: that is the user's now.
  virtual bool RestoreClipboard(const std::vector<ClipboardFormat>& formats) = 0;
  // Presses Ctrl+V in the window in front, Ctrl released after. Input events taken: 4
  // when the system took them all.
  virtual std::uint32_t PressPasteKeys() = 0;

  // A handle to use as owner for the shell call.
  virtual Handle GetDesktopWindow() = 0;

  // Opens `file` with the shell (a web address opens in the default browser). The
  // result is not reported: the tool does not look at it.
  virtual void ShellExecuteA(Handle owner, std::string_view operation, std::string_view file,
                             std::string_view parameters, std::string_view directory,
                             int show_command) = 0;
};

}  // namespace kakehashi
