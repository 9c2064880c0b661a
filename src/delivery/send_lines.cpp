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
#include "text/grapheme.h"
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

// The text that, sent again in `mode`, types exactly `rest`: the part of a shaped line
// that the target has not got. Nothing when there is none (a trailing blank that would
// be cut, a user-perceived character cut in two by the stop in a reversed mode).
std::optional<std::u16string> ResendForm(SendMode mode, TextRules rules, std::u16string_view rest) {
  const bool reversed = mode != SendMode::kLines;
  std::u16string form = reversed ? Reversed(rules, rest) : std::u16string(rest);
  const std::u16string cut = mode == SendMode::kSingleReversed ? form : CutTrailingBlanks(form);
  if ((reversed ? Reversed(rules, cut) : cut) != rest) return std::nullopt;
  return form;
}

// One send under way: the target, the progress in lines, the line under way, and how the
// send ends in the status line.
class Delivery {
 public:
  Delivery(MainWindowView& view, SendTarget& target, StopRequest& stop, SendMode mode, std::int32_t lines)
      : view_(view), target_(target), stop_(stop), mode_(mode), lines_(lines) {
    ShowProgress();
  }

  // The pieces of one line, in order. Each is false once the send has ended early; the
  // status line then says why.
  void BeginLine(std::u16string text, bool more_lines) {
    text_ = std::move(text);
    more_lines_ = more_lines;
    in_line_ = true;
    header_out_ = footer_out_ = false;
  }
  // Header, the line's text and footer, as the target takes them.
  bool TypeLine() {
    if (target_.TypesWholeLines()) return TypeWholeLine();
    return PlusWordIfWanted(CheckBox::BeforePlusCheck) && Type(Piece::kText, text_) &&
           PlusWordIfWanted(CheckBox::AfterPlusCheck);
  }
  bool Press() {
    piece_ = Piece::kPress;
    return target_.Press() || Ended(NoneOut());
  }

  // The delay before a press, read from Wait now. A stop cuts it short; the press follows.
  void Delay(WindowOps& ops) { ops.Sleep(DelayMilliseconds(view_.WaitText()), stop_); }

  void LineSent() {
    ++sent_;
    in_line_ = false;
    ShowProgress();
  }

  bool StopRequested() const { return stop_.requested(); }

  bool Stopped() { return Stopped(std::nullopt); }

  bool Fail(SendFailure failure) { return Fail(failure, std::nullopt); }

  // While the target waits for the user, the status line says why, then the progress again.
  void Waiting(const StatusText& why) {
    if (why.text.empty()) {
      ShowProgress();
    } else {
      view_.SetStatus(why.text, Joined(why.detail, ProgressText(sent_, lines_)));
    }
  }

  SendOutcome Outcome() const { return {outcome_, sent_, lines_, cut_, rest_}; }

 private:
  enum class Piece { kHeader, kText, kFooter, kPress };

  // Header or footer: PlusWord when PlusCheck, the side's box and PlusWord say so, each
  // read now. A character the target cannot take (an emoji pasted in for a chat) would
  // arrive as something else: the send fails rather than type a substitute.
  bool PlusWordIfWanted(CheckBox side) {
    const Piece piece = side == CheckBox::BeforePlusCheck ? Piece::kHeader : Piece::kFooter;
    if (!PlusWordWanted(view_.CheckValue(CheckBox::PlusCheck), view_.CheckValue(side), view_.PlusWordText())) {
      return true;
    }
    const std::u16string word = view_.PlusWordText();
    if (!CanHold(target_.Rules(), word)) {
      piece_ = piece;
      return Fail(SendFailure::kUnsendableCharacter, NoneOut());
    }
    if (!Type(piece, word)) return false;
    (piece == Piece::kHeader ? header_out_ : footer_out_) = true;
    return true;
  }

  // The line with its header and footer as one text, for a target that takes lines whole.
  bool TypeWholeLine() {
    const std::u16string word = view_.PlusWordText();
    const int plus = view_.CheckValue(CheckBox::PlusCheck);
    const bool header = PlusWordWanted(plus, view_.CheckValue(CheckBox::BeforePlusCheck), word);
    const bool footer = PlusWordWanted(plus, view_.CheckValue(CheckBox::AfterPlusCheck), word);
    piece_ = Piece::kText;
    if ((header || footer) && !CanHold(target_.Rules(), word)) return Fail(SendFailure::kUnsendableCharacter, NoneOut());
    std::u16string whole = header ? word : std::u16string();
    whole += text_;
    if (footer) whole += word;
    if (!target_.Type(whole)) return Ended(target_.TypedUnits());
    header_out_ = header;
    footer_out_ = footer;
    return true;
  }

