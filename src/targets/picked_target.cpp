// The picked-window target.
#include "targets/picked_target.h"

#include <string>

#include "delivery/send_lines.h"
#include "delivery/text_shaping.h"
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
                           std::uint32_t char_interval_ms)
    : ops_(ops), picked_(picked), press_(press), interval_ms_(char_interval_ms),
      unicode_(ops.IsWindowUnicode(picked.input)) {}

bool PickedTarget::Same(Handle window, std::uint32_t process) {
  return ops_.IsWindow(window) && ops_.WindowProcessId(window) == process;
}

std::u16string_view PickedTarget::Unavailable() {
  return Same(picked_.input, picked_.input_process) ? std::u16string_view() : kPickedGoneText;
}

StatusText PickedTarget::Begin(bool press) {
  if (!Unavailable().empty()) return PlainStatus(kPickedGoneText);
  if (press && press_ == PickedPress::kButton && !Same(picked_.button, picked_.button_process)) {
    return PlainStatus(kPickedGoneText);
  }
  if (ops_.RunsAboveUs(picked_.input)) return PlainStatus(kTargetElevatedText);
  return {};
}

bool PickedTarget::Post(bool wide, Handle window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
  const auto failure = PostPatiently(ops_, [&] {
    return wide ? ops_.PostMessageW(window, message, wparam, lparam) : ops_.PostMessageA(window, message, wparam, lparam);
  });
  if (!failure) return true;
  failure_ = *failure == SendFailure::kTargetGone ? SendFailure::kPickedGone : *failure;
  return false;
}

void PickedTarget::Pause() {
  // The pause is part of typing the line: a stop waits for the line's end as for a chat.
  StopRequest none;
  if (interval_ms_ != 0) ops_.Sleep(interval_ms_, none);
}

bool PickedTarget::Type(std::u16string_view text) {
  if (!unicode_) {
    for (const std::int32_t code : CharCodes(text)) {
      const auto wparam = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(code));
      if (!Post(false, picked_.input, kWmImeChar, wparam, 1)) return false;
      Pause();
    }
    return true;
  }
  // The pause comes after a whole character: never between the halves of a pair.
  for (std::size_t i = 0; i < text.size(); i += UnitsAt(text, i)) {
    for (std::size_t k = 0; k < UnitsAt(text, i); ++k) {
      if (!Post(true, picked_.input, kWmChar, text[i + k], 1)) return false;
    }
    Pause();
  }
  return true;
}

bool PickedTarget::Press() {
  switch (press_) {
    case PickedPress::kNone: return true;
    case PickedPress::kButton: {
      const auto id = static_cast<std::uint32_t>(ops_.GetDlgCtrlID(picked_.button)) & 0xFFFFu;
      const auto wparam = static_cast<std::uintptr_t>(id | kBnClicked << 16);
      return Post(true, ops_.GetParent(picked_.button), kWmCommand, wparam, picked_.button.value);
    }
    case PickedPress::kEnter: break;
  }
  const std::uint32_t scan = ops_.EnterScanCode();
  if (ops_.WindowStyle(picked_.input) & kEsMultiLine) {
    return Post(true, picked_.input, kWmChar, u'\r', KeyLParam(scan, false));
  }
  return Post(true, picked_.input, kWmKeyDown, kVkReturn, KeyLParam(scan, false)) &&
         Post(true, picked_.input, kWmKeyUp, kVkReturn, KeyLParam(scan, true));
}

}  // namespace kakehashi
