// The send's thread and its view of the main window.
#include "forms/send_thread.h"

#include "delivery/send_command.h"

namespace kakehashi {

std::unique_ptr<StatusUpdate> TakeStatusUpdate(LPARAM lp) {
  return std::unique_ptr<StatusUpdate>(reinterpret_cast<StatusUpdate*>(lp));
}

// The main window as the send's thread sees it: reads and Message's text go to the
// controls (Win32 sends them to the window's thread), status texts are posted, so the
// send never waits for a repaint.
class SendThread::ThreadView final : public MainWindowView {
 public:
  ThreadView(HWND window, MainWindowView& form) : window_(window), form_(form) {}

  std::u16string MessageText() const override { return form_.MessageText(); }
  void SetMessageText(const std::u16string& text) override { form_.SetMessageText(text); }
  void ReplaceMessageText(const std::u16string& text) override { form_.ReplaceMessageText(text); }
  Handle MessageWindow() const override { return form_.MessageWindow(); }
  Handle MainWindow() const override { return form_.MainWindow(); }
  bool OptionSelected(ModeOption option) const override { return form_.OptionSelected(option); }
  int CheckValue(CheckBox box) const override { return form_.CheckValue(box); }
  std::u16string PlusWordText() const override { return form_.PlusWordText(); }
  std::u16string WaitText() const override { return form_.WaitText(); }
  std::u16string StatusText() const override { return form_.StatusText(); }
  void SetStatus(const std::u16string& text) override { Post({StatusUpdate::Kind::kText, text, text}); }
  void SetStatus(const std::u16string& text, const std::u16string& detail) override {
    Post({StatusUpdate::Kind::kText, text, detail});
  }
  void SetTargetStatus(const std::u16string& caption) override { Post({StatusUpdate::Kind::kTarget, caption, caption}); }
  void ShowTargetStatus() override { Post({StatusUpdate::Kind::kTarget, {}, {}}); }

 private:
  void Post(StatusUpdate update) const {
    auto owned = std::make_unique<StatusUpdate>(std::move(update));
    if (PostMessageW(window_, kMsgSendStatus, 0, reinterpret_cast<LPARAM>(owned.get()))) owned.release();
  }

  HWND window_;
  MainWindowView& form_;
};

SendThread::SendThread(HWND window, MainWindowView& view, const TargetWindows& targets,
                       const TargetSettings& settings, Handle front_window)
    : window_(window), view_(std::make_unique<ThreadView>(window, view)), targets_(targets), settings_(settings),
      front_window_(front_window) {
  thread_ = std::thread([this] { Run(); });
}

SendThread::~SendThread() {
  if (thread_.joinable()) thread_.join();
}

void SendThread::Run() {
  outcome_ = SendCommand(ops_, *view_, targets_, settings_, front_window_, stop_);
  PostMessageW(window_, kMsgSendDone, 0, 0);
}

SendOutcome SendThread::Finish() {
  if (thread_.joinable()) thread_.join();
  return outcome_;
}

}  // namespace kakehashi
