// The Messenger conversation window: a top-level "IMWindowClass" window that takes the
// characters itself and has a "button" child as its send button. ANSI windows.
#pragma once

#include <windows.h>

#include "practice_chat_app.h"

namespace practice_chat {

void RegisterMessengerClass(App& app);
HWND CreateMessengerWindow(App& app, int show_command);

}  // namespace practice_chat
