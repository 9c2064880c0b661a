// The delivery engine: SendLines and the typing of one send into its target.
#include "delivery/send_lines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "delivery/delay.h"
#include "delivery/grapheme.h"
#include "platform/code_page.h"
#include "targets/chat_target.h"

namespace kakehashi {
namespace {

bool CanHold(TextRules rules, std::u16string_view text) {
  return rules == TextRules::kUnicode ? UnicodeCanHold(text) : AnsiCanHold(text);
}

std::u16string Reversed(TextRules rules, std::u16string_view text) {
  return rules == TextRules::kUnicode ? ReverseGraphemes(text) : ReverseText(text);
}

// One send under way: the target, the progress in lines, and how it ends in the status line.
class Delivery {
 public:
  Delivery(MainWindowView& view, SendTarget& target, StopRequest& stop, std::int32_t lines)
      : view_(view), target_(target), stop_(stop), lines_(lines) {
    ShowProgress();
  }

  // Each of these is false once the send has ended early; the status line then says why.
  bool Type(std::u16string_view text) { return target_.Type(text) || Ended(); }
  bool Press() { return target_.Press() || Ended(); }

  // Header or footer: PlusWord when PlusCheck, the side's box and PlusWord say so, each
  // read now. A character the target cannot take (an emoji pasted in for a chat) would
  // arrive as something else: the send fails rather than type a substitute.
  bool PlusWordIfWanted(CheckBox side) {
    if (!PlusWordWanted(view_.CheckValue(CheckBox::PlusCheck), view_.CheckValue(side), view_.PlusWordText())) {
      return true;
    }
    const std::u16string word = view_.PlusWordText();
    if (!CanHold(target_.Rules(), word)) return Fail(SendFailure::kUnsendableCharacter);
    return Type(word);
  }

  // The delay before a press, read from Wait now. A stop cuts it short; the press follows.
  void Delay(WindowOps& ops) { ops.Sleep(DelayMilliseconds(view_.WaitText()), stop_); }

  void LineSent() {
    ++sent_;
    ShowProgress();
  }

  bool StopRequested() const { return stop_.requested(); }

  bool Stopped() {
    const StatusText status = StoppedText(sent_, lines_);
    view_.SetStatus(status.text, status.detail);
    outcome_ = SendOutcome::Kind::kStopped;
    return false;
  }

  bool Fail(SendFailure failure) {
    const StatusText status = FailedText(failure, sent_, lines_);
    view_.SetStatus(status.text, status.detail);
    outcome_ = SendOutcome::Kind::kFailed;
    return false;
  }

  SendOutcome Outcome() const { return {outcome_, sent_, lines_}; }

 private:
  bool Ended() { return target_.Stopped() ? Stopped() : Fail(target_.Failure()); }
  void ShowProgress() { view_.SetStatus(ProgressText(sent_, lines_)); }

  MainWindowView& view_;
  SendTarget& target_;
  StopRequest& stop_;
  std::int32_t lines_;
  std::int32_t sent_ = 0;
  SendOutcome::Kind outcome_ = SendOutcome::Kind::kDelivered;
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

// The lines of the box as the target's rules read them: through EM_GETLINE for a chat,
// whole from the box's text otherwise.
class LineSource {
 public:
  LineSource(WindowOps& ops, const MainWindowView& view, TextRules rules)
      : ops_(ops), view_(view), rules_(rules), text_(rules == TextRules::kChat ? std::u16string() : view.MessageText()) {}
  LineSource(const LineSource&) = delete;
  LineSource& operator=(const LineSource&) = delete;
  std::optional<std::u16string> Line(std::size_t index) {
    if (rules_ == TextRules::kChat) return ReadLine(ops_, view_.MessageWindow(), index);
    const std::size_t at = rest_.find(u"\r\n");
    std::u16string line(rest_.substr(0, at));
    rest_.remove_prefix(at == std::u16string_view::npos ? rest_.size() : at + 2);
    return line;
  }

