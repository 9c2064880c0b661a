// A send on a thread of its own, so that nothing on the window's thread (a menu, a window
// move, a message box, a long line) holds it and nothing in it keeps the window from its
// messages. The window's thread never waits for it. One thread serves every send of the
// process: it is made at the first send and then waits for the next.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "delivery/main_window_view.h"
#include "platform/stop_request.h"
#include "platform/win32/win32_window_ops.h"
#include "targets/target_settings.h"
#include "targets/target_windows.h"

namespace kakehashi {

// Posted to the window by the send's thread; they carry nothing. kMsgSendStatus: status
// texts wait in the send's queue (SendThread::TakeStatusUpdates). kMsgSendDone: the send
// has ended (SendThread::Ended). Any program can post the same numbers with any
// parameters, so neither is taken at its word.
inline constexpr UINT kMsgSendStatus = WM_APP + 1;
inline constexpr UINT kMsgSendDone = WM_APP + 2;

struct StatusUpdate {
  // kProgress: a text the next one replaces (the window shows it at most every 50 ms);
  // kTarget: the target's caption again.
  enum class Kind { kText, kProgress, kTarget };
  Kind kind = Kind::kText;
  std::u16string text, detail;
};

// The status texts of a send, from its thread to the window's, in order. A progress text
// replaces one still waiting, so the queue stays short however fast the send goes.
class StatusQueue {
 public:
  // Adds `update`. True when the window has not been told since it last took the queue:
  // the caller posts kMsgSendStatus (and calls Untold when that post fails).
  bool Push(StatusUpdate update);
  void Untold();
  // Everything waiting, oldest first; the queue is then empty.
  std::vector<StatusUpdate> TakeAll();

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
  std::vector<StatusUpdate> updates_;  // guarded by lock_
  bool told_ = false;                  // guarded by lock_
};

class SendThread {
 public:
  // Takes the values of the controls and the settings for a send (may throw, e.g. out of
  // memory for a huge text); nothing runs yet. `view`'s reads and writes of the controls
  // are served by the window's thread (sent messages are served also inside menus and
  // moves); status texts come back through the queue, the end as kMsgSendDone to `window`.
  SendThread(HWND window, MainWindowView& view, const TargetWindows& targets, const TargetSettings& settings,
             Handle front_window);
  // Destroy a SendThread only once Ended() holds, or hand it to Abandon: a send still at
  // work may be waiting in SendMessage for the window's thread.
  ~SendThread();
  SendThread(const SendThread&) = delete;
  SendThread& operator=(const SendThread&) = delete;

  // Runs the send on the process's send thread; false when there is none to be had (then
  // Ended() holds at once and nothing was sent).
  bool Start() noexcept;
  void RequestStop() { stop_.Request(); }
  // True once the send has ended, or when it never started. Never waits.
  bool Ended() const;
  std::vector<StatusUpdate> TakeStatusUpdates() { return status_.TakeAll(); }
  // For the end of the program during a send: stops it and leaves it, unjoined and never
  // freed, to end with the process.
  static void Abandon(std::unique_ptr<SendThread> send) {
    if (!send) return;
    send->RequestStop();
    static_cast<void>(send.release());
  }

 private:
  class ThreadView;
  class Worker;
  void Run();

  HWND window_;
  StatusQueue status_;
  std::unique_ptr<ThreadView> view_;
  TargetWindows targets_;
  TargetSettings settings_;
  Handle front_window_;
  Win32WindowOps ops_;
  StopRequest stop_;
  // Set by the send's thread when the send has ended; null until it started.
  HANDLE done_ = nullptr;
};

}  // namespace kakehashi
