// The program's message handling in its main loop: the dialog manager first (Tab, Enter
// and Esc in every window), then translate and dispatch.
#pragma once

#include <windows.h>

namespace kakehashi {

// Handles one message taken from the queue. A held Enter repeats its key-down; on a push
// button each repeat would be another press, so a repeat aimed at one is dropped.
void DispatchWindowMessage(MSG& msg);

}  // namespace kakehashi
