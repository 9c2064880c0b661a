// The chat windows found by the foreground poll: each character a posted WM_IME_CHAR in
// code page 932 to the input box, each press a posted WM_COMMAND to the button's owner.
#pragma once

#include "platform/window_ops.h"
#include "targets/send_target.h"
#include "targets/target_windows.h"

namespace kakehashi {

class ChatTarget final : public SendTarget {
 public:
  ChatTarget(WindowOps& ops, const TargetWindows& targets, bool is_messenger)
      : ops_(ops), targets_(targets), is_messenger_(is_messenger) {}

  TextRules Rules() const override { return TextRules::kChat; }
  // The chat service ignores users who say too much at once; Messenger does not.
  bool LineLimitApplies() const override { return !is_messenger_; }
  // A press needs the window to press it in; a chat with higher rights than the tool may
  // drop the posts while Windows reports success.
  StatusText Begin(bool press) override;
  bool Type(std::u16string_view text) override;
  // The button's control id (0 when there is none) to the button's owner; lParam 0.
  bool Press() override;
  SendFailure Failure() const override { return failure_; }

 private:
  WindowOps& ops_;
  TargetWindows targets_;
  bool is_messenger_;
  SendFailure failure_ = SendFailure::kTargetGone;
};

}  // namespace kakehashi
