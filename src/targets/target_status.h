// What a target reports to the send: a refusal before anything is typed, in the status
// box's short wording and in full, and why a send that had begun ended early.
#pragma once

#include <string>
#include <string_view>

namespace kakehashi {

struct StatusText {
  std::u16string text;    // fits the status box
  std::u16string detail;  // the full wording
};

// A text that is its own full wording.
inline StatusText PlainStatus(std::u16string_view text) { return {std::u16string(text), std::u16string(text)}; }

// Refusals that the targets give before anything is typed.
inline constexpr std::u16string_view kTargetGoneText = u"送信先のウィンドウが見つかりません";
inline constexpr std::u16string_view kTargetElevatedText = u"送信先が管理者として実行されています";
inline constexpr std::u16string_view kPickedGoneText = u"指定したウィンドウが閉じられました";

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
  kModifiersHeld,   // keystrokes: Shift, Ctrl, Alt or a Windows key stayed down
  kPasteNotTaken,   // pasting: the window did not ask for the line in time
  kClipboardBusy,   // pasting: another program held the clipboard
  kCount
};

}  // namespace kakehashi
