// Form1, the main window: the message box, the delivery options, the status line and the
// menu. It is the view that the send command and the foreground poll read and write.
#pragma once

#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "forms/control_ids.h"
#include "forms/form_window.h"
#include "forms/frm_target.h"
#include "delivery/main_window_view.h"
#include "forms/send_thread.h"
#include "forms/status_tip.h"
#include "platform/win32/win32_window_ops.h"
#include "targets/foreground_poll.h"
#include "targets/target_settings.h"
#include "targets/target_windows.h"

namespace kakehashi {

class FrmTip;
class FrmAbout;

// The home page opened from the menu; empty when none was set for the build.
inline constexpr char kHomePage[] = KAKEHASHI_HOME_PAGE;

// The caption of Send, and the one it has while a send runs.
inline constexpr wchar_t kSendCaption[] = L"送信";
inline constexpr wchar_t kStopCaption[] = L"中止";

// What the status line says when a handler failed unexpectedly.
inline constexpr std::u16string_view kInternalErrorText = u"内部エラーが発生しました";

// Form1's control table (for tests that measure its controls).
std::span<const ControlSpec> Form1ControlTable();

class Form1 final : public FormWindow, public MainWindowView, public TargetSettingsHost {
 public:
  Form1(OpenWindows& open_windows, FrmTip& tip, FrmAbout& about, FrmTarget& target_form)
      : FormWindow(open_windows), tip_(tip), about_(about), target_form_(target_form) {}
  ~Form1() override;

  // Creates the window and its controls, runs Form_Load and shows it. Throws StartupError.
  void Load(HINSTANCE instance, int show_command);

  // The program was told to quit: true when a send runs, which is then stopped; the quit
  // is posted again with `exit_code` when it has ended.
  bool StopSendBeforeQuit(int exit_code);

  // MainWindowView: every value is read from the control at the moment of the call. The
  // reads and Message's text may be used from the send's thread (Win32 sends them to this
  // window's thread); the status line belongs to this window's thread.
  std::u16string StatusText() const override;
  std::u16string MessageText() const override;
  void SetMessageText(const std::u16string& text) override;
  void ReplaceMessageText(const std::u16string& text) override;
  Handle MessageWindow() const override;
  Handle MainWindow() const override { return FromHwnd(hwnd()); }
  bool OptionSelected(ModeOption option) const override;
  int CheckValue(CheckBox box) const override;
  std::u16string PlusWordText() const override;
  std::u16string WaitText() const override;
  void SetStatus(const std::u16string& text) override;
  void SetStatus(const std::u16string& text, const std::u16string& detail) override;
  void SetTargetStatus(const std::u16string& caption) override;
  void ShowTargetStatus() override;

  // What the user chose in the 送信先 window; the send reads it.
  const TargetSettings& settings() const { return settings_; }
  // TargetSettingsHost: the 送信先 window changed settings(); a new kind is named in the
  // status line.
  void TargetSettingsChanged(bool kind_changed) override;

 private:
  static constexpr int kEscHotKeyId = 1;
  static constexpr UINT_PTR kProgressTimerId = 2;
  static constexpr ULONGLONG kProgressPaintMs = 50;
  // The controls locked for a send show as disabled once the send has lasted this long: a
  // shorter one ends before a user could reach them, and would only make them flash grey.
  static constexpr UINT_PTR kLockLookTimerId = 3;
  static constexpr UINT kLockLookMs = 250;

  LRESULT FormMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnException() override;
  void on_command(int id, int code);
  void on_destroy();
  void on_send_status();
  void ShowStatusUpdate(const StatusUpdate& update);
  void on_send_done();
  void on_timer(UINT_PTR id);
  void ShowPendingProgress();
  // The text as it fits the status box: cut, ending in "…", when it is wider.
  std::wstring FitStatusText(const std::wstring& text) const;

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
  void TargetMenu_Click();
  void Send_Click();
  void Timer1_Timer();

  // Makes the controls the window does not show at start, once.
  void BuildRest();
  // During a send the controls that it reads are disabled, so every value it reads is
  // the one the user set, and Send reads "中止".
  void LockForSend();
  void ShowLockForSend();
  void UnlockAfterSend();

  HINSTANCE instance_ = nullptr;
  // The mode option selected at the last handled click (mode 3 at start).
  ModeOption selected_option_ = ModeOption::DEFAULTOpt;
  bool fixing_line_breaks_ = false;
  FrmTip& tip_;
  FrmAbout& about_;
  FrmTarget& target_form_;
  TargetSettings settings_;
  Win32WindowOps ops_;
  TargetWindows targets_;
  FrontWindow front_;
  // A send runs on its own thread (send_ while it runs): Send, Enter or Esc stop it,
  // closing the window stops it first and closes after, and the poll does not run, so the
  // target cannot change under it.
  std::unique_ptr<SendThread> send_;
  ULONGLONG send_started_ = 0;
  bool close_after_send_ = false;
  bool quit_after_send_ = false;
  int quit_code_ = 0;
  StatusTip status_tip_;
  bool status_tip_tried_ = false;
  std::wstring status_detail_;
  std::u16string status_text_;   // the last text asked for
  std::wstring status_shown_;    // and how the box shows it
  std::u16string target_status_;
  bool esc_hot_key_ = false;  // Esc stops a keystroke send while another window is in front
  // Progress repaints at most every kProgressPaintMs: the newest text waits for its turn.
  std::u16string pending_progress_;
  ULONGLONG progress_painted_ = 0;
  HWND focus_before_send_ = nullptr;
  bool quiet_focus_ = false;  // the focus comes back after a send: no hint
};

}  // namespace kakehashi
