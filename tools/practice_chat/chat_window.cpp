// The chat inside a browser window.
#include "chat_window.h"

#include <string_view>

#include "practice_chat_ids.h"

namespace practice_chat {
namespace {

constexpr char kFrameClass[] = "IEFrame";
constexpr char kViewClass[] = "Shell DocObject View";
constexpr char kPageClass[] = "Internet Explorer_Server";
constexpr char kDialogClass[] = "#32770";
constexpr char kInputFrameClass[] = "ATL:3723F798";
constexpr char kInputBoxClass[] = "MSNChatEdit4";
constexpr char kButtonClass[] = "SubclassButton";

std::string_view RoleOf(const App& app, HWND hwnd) {
  const ChatHandles& c = app.chat;
  if (hwnd == c.frame) return "chat-frame";
  if (hwnd == c.view) return "chat-view";
  if (hwnd == c.page) return "chat-page";
  if (hwnd == c.dialog) return "chat-host";
  if (hwnd == c.input_frame) return "chat-input";
  if (hwnd == c.input_box) return "chat-edit";
  if (hwnd == c.button) return "chat-button";
  return "chat-other";
}

void Press(App& app) { SendInputToTranscript(app, app.chat.input_box, app.chat.transcript); }

void LayoutChatControl(const App& app) {
  const ChatHandles& c = app.chat;
  RECT r{};
  ::GetClientRect(c.dialog, &r);
  const int m = Scale(app, 8), header = Scale(app, 20), row = Scale(app, 26), button = Scale(app, 80);
  const int width = r.right - 2 * m;
  const int row_top = r.bottom - m - row;
  ::MoveWindow(c.header, m, m, width, header, TRUE);
  const int transcript_top = m + header + Scale(app, 4);
  ::MoveWindow(c.transcript, m, transcript_top, width, row_top - m - transcript_top, TRUE);
  if (c.input_frame) ::MoveWindow(c.input_frame, m, row_top, c.button ? width - button - m : width, row, TRUE);
  if (c.button) ::MoveWindow(c.button, r.right - m - button, row_top, button, row, TRUE);
}

// The App of `hwnd`, attached from the creation parameters at WM_NCCREATE.
App* AttachedApp(HWND hwnd, UINT message, LPARAM lparam) {
  App* app = AppOf(hwnd);
  if (!app && message == WM_NCCREATE) {
    app = static_cast<App*>(reinterpret_cast<const CREATESTRUCTA*>(lparam)->lpCreateParams);
    if (app) AttachApp(hwnd, *app);
  }
  return app;
}

// The procedure of a system control class, for messages that come before the App is known.
WNDPROC SystemProc(const char* system_class) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  return ::GetClassInfoExA(nullptr, system_class, &wc) ? wc.lpfnWndProc : ::DefWindowProcA;
}

// Frame, document view, page and input frame: each is filled by its one child.
LRESULT StructureMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  App* app = AttachedApp(hwnd, message, lparam);
  if (!app) return ::DefWindowProcA(hwnd, message, wparam, lparam);
  LogReceived(*app, RoleOf(*app, hwnd), message, wparam, lparam);
  switch (message) {
    case WM_SIZE:
      if (const HWND child = ::GetWindow(hwnd, GW_CHILD)) {
        ::MoveWindow(child, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
      }
      return 0;
    case WM_SETFOCUS:
      if (hwnd == app->chat.frame && app->chat.input_box) {
        ::SetFocus(app->chat.input_box);
        return 0;
      }
      break;
    case WM_DESTROY:
      if (hwnd == app->chat.frame) {
        app->chat = {};
        WindowClosed(*app);
      }
      break;
  }
  return ::DefWindowProcA(hwnd, message, wparam, lparam);
}

// Win32: the dialog class's procedure would turn a double-byte WM_IME_CHAR into two WM_CHAR
// (Wine: posted at the back of the queue, behind a press posted after it), so the input
// box takes its characters itself.
LRESULT InputBoxMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  App* app = AttachedApp(hwnd, message, lparam);
  if (!app) return ::CallWindowProcA(SystemProc("EDIT"), hwnd, message, wparam, lparam);
  LogReceived(*app, "chat-edit", message, wparam, lparam);
  if (message == WM_IME_CHAR) {
    InsertTyped(*app, hwnd, DecodeImeChar(wparam));
    return 0;
  }
  if (message == WM_CHAR && wparam == VK_RETURN) {
    Press(*app);
    return 0;
  }
  return ::CallWindowProcA(app->edit_proc, hwnd, message, wparam, lparam);
}

LRESULT ButtonMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  App* app = AttachedApp(hwnd, message, lparam);
  if (!app) return ::CallWindowProcA(SystemProc("BUTTON"), hwnd, message, wparam, lparam);
  LogReceived(*app, "chat-button", message, wparam, lparam);
  return ::CallWindowProcA(app->button_proc, hwnd, message, wparam, lparam);
}

