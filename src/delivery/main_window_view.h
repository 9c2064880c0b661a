// The narrow view of the main window's controls that the send command and the engine read
// and write (the foreground poll writes only the caption). Every value is read from the
// control at the moment of the call: nothing is cached.
#pragma once

#include <string>

#include "platform/handle.h"
#include "targets/target_caption_view.h"

namespace kakehashi {

enum class ModeOption { AAOpt, SAKASAOpt, DEFAULTOpt };

enum class CheckBox { SendNow, Limit, PlusCheck, BeforePlusCheck, AfterPlusCheck };

class MainWindowView : public TargetCaptionView {
 public:
  virtual ~MainWindowView() = default;

  // The whole text of Message, and its replacement.
  virtual std::u16string MessageText() const = 0;
  virtual void SetMessageText(const std::u16string& text) = 0;
  // Replaces the text of Message as one step that the user can undo (Ctrl+Z).
  virtual void ReplaceMessageText(const std::u16string& text) = 0;

  // The edit control of Message, for EM_GETLINECOUNT / EM_GETLINE.
  virtual Handle MessageWindow() const = 0;
  // The main window itself (brought back to the front after a keystroke send).
  virtual Handle MainWindow() const = 0;

  // Whether the option button is selected.
  virtual bool OptionSelected(ModeOption option) const = 0;

  // The state of the check box: 0 (clear) or 1 (ticked).
  virtual int CheckValue(CheckBox box) const = 0;

  virtual std::u16string PlusWordText() const = 0;
  virtual std::u16string WaitText() const = 0;

  // The text of the status line, and its replacement. The status box is narrow: its
  // tooltip shows the last text in full, or the fuller wording `detail` of a result.
  virtual std::u16string StatusText() const = 0;
  virtual void SetStatus(const std::u16string& text) = 0;
  virtual void SetStatus(const std::u16string& text, const std::u16string& detail) = 0;

  // The poll writes the target's caption with SetTargetStatus; ShowTargetStatus writes the
  // last one again (the start text before there was any), so that a send that went
  // through leaves no older result in the status line.
  virtual void ShowTargetStatus() = 0;
};

}  // namespace kakehashi
