// The help and About windows' common part: loaded on demand, at most once, without an
// owner and not modal; OK, Enter, Esc or the close box close and unload them.
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

 private:
  LRESULT FormMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void on_command(int id);
  void on_paint();
  void cmdOK_Click();

  const FormSpec& form_;
};

}  // namespace kakehashi
