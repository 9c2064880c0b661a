// The foreground window poll: run on every tick of the main window's 100 ms timer, it
// records the windows of the last supported chat window that was in front.
#pragma once

#include "forms/main_window_view.h"
#include "platform/window_ops.h"
#include "targets/target_windows.h"

namespace kakehashi {

// One tick (Timer1_Timer). When a Messenger conversation window or an Internet Explorer
// window is in front, shows its title in the status line and updates `targets`; any other
// window in front, or none, changes nothing.
void PollForegroundWindow(WindowOps& ops, MainWindowView& view, TargetWindows& targets);

}  // namespace kakehashi
