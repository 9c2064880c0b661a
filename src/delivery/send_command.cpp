// The send command.
#include "delivery/send_command.h"

#include <exception>
#include <memory>
#include <string>

#include "text/line_breaks.h"
#include "platform/code_page.h"
#include "targets/chat_target.h"
#include "targets/keystroke_target.h"
#include "targets/picked_target.h"

namespace kakehashi {
namespace {

bool PlusWordWantedOnEitherSide(const MainWindowView& view) {
  const int plus = view.CheckValue(CheckBox::PlusCheck);
  const std::u16string word = view.PlusWordText();
  return PlusWordWanted(plus, view.CheckValue(CheckBox::BeforePlusCheck), word) ||
         PlusWordWanted(plus, view.CheckValue(CheckBox::AfterPlusCheck), word);
}

// True when some line (the box breaks lines at CR LF) is longer in ANSI bytes than a line
// read can hold. Called only for text that the code page can hold.
bool HasOverlongLine(std::u16string_view text) {
  for (;;) {
    const std::size_t at = text.find(u"\r\n");
    // Each character takes at most two bytes: short stretches need no conversion.
    const std::u16string_view line = text.substr(0, at);
    if (line.size() * 2 > kLongestLineBytes && ToAnsi(line).size() > kLongestLineBytes) return true;
    if (at == std::u16string_view::npos) return false;
    text.remove_prefix(at + 2);
  }
}

// Whether every line of `text` (broken at CR LF) can go to a Unicode target.
bool UnicodeLinesCanHold(std::u16string_view text) {
  for (;;) {
    const std::size_t at = text.find(u"\r\n");
    if (!UnicodeCanHold(text.substr(0, at))) return false;
    if (at == std::u16string_view::npos) return true;
    text.remove_prefix(at + 2);
  }
}

// Why the text cannot be sent whole, or empty when it can.
std::u16string_view Unsendable(const MainWindowView& view, std::u16string_view text, SendMode mode, TextRules rules) {
  if (rules == TextRules::kUnicode) {
    const bool ok = UnicodeLinesCanHold(text) && (!PlusWordWantedOnEitherSide(view) || UnicodeCanHold(view.PlusWordText()));
    return ok ? std::u16string_view() : kUnsendableCharacterText;
  }
  if (!AnsiCanHold(text)) return kUnsendableCharacterText;
  if (PlusWordWantedOnEitherSide(view) && !AnsiCanHold(view.PlusWordText())) return kUnsendableCharacterText;
  // Only the chat's lines are read through the box's line buffer.
  if (rules == TextRules::kChat && mode != SendMode::kSingleReversed && HasOverlongLine(text)) return kLineTooLongText;
  return {};
}

std::unique_ptr<SendTarget> MakeTarget(WindowOps& ops, const MainWindowView& view, const TargetWindows& targets,
                                       const TargetSettings& settings, Handle front_window, StopRequest& stop) {
  switch (settings.kind) {
    case TargetKind::kKeystrokes:
      return std::make_unique<KeystrokeTarget>(ops, front_window, view.MainWindow(), settings.char_interval_ms, stop,
                                               settings.keys_way);
    case TargetKind::kPickedWindow:
      return std::make_unique<PickedTarget>(ops, settings.picked, settings.press, settings.char_interval_ms, stop);
    case TargetKind::kChat: break;
  }
  return std::make_unique<ChatTarget>(ops, targets, targets.TargetIsMessenger);
}

bool HasTarget(const TargetWindows& targets, const TargetSettings& settings, Handle front_window) {
  switch (settings.kind) {
    case TargetKind::kKeystrokes: return static_cast<bool>(front_window);
    case TargetKind::kPickedWindow: return static_cast<bool>(settings.picked.input);
    case TargetKind::kChat: break;
  }
  return static_cast<bool>(targets.TargetEdit);
}

}  // namespace

std::u16string LinesFrom(std::u16string_view text, std::int32_t first) {
  for (std::int32_t i = 0; i < first; ++i) {
    const std::size_t at = text.find(u"\r\n");
    if (at == std::u16string_view::npos) return {};
    text.remove_prefix(at + 2);
  }
  return std::u16string(text);
}

SendMode SelectedMode(const MainWindowView& view) {
  if (view.OptionSelected(ModeOption::AAOpt)) return SendMode::kLines;
  if (view.OptionSelected(ModeOption::SAKASAOpt)) return SendMode::kLinesReversed;
  return SendMode::kSingleReversed;
}

SendOutcome SendCommand(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, StopRequest& stop) {
  return SendCommand(ops, view, targets, TargetSettings{}, kNoWindow, stop);
}

SendOutcome SendCommand(WindowOps& ops, MainWindowView& view, const TargetWindows& targets,
                        const TargetSettings& settings, Handle front_window, StopRequest& stop) {
  try {
    std::u16string text = view.MessageText();
    if (text.empty()) {
      view.SetStatus(std::u16string(kEmptyMessageText));
      return {};
    }
    if (!HasTarget(targets, settings, front_window)) {
      view.SetStatus(std::u16string(kNoTargetText));
      return {};
    }
    const std::unique_ptr<SendTarget> target = MakeTarget(ops, view, targets, settings, front_window, stop);
    if (const std::u16string_view reason = target->Unavailable(); !reason.empty()) {
      view.SetStatus(std::u16string(reason));
      return {};
    }
    const TextRules rules = target->Rules();
    if (rules != TextRules::kUnicode && ops.AnsiCodePage() != kShiftJisCodePage) {
      view.SetStatus(std::u16string(kNeedsShiftJisText));
      return {};
    }
    // A lone CR or LF is a line break: lines then read alike on every system, and neither
    // is ever posted as a character.
    if (HasLoneLineBreak(text)) view.SetMessageText(text = ToCrLf(text));
    const SendMode mode = SelectedMode(view);
    if (const std::u16string_view reason = Unsendable(view, text, mode, rules); !reason.empty()) {
      view.SetStatus(std::u16string(reason));
      return {};
    }
    // Win32: the engine reads lines through EM_GETLINE, whose ANSI text the box makes with
    // best fit, and that has no look-alike right (WAVE DASH gives '?'): the box holds the
    // code page's characters while the engine runs, and the user's text again unless the
    // send went through.
    const std::u16string forms = rules == TextRules::kChat ? CodePageForms(text) : text;
    if (forms != text) view.SetMessageText(forms);
    const SendOutcome outcome = Deliver(ops, view, *target, mode, stop);
    if (forms != text) view.SetMessageText(text);
    if (outcome.delivered()) {
      // Emptied as one step that the user can undo: Ctrl+Z brings the text back.
      view.ReplaceMessageText(u"");
      // The progress shown during the send is not a message of its own.
      view.ShowTargetStatus();
      return outcome;
    }
    // Sending again goes on where this send ended instead of repeating what was said: the
    // box keeps the lines not yet said, the one cut short as its part still to type.
    if (outcome.cut == LineCut::kRest) {
      std::u16string left = outcome.rest;
      if (mode != SendMode::kSingleReversed && outcome.sent + 1 < outcome.total) {
        left += u"\r\n";
        left += LinesFrom(text, outcome.sent + 1);
      }
      view.ReplaceMessageText(left);
    } else if (outcome.sent > 0 && mode != SendMode::kSingleReversed) {
      view.ReplaceMessageText(LinesFrom(text, outcome.sent));
    }
    return outcome;
  } catch (const std::exception&) {
    // Out of memory for a huge text: the text stays in the box and the user is told.
    view.SetStatus(std::u16string(kSendFailedText));
    return {};
  }
}

}  // namespace kakehashi
