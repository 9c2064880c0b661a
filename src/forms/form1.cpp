// Form1: its control table, menu, start values, event handlers and the poll's wiring; the
// send's start and end are in form1_send.cpp, the status line in form1_status.cpp.
#include "forms/form1.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "text/line_breaks.h"
#include "delivery/send_command.h"
#include "forms/dialog_edit.h"
#include "forms/form_rules.h"
#include "forms/frm_about.h"
#include "forms/frm_target.h"
#include "forms/frm_tip.h"
#include "forms/win32_text.h"
#include "targets/foreground_poll.h"

namespace kakehashi {
namespace {

using enum ControlId;
using K = ControlKind;
using F = FontKind;

// Posted to itself once the window shows: the controls it does not show at start are made.
constexpr UINT kMsgBuildRest = WM_APP + 4;

// Positions in twips from the top left of the window's or the frame's client area.
constexpr ControlSpec kForm1Controls[] = {
    {AAOpt, K::OptionButton, kNone, L"複数行を1行ずつ送信", 570, 105, 2100, 255, 9, F::UiGothic9, kNoColour, Back::Default, kGroup},
    {SAKASAOpt, K::OptionButton, kNone, L"複数行逆さ文字", 570, 435, 1860, 225, 10, F::UiGothic9},
    {DEFAULTOpt, K::OptionButton, kNone, L"単一行逆さ文字", 570, 750, 1740, 255, 11, F::UiGothic9},
    // kGroup ends the group of the three option buttons.
    {Label1, K::Label, kNone, L"連続送信時間（ﾐﾘ秒）", 2850, 60, 1890, 210, 12, F::UiGothic825, kNoColour, Back::Default, kGroup},
    {Wait, K::Edit, kNone, L"500", 3270, 270, 1215, 240, 7, F::WindowDefault},
    {Limit, K::CheckBox, kNone, L"リミッター解除（Chatのみ）", 2850, 570, 2070, 315, 8, F::UiGothic825, kRed},
    {PlusCheck, K::CheckBox, kNone, L"発言に文字を付加", 2850, 840, 1770, 315, 14},
    {Frame1, K::Frame, kNone, L"付加", 615, 1125, 3330, 810, 13, F::WindowDefault, kNoColour, Back::Default, kHidden | kLater},
    {BeforePlusCheck, K::CheckBox, Frame1, L"Header", 165, 180, 1140, 225, 17},
    {AfterPlusCheck, K::CheckBox, Frame1, L"Footer", 165, 435, 1140, 225, 18, F::PGothic825},
    {Label2, K::Label, Frame1, L"付加する文字列", 1245, 225, 1680, 240, 16, F::UiGothic825, kNoColour, Back::Default, kCentred},
    {PlusWord, K::Edit, Frame1, L"(^。^)", 1440, 450, 1290, 270, 15, F::WindowDefault},
    {Frame4, K::Frame, kNone, L"", 135, 2025, 4695, 2280, 0, F::WindowDefault},
    {Label7, K::Label, Frame4, L"送信する文字列", 105, 225, 1110, 135, 4},
    {Message, K::MessageEdit, Frame4, L"", 120, 480, 4455, 1245, 2},
    {SendNow, K::CheckBox, Frame4, L"送信と同時に発言", 270, 1890, 1815, 255, 1, F::PGothic825},
    {Send, K::DefaultButton, Frame4, kSendCaption, 2400, 1770, 1575, 375, 3, F::WindowDefault},
    {Status, K::ReadOnlyEdit, kNone, L"", 90, 4455, 3690, 240, 6, F::UiGothic825, kBlue, Back::MenuBar},
    {Label12, K::Label, kNone, L"© Kakehashi", 3870, 4500, 1230, 180, 5, F::UiGothic825, kNoColour, Back::Default, kCentred},
};

constexpr FormSpec kForm1Spec = {
    L"KakehashiForm1", kForm1Caption,
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,  // fixed single border, no minimise or maximise box
    0, 4980, 4740, true, 0, 0, kForm1Controls, SendNow, Send,
};

}  // namespace

std::span<const ControlSpec> Form1ControlTable() { return kForm1Controls; }

namespace {

HMENU BuildMenu() {
  HMENU bar = CreateMenu();
  HMENU about = CreatePopupMenu();
  Check(bar && about, "CreateMenu");
  AppendMenuW(bar, MF_STRING, static_cast<UINT_PTR>(IdNumber(ControlId::Menu)), L"使い方");
  AppendMenuW(about, MF_STRING, static_cast<UINT_PTR>(IdNumber(Version)), L"バージョン情報");
  AppendMenuW(about, MF_STRING, static_cast<UINT_PTR>(IdNumber(GotoHP)), L"作者のHPへ");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(about), L"About");
  AppendMenuW(bar, MF_STRING, static_cast<UINT_PTR>(IdNumber(TargetMenu)), L"送信先(&T)");
  return bar;
}

ControlId OptionControl(ModeOption option) {
  switch (option) {
    case ModeOption::AAOpt: return AAOpt;
    case ModeOption::SAKASAOpt: return SAKASAOpt;
    case ModeOption::DEFAULTOpt: break;
  }
  return DEFAULTOpt;
}

ControlId CheckControl(CheckBox box) {
  switch (box) {
    case CheckBox::SendNow: return SendNow;
    case CheckBox::Limit: return Limit;
    case CheckBox::PlusCheck: return PlusCheck;
    case CheckBox::BeforePlusCheck: return BeforePlusCheck;
    case CheckBox::AfterPlusCheck: break;
  }
  return AfterPlusCheck;
}

std::u16string LocaleDecimalSeparator() {
  std::array<wchar_t, 8> buffer{};
  const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer.data(), static_cast<int>(buffer.size()));
  if (n <= 1) return u".";
  return ToU16(std::wstring(buffer.data(), static_cast<std::size_t>(n - 1)));
}

