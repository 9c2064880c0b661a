// The delivery engine: reads the message box line by line, shapes each line, and posts its
// characters and the send-button press to the target chat window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "delivery/status_texts.h"
#include "text/text_shaping.h"
#include "delivery/main_window_view.h"
#include "platform/window_ops.h"
#include "targets/send_target.h"
#include "targets/target_windows.h"

namespace kakehashi {

// Status-line texts of the engine's refusals.
inline constexpr std::u16string_view kTooManyLinesText = u"4行以上は無視になります";
inline constexpr std::u16string_view kNotSingleLineText = u"単一行じゃないのれす";
inline constexpr std::u16string_view kUnsendableCharacterText = u"送信できない文字が含まれています";
inline constexpr std::u16string_view kLineTooLongText = u"1行が長すぎて送信できません";

// How a send ended, and how far it got: `sent` lines of `total` went out whole. A send
// that ended inside the next line says how that line is to stand in the message box: as
// `rest`, the text whose sending types just what the target has not yet got, or whole.
struct SendOutcome {
  enum class Kind { kRefused, kDelivered, kStopped, kFailed };
  Kind kind = Kind::kRefused;
  std::int32_t sent = 0;
  std::int32_t total = 0;
  LineCut cut = LineCut::kNone;
  std::u16string rest;
  bool delivered() const { return kind == Kind::kDelivered; }
  explicit operator bool() const { return delivered(); }
};

// EM_GETLINE takes its capacity in a 16-bit word: a line is first read into the classic
// 1000-byte buffer and, when that may have cut it, again into the largest buffer.
inline constexpr std::size_t kLineBufferBytes = 1000;
inline constexpr std::size_t kLargestLineBufferBytes = 65535;
// The longest line (in ANSI bytes) that modes 1 and 2 can read whole. A read that comes
// within one byte of the capacity counts as possibly cut, so the limit stays two below it.
inline constexpr std::size_t kLongestLineBytes = kLargestLineBufferBytes - 2;


// Types the text of Message into `targets` in `mode`.
//
// What can be known beforehand is refused before anything is posted, with the reason in
// the status line: the four-line limit, more than one line in mode 3, a press that will
// be needed while there is no window to press it in, and a chat that runs with higher
// rights than the tool (Windows may drop the posts while reporting success). While the
// send runs, the status line shows how many lines have been pressed ("送信中… 3/40行"). A
// stop request takes effect at the next line boundary: a delay it cuts short still ends in
// its press, so no line is left typed but unsaid. A post that fails ends the send, and the
// status line says why and how far it got. Every control value is read at the moment it
// is needed.
SendOutcome SendLines(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, SendMode mode,
                      bool is_messenger, StopRequest& stop);

// The same with any target: its rules choose how lines are read, checked and reversed
// (see TextRules), and it types and says each line.
SendOutcome Deliver(WindowOps& ops, MainWindowView& view, SendTarget& target, SendMode mode, StopRequest& stop);

}  // namespace kakehashi
