// The window in front, typed into with keystrokes as today's chat programs (browsers,
// desktop apps) take text: Unicode key packets, and a real Enter to say a line.
#pragma once

#include <cstdint>

#include "platform/window_ops.h"
#include "targets/send_target.h"

namespace kakehashi {

inline constexpr std::u16string_view kModifiersHeldText = u"Shift・Ctrl・Altを離してください";
inline constexpr std::u16string_view kModifiersHeldDetail = u"Shift・Ctrl・Alt を離してから送信してください";
inline constexpr std::u16string_view kCannotBringToFrontText = u"送信先を前面にできません";

// How long the send waits for held modifier keys to be released, and for the target to
// come to the front.
inline constexpr std::uint32_t kModifierWaitMs = 1000;
inline constexpr std::uint32_t kForegroundWaitMs = 2000;
// Before the tool takes the foreground back after a send: the target's program is given
// this long to become idle, then this settle, so no key still queued for it is dropped.
// Wine: WaitForInputIdle returns at once; Notepad on a 2-core machine still had the last
// keys of a line typed at full speed to handle 100 ms after they were sent (250 ms were
// enough), so the settle leaves a margin.
inline constexpr std::uint32_t kInputIdleWaitMs = 1000;
inline constexpr std::uint32_t kSettleMs = 500;

class KeystrokeTarget final : public SendTarget {
 public:
  // `window`: the top-level window to type into; `own_window`: the tool's, brought back to
  // the front after a send that went through; `stop`: the send's, which takes effect
  // between characters, since the user's own keys would go to the same window.
  KeystrokeTarget(WindowOps& ops, Handle window, Handle own_window, std::uint32_t char_interval_ms, StopRequest& stop)
      : ops_(ops), window_(window), own_window_(own_window), interval_ms_(char_interval_ms), stop_(stop) {}

  TextRules Rules() const override { return TextRules::kUnicode; }
  std::u16string_view Unavailable() override;
  // The window must exist and not run with higher rights (its input would be dropped
  // silently); no modifier key may be held; then it is brought to the front.
  StatusText Begin(bool press) override;
  // Before every character the target must still be in front: the moment it is not, the
  // send ends, so nothing is ever typed into a window the user did not choose.
  bool Type(std::u16string_view text) override;
  bool Press() override;
  bool Stopped() const override { return stopped_; }
  SendFailure Failure() const override { return failure_; }
  void End(bool delivered) override;

 private:
  bool StillInFront();
  bool Pause();

  WindowOps& ops_;
  Handle window_;
  Handle own_window_;
  std::uint32_t interval_ms_;
  StopRequest& stop_;
  bool stopped_ = false;
  SendFailure failure_ = SendFailure::kLostForeground;
};

}  // namespace kakehashi
