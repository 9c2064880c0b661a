// The keystroke target.
#include "targets/keystroke_target.h"

#include <string>

#include "delivery/send_lines.h"
#include "delivery/text_shaping.h"

namespace kakehashi {
namespace {

constexpr std::uint32_t kPollMs = 20;

}  // namespace

std::u16string_view KeystrokeTarget::Unavailable() {
  return ops_.IsWindow(window_) ? std::u16string_view() : kTargetGoneText;
}

StatusText KeystrokeTarget::Begin(bool /*press*/) {
  if (const std::u16string_view reason = Unavailable(); !reason.empty()) return PlainStatus(reason);
  // Win32: input into a window of a program with higher rights is dropped without error.
  if (ops_.RunsAboveUs(window_)) return PlainStatus(kTargetElevatedText);
  StopRequest none;
  for (std::uint32_t waited = 0; ops_.ModifierKeysHeld(); waited += kPollMs) {
    if (waited >= kModifierWaitMs) return {std::u16string(kModifiersHeldText), std::u16string(kModifiersHeldDetail)};
    ops_.Sleep(kPollMs, none);
  }
  // Win32: a program may take the foreground only while it is in front itself, as the
  // tool is when its send button is pressed.
  ops_.SetForegroundWindow(window_);
  for (std::uint32_t waited = 0; ops_.GetForegroundWindow() != window_; waited += kPollMs) {
    if (waited >= kForegroundWaitMs) return PlainStatus(kCannotBringToFrontText);
    ops_.Sleep(kPollMs, none);
  }
  return {};
}

bool KeystrokeTarget::StillInFront() {
  if (stop_.requested()) {
    stopped_ = true;
    return false;
  }
  if (ops_.GetForegroundWindow() == window_) return true;
  failure_ = SendFailure::kLostForeground;
  return false;
}

bool KeystrokeTarget::Pause() {
  if (interval_ms_ == 0 || ops_.Sleep(interval_ms_, stop_)) return true;
  stopped_ = true;
  return false;
}

bool KeystrokeTarget::Type(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    // A surrogate pair goes in one call: split, its halves would reach the window apart.
    const std::size_t n = UnitsAt(text, i);
    if (!StillInFront()) return false;
    if (ops_.TypeUnicode(text.substr(i, n)) < 2 * n) {
      failure_ = SendFailure::kInputRefused;
      return false;
    }
    i += n;
    if (!Pause()) return false;
  }
  return true;
}

bool KeystrokeTarget::Press() {
  // The press belongs to the line already typed: a stop waits for it.
  if (ops_.GetForegroundWindow() != window_) {
    failure_ = SendFailure::kLostForeground;
    return false;
  }
  if (ops_.PressEnterKey() < 2) {
    failure_ = SendFailure::kInputRefused;
    return false;
  }
  return true;
}

void KeystrokeTarget::End(bool delivered) {
  // After a stop the foreground is the user's: it stays where it is.
  if (!delivered || !ops_.IsWindow(own_window_)) return;
  // Wine: keys still queued for a window when it loses the foreground are dropped.
  StopRequest none;
  ops_.Sleep(kSettleMs, none);
  ops_.SetForegroundWindow(own_window_);
}

}  // namespace kakehashi
