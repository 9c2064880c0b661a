// Edit boxes inside dialog-style windows: Enter, Esc and Tab go to the dialog manager
// (Enter presses the default button), optionally Shift+Enter inserts a line break.
#pragma once

#include <windows.h>

namespace kakehashi {

// Subclasses `edit`. With `newline_keys`, Shift+Enter and Ctrl+Enter insert CR LF at the
// caret, and a text pasted or set with WM_SETTEXT gets CR LF for every lone CR or LF;
// plain Enter always goes to the window's default button.
void UseDialogKeys(HWND edit, bool newline_keys);

}  // namespace kakehashi