 private:
  WindowOps& ops_;
  const MainWindowView& view_;
  TextRules rules_;
  std::u16string text_;
  std::u16string_view rest_{text_};
};

SendOutcome Refuse(MainWindowView& view, const StatusText& reason) {
  view.SetStatus(reason.text, reason.detail);
  return {};
}

SendOutcome Refuse(MainWindowView& view, std::u16string_view reason) { return Refuse(view, PlainStatus(reason)); }

SendOutcome SendLineByLine(WindowOps& ops, MainWindowView& view, SendTarget& target, SendMode mode,
                           std::int32_t line_count, StopRequest& stop) {
  // Every line ends in a press.
  if (const StatusText refusal = target.Begin(true); !refusal.text.empty()) return Refuse(view, refusal);
  const TextRules rules = target.Rules();
  LineSource source(ops, view, rules);
  Delivery delivery(view, target, stop, line_count);
  for (std::size_t i = 0; i < static_cast<std::size_t>(line_count); ++i) {
    if (delivery.StopRequested()) {
      delivery.Stopped();
      break;
    }
    const std::optional<std::u16string> line = source.Line(i);
    if (!line) {
      delivery.Fail(SendFailure::kLineTooLong);
      break;
    }
    const std::u16string text = rules == TextRules::kChat ? ShapeLine(mode, *line)
                                : mode == SendMode::kLinesReversed ? Reversed(rules, CutTrailingBlanks(*line))
                                                                   : CutTrailingBlanks(*line);
    if (!delivery.PlusWordIfWanted(CheckBox::BeforePlusCheck) || !delivery.Type(text) ||
        !delivery.PlusWordIfWanted(CheckBox::AfterPlusCheck)) {
      break;
    }
    delivery.Delay(ops);
    if (!delivery.Press()) break;
    delivery.LineSent();
  }
  const SendOutcome outcome = delivery.Outcome();
  target.End(outcome.delivered());
  return outcome;
}

SendOutcome SendSingleLine(WindowOps& ops, MainWindowView& view, SendTarget& target, StopRequest& stop) {
  if (LineCount(ops, view) > 1) return Refuse(view, kNotSingleLineText);
  const bool press = view.CheckValue(CheckBox::SendNow) == kChecked;
  const TextRules rules = target.Rules();
  const std::u16string text = Reversed(rules, view.MessageText());
  if (!CanHold(rules, text)) return Refuse(view, kUnsendableCharacterText);
  if (const StatusText refusal = target.Begin(press); !refusal.text.empty()) return Refuse(view, refusal);
  // One line: a stop has no boundary to take effect at before the end.
  Delivery delivery(view, target, stop, 1);
  if (delivery.PlusWordIfWanted(CheckBox::BeforePlusCheck) && delivery.Type(text) &&
      delivery.PlusWordIfWanted(CheckBox::AfterPlusCheck) && (!press || delivery.Press())) {
    delivery.LineSent();
  }
  const SendOutcome outcome = delivery.Outcome();
  target.End(outcome.delivered());
  return outcome;
}

}  // namespace

SendOutcome Deliver(WindowOps& ops, MainWindowView& view, SendTarget& target, SendMode mode, StopRequest& stop) {
  const std::int32_t line_count = LineCount(ops, view);
  if (target.LineLimitApplies() && LineLimitExceeded(false, line_count, view.CheckValue(CheckBox::Limit))) {
    return Refuse(view, kTooManyLinesText);
  }
  switch (mode) {
    case SendMode::kLines:
    case SendMode::kLinesReversed:
      return SendLineByLine(ops, view, target, mode, line_count, stop);
    case SendMode::kSingleReversed:
      return SendSingleLine(ops, view, target, stop);
  }
  return {};
}

SendOutcome SendLines(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, SendMode mode,
                      bool is_messenger, StopRequest& stop) {
  ChatTarget target(ops, targets, is_messenger);
  return Deliver(ops, view, target, mode, stop);
}

}  // namespace kakehashi
