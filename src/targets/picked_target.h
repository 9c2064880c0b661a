// A window the user picked, posted to in the background as classic Win32 programs take
// typed text: WM_CHAR per UTF-16 unit to a Unicode input box, WM_IME_CHAR in code page
// 932 to an ANSI one (one message kind per target: mixed, they arrive out of order).
#pragma once

#include <cstdint>

#include "platform/window_ops.h"
#include "targets/send_target.h"
#include "targets/target_settings.h"

namespace kakehashi {

class PickedTarget final : public SendTarget {
 public:
  PickedTarget(WindowOps& ops, const PickedWindow& picked, PickedPress press, std::uint32_t char_interval_ms);

  TextRules Rules() const override { return unicode_ ? TextRules::kUnicode : TextRules::kCodePage; }
  // The picked input box must still be the one picked: a handle can be reused.
  std::u16string_view Unavailable() override;
  // So must the picked button when it will be pressed, and the program must not run with
  // higher rights than the tool.
  StatusText Begin(bool press) override;
  bool Type(std::u16string_view text) override;
  // Enter: to a multi-line box the '\r' that a typed Enter gives there; to any other box
  // the key itself, down and up, which the program's own loop turns into what Enter
  // does there. The picked button: the notification of a click to its parent. Or nothing.
  bool Press() override;
  SendFailure Failure() const override { return failure_; }

 private:
  bool Same(Handle window, std::uint32_t process);
  bool Post(bool wide, Handle window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam);
  void Pause();

  WindowOps& ops_;
  PickedWindow picked_;
  PickedPress press_;
  std::uint32_t interval_ms_;
  bool unicode_;
  SendFailure failure_ = SendFailure::kTargetGone;
};

}  // namespace kakehashi