// Whether the multi-line edit `box` holds a lone CR or LF. Win32: EM_GETHANDLE gives the
// box's own buffer, so the test on every change copies nothing, even for a large text.
bool BoxHasLoneLineBreak(HWND box) {
  const auto length = static_cast<std::size_t>(std::max(GetWindowTextLengthW(box), 0));
  if (auto buffer = reinterpret_cast<HLOCAL>(SendMessageW(box, EM_GETHANDLE, 0, 0))) {
    if (const auto* chars = static_cast<const wchar_t*>(LocalLock(buffer))) {
      const bool lone = HasLoneLineBreakIn(std::wstring_view(chars, length));
      LocalUnlock(buffer);
      return lone;
    }
  }
  return HasLoneLineBreakIn(std::wstring_view(WindowTextW(box)));
}

void SetCheck(HWND button, int state) { SendMessageW(button, BM_SETCHECK, static_cast<WPARAM>(state), 0); }

}  // namespace

void Form1::Load(HINSTANCE instance, int show_command) {
  instance_ = instance;
  Build(kForm1Spec, instance, BuildMenu());
  // Win32: an edit control's default limit is about 32K characters; the message box
  // takes texts of any size.
  SendMessageW(control(Message), EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
  UseDialogKeys(control(Message), true);
  UseDialogKeys(control(Status), false);
  SetCheck(control(DEFAULTOpt), BST_CHECKED);
  Form_Load();
  ShowAndFocus(show_command);
  PostMessageW(hwnd(), kMsgBuildRest, 0, 0);
}

// The frame of 付加 is hidden until PlusCheck is ticked: it and its four controls are made
// after the window has shown (a posted message comes before any input), or at the first
// click that needs them, whichever is first.
void Form1::BuildRest() {
  if (!control(Frame1)) BuildLater(instance_);
}

LRESULT Form1::FormMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: on_command(LOWORD(wp), HIWORD(wp)); return 0;
    case WM_TIMER: on_timer(wp); return 0;
    case kMsgBuildRest: BuildRest(); return 0;
    case WM_CLOSE:
      if (!send_) return DefaultProc(msg, wp, lp);
      send_->RequestStop();
      close_after_send_ = true;
      return 0;
    case WM_DESTROY: on_destroy(); return 0;
    case kMsgSendStatus: on_send_status(); return 0;
    case kMsgSendDone: on_send_done(); return 0;
    case WM_HOTKEY:
      if (send_) send_->RequestStop();
      return 0;
    default: return DefaultProc(msg, wp, lp);
  }
}

