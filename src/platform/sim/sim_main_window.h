// An in-memory main window for the simulated desktop: the controls' values as plain data,
// with Message as an edit control of the desktop so that line reads go through it.
#pragma once

#include <map>
#include <string>

#include "forms/form_rules.h"
#include "delivery/main_window_view.h"
#include "platform/sim/sim_desktop.h"

namespace kakehashi::sim {

class SimMainWindow final : public MainWindowView {
 public:
  // Start values of the real window: mode 3 selected, boxes clear, Wait "500",
  // PlusWord "(^。^)", Status "ウィンドウが選択されていません".
  explicit SimMainWindow(SimDesktop& desktop);

  // Test controls.
  void Select(ModeOption option) { selected_ = option; }
  void SetCheck(CheckBox box, int value) { checks_[box] = value; }
  void SetPlusWord(std::u16string text) { plus_word_ = std::move(text); }
  void SetWait(std::u16string text) { wait_ = std::move(text); }
  const std::u16string& status() const { return status_; }
  const std::u16string& status_detail() const { return status_detail_; }
  // What one Ctrl+Z in Message would bring back (the text before the last undoable change).
  const std::u16string& undo_text() const { return undo_text_; }
  int status_writes() const { return status_writes_; }

  // MainWindowView
  std::u16string MessageText() const override { return desktop_.EditText(message_); }
  void SetMessageText(const std::u16string& text) override {
    desktop_.SetEditText(message_, text);
    undo_text_.clear();
  }
  void ReplaceMessageText(const std::u16string& text) override {
    undo_text_ = MessageText();
    desktop_.SetEditText(message_, text);
  }
  Handle MessageWindow() const override { return message_; }
  Handle MainWindow() const override { return desktop_.GetParent(message_); }
  bool OptionSelected(ModeOption option) const override { return selected_ == option; }
  int CheckValue(CheckBox box) const override;
  std::u16string PlusWordText() const override { return plus_word_; }
  std::u16string WaitText() const override { return wait_; }
  std::u16string StatusText() const override { return status_; }
  void SetStatus(const std::u16string& text) override { SetStatus(text, text); }
  void SetStatus(const std::u16string& text, const std::u16string& detail) override {
    status_ = text;
    status_detail_ = detail;
    ++status_writes_;
  }
  void SetTargetStatus(const std::u16string& caption) override {
    target_status_ = caption;
    SetStatus(caption);
  }
  void ShowTargetStatus() override { SetStatus(target_status_); }

 private:
  SimDesktop& desktop_;
  Handle message_;
  ModeOption selected_ = ModeOption::DEFAULTOpt;
  std::map<CheckBox, int> checks_;
  std::u16string plus_word_ = u"(^。^)";
  std::u16string wait_ = u"500";
  std::u16string status_{kStatusNoWindow};
  std::u16string status_detail_{kStatusNoWindow};
  std::u16string target_status_{kStatusNoWindow};
  std::u16string undo_text_;
  int status_writes_ = 0;
};

}  // namespace kakehashi::sim
