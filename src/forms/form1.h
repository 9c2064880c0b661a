// Form1, the main window: the message box, the delivery options, the status line and the
// menu. It is the view that the send command and the foreground poll read and write.
#pragma once

#include <windows.h>

#include <string>

#include "forms/control_ids.h"
#include "forms/form_window.h"
#include "forms/main_window_view.h"
#include "platform/win32/win32_window_ops.h"
#include "targets/target_windows.h"

namespace kakehashi {

class FrmTip;
class FrmAbout;

// The home page opened from the menu.
inline constexpr char kHomePage[] = "https://example.com/kakehashi/";

class Form1 final : public FormWindow, public MainWindowView {
 public:
  Form1(OpenWindows& open_windows, FrmTip& tip, FrmAbout& about)
      : FormWindow(open_windows), tip_(tip), about_(about) {}

  // Creates the window and its controls, runs Form_Load and shows it. Throws StartupError.
  void Load(HINSTANCE instance, int show_command);

  // MainWindowView: every value is read from the control at the moment of the call.
  std::u16string StatusText() const override;
  std::u16string MessageText() const override;
  void SetMessageText(const std::u16string& text) override;
  Handle MessageWindow() const override;
  bool OptionSelected(ModeOption option) const override;
  int CheckValue(CheckBox box) const override;
  std::u16string PlusWordText() const override;
  std::u16string WaitText() const override;
  void SetStatus(const std::u16string& text) override;

 private:
  LRESULT FormMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnException() override;
  void on_command(int id, int code);
  void on_destroy();

  void Form_Load();
  void Option_Click(ModeOption option);
  void SendNow_Click();
  void PlusCheck_Click();
  void Limit_Click();
  void Wait_Change();
  void Message_GotFocus();
  void Message_Change();
  void Menu_Click();
  void Version_Click();
  void GotoHP_Click();
  void Send_Click();
  void Timer1_Timer();

  // During a send the controls that it reads are disabled, so every value it reads is
  // the one the user set, and Send reads "中止".
  void LockForSend(bool locked);

  HINSTANCE instance_ = nullptr;
  // The mode option selected at the last handled click (mode 3 at start).
  ModeOption selected_option_ = ModeOption::DEFAULTOpt;
  bool fixing_line_breaks_ = false;
  FrmTip& tip_;
  FrmAbout& about_;
  Win32WindowOps ops_;
  TargetWindows targets_;
  // A send runs inside Send_Click while its waits keep serving the window: Send, Enter or
  // Esc then stop it, closing the window stops it first and closes after, and the poll
  // does not run, so the target cannot change under it.
  bool sending_ = false;
  StopRequest stop_;
  bool close_after_send_ = false;
  HWND focus_before_send_ = nullptr;
  bool quiet_focus_ = false;  // the focus comes back after a send: no hint
};

}  // namespace kakehashi