void Form1::OnException() { SetStatus(std::u16string(kInternalErrorText)); }

void Form1::on_command(int id, int code) {
  // Esc comes from the dialog manager as IDCANCEL: it stops a send.
  if (id == IDCANCEL) {
    if (send_) send_->RequestStop();
    return;
  }
  switch (static_cast<ControlId>(id)) {
    case AAOpt: if (code == BN_CLICKED) Option_Click(ModeOption::AAOpt); break;
    case SAKASAOpt: if (code == BN_CLICKED) Option_Click(ModeOption::SAKASAOpt); break;
    case DEFAULTOpt: if (code == BN_CLICKED) Option_Click(ModeOption::DEFAULTOpt); break;
    case SendNow: if (code == BN_CLICKED) SendNow_Click(); break;
    case PlusCheck: if (code == BN_CLICKED) PlusCheck_Click(); break;
    case Limit: if (code == BN_CLICKED) Limit_Click(); break;
    case Wait: if (code == EN_CHANGE) Wait_Change(); break;
    case Message:
      if (code == EN_SETFOCUS) Message_GotFocus();
      if (code == EN_CHANGE) Message_Change();
      break;
    case Send: if (code == BN_CLICKED) Send_Click(); break;
    case ControlId::Menu: if (code == 0) Menu_Click(); break;
    case Version: if (code == 0) Version_Click(); break;
    case GotoHP: if (code == 0) GotoHP_Click(); break;
    case TargetMenu: if (code == 0) TargetMenu_Click(); break;
    default: break;
  }
}

void Form1::on_destroy() { KillTimer(hwnd(), kTimer1Id); }

Form1::~Form1() { SendThread::Abandon(std::move(send_)); }

void Form1::on_timer(UINT_PTR id) {
  if (id == kProgressTimerId) {
    ShowPendingProgress();
  } else if (id == kLockLookTimerId) {
    ShowLockForSend();
  } else {
    Timer1_Timer();
  }
}

void Form1::Form_Load() {
  SetStatus(std::u16string(ops_.AnsiCodePage() == kShiftJisCodePage ? kStatusNoWindow : kNeedsShiftJisText));
  SetTimer(hwnd(), kTimer1Id, kTimer1IntervalMs, nullptr);
}

void Form1::Option_Click(ModeOption option) {
  if (!OptionSelected(option)) return;
  // Win32: an option button reports BN_CLICKED also when it was selected already.
  if (auto state = SendNowAfterOptionClick(selected_option_, option)) SetCheck(control(SendNow), *state);
  selected_option_ = option;
}

void Form1::SendNow_Click() {
  for (ModeOption option : {ModeOption::SAKASAOpt, ModeOption::AAOpt, ModeOption::DEFAULTOpt}) {
    if (!OptionSelected(option)) continue;
    if (auto state = SendNowCorrection(option, CheckValue(CheckBox::SendNow))) SetCheck(control(SendNow), *state);
    return;
  }
}

void Form1::PlusCheck_Click() {
  BuildRest();
  ShowWindow(control(Frame1), Frame1Visible(CheckValue(CheckBox::PlusCheck)) ? SW_SHOW : SW_HIDE);
}

void Form1::Limit_Click() { SetStatus(std::u16string(LimitStatus(CheckValue(CheckBox::Limit)))); }

void Form1::Wait_Change() {
  const std::u16string text = WaitText();
  if (IsLocaleNumber(text, LocaleDecimalSeparator())) return;
  SetStatus(std::u16string(kStatusNotNumeric));
  // Emptying the box changes its text again and so comes back here once: that run finds
  // the empty text, writes the same message and ends.
  if (!text.empty()) SetWindowTextW(control(Wait), L"");
}

