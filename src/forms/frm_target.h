// frmTarget, the 送信先 window: the kind of target, the pause between characters, and the
// input box and send button picked for background sends, with the finders that pick them.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "forms/secondary_form.h"
#include "targets/target_settings.h"

namespace kakehashi {

inline constexpr wchar_t kFrmTargetCaption[] = L"送信先の設定";

// The window's control table (for tests that measure its controls).
std::span<const ControlSpec> FrmTargetControlTable();

// What the window needs of the main window, which owns the settings.
class TargetSettingsHost {
 public:
  // The window has just changed the settings; `kind_changed`: their kind among them.
  virtual void TargetSettingsChanged(bool kind_changed) = 0;
  // Writes `text` into the status line.
  virtual void SetStatus(const std::u16string& text) = 0;
  // Writes the picked target's caption into the status line; a send that goes through
  // shows it again.
  virtual void SetTargetStatus(const std::u16string& caption) = 0;

 protected:
  ~TargetSettingsHost() = default;
};

class FrmTarget final : public SecondaryForm {
 public:
  explicit FrmTarget(OpenWindows& open_windows);
  // Shows the window with `settings`, which it changes in place at each change the user
  // makes and reports to `host`. Both must outlive the window. Throws StartupError.
  void Open(HINSTANCE instance, TargetSettings& settings, TargetSettingsHost& host);

 private:
  enum class Pick { kNone, kInput, kButton };
  static constexpr UINT_PTR kFinderSubclassId = 1;

  void Form_Load() override;
  bool Command(int id, int code) override;
  LRESULT OtherMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnException() override;

  void Kind_Click(ControlId option, TargetKind kind);
  void Interval_Change();
  void Interval_LostFocus();
  void Delayed_Click(Pick pick);
  void Countdown_Timer();
  void StopCountdown();

  // The finders' drag: started by a press on a finder, followed while the mouse moves,
  // ended by the release (a pick) or by a lost capture or Esc (nothing picked).
  static LRESULT CALLBACK FinderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  LRESULT FinderMessage(HWND finder, UINT msg, WPARAM wp, LPARAM lp);
  void BeginDrag(HWND finder, Pick pick);
  void DragOver(POINT screen);
  void EndDrag(const POINT* drop);
  void Outline(HWND window);

  // Records `window` as the picked input box or button, or says why it cannot be.
  void Take(Pick pick, HWND window);
  void TakeFocusedInFront(Pick pick);
  void Refuse(std::u16string_view why);

  void ShowSettings();
  void ShowPicked();
  void EnableControls();

  TargetSettings* settings_ = nullptr;
  TargetSettingsHost* host_ = nullptr;
  Pick dragging_ = Pick::kNone;
  HWND outlined_ = nullptr;
  RECT outlined_rect_{};  // where the outline was drawn, to erase it there
  Pick counting_ = Pick::kNone;
  int seconds_left_ = 0;
};

}  // namespace kakehashi
