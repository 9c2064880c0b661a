// The state of the practice chat program, shared by its windows: options, log, font and
// the windows of the three chats (one of each per process).
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <string_view>
#include <thread>

#include "message_log.h"
#include "options.h"

namespace practice_chat {

struct ChatHandles {
  HWND frame = nullptr, view = nullptr, page = nullptr, dialog = nullptr;
  HWND input_frame = nullptr, input_box = nullptr, button = nullptr;
  HWND header = nullptr, transcript = nullptr;
};

struct MessengerHandles {
  HWND window = nullptr, transcript = nullptr, input = nullptr, button = nullptr;
};

// Today's chat's windows; only its own thread uses them.
struct TodayHandles {
  HWND window = nullptr, transcript = nullptr, input = nullptr, button = nullptr;
};

// What the program has taken but not yet shown: characters for an input box and sent lines
// for a transcript (without the line break before the first). Each goes in with one change
// when the program has no more messages waiting (FlushPending).
struct PendingTyping {
  HWND edit = nullptr;
  std::wstring text;
};
struct PendingLines {
  HWND transcript = nullptr;
  std::wstring text;
};

struct App {
  HINSTANCE instance = nullptr;
  Options options;
  MessageLog log;
  HFONT font = nullptr;
  int dpi = 96;
  ChatHandles chat;
  MessengerHandles messenger;
  TodayHandles today;
  WNDPROC edit_proc = nullptr;              // the system edit's procedure, base of "MSNChatEdit4"
  WNDPROC button_proc = nullptr;            // the system button's procedure, base of "SubclassButton"
  WNDPROC dialog_proc = nullptr;            // the "#32770" window's own procedure, before subclassing
  WNDPROC messenger_button_proc = nullptr;  // the Messenger "button" before subclassing
  WNDPROC today_input_proc = nullptr;       // today's input box (a system edit) before subclassing
  std::atomic<int> open_windows = 0;        // top-level windows; the program ends with the last
  DWORD main_thread = 0;                    // the thread of the ANSI windows and of wWinMain
  std::thread today_thread;                 // today's chat, when shown
  PendingTyping typing;
  PendingLines lines;
};

// The App stored in the window's user data (0 until set after creation).
App* AppOf(HWND hwnd);
void AttachApp(HWND hwnd, App& app);

// A top-level window is gone: after the last one, the main thread's loop ends.
void WindowClosed(App& app);

// A pixel size at 96 dpi, scaled to the screen.
int Scale(const App& app, int pixels);

// Lays out a conversation window: the transcript above, the input box below it and the
// send button (when there is one) at the input box's right.
void LayoutConversation(const App& app, HWND window, HWND transcript, HWND input, HWND button);

// Text in the ANSI code page, for the A functions.
std::string Ansi(std::wstring_view text);

// The character of one WM_IME_CHAR: the low 16 bits of wParam are one byte, or a lead byte
// (high) and a trail byte (low), decoded in the ANSI code page.
std::wstring DecodeImeChar(WPARAM wparam);

// Logs the messages the chat programs are driven with: characters and commands. Command
// notifications from the window's own child controls are left out.
void LogReceived(App& app, std::string_view role, UINT message, WPARAM wparam, LPARAM lparam);

// Inserts `text` at the caret of an edit control, unless it is a control character. The
// insertion waits in `app.typing` until FlushPending: characters come one message each, and
// inserting them one by one would make this program the slowest part of every send.
void InsertTyped(App& app, HWND edit, const std::wstring& text);
// Writes the log's kept lines, then shows the waiting lines and characters: the log is never
// behind what the windows show. Called by the message loop whenever no message is waiting,
// so that whoever looks from outside sees every message taken so far once the program is idle.
void FlushPending(App& app);
// True while characters, lines or log lines wait for FlushPending.
bool HasPending(const App& app);

// Moves the text of `input` (with its waiting characters) into `transcript` as a line
// "あなた: text" and empties it; the line waits for FlushPending.
void SendInputToTranscript(App& app, HWND input, HWND transcript);

// WM_CTLCOLORSTATIC of a transcript's parent: the transcript reads like a chat log, in the
// window colour although it is read-only.
LRESULT TranscriptColors(HDC dc);

// Children: a read-only transcript and a plain edit, with the program's font.
HWND CreateTranscript(App& app, HWND parent);
// Registers one of the program's own (ANSI) window classes, with `background` a system
// colour index.
void RegisterOwnClass(const App& app, WNDPROC proc, const char* name, int background);
// A visible child window with the program's font and its App attached; `create_param`
// reaches the window procedure of the program's own classes at creation.
HWND CreateChild(App& app, HWND parent, DWORD ex_style, const char* class_name, std::wstring_view text, DWORD style,
                 int id = 0, void* create_param = nullptr);
void SetFont(const App& app, HWND window);

// A window procedure around `Body`: exceptions never cross into the window manager; a
// message whose handling failed counts as handled.
template <LRESULT (*Body)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK Guarded(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    return Body(hwnd, message, wparam, lparam);
  } catch (...) {
    return 0;
  }
}

// Fatal start-up error: names the call and GetLastError().
[[noreturn]] void FailStart(const char* call);

}  // namespace practice_chat
