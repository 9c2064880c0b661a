// The delivery engine: SendLines and PostPlusWord.
#include "delivery/send_lines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "delivery/delay.h"
#include "platform/code_page.h"

namespace kakehashi {
namespace {

// Posts to the target windows; the first failed post writes the status line, and the
// caller stops the send.
class Poster {
 public:
  Poster(WindowOps& ops, MainWindowView& view, const TargetWindows& targets)
      : ops_(ops), view_(view), targets_(targets) {}

  bool Char(std::int32_t code) {
    // The code travels sign-extended: a double-byte code arrives with the upper bits set.
    return Post(targets_.TargetEdit, kWmImeChar, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(code)));
  }

  bool Chars(std::u16string_view text) {
    for (const std::int32_t code : CharCodes(text)) {
      if (!Char(code)) return false;
    }
    return true;
  }

  // The press: the button's control id (0 when there is none) to the button's owner.
  bool Press() {
    const int id = ops_.GetDlgCtrlID(targets_.TargetSendButton);
    return Post(targets_.TargetHost, kWmCommand, static_cast<std::uintptr_t>(static_cast<std::uint32_t>(id)));
  }

 private:
  bool Post(Handle window, std::uint32_t message, std::uintptr_t wparam) {
    if (ops_.PostMessageA(window, message, wparam, 0)) return true;
    view_.SetStatus(std::u16string(kTargetGoneText));
    return false;
  }

  WindowOps& ops_;
  MainWindowView& view_;
  const TargetWindows& targets_;
};

std::int32_t LineCount(WindowOps& ops, const MainWindowView& view) {
  const std::intptr_t n = ops.SendMessageA(view.MessageWindow(), kEmGetLineCount, 0, 0);
  if (n < 0) return 0;
  if (n > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(n);
}

// One line of the message box as read: its bytes, decoded, followed by one space per
// double-byte character. Only the returned count of bytes is taken.
// Wine: EM_GETLINE writes a NUL after the copied bytes; Windows does not.
// Nothing when the line does not fit even the largest buffer.
std::optional<std::u16string> ReadLine(WindowOps& ops, Handle message_window, std::size_t index) {
  for (const std::size_t capacity : {kLineBufferBytes, kLargestLineBufferBytes}) {
    std::vector<unsigned char> buffer(capacity, 0x20);
    const auto word = static_cast<std::uint16_t>(capacity);
    std::memcpy(buffer.data(), &word, sizeof word);
    std::intptr_t count = ops.SendMessageA(message_window, kEmGetLine, index,
                                           reinterpret_cast<std::intptr_t>(buffer.data()));
    if (count < 0) count = 0;
    const auto bytes = std::min(static_cast<std::size_t>(count), capacity);
    // A full buffer, or one short by a byte (a double-byte character that did not fit),
    // may hold only the start of the line.
    if (bytes + 1 < capacity) {
      return LineAsReadFromBytes(std::string_view(reinterpret_cast<const char*>(buffer.data()), bytes));
    }
  }
  return std::nullopt;
}

// Header or footer: PlusWord when PlusCheck, the side's box and PlusWord say so, each
// read now.
bool PostPlusWordIfWanted(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, CheckBox side) {
  if (!PlusWordWanted(view.CheckValue(CheckBox::PlusCheck), view.CheckValue(side), view.PlusWordText())) {
    return true;
  }
  return PostPlusWord(ops, view, targets);
}

bool SendLineByLine(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, SendMode mode,
                    std::int32_t line_count) {
  Poster poster(ops, view, targets);
  for (std::size_t i = 0; i < static_cast<std::size_t>(line_count); ++i) {
    const std::optional<std::u16string> line = ReadLine(ops, view.MessageWindow(), i);
    if (!line) {
      view.SetStatus(std::u16string(kLineTooLongText));
      return false;
    }
    const std::u16string text = ShapeLine(mode, *line);
    if (!PostPlusWordIfWanted(ops, view, targets, CheckBox::BeforePlusCheck)) return false;
    if (!poster.Chars(text)) return false;
    if (!PostPlusWordIfWanted(ops, view, targets, CheckBox::AfterPlusCheck)) return false;
    ops.Sleep(DelayMilliseconds(view.WaitText()));
    if (!poster.Press()) return false;
  }
  return true;
}

bool SendSingleLine(WindowOps& ops, MainWindowView& view, const TargetWindows& targets) {
  if (LineCount(ops, view) > 1) {
    view.SetStatus(std::u16string(kNotSingleLineText));
    return false;
  }
  const std::u16string text = ReverseText(view.MessageText());
  if (!AnsiCanHold(text)) {
    view.SetStatus(std::u16string(kUnsendableCharacterText));
    return false;
  }
  Poster poster(ops, view, targets);
  if (!PostPlusWordIfWanted(ops, view, targets, CheckBox::BeforePlusCheck)) return false;
  if (!poster.Chars(text)) return false;
  if (!PostPlusWordIfWanted(ops, view, targets, CheckBox::AfterPlusCheck)) return false;
  if (view.CheckValue(CheckBox::SendNow) == kChecked && !poster.Press()) return false;
  return true;
}

}  // namespace

bool PostPlusWord(WindowOps& ops, MainWindowView& view, const TargetWindows& targets) {
  const std::u16string word = view.PlusWordText();
  // A character without an ANSI code (an emoji pasted in) would arrive as something else:
  // refuse rather than post a substitute.
  if (!AnsiCanHold(word)) {
    view.SetStatus(std::u16string(kUnsendableCharacterText));
    return false;
  }
  return Poster(ops, view, targets).Chars(word);
}

bool SendLines(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, SendMode mode,
               bool is_messenger) {
  const std::int32_t line_count = LineCount(ops, view);
  if (LineLimitExceeded(is_messenger, line_count, view.CheckValue(CheckBox::Limit))) {
    view.SetStatus(std::u16string(kTooManyLinesText));
    return false;
  }
  switch (mode) {
    case SendMode::kLines:
    case SendMode::kLinesReversed:
      return SendLineByLine(ops, view, targets, mode, line_count);
    case SendMode::kSingleReversed:
      return SendSingleLine(ops, view, targets);
  }
  return false;
}

}  // namespace kakehashi
