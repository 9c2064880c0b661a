// The status texts of a send under way and of its end. The status box is narrow: each
// comes short, for the box, and in full, for its tooltip.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kakehashi {

struct StatusText {
  std::u16string text;    // fits the status box
  std::u16string detail;  // the full wording
};

// A text that is its own full wording.
inline StatusText PlainStatus(std::u16string_view text) { return {std::u16string(text), std::u16string(text)}; }

// Why a send that had begun ended early.
enum class SendFailure {
  kTargetGone,
  kNotResponding,
  kDenied,
  kUnsendableCharacter,
  kLineTooLong,
  kLostForeground,  // keystrokes: another window came to the front
  kInputRefused,    // keystrokes: the system took fewer keys than given
  kPickedGone,      // a picked window was closed
  kCount
};

// `n` in decimal digits (negative numbers as 0). The C library's wide formatting would
// add ten kilobytes to the program for this.
std::u16string Decimal(std::int32_t n);

// "送信中… 3/40行": `sent` of `total` lines have gone out whole.
std::u16string ProgressText(std::int32_t sent, std::int32_t total);
// "3/40行で中止（残り37行）".
StatusText StoppedText(std::int32_t sent, std::int32_t total);
// "送信先が見つかりません（3/40行済み）".
StatusText FailedText(SendFailure failure, std::int32_t sent, std::int32_t total);

}  // namespace kakehashi
