// The chat target.
#include "targets/chat_target.h"

#include <cstdint>
#include <string>

#include "targets/target_status.h"
#include "text/text_shaping.h"
#include "targets/posting.h"

namespace kakehashi {

StatusText ChatTarget::Begin(bool press) {
  if (press && !targets_.TargetHost) return PlainStatus(kTargetGoneText);
  if (ops_.RunsAboveUs(targets_.TargetEdit) || (press && ops_.RunsAboveUs(targets_.TargetHost))) {
    return PlainStatus(kTargetElevatedText);
  }
  return {};
}

bool ChatTarget::Type(std::u16string_view text) {
  for (const std::int32_t code : CharCodes(text)) {
    // The code travels sign-extended: a double-byte code arrives with the upper bits set.
    const auto wparam = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(code));
    if (const auto failure = PostPatiently(ops_, [&] { return ops_.PostMessageA(targets_.TargetEdit, kWmImeChar, wparam, 0); })) {
      failure_ = *failure;
      return false;
    }
  }
  return true;
}

bool ChatTarget::Press() {
  const int id = ops_.GetDlgCtrlID(targets_.TargetSendButton);
  const auto wparam = static_cast<std::uintptr_t>(static_cast<std::uint32_t>(id));
  if (const auto failure = PostPatiently(ops_, [&] { return ops_.PostMessageA(targets_.TargetHost, kWmCommand, wparam, 0); })) {
    failure_ = *failure;
    return false;
  }
  return true;
}

}  // namespace kakehashi
