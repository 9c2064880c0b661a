// The Messenger conversation window.
#include "messenger_window.h"

#include "practice_chat_ids.h"

namespace practice_chat {
namespace {

constexpr char kMessengerClass[] = "IMWindowClass";

void Press(App& app) { SendInputToTranscript(app, app.messenger.input, app.messenger.transcript); }

void Layout(const App& app) {
  const MessengerHandles& w = app.messenger;
  LayoutConversation(app, w.window, w.transcript, w.input, w.button);
}

LRESULT ButtonMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  App* app = AppOf(hwnd);
  LogReceived(*app, "messenger-button", message, wparam, lparam);
  return ::CallWindowProcA(app->messenger_button_proc, hwnd, message, wparam, lparam);
}

// Win32: DefWindowProcA would turn a double-byte WM_IME_CHAR into two WM_CHAR (Wine: posted
// at the back of the queue, behind a press posted after it), so the window takes the
// characters itself and shows them in its input box.
LRESULT MessengerMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  App* app = AppOf(hwnd);
  if (!app && message == WM_NCCREATE) {
    app = static_cast<App*>(reinterpret_cast<const CREATESTRUCTA*>(lparam)->lpCreateParams);
    if (app) AttachApp(hwnd, *app);
  }
  if (!app) return ::DefWindowProcA(hwnd, message, wparam, lparam);
  LogReceived(*app, "messenger", message, wparam, lparam);
  switch (message) {
    case WM_IME_CHAR:
      InsertTyped(*app, app->messenger.input, DecodeImeChar(wparam));
      return 0;
    case WM_CHAR:
      if (wparam == VK_RETURN) {
        Press(*app);
      } else {
        InsertTyped(*app, app->messenger.input, DecodeImeChar(wparam & 0xFFu));
      }
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == kMessengerSendButtonId && HIWORD(wparam) == BN_CLICKED) {
        Press(*app);
        return 0;
      }
      break;
    case WM_SIZE:
      Layout(*app);
      return 0;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lparam) == app->messenger.transcript) {
        return TranscriptColors(reinterpret_cast<HDC>(wparam));
      }
      break;
    case WM_SETFOCUS:
      if (app->messenger.input) ::SetFocus(app->messenger.input);
      return 0;
    case WM_DESTROY:
      app->messenger = {};
      WindowClosed(*app);
      break;
  }
  return ::DefWindowProcA(hwnd, message, wparam, lparam);
}

}  // namespace

void RegisterMessengerClass(App& app) {
  RegisterOwnClass(app, Guarded<MessengerMessage>, kMessengerClass, COLOR_BTNFACE);
}

HWND CreateMessengerWindow(App& app, int show_command) {
  MessengerHandles& w = app.messenger;
  const std::u16string& title = app.options.messenger_title;
  const WindowRect place =
      app.options.messenger_rect.value_or(WindowRect{Scale(app, 680), Scale(app, 80), Scale(app, 420), Scale(app, 360)});
  w.window = ::CreateWindowExA(0, kMessengerClass, Ansi(std::wstring(title.begin(), title.end())).c_str(),
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.x, place.y, place.width, place.height,
                               nullptr, nullptr, app.instance, &app);
  if (!w.window) FailStart("CreateWindowExA(IMWindowClass)");
  ++app.open_windows;
  w.transcript = CreateTranscript(app, w.window);
  w.input = CreateChild(app, w.window, WS_EX_CLIENTEDGE, "EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL);
  if (app.options.button) {
    w.button = CreateChild(app, w.window, 0, "BUTTON", L"送信(&S)", WS_TABSTOP | BS_PUSHBUTTON, kMessengerSendButtonId);
    app.messenger_button_proc =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(w.button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Guarded<ButtonMessage>)));
  }
  Layout(app);
  ::ShowWindow(w.window, show_command);
  ::UpdateWindow(w.window);
  return w.window;
}

}  // namespace practice_chat
