// The send's thread and its view of the main window.
#include "forms/send_thread.h"

#include <process.h>

#include <array>
#include <exception>
#include <new>
#include <utility>

#include "delivery/send_command.h"

namespace kakehashi {

namespace {

class Locked {
 public:
  explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ~Locked() { ReleaseSRWLockExclusive(&lock_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  SRWLOCK& lock_;
};

}  // namespace

bool StatusQueue::Push(StatusUpdate update) {
  const Locked locked(lock_);
  if (update.kind == StatusUpdate::Kind::kProgress && !updates_.empty() &&
      updates_.back().kind == StatusUpdate::Kind::kProgress) {
    updates_.back() = std::move(update);
  } else {
    updates_.push_back(std::move(update));
  }
  const bool tell = !told_;
  told_ = true;
  return tell;
}

void StatusQueue::Untold() {
  const Locked locked(lock_);
  told_ = false;
}

std::vector<StatusUpdate> StatusQueue::TakeAll() {
  std::vector<StatusUpdate> taken;
  const Locked locked(lock_);
  taken.swap(updates_);
  told_ = false;
  return taken;
}

// The main window as the send's thread sees it. The controls that the send reads are
// locked while it runs, so their values are taken once, on the window's thread, when the
// send starts: the send's thread then waits for that thread only to change Message and to
// read its lines. Status texts are queued, so the send never waits for a repaint.
class SendThread::ThreadView final : public MainWindowView {
 public:
  ThreadView(HWND window, MainWindowView& form, StatusQueue& status)
      : window_(window),
        status_(status),
        form_(form),
        message_(form.MessageText()),
        message_window_(form.MessageWindow()),
        main_window_(form.MainWindow()),
        plus_word_(form.PlusWordText()),
        wait_(form.WaitText()) {
    for (const ModeOption option : {ModeOption::AAOpt, ModeOption::SAKASAOpt, ModeOption::DEFAULTOpt}) {
      options_[static_cast<std::size_t>(option)] = form.OptionSelected(option);
    }
    for (const CheckBox box : {CheckBox::SendNow, CheckBox::Limit, CheckBox::PlusCheck, CheckBox::BeforePlusCheck,
                               CheckBox::AfterPlusCheck}) {
      checks_[static_cast<std::size_t>(box)] = form.CheckValue(box);
    }
  }

  std::u16string MessageText() const override { return message_; }
  void SetMessageText(const std::u16string& text) override {
    form_.SetMessageText(text);
    message_ = text;
  }
  void ReplaceMessageText(const std::u16string& text) override {
    form_.ReplaceMessageText(text);
    message_ = text;
  }
  Handle MessageWindow() const override { return message_window_; }
  Handle MainWindow() const override { return main_window_; }
  bool OptionSelected(ModeOption option) const override { return options_[static_cast<std::size_t>(option)]; }
  int CheckValue(CheckBox box) const override { return checks_[static_cast<std::size_t>(box)]; }
  std::u16string PlusWordText() const override { return plus_word_; }
  std::u16string WaitText() const override { return wait_; }
  std::u16string StatusText() const override { return form_.StatusText(); }
  void SetStatus(const std::u16string& text) override { Post({StatusUpdate::Kind::kProgress, text, text}); }
  void SetStatus(const std::u16string& text, const std::u16string& detail) override {
    Post({StatusUpdate::Kind::kText, text, detail});
  }
  void SetTargetStatus(const std::u16string& caption) override { Post({StatusUpdate::Kind::kTarget, caption, caption}); }
  void ShowTargetStatus() override { Post({StatusUpdate::Kind::kTarget, {}, {}}); }

 private:
  void Post(StatusUpdate update) const {
    try {
      if (status_.Push(std::move(update)) && !PostMessageW(window_, kMsgSendStatus, 0, 0)) status_.Untold();
    } catch (const std::exception&) {
      // Out of memory: this text is lost, the send goes on.
    }
  }

  HWND window_;
  StatusQueue& status_;
  MainWindowView& form_;
  std::u16string message_;
  Handle message_window_, main_window_;
  std::u16string plus_word_, wait_;
  std::array<bool, 3> options_{};
  std::array<int, 5> checks_{};
};

// The thread that runs the sends. Linux under Wine: a new thread for every send made its
// posts to another process take half as long again as the same posts from a thread that has
// been at it before (the scheduler places a fresh thread away from the Wine server, and every
// post is a round trip to it); one kept thread costs nothing between sends, where it waits.
class SendThread::Worker {
 public:
  // The process's one worker; null when no thread could be made (it is tried again at the
  // next send). Made on the window's thread, which alone starts sends.
  static Worker* Get() noexcept {
    static Worker* worker = nullptr;
    if (!worker) {
      std::unique_ptr<Worker> made(new (std::nothrow) Worker);
      if (made && made->Start()) worker = made.release();
    }
    return worker;
  }

  // Hands over a send; the previous one has ended (one send at a time).
  void Run(SendThread& send) {
    job_ = &send;
    SetEvent(job_ready_);
  }

  ~Worker() {
    if (job_ready_) CloseHandle(job_ready_);
  }

 private:
  bool Start() noexcept {
    job_ready_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!job_ready_) return false;
    // Win32: _beginthreadex rather than CreateThread, so that a static C runtime sets up the
    // thread's own data; the C++ library's threads would double the program's size. The
    // thread is never joined: it ends with the process.
    const auto thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Worker::Loop, this, 0, nullptr));
    if (!thread) return false;
    CloseHandle(thread);
    return true;
  }

  static unsigned __stdcall Loop(void* self) {
    auto& worker = *static_cast<Worker*>(self);
    for (;;) {
      if (WaitForSingleObject(worker.job_ready_, INFINITE) != WAIT_OBJECT_0) return 1;
      worker.job_->Run();
    }
  }

  HANDLE job_ready_ = nullptr;
  SendThread* job_ = nullptr;  // written before job_ready_ is set, read after it was
};

SendThread::SendThread(HWND window, MainWindowView& view, const TargetWindows& targets,
                       const TargetSettings& settings, Handle front_window)
    : window_(window), view_(std::make_unique<ThreadView>(window, view, status_)), targets_(targets),
      settings_(settings), front_window_(front_window) {}

SendThread::~SendThread() {
  if (done_) CloseHandle(done_);
}

bool SendThread::Start() noexcept {
  done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Worker* worker = done_ ? Worker::Get() : nullptr;
  if (!worker) {
    if (done_) CloseHandle(done_);
    done_ = nullptr;
    return false;
  }
  worker->Run(*this);
  return true;
}

bool SendThread::Ended() const { return !done_ || WaitForSingleObject(done_, 0) == WAIT_OBJECT_0; }

void SendThread::Run() {
  SendCommand(ops_, *view_, targets_, settings_, front_window_, stop_);
  // The window may destroy this object as soon as the send has ended.
  const HWND window = window_;
  SetEvent(done_);
  PostMessageW(window, kMsgSendDone, 0, 0);
}

}  // namespace kakehashi
