// The send command and the delivery engine: from the text of the message box to posted
// characters and send-button presses in the target chat window.
#pragma once

#include "delivery/text_shaping.h"
#include "forms/main_window_view.h"
#include "platform/window_ops.h"
#include "targets/target_windows.h"

namespace kakehashi {

// The delivery engine. Types the text of Message into `targets` in `mode`; true when it
// went through, false when it refused (its reason is then in the status line).
bool SendLines(WindowOps& ops, MainWindowView& view, const TargetWindows& targets, SendMode mode,
               bool is_messenger);

// The Send button (Send_Click): refuses an empty text or a missing target, picks the mode
// from the option buttons, runs the engine and empties Message when it went through.
void SendCommand(WindowOps& ops, MainWindowView& view, const TargetWindows& targets);

}  // namespace kakehashi
