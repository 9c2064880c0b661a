// The keystroke target.
#include "targets/keystroke_target.h"

#include <string>

#include "targets/target_status.h"
#include "text/text_shaping.h"
#include "targets/posting.h"

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
  if (!ModifiersReleased()) return {std::u16string(kModifiersHeldText), std::u16string(kModifiersHeldDetail)};
  if (way_ == KeystrokeWay::kPasting) {
    saved_clipboard_ = ops_.SaveClipboard();
    if (!saved_clipboard_) return {std::u16string(kClipboardBusyText), std::u16string(kClipboardBusyDetail)};
  }
  // Win32: a minimized window in front takes no typed keys: it is restored first. A program
  // may take the foreground only while it is in front itself, as the tool is when its send
  // button is pressed.
  if (ops_.IsIconic(window_)) ops_.RestoreWindow(window_);
  ops_.SetForegroundWindow(window_);
  StopRequest none;
  for (std::uint32_t waited = 0; !InFront(); waited += kPollMs) {
    if (waited >= kForegroundWaitMs) return PlainStatus(kCannotBringToFrontText);
    ops_.Sleep(kPollMs, none);
  }
  return {};
}

bool KeystrokeTarget::Ready() {
  if (stop_.requested()) {
    stopped_ = true;
    return false;
  }
  if (!InFront()) {
    failure_ = SendFailure::kLostForeground;
    return false;
  }
  return ModifiersReleased();
}

bool KeystrokeTarget::InFront() { return ops_.GetForegroundWindow() == window_ && !ops_.IsIconic(window_); }

bool KeystrokeTarget::ModifiersReleased() {
  if (!ops_.ModifierKeysHeld()) return true;
  // Win32: a typed character with Alt or Ctrl held becomes a shortcut, Enter with Shift a
  // line break inside the message.
  NoticeWait({std::u16string(kModifiersHeldText), std::u16string(kModifiersHeldDetail)});
  for (std::uint32_t waited = 0; ops_.ModifierKeysHeld(); waited += kPollMs) {
    if (waited >= kModifierWaitMs) {
      failure_ = SendFailure::kModifiersHeld;
      return false;
    }
    if (!ops_.Sleep(kPollMs, stop_)) {
      stopped_ = true;
      return false;
    }
  }
  NoticeWait({});
  return true;
}

bool KeystrokeTarget::CaughtUp(std::size_t trips) {
  if (const auto failure = CatchUp(ops_, window_, trips)) {
    failure_ = *failure;
    return false;
  }
  return true;
}

bool KeystrokeTarget::Drained(std::size_t trips) {
  if (const auto failure = AwaitPaint(ops_, window_, window_, trips)) {
    failure_ = *failure;
    return false;
  }
  return true;
}

bool KeystrokeTarget::Pause() {
  if (interval_ms_ == 0 || ops_.Sleep(interval_ms_, stop_)) return true;
  stopped_ = true;
  return false;
}

bool KeystrokeTarget::Type(std::u16string_view text) {
  typed_ = 0;
  if (way_ == KeystrokeWay::kPasting) return Paste(text);
  for (std::size_t i = 0; i < text.size();) {
    if (!Ready()) return false;
    // A surrogate pair goes in one call: split, its halves would reach the window apart.
    const std::size_t n = UnitsAt(text, i);
    if (ops_.TypeUnicode(text.substr(i, n)) < 2 * n) {
      failure_ = SendFailure::kInputRefused;
      return false;
    }
    i += n;
    typed_ = i;
    if (!CaughtUp(kTripsPerUnit * n) || !Pause()) return false;
  }
  return true;
}

bool KeystrokeTarget::Paste(std::u16string_view line) {
  if (line.empty()) return true;
  if (!Ready()) return false;
  if (!ops_.OfferClipboardText(line)) {
    failure_ = SendFailure::kClipboardBusy;
    return false;
  }
  if (ops_.PressPasteKeys() < 4) {
    failure_ = SendFailure::kInputRefused;
    return false;
  }
  // Only the window's own program gets the line: a clipboard history or viewer of another
  // program that asks gets nothing. A program that opened the clipboard without a window
  // is taken for the target only while the target is in front.
  const std::uint32_t process = ops_.WindowProcessId(window_);
  const auto reader = ops_.AwaitClipboardRender(kPasteWaitMs, [&](std::uint32_t asking) {
    return asking == process || (asking == 0 && InFront());
  });
  if (!reader) {
    failure_ = SendFailure::kPasteNotTaken;
    return false;
  }
  typed_ = line.size();
  return true;
}

bool KeystrokeTarget::Press() {
  // The press belongs to the line already typed: a stop waits for it, unless a held
  // modifier keeps it back.
  if (!InFront()) {
    failure_ = SendFailure::kLostForeground;
    return false;
  }
  if (!ModifiersReleased()) return false;
  if (ops_.PressEnterKey() < 2) {
    failure_ = SendFailure::kInputRefused;
    return false;
  }
  // The line counts as said once the program has taken the key and what it made of it:
  // its window is painted only when nothing is left in its queue.
  if (!Drained(kTripsAfterEnter)) return false;
  // Wine: had the foreground moved meanwhile, the key might have been dropped unseen; the
  // line is then not counted as said.
  if (!InFront()) {
    failure_ = SendFailure::kLostForeground;
    return false;
  }
  return true;
}

void KeystrokeTarget::End(bool delivered) {
  // Keys still queued when the foreground moves would be lost (Wine) or go to the tool.
  const bool drained = delivered && ops_.IsWindow(own_window_) && Drained(kTripsAfterEnter);
  // The program has taken the last paste (it asked for it) and every key before this.
  if (saved_clipboard_) ops_.RestoreClipboard(*saved_clipboard_);
  saved_clipboard_.reset();
  if (drained) ops_.SetForegroundWindow(own_window_);
}

}  // namespace kakehashi