void Form1::Message_GotFocus() {
  if (!quiet_focus_) SetStatus(std::u16string(kStatusNewLineHint));
}

// Win32: Windows' edit control shows a lone CR or LF as a character on the line, Wine's
// breaks the line there. The box keeps CR LF only, so lines count and read alike on both.
void Form1::Message_Change() {
  if (fixing_line_breaks_) return;
  HWND box = control(Message);
  if (!BoxHasLoneLineBreak(box)) return;
  const std::wstring text = WindowTextW(box);
  const std::wstring fixed = ToCrLfIn(std::wstring_view(text));
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  // Setting the text may report a change in its turn; that run has nothing to do.
  fixing_line_breaks_ = true;
  SetWindowTextW(box, fixed.c_str());
  fixing_line_breaks_ = false;
  // An undo would bring the lone breaks back.
  SendMessageW(box, EM_EMPTYUNDOBUFFER, 0, 0);
  SendMessageW(box, EM_SETSEL, CrLfPositionIn(std::wstring_view(text), start),
               static_cast<LPARAM>(CrLfPositionIn(std::wstring_view(text), end)));
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

void Form1::Menu_Click() {
  try {
    tip_.Open(instance_);
  } catch (const StartupError& e) {
    SetStatus(ToU16(e.Describe()));
  }
}

void Form1::Version_Click() {
  try {
    about_.Open(instance_, WindowTextW(hwnd()));
  } catch (const StartupError& e) {
    SetStatus(ToU16(e.Describe()));
  }
}

void Form1::GotoHP_Click() {
  if (kHomePage[0] != '\0') return ops_.ShellExecuteA(ops_.GetDesktopWindow(), "open", kHomePage, "", "", kSwShow);
  // A build without a home page: the README beside the program says where it came from.
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  path.erase(path.find_last_of(L'\\') + 1);
  path += L"README.txt";
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return SetStatus(std::u16string(kStatusNoHomePage));
  ops_.OpenFile(path);
}

void Form1::TargetMenu_Click() {
  try {
    target_form_.Open(instance_, settings_, *this);
  } catch (const StartupError& e) {
    SetStatus(ToU16(e.Describe()));
  }
}

void Form1::TargetSettingsChanged(bool kind_changed) {
  if (kind_changed) SetStatus(std::u16string(TargetKindStatus(settings_.kind)));
}

void Form1::Timer1_Timer() {
  // The tooltip is made after the window has shown, so the start does not wait for it.
  if (!status_tip_tried_) {
    status_tip_tried_ = true;
    status_tip_.Create(hwnd(), control(Status), instance_, dpi(), status_detail_);
  }
  // Win32: a post can fail (a full queue); the end of a send is found here then.
  if (send_) return on_send_done();
  switch (settings_.kind) {
    case TargetKind::kChat: PollForegroundWindow(ops_, *this, targets_); break;
    case TargetKind::kKeystrokes: PollFrontWindow(ops_, *this, front_); break;
    case TargetKind::kPickedWindow: break;  // the pick names the target
  }
}

std::u16string Form1::MessageText() const { return ToU16(WindowTextW(control(Message))); }

void Form1::SetMessageText(const std::u16string& text) { SetWindowTextW(control(Message), ToWide(text).c_str()); }

void Form1::ReplaceMessageText(const std::u16string& text) {
  HWND box = control(Message);
  SendMessageW(box, EM_SETSEL, 0, -1);
  SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
}

Handle Form1::MessageWindow() const { return FromHwnd(control(Message)); }

bool Form1::OptionSelected(ModeOption option) const {
  return SendMessageW(control(OptionControl(option)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int Form1::CheckValue(CheckBox box) const {
  return static_cast<int>(SendMessageW(control(CheckControl(box)), BM_GETCHECK, 0, 0));
}

std::u16string Form1::PlusWordText() const { return ToU16(WindowTextW(control(PlusWord))); }

std::u16string Form1::WaitText() const { return ToU16(WindowTextW(control(Wait))); }

}  // namespace kakehashi