  // Nothing of the current piece has gone out, told as a target that counts what it typed
  // would tell it.
  std::optional<std::size_t> NoneOut() const {
    return target_.TypedUnits() ? std::optional<std::size_t>(0) : std::nullopt;
  }

  static std::u16string Joined(std::u16string_view a, std::u16string_view b) {
    std::u16string out(a);
    out += u"（";
    out += b;
    out += u"）";
    return out;
  }

  bool Type(Piece piece, std::u16string_view text) {
    piece_ = piece;
    return target_.Type(text) || Ended(target_.TypedUnits());
  }

  bool Ended(std::optional<std::size_t> units) {
    return target_.Stopped() ? Stopped(units) : Fail(target_.Failure(), units);
  }

  bool Stopped(std::optional<std::size_t> units) {
    CutLine(units);
    const StatusText status = StoppedText(sent_, lines_, cut_);
    view_.SetStatus(status.text, status.detail);
    outcome_ = SendOutcome::Kind::kStopped;
    return false;
  }

  bool Fail(SendFailure failure, std::optional<std::size_t> units) {
    CutLine(units);
    const StatusText status = FailedText(failure, sent_, lines_, cut_);
    view_.SetStatus(status.text, status.detail);
    outcome_ = SendOutcome::Kind::kFailed;
    return false;
  }

  // How the line under way stands in the box after the send ended with `units` of the
  // current piece out. A target that does not know what it typed leaves the line whole.
  void CutLine(std::optional<std::size_t> units) {
    if (!in_line_ || !units) return;
    std::size_t at = 0;  // units of the line's text out
    switch (piece_) {
      case Piece::kHeader:
        if (*units == 0) return;
        return Whole();
      case Piece::kText:
        if (header_out_) return Whole();
        if (*units == 0) return;
        at = std::min(*units, text_.size());
        break;
      case Piece::kFooter:
        if (header_out_ || *units > 0) return Whole();
        at = text_.size();
        break;
      case Piece::kPress:
        if (header_out_ || footer_out_) return Whole();
        at = text_.size();
        break;
    }
    std::optional<std::u16string> form = ResendForm(mode_, target_.Rules(), std::u16string_view(text_).substr(at));
    // An empty rest with no line after it would leave nothing to send the press with.
    if (!form || (form->empty() && !more_lines_)) return Whole();
    cut_ = LineCut::kRest;
    rest_ = std::move(*form);
  }
  void Whole() { cut_ = LineCut::kWhole; }

  void ShowProgress() { view_.SetStatus(ProgressText(sent_, lines_)); }

  MainWindowView& view_;
  SendTarget& target_;
  StopRequest& stop_;
  SendMode mode_;
  std::int32_t lines_;
  std::int32_t sent_ = 0;
  SendOutcome::Kind outcome_ = SendOutcome::Kind::kDelivered;
  // The line under way: its shaped text, the piece being typed, what of it is out.
  std::u16string text_;
  bool more_lines_ = false;
  bool in_line_ = false;
  Piece piece_ = Piece::kHeader;
  bool header_out_ = false;
  bool footer_out_ = false;
  LineCut cut_ = LineCut::kNone;
  std::u16string rest_;
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

// The target tells the status line while it waits for the user.
class WaitNotices {
 public:
  WaitNotices(SendTarget& target, Delivery& delivery) : target_(target) {
    target_.SetWaitNotice([&delivery](const StatusText& why) { delivery.Waiting(why); });
  }
  ~WaitNotices() { target_.SetWaitNotice(nullptr); }
  WaitNotices(const WaitNotices&) = delete;
  WaitNotices& operator=(const WaitNotices&) = delete;

 private:
  SendTarget& target_;
};

SendOutcome SendLineByLine(WindowOps& ops, MainWindowView& view, SendTarget& target, SendMode mode,
                           std::int32_t line_count, StopRequest& stop) {
  Delivery delivery(view, target, stop, mode, line_count);
  const WaitNotices notices(target, delivery);
  // Every line ends in a press.
  if (const StatusText refusal = target.Begin(true); !refusal.text.empty()) return Refuse(view, refusal);
  const TextRules rules = target.Rules();
  LineSource source(ops, view, rules);
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
    delivery.BeginLine(text, i + 1 < static_cast<std::size_t>(line_count));
    if (!delivery.TypeLine()) break;
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
  Delivery delivery(view, target, stop, SendMode::kSingleReversed, 1);
  const WaitNotices notices(target, delivery);
  if (const StatusText refusal = target.Begin(press); !refusal.text.empty()) return Refuse(view, refusal);
  // One line: a stop has no boundary to take effect at before the end.
  delivery.BeginLine(text, false);
  if (delivery.TypeLine() && (!press || delivery.Press())) delivery.LineSent();
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
