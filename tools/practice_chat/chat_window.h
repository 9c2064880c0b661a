// The chat as it runs inside a browser window: a frame "IEFrame" > "Shell DocObject View" >
// "Internet Explorer_Server" > "#32770" (chat control) > "ATL:3723F798" > "MSNChatEdit4",
// with the send button "SubclassButton" beside the input frame. ANSI windows throughout.
#pragma once

#include <windows.h>

#include "practice_chat_app.h"

namespace practice_chat {

void RegisterChatClasses(App& app);

// Creates the chat's windows as far as the options allow; returns the frame.
HWND CreateChatWindow(App& app, int show_command);

}  // namespace practice_chat
