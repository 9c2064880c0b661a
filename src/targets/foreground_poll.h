// The foreground window poll: run on every tick of the main window's 100 ms timer, it
// records the windows of the last supported chat window that was in front.
#pragma once

#include "targets/target_caption_view.h"
#include "platform/window_ops.h"
#include "targets/target_windows.h"

namespace kakehashi {

// One tick (Timer1_Timer). When a Messenger conversation window or an Internet Explorer
// window is in front, shows its title in the status line and updates `targets`; any other
// window in front, or none, changes nothing.
void PollForegroundWindow(WindowOps& ops, TargetCaptionView& view, TargetWindows& targets);

// The target of keystroke sends.
struct FrontWindow {
  Handle window;  // the last top-level window of another program in front; 0 before any
  // After a keystroke send, however it ended, the window and the result in the status line
  // stay until the tool's own window has been in front again: the window that came to the
  // front and stopped a send does not become the target by that.
  bool held = false;
};

// One tick while keystroke sends are chosen: any window in front but the tool's own, the
// desktop and the taskbar becomes the target, and its caption (in UTF-16) is shown.
void PollFrontWindow(WindowOps& ops, TargetCaptionView& view, FrontWindow& front);

}  // namespace kakehashi
