// Form1: a send's start and end — the press of Send, the lock of the controls that the
// send reads, the status texts the send's thread leaves, and its end.
#include "forms/form1.h"

#include <memory>
#include <vector>

#include "delivery/send_command.h"

namespace kakehashi {

using enum ControlId;

bool Form1::StopSendBeforeQuit(int exit_code) {
  if (!send_) return false;
  send_->RequestStop();
  quit_after_send_ = true;
  quit_code_ = exit_code;
  return true;
}

void Form1::ShowPendingProgress() {
  KillTimer(hwnd(), kProgressTimerId);
  if (pending_progress_.empty()) return;
  SetStatus(pending_progress_);
  pending_progress_.clear();
  progress_painted_ = GetTickCount64();
}

void Form1::on_send_status() {
  if (!send_) return;
  for (const StatusUpdate& update : send_->TakeStatusUpdates()) ShowStatusUpdate(update);
}

void Form1::ShowStatusUpdate(const StatusUpdate& update) {
  if (update.kind == StatusUpdate::Kind::kProgress) {
    pending_progress_ = update.text;
    const ULONGLONG since = GetTickCount64() - progress_painted_;
    if (since >= kProgressPaintMs) {
      ShowPendingProgress();
    } else {
      SetTimer(hwnd(), kProgressTimerId, static_cast<UINT>(kProgressPaintMs - since), nullptr);
    }
    return;
  }
  // A result replaces any progress still waiting.
  pending_progress_.clear();
  KillTimer(hwnd(), kProgressTimerId);
  if (update.kind == StatusUpdate::Kind::kTarget) {
    ShowTargetStatus();
  } else {
    SetStatus(update.text, update.detail);
  }
}

// Any program can post kMsgSendDone: only a send whose thread is done has ended. The
// controls are unlocked before its last texts are shown, which may fail.
void Form1::on_send_done() {
  if (!send_ || !send_->Ended()) return;
  const std::vector<StatusUpdate> last = send_->TakeStatusUpdates();
  send_.reset();
  if (esc_hot_key_) {
    UnregisterHotKey(hwnd(), kEscHotKeyId);
    esc_hot_key_ = false;
  }
  if (settings_.kind == TargetKind::kKeystrokes) front_.held = true;
  UnlockAfterSend();
  if (close_after_send_) DestroyWindow(hwnd());
  if (quit_after_send_) PostQuitMessage(quit_code_);
  if (close_after_send_ || quit_after_send_) return;
  for (const StatusUpdate& update : last) ShowStatusUpdate(update);
  ShowPendingProgress();
}

void Form1::Send_Click() {
  if (send_) {
    // Win32: a push button turns the second click of a double-click into a second press;
    // that is not a stop.
    if (GetTickCount64() - send_started_ >= GetDoubleClickTime()) send_->RequestStop();
    return;
  }
  BuildRest();  // the send reads PlusWord and the Header and Footer boxes
  // What may fail (the copy of a huge text) comes before anything is locked or registered.
  auto send = std::make_unique<SendThread>(hwnd(), *this, targets_, settings_, front_.window);
  send_started_ = GetTickCount64();
  // Win32: while another program is in front, the tool's keys do not reach it; a hot key
  // does. Registered only for the send, so Esc belongs to every other program otherwise.
  if (settings_.kind == TargetKind::kKeystrokes) esc_hot_key_ = RegisterHotKey(hwnd(), kEscHotKeyId, 0, VK_ESCAPE) != 0;
  // The focus moves before the send's thread starts: a keystroke send gives the
  // foreground away, and a later SetFocus would take it back.
  focus_before_send_ = FocusedControl();
  // A disabled control keeps the focus but takes no keys: Send (Stop) takes it instead.
  FocusControl(control(Send));
  SetWindowTextW(control(Send), kStopCaption);
  LockForSend();
  send_ = std::move(send);
  if (!send_->Start()) {
    on_send_done();
    SetStatus(std::u16string(kSendFailedText));
  }
}

namespace {

// The controls that a send reads.
constexpr ControlId kLockedForSend[] = {AAOpt,    SAKASAOpt,       DEFAULTOpt,     Wait,     Limit,  PlusCheck,
                                        BeforePlusCheck, AfterPlusCheck, PlusWord, SendNow, Message};

}  // namespace

// The controls take no input from here on, but keep their look until ShowLockForSend.
// Win32: a disabled control repaints itself at once (the message box its whole text and
// both scroll bars), unless it is not visible for that moment. Redraw off clears
// WS_VISIBLE without hiding; the default procedure is called directly, as the edit control
// keeps WM_SETREDRAW to itself under Wine. It also drops a pending repaint, so that is done
// first; and redraw on would show a hidden control, so those are left alone.
void Form1::LockForSend() {
  for (const ControlId id : kLockedForSend) {
    HWND c = control(id);
    const bool visible = (GetWindowLongPtrW(c, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible) {
      UpdateWindow(c);
      DefWindowProcW(c, WM_SETREDRAW, FALSE, 0);
    }
    EnableWindow(c, FALSE);
    if (visible) DefWindowProcW(c, WM_SETREDRAW, TRUE, 0);
  }
  SetTimer(hwnd(), kLockLookTimerId, kLockLookMs, nullptr);
}

void Form1::ShowLockForSend() {
  KillTimer(hwnd(), kLockLookTimerId);
  for (const ControlId id : kLockedForSend) {
    RedrawWindow(control(id), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  }
}

void Form1::UnlockAfterSend() {
  // Enabling repaints each control, whether its locked look was shown or not: a window
  // uncovered during the send has painted them disabled.
  KillTimer(hwnd(), kLockLookTimerId);
  for (const ControlId id : kLockedForSend) EnableWindow(control(id), TRUE);
  SetWindowTextW(control(Send), kSendCaption);
  if (focus_before_send_ && IsWindow(focus_before_send_)) {
    quiet_focus_ = true;
    FocusControl(focus_before_send_);
    quiet_focus_ = false;
  }
}

}  // namespace kakehashi
