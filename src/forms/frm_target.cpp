// frmTarget: its control table, the settings it shows and changes, and the picks (the
// finders' drag is in frm_target_finder.cpp).
#include "forms/frm_target.h"

#include "delivery/status_texts.h"

#include <commctrl.h>

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "forms/dialog_edit.h"
#include "forms/finder.h"
#include "forms/form1.h"
#include "forms/target_rules.h"
#include "forms/win32_text.h"
#include "platform/win32/win32_window_ops.h"
#include "targets/picked_target.h"

namespace kakehashi {
namespace {

using enum ControlId;
using K = ControlKind;
using F = FontKind;

// A grey line under each kind says what it is for.
constexpr wchar_t kChatHint[] = L"2000年代のチャット（サービス終了）用。ふだんは使いません";
constexpr wchar_t kKeysHint[] = L"送信先の入力欄を一度クリックしてから、ここに戻って送信";
constexpr wchar_t kPickedHint[] = L"クリックしなくても、指定した入力欄に裏で入力します";

// Broken where a reader pauses: the label would break a word anywhere.
constexpr wchar_t kPickHint[] = L"十字を入力欄までドラッグして離すか、\r\nボタンを押してから3秒以内に入力欄をクリックしてください。";

constexpr wchar_t kInputDelayedCaption[] = L"3秒後に前面の入力欄を指定";
constexpr wchar_t kButtonDelayedCaption[] = L"3秒後に前面のボタンを指定";

// Positions in twips from the top left of the window's or the frame's client area.
constexpr ControlSpec kFrmTargetControls[] = {
    {TargetKindFrame, K::Frame, kNone, L"送信先", 120, 60, 6660, 2160, 0, F::WindowDefault},
    {TargetChatOpt, K::OptionButton, TargetKindFrame, L"チャット画面（自動）", 240, 240, 5400, 255, 0, F::UiGothic9, kNoColour, Back::Default, kGroup},
    {TargetChatHint, K::Label, TargetKindFrame, kChatHint, 540, 510, 6000, 210, 1, F::UiGothic825, kGrey},
    {TargetKeysOpt, K::OptionButton, TargetKindFrame, L"前面のウィンドウ（キー入力）", 240, 780, 5400, 255, 2, F::UiGothic9},
    {TargetKeysHint, K::Label, TargetKindFrame, kKeysHint, 540, 1050, 6000, 210, 3, F::UiGothic825, kGrey},
    {TargetPickedOpt, K::OptionButton, TargetKindFrame, L"指定したウィンドウ（バックグラウンド）", 240, 1590, 5400, 255, 4, F::UiGothic9},
    {TargetPickedHint, K::Label, TargetKindFrame, kPickedHint, 540, 1860, 6000, 210, 5, F::UiGothic825, kGrey},
    // kGroup ends the group of the three kinds, which the focus order keeps together, and
    // starts that of the two ways of keystrokes, shown under their kind.
    {TargetTypeOpt, K::OptionButton, TargetKindFrame, L"1文字ずつキー入力", 540, 1305, 2400, 255, 6, F::UiGothic9, kNoColour, Back::Default, kGroup},
    {TargetPasteOpt, K::OptionButton, TargetKindFrame, L"1行ずつ貼り付け", 3060, 1305, 2400, 255, 7, F::UiGothic9},
    {TargetIntervalLabel, K::Label, kNone, L"文字の間隔（ミリ秒）", 240, 2400, 1980, 240, 3, F::UiGothic9},
    {TargetInterval, K::Edit, kNone, L"0", 2280, 2355, 900, 300, 4, F::WindowDefault},
    {TargetPickFrame, K::Frame, kNone, L"指定するウィンドウ", 120, 2820, 6660, 4650, 5, F::WindowDefault},
    {TargetPickHint, K::Label, TargetPickFrame, kPickHint, 240, 270, 6180, 450, 5, F::UiGothic9},
    {TargetInputLabel, K::Label, TargetPickFrame, L"入力欄", 240, 960, 1320, 240, 6, F::UiGothic9},
    {TargetInputFinder, K::Finder, TargetPickFrame, L"", 1620, 810, 540, 540, 7},
    {TargetInputDelayed, K::CommandButton, TargetPickFrame, kInputDelayedCaption, 2340, 855, 3600, 420, 8, F::WindowDefault},
    {TargetButtonLabel, K::Label, TargetPickFrame, L"送信ボタン", 240, 1560, 1320, 240, 9, F::UiGothic9},
    {TargetButtonFinder, K::Finder, TargetPickFrame, L"", 1620, 1410, 540, 540, 10},
    {TargetButtonDelayed, K::CommandButton, TargetPickFrame, kButtonDelayedCaption, 2340, 1455, 3600, 420, 11, F::WindowDefault},
    {TargetPressLabel, K::Label, TargetPickFrame, L"行の終わりに", 240, 2130, 1320, 240, 12, F::UiGothic9},
    {TargetPressEnter, K::OptionButton, TargetPickFrame, L"Enter キー", 1620, 2100, 1260, 270, 13, F::UiGothic9, kNoColour, Back::Default, kGroup},
    {TargetPressButton, K::OptionButton, TargetPickFrame, L"指定したボタン", 2940, 2100, 1740, 270, 14, F::UiGothic9},
    {TargetPressNone, K::OptionButton, TargetPickFrame, L"押さない", 4740, 2100, 1260, 270, 15, F::UiGothic9},
    // kGroup ends the group of the three press options.
    {TargetPicked, K::WrappedReadOnly, TargetPickFrame, L"", 240, 2490, 6180, 2010, 16, F::UiGothic9, kNoColour, Back::Default, kGroup},
    {TargetClose, K::DefaultButton, kNone, L"閉じる", 5400, 7590, 1380, 375, 17, F::WindowDefault},
};

// Fixed dialog border, without minimise and maximise boxes.
constexpr FormSpec kFrmTargetSpec = {
    L"KakehashiFrmTarget", kFrmTargetCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
    6900, 8085, false, 2400, 1800, kFrmTargetControls, TargetChatOpt, TargetClose,
};

}  // namespace

std::span<const ControlSpec> FrmTargetControlTable() { return kFrmTargetControls; }

namespace {

constexpr std::array<std::pair<ControlId, TargetKind>, 3> kKindOptions = {{
    {TargetChatOpt, TargetKind::kChat},
    {TargetKeysOpt, TargetKind::kKeystrokes},
    {TargetPickedOpt, TargetKind::kPickedWindow},
}};

constexpr std::array<std::pair<ControlId, KeystrokeWay>, 2> kWayOptions = {{
    {TargetTypeOpt, KeystrokeWay::kTyping},
    {TargetPasteOpt, KeystrokeWay::kPasting},
}};

constexpr std::array<std::pair<ControlId, PickedPress>, 3> kPressOptions = {{
    {TargetPressEnter, PickedPress::kEnter},
    {TargetPressButton, PickedPress::kButton},
    {TargetPressNone, PickedPress::kNone},
}};

// The controls that act on the picked window: enabled only while that kind is chosen.
constexpr ControlId kPickControls[] = {
    TargetPickHint,   TargetInputLabel,    TargetInputFinder, TargetInputDelayed, TargetButtonLabel,
    TargetButtonFinder, TargetButtonDelayed, TargetPressLabel,  TargetPressEnter,   TargetPressNone,
};

constexpr UINT_PTR kCountdownTimerId = 1;
constexpr UINT kCountdownStepMs = 1000;
constexpr int kCountdownSeconds = 3;

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A click of `option` sets `setting` to `value`: true when that changed it. Win32: an
// option button reports BN_CLICKED also when it was selected already.
template <typename Setting>
bool Chosen(HWND option, Setting& setting, Setting value) {
  if (!Checked(option) || setting == value) return false;
  setting = value;
  return true;
}

void SetChecked(HWND button, bool checked) {
  SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

FrmTarget::FrmTarget(OpenWindows& open_windows) : SecondaryForm(open_windows, kFrmTargetSpec) {}

void FrmTarget::Open(HINSTANCE instance, TargetSettings& settings, TargetSettingsHost& host) {
  settings_ = &settings;
  host_ = &host;
  const bool was_loaded = loaded();
  OpenForm(instance);
  if (was_loaded) return;
  for (const auto& [id, kind] : kKindOptions) {
    if (kind == settings_->kind) FocusControl(control(id));
  }
}

void FrmTarget::Form_Load() {
  UseDialogKeys(control(TargetPicked), false);
  for (const ControlId id : {TargetInputFinder, TargetButtonFinder}) {
    SetWindowSubclass(control(id), FinderProc, kFinderSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
  ShowSettings();
}

void FrmTarget::ShowSettings() {
  for (const auto& [id, kind] : kKindOptions) SetChecked(control(id), kind == settings_->kind);
  for (const auto& [id, press] : kPressOptions) SetChecked(control(id), press == settings_->press);
  for (const auto& [id, way] : kWayOptions) SetChecked(control(id), way == settings_->keys_way);
  SetWindowTextW(control(TargetInterval), ToWide(Decimal(static_cast<std::int32_t>(settings_->char_interval_ms))).c_str());
  ShowPicked();
  EnableControls();
}

void FrmTarget::ShowPicked() {
  const PickedWindow& picked = settings_->picked;
  const std::u16string text =
      DescribePicked(FactsOf(picked.input, picked.input_process), FactsOf(picked.button, picked.button_process));
  SetWindowTextW(control(TargetPicked), ToWide(text).c_str());
}

void FrmTarget::EnableControls() {
  const bool keys = settings_->kind == TargetKind::kKeystrokes;
  for (const auto& [id, way] : kWayOptions) EnableWindow(control(id), keys ? TRUE : FALSE);
  const bool picking = settings_->kind == TargetKind::kPickedWindow;
  for (const ControlId id : kPickControls) EnableWindow(control(id), picking ? TRUE : FALSE);
  EnableWindow(control(TargetPressButton), picking && settings_->picked.button ? TRUE : FALSE);
  if (!picking) {
    StopCountdown();
    if (dragging_ != Pick::kNone) EndDrag(nullptr);
  }
}

bool FrmTarget::Command(int id, int code) {
  if (id == IDCANCEL && dragging_ != Pick::kNone) {
    // Esc during a drag ends the drag only.
    EndDrag(nullptr);
    return true;
  }
  for (const auto& [option, kind] : kKindOptions) {
    if (id == IdNumber(option)) {
      if (code == BN_CLICKED) Kind_Click(option, kind);
      return true;
    }
  }
  for (const auto& [option, press] : kPressOptions) {
    if (id == IdNumber(option)) {
      if (code == BN_CLICKED && Chosen(control(option), settings_->press, press)) host_->TargetSettingsChanged(false);
      return true;
    }
  }
  for (const auto& [option, way] : kWayOptions) {
    if (id == IdNumber(option)) {
      if (code == BN_CLICKED && Chosen(control(option), settings_->keys_way, way)) host_->TargetSettingsChanged(false);
      return true;
    }
  }
  switch (static_cast<ControlId>(id)) {
    case TargetInterval:
      if (code == EN_CHANGE) Interval_Change();
      if (code == EN_KILLFOCUS) Interval_LostFocus();
      return true;
    case TargetInputDelayed: if (code == BN_CLICKED) Delayed_Click(Pick::kInput); return true;
    case TargetButtonDelayed: if (code == BN_CLICKED) Delayed_Click(Pick::kButton); return true;
    default: return false;
  }
}

LRESULT FrmTarget::OtherMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kCountdownTimerId) Countdown_Timer();
      return 0;
    case WM_DESTROY:
      StopCountdown();
      if (dragging_ != Pick::kNone) EndDrag(nullptr);
      return 0;
    default: return DefaultProc(msg, wp, lp);
  }
}

void FrmTarget::OnException() {
  if (host_) host_->SetStatus(std::u16string(kInternalErrorText));
}

void FrmTarget::Kind_Click(ControlId option, TargetKind kind) {
  // Win32: an option button reports BN_CLICKED also when it was selected already.
  if (!Checked(control(option)) || settings_->kind == kind) return;
  settings_->kind = kind;
  EnableControls();
  host_->TargetSettingsChanged(true);
}

// The last good value holds while the box shows anything else.
void FrmTarget::Interval_Change() {
  const auto value = ParseCharInterval(ToU16(WindowTextW(control(TargetInterval))));
  if (!value) {
    host_->SetStatus(std::u16string(kStatusIntervalRange));
    return;
  }
  if (*value == settings_->char_interval_ms) return;
  settings_->char_interval_ms = *value;
  host_->TargetSettingsChanged(false);
}

// Leaving the box shows the value in use again.
void FrmTarget::Interval_LostFocus() {
  if (ParseCharInterval(ToU16(WindowTextW(control(TargetInterval))))) return;
  SetWindowTextW(control(TargetInterval), ToWide(Decimal(static_cast<std::int32_t>(settings_->char_interval_ms))).c_str());
}

void FrmTarget::Delayed_Click(Pick pick) {
  const Pick running = counting_;
  StopCountdown();
  if (running == pick) {
    // A second press stops the count.
    host_->SetStatus(std::u16string(kStatusCountdownStopped));
    return;
  }
  counting_ = pick;
  seconds_left_ = kCountdownSeconds;
  SetWindowTextW(control(pick == Pick::kInput ? TargetInputDelayed : TargetButtonDelayed),
                 ToWide(CountdownCaption(seconds_left_)).c_str());
  SetTimer(hwnd(), kCountdownTimerId, kCountdownStepMs, nullptr);
  host_->SetStatus(std::u16string(kStatusCountdown));
}

void FrmTarget::Countdown_Timer() {
  if (counting_ == Pick::kNone) {
    KillTimer(hwnd(), kCountdownTimerId);
    return;
  }
  if (--seconds_left_ > 0) {
    SetWindowTextW(control(counting_ == Pick::kInput ? TargetInputDelayed : TargetButtonDelayed),
                   ToWide(CountdownCaption(seconds_left_)).c_str());
    return;
  }
  const Pick pick = counting_;
  StopCountdown();
  TakeFocusedInFront(pick);
}

void FrmTarget::StopCountdown() {
  KillTimer(hwnd(), kCountdownTimerId);
  if (counting_ == Pick::kInput) SetWindowTextW(control(TargetInputDelayed), kInputDelayedCaption);
  if (counting_ == Pick::kButton) SetWindowTextW(control(TargetButtonDelayed), kButtonDelayedCaption);
  counting_ = Pick::kNone;
}

void FrmTarget::TakeFocusedInFront(Pick pick) {
  const HWND front = GetForegroundWindow();
  // Before any window is in front, GetForegroundWindow may give the desktop window.
  if (!front || front == GetDesktopWindow()) return Refuse(kStatusNoFrontWindow);
  if (IsOwnWindow(front)) return Refuse(kStatusOwnWindow);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(front, nullptr), &info) || !info.hwndFocus) {
    return Refuse(kStatusNoFocus);
  }
  Take(pick, info.hwndFocus);
}

