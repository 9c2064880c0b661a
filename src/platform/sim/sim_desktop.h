// A simulated desktop: a tree of windows, a foreground window, edit controls that answer
// like the real one, and a record of every post, sleep and shell call in order. It is a
// real backend of the window operations for native builds, tests and tools.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_ops.h"

namespace kakehashi::sim {

struct Event {
  // kInput: Unicode characters typed into the window in front (text); kEnterKey: Enter
  // pressed there; kPasteKeys: Ctrl+V pressed there; kForeground: a request to bring
  // `window` to the front; kRestore: a request to restore it; kRoundTrip: a round trip to
  // `window`'s thread (ok: answered); kClipboardOffer: the tool's text offered on the
  // clipboard (text); kClipboardRender: the text given to a program that asked (ok) or
  // refused (wparam: its process); kClipboardRestore: the saved content put back (ok).
  enum class Kind {
    kPost, kSend, kSleep, kShellExecute, kInput, kEnterKey, kPasteKeys, kForeground, kRestore, kRoundTrip,
    kClipboardOffer, kClipboardRender, kClipboardRestore
  };
  Kind kind = Kind::kPost;
  Handle window;
  std::uint32_t message = 0;
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
  bool ok = true;                 // kPost, kInput, kEnterKey: whether it was taken whole
  bool wide = false;              // kPost: PostMessageW
  std::u16string text;            // kInput
  std::uint32_t error = 0;        // kPost: the error of a refused post
  std::uint32_t milliseconds = 0; // kSleep: the time asked for
  bool cut_short = false;         // kSleep: ended early by a stop request
  std::uint64_t time_ms = 0;      // simulated clock when the call was made
  std::string operation, file, parameters, directory;  // kShellExecute
  int show_command = 0;                                // kShellExecute
};

class SimDesktop final : public WindowOps {
 public:
  SimDesktop();

  // --- building the desktop ---
  // A window with an ANSI class name and title, as the last child of `parent` (0: top level).
  Handle AddWindow(Handle parent, std::string class_name, std::string title = {}, int control_id = 0);
  // An edit control holding `text` (lines separated by CR LF).
  Handle AddEdit(Handle parent, std::u16string text = {});
  void SetEditText(Handle edit, std::u16string text);
  std::u16string EditText(Handle edit) const;
  void SetTitle(Handle window, std::string title);
  void SetForeground(Handle window);
  // The window and its descendants cease to exist: posts to them fail with error 1400.
  void Destroy(Handle window);
  // The windows belong to one receiving thread whose queue holds at most `quota` posted
  // messages and which takes `per_ms` of them per simulated millisecond (0: none at all).
  // A post to a full queue fails with error 1816, as on Windows. Windows without a
  // receiver take every post at once.
  void SetReceiver(const std::vector<Handle>& windows, std::size_t quota, double per_ms);
  // Messages posted to `window`'s receiver and not yet taken.
  std::size_t Queued(Handle window) const;
  // Posts to `window` fail with `error` (5: a window of an elevated program).
  void DenyPosts(Handle window, std::uint32_t error);
  // --- programs, keyboard and focus ---
  // The process of the tool itself; every other window belongs to kOtherProcess unless set.
  static constexpr std::uint32_t kOwnProcess = 1;
  static constexpr std::uint32_t kOtherProcess = 2;
  // `window` and its descendants belong to `process`.
  void SetProcess(Handle window, std::uint32_t process);
  void SetTitleW(Handle window, std::u16string title);
  void SetUnicode(Handle window, bool unicode);
  void SetStyle(Handle window, std::uint32_t style);
  // Requests to change the foreground are refused (the system's foreground lock).
  void RefuseForeground(bool refuse) { foreground_refused_ = refuse; }
  // The system takes only `events` more input events, then none (input blocked).
  void LimitInput(std::size_t events) { input_limit_ = events; }
  // Shift, Ctrl, Alt or a Windows key is held until the clock reaches `time_ms`.
  void HoldModifiersUntil(std::uint64_t time_ms) { modifiers_until_ = time_ms; }
  // What was typed into `window` while it was in front, Enter as '\r'; for a window of a
  // busy thread, what that thread has taken of it.
  std::u16string TypedInto(Handle window) const;
  void SetIconic(Handle window, bool iconic);

