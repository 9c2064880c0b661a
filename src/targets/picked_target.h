// A window the user picked, posted to in the background as classic Win32 programs take
// typed text: WM_CHAR per UTF-16 unit to a Unicode input box, WM_IME_CHAR in code page
// 932 to an ANSI one (one message kind per target: mixed, they arrive out of order).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/window_ops.h"
#include "targets/send_target.h"
#include "targets/target_settings.h"

namespace kakehashi {

inline constexpr std::u16string_view kPickedButtonElsewhereText = u"ボタンが入力欄と別のウィンドウです";

// When the program's window cannot be painted (minimized), the send waits for it by round
// trips: one per message counted since the last wait, and these more. The round trip that
// shows the last of them taken does not show it handled: one more does. Enter also leaves
// room for a message the program's own handling of the key posts to say the line (Wine:
// an edit control in a dialog posts the key on to the default button).
inline constexpr std::size_t kHandledMargin = 1;
inline constexpr std::size_t kEnterMargin = 2;

class PickedTarget final : public SendTarget {
 public:
  // `stop`: the send's; it cuts the pauses between characters short.
  PickedTarget(WindowOps& ops, const PickedWindow& picked, PickedPress press, std::uint32_t char_interval_ms,
               StopRequest& stop);

  TextRules Rules() const override { return unicode_ ? TextRules::kUnicode : TextRules::kCodePage; }
  // The picked input box must still be the one picked: a handle can be reused.
  std::u16string_view Unavailable() override;
  // So must the picked button when it will be pressed, and it must belong to the input
  // box's top-level window; the program must not run with higher rights than the tool.
  StatusText Begin(bool press) override;
  // A send whose lines are not said counts a line typed only once the program has taken
  // it: a Type that ends such a line waits for that.
  bool Type(std::u16string_view text) override;
  // Says the line typed: Enter as the key itself, down and up, which the program's own
  // loop turns into what Enter does there (a dialog's default button, a line break, the
  // '\r' that says the line); the picked button as the notification of a click to its
  // parent; or nothing. Then waits until the program has handled the line and what its
  // loop made of it, so the next line's characters come after them.
  bool Press() override;
  SendFailure Failure() const override { return failure_; }

 private:
  bool Same(Handle window, std::uint32_t process);
  // Posts a message that leaves `queues` messages in the receiver's queue.
  bool Post(bool wide, Handle window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam,
            std::size_t queues);
  // Waits until the program has taken all that was posted to it since the last wait, and
  // what its handling of that posted in turn.
  bool Settle(std::size_t margin);
  void Pause();

  WindowOps& ops_;
  PickedWindow picked_;
  PickedPress press_;
  std::uint32_t interval_ms_;
  StopRequest& stop_;
  bool unicode_;
  bool says_lines_ = true;
  std::size_t queued_ = 0;  // messages queued for the input box since the last catch-up
  SendFailure failure_ = SendFailure::kTargetGone;
};

}  // namespace kakehashi
