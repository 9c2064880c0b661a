// The picked-window target.
#include "targets/picked_target.h"

#include <string>

#include "targets/target_status.h"
#include "text/text_shaping.h"
#include "targets/posting.h"

namespace kakehashi {
namespace {

// lParam of a key message: repeat count 1 and the scan code; a key-up also has the
// previous-state and transition bits.
std::intptr_t KeyLParam(std::uint32_t scan, bool up) {
  std::uint32_t lp = 1u | (scan & 0xFFu) << 16;
  if (up) lp |= 1u << 30 | 1u << 31;
  return static_cast<std::intptr_t>(lp);
}

}  // namespace

PickedTarget::PickedTarget(WindowOps& ops, const PickedWindow& picked, PickedPress press,
                           std::uint32_t char_interval_ms, StopRequest& stop)
    : ops_(ops), picked_(picked), press_(press), interval_ms_(char_interval_ms), stop_(stop),
      unicode_(ops.IsWindowUnicode(picked.input)) {}

bool PickedTarget::Same(Handle window, std::uint32_t process) {
  return ops_.IsWindow(window) && ops_.WindowProcessId(window) == process;
}

std::u16string_view PickedTarget::Unavailable() {
  return Same(picked_.input, picked_.input_process) ? std::u16string_view() : kPickedGoneText;
}

StatusText PickedTarget::Begin(bool press) {
  says_lines_ = press;
  queued_ = 0;
  if (!Unavailable().empty()) return PlainStatus(kPickedGoneText);
  if (press && press_ == PickedPress::kButton) {
    if (!Same(picked_.button, picked_.button_process)) return PlainStatus(kPickedGoneText);
    // Another window's button would be pressed for lines that stay in this box.
    if (ops_.RootWindow(picked_.button) != ops_.RootWindow(picked_.input)) {
      return PlainStatus(kPickedButtonElsewhereText);
    }
  }
  if (ops_.RunsAboveUs(picked_.input)) return PlainStatus(kTargetElevatedText);
  return {};
}

bool PickedTarget::Post(bool wide, Handle window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam,
                        std::size_t queues) {
  const auto failure = PostPatiently(ops_, [&] {
    return wide ? ops_.PostMessageW(window, message, wparam, lparam) : ops_.PostMessageA(window, message, wparam, lparam);
  });
  if (!failure) {
    queued_ += queues;
    return true;
  }
  failure_ = *failure == SendFailure::kTargetGone ? SendFailure::kPickedGone : *failure;
  return false;
}

bool PickedTarget::Settle(std::size_t margin) {
  const std::size_t messages = queued_ + margin;
  queued_ = 0;
  // The paint of the input box's top-level window, of the same thread in all but rare
  // programs, comes after all of it. A minimized window is not painted: round trips, one
  // for each message counted and the margin, stand in for the paint.
  const Handle root = ops_.RootWindow(picked_.input);
  const auto failure = ops_.WindowProcessId(root) == picked_.input_process
                           ? AwaitPaint(ops_, picked_.input, root, messages)
                           : CatchUp(ops_, picked_.input, messages);
  if (!failure) return true;
  failure_ = *failure == SendFailure::kTargetGone ? SendFailure::kPickedGone : *failure;
  return false;
}

void PickedTarget::Pause() {
  // A stop cuts the pauses short; the line is still typed to its end and said.
  if (interval_ms_ != 0 && !stop_.requested()) ops_.Sleep(interval_ms_, stop_);
}

bool PickedTarget::Type(std::u16string_view text) {
  if (!unicode_) {
    for (const std::int32_t code : CharCodes(text)) {
      const auto wparam = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(code));
      // Win32: DefWindowProcA posts a WM_IME_CHAR on as one WM_CHAR per byte of the
      // character, behind the queue; a box that handles WM_IME_CHAR itself posts none.
      const std::size_t bytes = code < 0 || code > 0xFF ? 2 : 1;
      if (!Post(false, picked_.input, kWmImeChar, wparam, 1, 1 + bytes)) return false;
      Pause();
    }
  } else {
    // The pause comes after a whole character: never between the halves of a pair.
    for (std::size_t i = 0; i < text.size(); i += UnitsAt(text, i)) {
      for (std::size_t k = 0; k < UnitsAt(text, i); ++k) {
        if (!Post(true, picked_.input, kWmChar, text[i + k], 1, 1)) return false;
      }
      Pause();
    }
  }
  return says_lines_ || Settle(kHandledMargin);
}

bool PickedTarget::Press() {
  switch (press_) {
    case PickedPress::kNone: return Settle(kHandledMargin);
    case PickedPress::kButton: {
      // Posted messages are taken in order: the click comes after the line's characters.
      const auto id = static_cast<std::uint32_t>(ops_.GetDlgCtrlID(picked_.button)) & 0xFFFFu;
      const auto wparam = static_cast<std::uintptr_t>(id | kBnClicked << 16);
      // The button's window is the input box's: its thread takes the click after the line.
      return Post(true, ops_.GetParent(picked_.button), kWmCommand, wparam, picked_.button.value, 1) &&
             Settle(kHandledMargin);
    }
    case PickedPress::kEnter: break;
  }
  // Win32: the program's loop acts on the key: IsDialogMessage clicks the default button
  // at once, while TranslateMessage queues the '\r' of the key behind what is queued
  // already. The next line's characters must come after that '\r'. A '\r' posted as a
  // character would not do: Wine drops it in a multi-line box of a dialog, and Windows
  // breaks the line there.
  const std::uint32_t scan = ops_.EnterScanCode();
  return Post(true, picked_.input, kWmKeyDown, kVkReturn, KeyLParam(scan, false), 2) &&
         Post(true, picked_.input, kWmKeyUp, kVkReturn, KeyLParam(scan, true), 1) &&
         Settle(kEnterMargin);
}

}  // namespace kakehashi