  // --- another program's thread at its own pace ---
  // `windows` and their descendants belong to one busy thread of another program: the
  // messages posted to them, and the keys typed while one of them is in front, wait in
  // its queue, and it takes one of them each time a round trip reaches it, nothing on its
  // own. A taken WM_KEYDOWN of Enter queues the WM_CHAR '\r' that its loop's
  // TranslateMessage makes of the key, behind what is queued already. Keys still queued
  // when the foreground moves to another window are dropped (Wine), as are keys typed
  // while the window in front is minimized.
  void SetBusyThread(const std::vector<Handle>& windows);
  // The thread of `window` answers no round trip: each one lasts its whole timeout.
  void SetHung(Handle window, bool hung);
  // The busy thread of `window` answers but never paints (it validates nothing).
  void SetNeverPaints(Handle window);
  // What the busy thread of `window` has taken so far, in order: posts (with the '\r'
  // of its loop), typed characters (kInput) and Enter (kEnterKey).
  std::vector<Event> Taken(Handle window) const;
  // Messages and keys still waiting in the queue of `window`'s busy thread.
  std::size_t Pending(Handle window) const;
  // Keys typed for `window` that never reached it.
  std::size_t DroppedKeys(Handle window) const;

  // --- the clipboard ---
  // Its content, as another program left it.
  void SetClipboard(std::vector<ClipboardFormat> formats);
  const std::vector<ClipboardFormat>& Clipboard() const { return clipboard_; }
  // Whether the content now carries the tool's marks that keep it out of clipboard history.
  bool ClipboardMarked() const { return clipboard_marked_; }
  // Another program holds the clipboard open: it cannot be saved or offered on.
  void SetClipboardBusy(bool busy) { clipboard_busy_ = busy; }
  // A Ctrl+V into `window` while it is in front makes its program ask for the clipboard's
  // text `delay_ms` later (at once unless set); nothing: it never asks.
  void SetPasteDelay(Handle window, std::optional<std::uint32_t> delay_ms);
  // A program of `process` (a clipboard history, say) asks for every text the tool offers
  // `delay_ms` after the offer.
  void AddClipboardMonitor(std::uint32_t process, std::uint32_t delay_ms);
  // Another program puts content of its own on the clipboard, as a user's copy does.
  void TakeClipboard(std::vector<ClipboardFormat> formats);

  // `window` belongs to a program with a higher integrity level than the tool's.
  void SetRunsAboveUs(Handle window);
  // The system's ANSI code page (932 unless set).
  void SetAnsiCodePage(std::uint32_t code_page) { code_page_ = code_page; }
  // Runs `action` when the clock reaches `time_ms` during a Sleep, as a handler of the
  // tool's window would run while the wait serves it (a stop pressed, a window closed).
  void At(std::uint64_t time_ms, std::function<void()> action);
  // Runs `hook` after every post and every input, taken or not.
  void OnPost(std::function<void(const Event&)> hook) { post_hook_ = std::move(hook); }
  // Wine's edit control writes a NUL after the bytes EM_GETLINE copies; Windows does not.
  void SetGetLineWritesTerminator(bool on) { getline_terminator_ = on; }
  bool Exists(Handle window) const;

  // --- what happened ---
  const std::vector<Event>& events() const { return events_; }
  // Accepted posts only, in order.
  std::vector<Event> Posts() const;
  void ClearEvents() { events_.clear(); }
  std::uint64_t now_ms() const { return now_ms_; }

  // --- WindowOps ---
  Handle GetForegroundWindow() override;
  std::string GetClassNameA(Handle window, int capacity) override;
  std::string GetWindowTextA(Handle window, int capacity) override;
  Handle FindWindowExA(Handle parent, Handle child_after, std::string_view class_name) override;
  std::intptr_t SendMessageA(Handle window, std::uint32_t message, std::uintptr_t wparam,
                             std::intptr_t lparam) override;
  PostResult PostMessageA(Handle window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam) override;
  int GetDlgCtrlID(Handle window) override;
  // Advances the clock, letting the receivers take their messages and running the actions
  // that fall due; a stop request ends it at the time it was made.
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
  // Answered at once, except by a hung thread (the clock runs on by `timeout_ms`); a
  // busy thread takes one message or key.
  bool RoundTrip(Handle window, std::uint32_t timeout_ms) override;
  // A busy thread paints at a round trip that finds its queue empty; a minimized window is
  // not painted, and a window of no busy thread is painted at once.
  bool RequestPaint(Handle window) override;
  bool PaintPending(Handle window) override;
  std::optional<std::vector<ClipboardFormat>> SaveClipboard() override;
  bool OfferClipboardText(std::u16string_view text) override;
  // Serves the programs that ask, in the order of time, letting the clock run on.
  std::optional<std::uint32_t> AwaitClipboardRender(std::uint32_t milliseconds,
                                                    const std::function<bool(std::uint32_t process)>& accept) override;
  bool RestoreClipboard(const std::vector<ClipboardFormat>& formats) override;
  std::uint32_t PressPasteKeys() override;
  Handle GetDesktopWindow() override;
  void ShellExecuteA(Handle owner, std::string_view operation, std::string_view file,
                     std::string_view parameters, std::string_view directory, int show_command) override;

