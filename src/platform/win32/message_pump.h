// The program's message handling, shared by its main loop and by the waits inside a send:
// the dialog manager first (Tab, Enter and Esc in every window), then translate and
// dispatch.
#pragma once

#include <windows.h>

namespace kakehashi {

// Handles one message taken from the queue.
void DispatchWindowMessage(MSG& msg);

// Handles every message waiting in the thread's queue. False when WM_QUIT was among them:
// it is posted again, so that the main loop still ends.
bool DispatchPendingMessages();

}  // namespace kakehashi
