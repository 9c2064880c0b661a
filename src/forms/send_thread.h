// A send on a thread of its own, so that nothing on the window's thread (a menu, a window
// move, a message box, a long line) holds it and nothing in it keeps the window from its
// messages. The window's thread never waits for it. One thread serves every send of the
// process: it is made at the first send and then waits for the next.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "delivery/send_lines.h"
#include "forms/main_window_view.h"
#include "platform/stop_request.h"
#include "platform/win32/win32_window_ops.h"
#include "targets/target_settings.h"
#include "targets/target_windows.h"

namespace kakehashi {

// Posted to the window by the send's thread: a status text (lParam owns a StatusUpdate,
// taken with TakeStatusUpdate), and the end of the send.
inline constexpr UINT kMsgSendStatus = WM_APP + 1;
inline constexpr UINT kMsgSendDone = WM_APP + 2;

struct StatusUpdate {
  // kProgress: a text the next one replaces (the window shows it at most every 50 ms);
  // kTarget: the target's caption again.
  enum class Kind { kText, kProgress, kTarget };
  Kind kind = Kind::kText;
  std::u16string text, detail;
};

std::unique_ptr<StatusUpdate> TakeStatusUpdate(LPARAM lp);

class SendThread {
 public:
  // Runs SendCommand on the send thread with `view`, whose reads and writes of the controls
  // the window's thread serves (sent messages are served also inside menus and moves);
  // status texts come back as posted kMsgSendStatus, the end as kMsgSendDone to `window`.
  SendThread(HWND window, MainWindowView& view, const TargetWindows& targets, const TargetSettings& settings,
             Handle front_window);
  // Waits for the send's end. Win32: a send still at work may be waiting in SendMessage for
  // the window's thread, so destroy a SendThread only after kMsgSendDone (see Abandon).
  ~SendThread();
  SendThread(const SendThread&) = delete;
  SendThread& operator=(const SendThread&) = delete;

  void RequestStop() { stop_.Request(); }
  // For the end of the program during a send: stops it and leaves it, unjoined and never
  // freed, to end with the process.
  static void Abandon(std::unique_ptr<SendThread> send) {
    if (!send) return;
    send->RequestStop();
    static_cast<void>(send.release());
  }
  // After kMsgSendDone: the send has ended; its outcome.
  SendOutcome Finish();

 private:
  class ThreadView;
  class Worker;
  void Run();

  HWND window_;
  std::unique_ptr<ThreadView> view_;
  TargetWindows targets_;
  TargetSettings settings_;
  Handle front_window_;
  Win32WindowOps ops_;
  StopRequest stop_;
  SendOutcome outcome_;
  // Set when the send has ended; null when it never started.
  HANDLE done_ = nullptr;
};

}  // namespace kakehashi
