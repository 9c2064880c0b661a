// The target of the next send: the windows of the last supported chat window that was in
// front. Written only by the foreground poll; read by the send command and the engine.
#pragma once

#include "platform/handle.h"

namespace kakehashi {

struct TargetWindows {
  Handle TargetEdit;               // receives the posted characters (WM_IME_CHAR)
  bool TargetIsMessenger = false;  // the last recognised window was a Messenger conversation
  Handle TargetSendButton;         // its control id goes into the WM_COMMAND
  Handle TargetHost;               // receives the WM_COMMAND that presses the send button

  friend bool operator==(const TargetWindows&, const TargetWindows&) = default;
};

}  // namespace kakehashi
