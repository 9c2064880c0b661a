// The delivery engine: SendLines and the posting of one send.
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

SendFailure PostFailure(std::uint32_t error) {
  switch (error) {
    case kErrorNotEnoughQuota: return SendFailure::kNotResponding;
    case kErrorAccessDenied: return SendFailure::kDenied;
    default: return SendFailure::kTargetGone;
  }
}

// One send under way: its posts, its progress in lines, and how it ends in the status line.
class Delivery {
 public:
  Delivery(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, StopRequest& stop,
           std::int32_t lines)
      : ops_(ops), view_(view), targets_(targets), stop_(stop), lines_(lines) {
    ShowProgress();
  }

  // Each of these is false once the send has failed; the status line then says why.
  bool Chars(std::u16string_view text) {
    for (const std::int32_t code : CharCodes(text)) {
      // The code travels sign-extended: a double-byte code arrives with the upper bits set.
      if (!Post(targets_.TargetEdit, kWmImeChar, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(code)))) {
        return false;
      }
    }
    return true;
  }

  // The press: the button's control id (0 when there is none) to the button's owner.
  bool Press() {
    const int id = ops_.GetDlgCtrlID(targets_.TargetSendButton);
    return Post(targets_.TargetHost, kWmCommand, static_cast<std::uintptr_t>(static_cast<std::uint32_t>(id)));
  }

  // Header or footer: PlusWord when PlusCheck, the side's box and PlusWord say so, each
  // read now.
  bool PlusWordIfWanted(CheckBox side) {
    if (!PlusWordWanted(view_.CheckValue(CheckBox::PlusCheck), view_.CheckValue(side), view_.PlusWordText())) {
      return true;
    }
    return PostPlusWord();
  }

  // The text of PlusWord, character by character. A character without an ANSI code (an
  // emoji pasted in) would arrive as something else: the send fails rather than post a
  // substitute.
  bool PostPlusWord() {
    const std::u16string word = view_.PlusWordText();
    if (!AnsiCanHold(word)) return Fail(SendFailure::kUnsendableCharacter);
    return Chars(word);
  }

  // The delay before a press, read from Wait now. A stop cuts it short; the press follows.
  void Delay() { ops_.Sleep(DelayMilliseconds(view_.WaitText()), stop_); }

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
  void ShowProgress() { view_.SetStatus(ProgressText(sent_, lines_)); }

  // Win32: a thread's queue takes at most 10,000 posted messages; past that PostMessage
  // fails with 1816 while the chat works through its backlog. That is back-pressure, not
  // failure: the post is tried again after a pause, until the receiver has taken nothing
  // for kNotRespondingAfterMs by the clock. The pauses are not cut short by a stop, which
  // waits for the end of the line.
  bool Post(Handle window, std::uint32_t message, std::uintptr_t wparam) {
    std::uint64_t refused_since = 0;
    bool refused = false;
    for (;;) {
      const PostResult result = ops_.PostMessageA(window, message, wparam, 0);
      if (result.ok()) return true;
      const std::uint64_t now = ops_.TickCount();
      if (!refused) refused_since = now;
      refused = true;
      if (result.error != kErrorNotEnoughQuota || now - refused_since >= kNotRespondingAfterMs) {
        return Fail(PostFailure(result.error));
      }
      StopRequest pause;
      ops_.Sleep(kQueueFullPauseMs, pause);
    }
  }

  WindowOps& ops_;
  MainWindowView& view_;
  const TargetWindows& targets_;
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

SendOutcome Refuse(MainWindowView& view, std::u16string_view reason) {
  view.SetStatus(std::u16string(reason));
  return {};
}

// Checks that need the target, made before the first post.
std::u16string_view TargetRefusal(WindowOps& ops, const TargetWindows& targets, bool press) {
  if (press && !targets.TargetHost) return kTargetGoneText;
  if (ops.RunsAboveUs(targets.TargetEdit) || (press && ops.RunsAboveUs(targets.TargetHost))) {
    return kTargetElevatedText;
  }
  return {};
}

SendOutcome SendLineByLine(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, SendMode mode,
                           std::int32_t line_count, StopRequest& stop) {
  // Every line ends in a press.
  if (const std::u16string_view reason = TargetRefusal(ops, targets, true); !reason.empty()) {
    return Refuse(view, reason);
  }
  Delivery delivery(ops, view, targets, stop, line_count);
  for (std::size_t i = 0; i < static_cast<std::size_t>(line_count); ++i) {
    if (delivery.StopRequested()) {
      delivery.Stopped();
      break;
    }
    const std::optional<std::u16string> line = ReadLine(ops, view.MessageWindow(), i);
    if (!line) {
      delivery.Fail(SendFailure::kLineTooLong);
      break;
    }
    const std::u16string text = ShapeLine(mode, *line);
    if (!delivery.PlusWordIfWanted(CheckBox::BeforePlusCheck) || !delivery.Chars(text) ||
        !delivery.PlusWordIfWanted(CheckBox::AfterPlusCheck)) {
      break;
    }
    delivery.Delay();
    if (!delivery.Press()) break;
    delivery.LineSent();
  }
  return delivery.Outcome();
}

SendOutcome SendSingleLine(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, StopRequest& stop) {
  if (LineCount(ops, view) > 1) return Refuse(view, kNotSingleLineText);
  const bool press = view.CheckValue(CheckBox::SendNow) == kChecked;
  if (const std::u16string_view reason = TargetRefusal(ops, targets, press); !reason.empty()) {
    return Refuse(view, reason);
  }
  const std::u16string text = ReverseText(view.MessageText());
  if (!AnsiCanHold(text)) return Refuse(view, kUnsendableCharacterText);
  // One line: a stop has no boundary to take effect at before the end.
  Delivery delivery(ops, view, targets, stop, 1);
  if (delivery.PlusWordIfWanted(CheckBox::BeforePlusCheck) && delivery.Chars(text) &&
      delivery.PlusWordIfWanted(CheckBox::AfterPlusCheck) && (!press || delivery.Press())) {
    delivery.LineSent();
  }
  return delivery.Outcome();
}

}  // namespace

SendOutcome SendLines(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, SendMode mode,
                      bool is_messenger, StopRequest& stop) {
  const std::int32_t line_count = LineCount(ops, view);
  if (LineLimitExceeded(is_messenger, line_count, view.CheckValue(CheckBox::Limit))) {
    return Refuse(view, kTooManyLinesText);
  }
  switch (mode) {
    case SendMode::kLines:
    case SendMode::kLinesReversed:
      return SendLineByLine(ops, view, targets, mode, line_count, stop);
    case SendMode::kSingleReversed:
      return SendSingleLine(ops, view, targets, stop);
  }
  return {};
}

}  // namespace kakehashi
