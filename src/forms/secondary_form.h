// The help, About and 送信先 windows' common part: loaded on demand, at most once, without
// an owner and not modal; OK, Enter, Esc or the close box close and unload them.
#pragma once

#include <windows.h>

#include "forms/form_window.h"

namespace kakehashi {

class SecondaryForm : public FormWindow {
 public:
  SecondaryForm(OpenWindows& open_windows, const FormSpec& form) : FormWindow(open_windows), form_(form) {}

 protected:
  // Loads the window (running Form_Load) unless it is loaded, then shows it in front.
  // Throws StartupError when it cannot be created.
  void OpenForm(HINSTANCE instance);
  virtual void Form_Load() = 0;
  // Drawing of the window itself, beyond its controls.
  virtual void Paint(HDC) {}
  // A command from a control or the dialog manager (`code`: the notification), before
  // the window's own handling: true when handled, and the window then stays open.
  virtual bool Command(int /*id*/, int /*code*/) { return false; }
  // The messages beyond commands and painting.
  virtual LRESULT OtherMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

 private:
  LRESULT FormMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void on_command(int id, int code);
  void on_paint();
  void cmdOK_Click();

  const FormSpec& form_;
};

}  // namespace kakehashi