// The chat control: a system dialog window, subclassed to see the press of its button.
LRESULT ChatControlMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  App* app = AppOf(hwnd);
  if (!app) return ::DefDlgProcA(hwnd, message, wparam, lparam);
  LogReceived(*app, "chat-host", message, wparam, lparam);
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == kChatSendButtonId && HIWORD(wparam) == BN_CLICKED) {
        Press(*app);
        return 0;
      }
      break;
    case WM_SIZE:
      LayoutChatControl(*app);
      return 0;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lparam) == app->chat.transcript) return TranscriptColors(reinterpret_cast<HDC>(wparam));
      break;
  }
  return ::CallWindowProcA(app->dialog_proc, hwnd, message, wparam, lparam);
}

// A class built on a system control class, keeping its procedure as the base.
WNDPROC RegisterOnSystemClass(const App& app, const char* system_class, const char* name, WNDPROC proc) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!::GetClassInfoExA(nullptr, system_class, &wc)) FailStart("GetClassInfoExA");
  const WNDPROC base = wc.lpfnWndProc;
  wc.lpfnWndProc = proc;
  wc.hInstance = app.instance;
  wc.lpszClassName = name;
  wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  if (!::RegisterClassExA(&wc)) FailStart("RegisterClassExA");
  return base;
}

// A child window; the classes of this file get the App at creation, system classes after.
HWND Child(App& app, DWORD ex_style, const char* class_name, std::wstring_view text, DWORD style, HWND parent,
           int id = 0) {
  const bool own_class = class_name != std::string_view("STATIC") && class_name != std::string_view(kDialogClass);
  return CreateChild(app, parent, ex_style, class_name, text, style, id, own_class ? &app : nullptr);
}

}  // namespace

void RegisterChatClasses(App& app) {
  RegisterOwnClass(app, Guarded<StructureMessage>, kFrameClass, COLOR_APPWORKSPACE);
  RegisterOwnClass(app, Guarded<StructureMessage>, kViewClass, COLOR_WINDOW);
  RegisterOwnClass(app, Guarded<StructureMessage>, kPageClass, COLOR_WINDOW);
  RegisterOwnClass(app, Guarded<StructureMessage>, kInputFrameClass, COLOR_WINDOW);
  app.edit_proc = RegisterOnSystemClass(app, "EDIT", kInputBoxClass, Guarded<InputBoxMessage>);
  app.button_proc = RegisterOnSystemClass(app, "BUTTON", kButtonClass, Guarded<ButtonMessage>);
}

HWND CreateChatWindow(App& app, int show_command) {
  const Options& o = app.options;
  ChatHandles& c = app.chat;
  const std::string title = Ansi(std::wstring(o.chat_title.begin(), o.chat_title.end()));
  const WindowRect place = o.chat_rect.value_or(WindowRect{Scale(app, 40), Scale(app, 40), Scale(app, 600), Scale(app, 440)});
  c.frame = ::CreateWindowExA(0, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.x, place.y,
                              place.width, place.height, nullptr, nullptr, app.instance, &app);
  if (!c.frame) FailStart("CreateWindowExA(IEFrame)");
  AttachApp(c.frame, app);
  ++app.open_windows;
  c.view = Child(app, 0, kViewClass, L"", WS_CLIPCHILDREN, c.frame);
  c.page = Child(app, 0, kPageClass, L"", WS_CLIPCHILDREN, c.view);
  if (!o.dialog) {
    Child(app, 0, "STATIC", L"このページにはチャットがありません。", SS_CENTER, c.page);
  } else {
    c.dialog = Child(app, WS_EX_CONTROLPARENT, kDialogClass, L"", WS_CLIPCHILDREN, c.page);
    app.dialog_proc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(c.dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Guarded<ChatControlMessage>)));
    c.header = Child(app, 0, "STATIC", L"雑談ルーム「かけはし」 ― 練習用チャット", SS_LEFT, c.dialog);
    c.transcript = CreateTranscript(app, c.dialog);
    if (o.input_frame) {
      c.input_frame = Child(app, 0, kInputFrameClass, L"", WS_CLIPCHILDREN, c.dialog);
      if (o.input_box) {
        c.input_box = Child(app, WS_EX_CLIENTEDGE, kInputBoxClass, L"", WS_TABSTOP | ES_AUTOHSCROLL, c.input_frame);
      }
    }
    if (o.button) {
      c.button = Child(app, 0, kButtonClass, L"送信", WS_TABSTOP | BS_PUSHBUTTON, c.dialog, kChatSendButtonId);
    }
  }
  RECT r{};
  ::GetClientRect(c.frame, &r);
  ::SendMessageA(c.frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right, r.bottom));
  ::ShowWindow(c.frame, show_command);
  ::UpdateWindow(c.frame);
  return c.frame;
}

}  // namespace practice_chat
