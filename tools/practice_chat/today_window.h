// Today's chat: a Unicode top-level window with a read-only transcript, a single-line input
// box where Enter sends and a 送信 button. It runs on a thread of its own with a Unicode
// message loop, as today's chat programs do, so that every character reaches it whole.
#pragma once

#include <windows.h>

#include "practice_chat_app.h"

namespace practice_chat {

// Starts today's chat on its thread (app.today_thread); returns once its window is shown.
void StartTodayChat(App& app, int show_command);

}  // namespace practice_chat