void FrmTarget::Take(Pick pick, HWND window) {
  if (!window || !IsWindow(window) || window == GetDesktopWindow()) return Refuse(kStatusNoWindowThere);
  const DWORD process_id = ProcessOf(window);
  if (process_id == GetCurrentProcessId()) return Refuse(kStatusOwnWindow);
  PickedWindow& picked = settings_->picked;
  const HWND root = GetAncestor(window, GA_ROOT);
  // A button says only what is typed into a box of its own top-level window.
  if (pick == Pick::kButton) {
    const HWND input_root = PickedRoot(picked.input, picked.input_process);
    if (input_root && input_root != root) return Refuse(kPickedButtonElsewhereText);
    picked.button = FromHwnd(window);
    picked.button_process = process_id;
  } else {
    picked.input = FromHwnd(window);
    picked.input_process = process_id;
    if (picked.button && PickedRoot(picked.button, picked.button_process) != root) {
      picked.button = kNoWindow;
      if (settings_->press == PickedPress::kButton) settings_->press = PickedPress::kEnter;
      for (const auto& [id, press] : kPressOptions) SetChecked(control(id), press == settings_->press);
    }
  }
  ShowPicked();
  EnableControls();
  host_->TargetSettingsChanged(false);
  host_->SetTargetStatus(PickedStatus(CaptionOf(root)));
}

void FrmTarget::Refuse(std::u16string_view why) { host_->SetStatus(std::u16string(why)); }

}  // namespace kakehashi
