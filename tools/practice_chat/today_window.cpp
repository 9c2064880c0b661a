// Today's chat: a Unicode window on its own thread; it logs each line it sends.
#include "today_window.h"

#include <future>
#include <string>
#include <string_view>
#include <utility>

#include "practice_chat_ids.h"

namespace practice_chat {
namespace {

constexpr std::string_view kRole = "today";

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// Logs the input box's text, shows it in the transcript as "あなた: text" and empties the
// box; an empty box sends nothing. The log line is written first: whoever sees the box
// empty finds the line in the log.
void Send(App& app) {
  const TodayHandles& t = app.today;
  const int length = ::GetWindowTextLengthW(t.input);
  if (length <= 0) return;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(t.input, text.data(), length + 1)));
  if (text.empty()) return;
  app.log.WriteSent(kRole, std::u16string(text.begin(), text.end()));
  app.log.Flush();
  const int end = ::GetWindowTextLengthW(t.transcript);
  const std::wstring line = (end > 0 ? L"\r\n" : L"") + Wide(kOwnLinePrefix) + text;
  ::SendMessageW(t.transcript, EM_SETSEL, static_cast<WPARAM>(end), end);
  ::SendMessageW(t.transcript, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
  ::SendMessageW(t.transcript, EM_SCROLLCARET, 0, 0);
  ::SetWindowTextW(t.input, L"");
}

void Layout(const App& app) {
  const TodayHandles& t = app.today;
  LayoutConversation(app, t.window, t.transcript, t.input, t.button);
}

// Win32: a single-line edit has no use for Enter; it beeps at the '\r' that TranslateMessage
// makes of the key. Enter sends at its WM_KEYDOWN, which is all that comes when another
// program posts the key to the box; the '\r' and the '\n' of Ctrl+Enter are dropped.
LRESULT InputMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  App* app = AppOf(hwnd);
  if (message == WM_KEYDOWN && wparam == VK_RETURN) {
    Send(*app);
    return 0;
  }
  if (message == WM_CHAR && (wparam == L'\r' || wparam == L'\n')) return 0;
  return ::CallWindowProcW(app->today_input_proc, hwnd, message, wparam, lparam);
}

LRESULT WindowMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  App* app = AppOf(hwnd);
  if (!app && message == WM_NCCREATE) {
    app = static_cast<App*>(reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams);
    if (app) AttachApp(hwnd, *app);
  }
  if (!app) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == kTodaySendButtonId && HIWORD(wparam) == BN_CLICKED) {
        Send(*app);
        if (::GetFocus() == app->today.button) ::SetFocus(app->today.input);
        return 0;
      }
      break;
    case WM_SIZE:
      Layout(*app);
      return 0;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lparam) == app->today.transcript) return TranscriptColors(reinterpret_cast<HDC>(wparam));
      break;
    case WM_SETFOCUS:
      if (app->today.input) ::SetFocus(app->today.input);
      return 0;
    case WM_DESTROY:
      app->today = {};
      ::PostQuitMessage(0);
      WindowClosed(*app);
      break;
  }
  return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

HWND Child(const App& app, HWND parent, DWORD ex_style, const wchar_t* class_name, const wchar_t* text, DWORD style,
           int id = 0) {
  const HWND hwnd = ::CreateWindowExW(ex_style, class_name, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app.instance, nullptr);
  if (!hwnd) FailStart("CreateWindowExW");
  SetFont(app, hwnd);
  return hwnd;
}

void CreateTodayWindow(App& app, int show_command) {
  const std::wstring class_name = Wide(kTodayClass);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Guarded<WindowMessage>;
  wc.hInstance = app.instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = ::LoadIconW(app.instance, MAKEINTRESOURCEW(kPracticeChatIconId));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = class_name.c_str();
  if (!::RegisterClassExW(&wc)) FailStart("RegisterClassExW");

  TodayHandles& t = app.today;
  const WindowRect place =
      app.options.today_rect.value_or(WindowRect{Scale(app, 40), Scale(app, 500), Scale(app, 600), Scale(app, 320)});
  t.window = ::CreateWindowExW(0, class_name.c_str(), Wide(kTodayTitle).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                               place.x, place.y, place.width, place.height, nullptr, nullptr, app.instance, &app);
  if (!t.window) FailStart("CreateWindowExW(today)");
  ++app.open_windows;
  t.transcript = Child(app, t.window, WS_EX_CLIENTEDGE, L"EDIT", L"",
                       WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL);
  ::SendMessageW(t.transcript, EM_SETLIMITTEXT, 0, 0);
  t.input = Child(app, t.window, WS_EX_CLIENTEDGE, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL);
  AttachApp(t.input, app);
  app.today_input_proc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(t.input, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Guarded<InputMessage>)));
  if (app.options.button) {
    t.button = Child(app, t.window, 0, L"BUTTON", L"送信", WS_TABSTOP | BS_PUSHBUTTON, kTodaySendButtonId);
  }
  Layout(app);
  ::ShowWindow(t.window, show_command);
  ::UpdateWindow(t.window);
}

void RunTodayChat(App& app, int show_command, std::promise<void> shown) {
  CreateTodayWindow(app, show_command);
  shown.set_value();
  MSG msg{};
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace

// Win32: the ANSI loop of the other windows would pass each character of a Unicode window
// through the code page (GetMessageA turns either half of an emoji into '?'), so today's chat
// has its own thread, queue and Unicode loop.
void StartTodayChat(App& app, int show_command) {
  std::promise<void> shown;
  std::future<void> ready = shown.get_future();
  app.today_thread = std::thread(RunTodayChat, std::ref(app), show_command, std::move(shown));
  ready.wait();
}

}  // namespace practice_chat