 private:
  struct Window {
    Handle parent;
    std::string class_name;
    std::string title;
    int control_id = 0;
    bool is_edit = false;
    std::u16string edit_text;
    std::vector<Handle> children;
    bool alive = true;
    std::uint32_t deny_error = 0;
    bool above_us = false;
    std::uint32_t process = kOtherProcess;
    std::u16string wide_title;
    bool has_wide_title = false;
    bool unicode = false;
    std::uint32_t style = 0;
    std::u16string typed;
    bool iconic = false;
    bool hung = false;
    bool pastes = true;
    std::uint32_t paste_delay_ms = 0;
    std::size_t dropped_keys = 0;
  };

  struct Thread {
    std::deque<Event> queue;
    std::vector<Event> taken;
    bool paint_pending = false;
    bool never_paints = false;
  };

  struct Receiver {
    std::size_t quota = 0;
    double per_ms = 0;
    std::size_t queued = 0;
    double taken_credit = 0;  // messages it could take but has not yet
  };

  Window* Find(Handle window);
  const Window* Find(Handle window) const;
  std::vector<std::u16string> EditLines(const Window& edit) const;
  Receiver* ReceiverOf(Handle window);
  PostResult Post(Handle window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam, bool wide);
  // Records an input event to the window in front; true when the system took it.
  bool Input(Event e, std::size_t events);
  // Moves the clock to `time_ms`, the receivers taking what they can meanwhile.
  void AdvanceTo(std::uint64_t time_ms);
  // Moves the clock on to `end`, running the actions that fall due; false when `stop` ended
  // it early.
  bool RunUntil(std::uint64_t end, StopRequest& stop);
  Thread* ThreadOf(Handle window);
  const Thread* ThreadOf(Handle window) const;
  void Take(Thread& thread);
  // The foreground moves to `window`: keys queued for the one before are dropped.
  void MoveForeground(Handle window);

  std::map<Handle, Window> windows_;
  std::vector<Event> events_;
  std::vector<Receiver> receivers_;
  std::map<Handle, std::size_t> receiver_of_;
  std::vector<Thread> threads_;
  std::map<Handle, std::size_t> thread_of_;
  std::multimap<std::uint64_t, std::function<void()>> actions_;
  std::function<void(const Event&)> post_hook_;
  Handle desktop_;
  Handle foreground_;
  std::int32_t next_handle_ = 0x10010;
  std::uint64_t now_ms_ = 0;
  bool getline_terminator_ = false;
  std::uint32_t code_page_ = kShiftJisCodePage;
  bool foreground_refused_ = false;
  std::size_t input_limit_ = static_cast<std::size_t>(-1);
  std::uint64_t modifiers_until_ = 0;

  // A program that asked for the clipboard's text: the process, and the window the text
  // goes into when it gets it (none for a monitor).
  struct ClipboardRead {
    std::uint32_t process = 0;
    Handle window;
  };
  // Moves the asks that fall due by the clock into `clipboard_reads_`.
  void CollectClipboardReads();
  std::vector<ClipboardFormat> clipboard_;
  bool clipboard_busy_ = false;
  bool clipboard_ours_ = false;
  bool clipboard_marked_ = false;
  std::optional<std::u16string> offered_;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> clipboard_monitors_;  // process, delay
  std::multimap<std::uint64_t, ClipboardRead> clipboard_asks_;
  std::vector<ClipboardRead> clipboard_reads_;
};

}  // namespace kakehashi::sim
