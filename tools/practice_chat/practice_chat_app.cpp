// Helpers shared by the windows of the practice chat program.
#include "practice_chat_app.h"

#include <cstdlib>
#include <string>

#include "practice_chat_ids.h"

namespace practice_chat {

App* AppOf(HWND hwnd) { return reinterpret_cast<App*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

void AttachApp(HWND hwnd, App& app) { ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&app)); }

void WindowClosed(App& app) {
  if (--app.open_windows > 0) return;
  if (::GetCurrentThreadId() == app.main_thread) {
    ::PostQuitMessage(0);
  } else {
    ::PostThreadMessageW(app.main_thread, WM_QUIT, 0, 0);
  }
}

int Scale(const App& app, int pixels) { return ::MulDiv(pixels, app.dpi, 96); }

void LayoutConversation(const App& app, HWND window, HWND transcript, HWND input, HWND button) {
  RECT r{};
  ::GetClientRect(window, &r);
  const int m = Scale(app, 8), row = Scale(app, 26), button_width = Scale(app, 80);
  const int width = r.right - 2 * m;
  const int row_top = r.bottom - m - row;
  ::MoveWindow(transcript, m, m, width, row_top - 2 * m, TRUE);
  ::MoveWindow(input, m, row_top, button ? width - button_width - m : width, row, TRUE);
  if (button) ::MoveWindow(button, r.right - m - button_width, row_top, button_width, row, TRUE);
}

std::string Ansi(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
  return bytes;
}

std::wstring DecodeImeChar(WPARAM wparam) {
  const unsigned code = static_cast<unsigned>(wparam & 0xFFFFu);
  char bytes[2];
  int count = 0;
  if (code > 0xFFu) bytes[count++] = static_cast<char>(code >> 8);
  bytes[count++] = static_cast<char>(code & 0xFFu);
  wchar_t wide[4] = {};
  const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes, count, wide, 4);
  return std::wstring(wide, static_cast<std::size_t>(n > 0 ? n : 0));
}

void LogReceived(App& app, std::string_view role, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_IME_CHAR && message != WM_CHAR && message != WM_COMMAND) return;
  if (message == WM_COMMAND && lparam != 0) {
    // A notification from a child control; a press of the send button by mouse counts.
    const HWND from = reinterpret_cast<HWND>(lparam);
    if (from != app.chat.button && from != app.messenger.button) return;
  }
  app.log.Write(role, message, wparam, lparam);
}

void InsertTyped(App& app, HWND edit, const std::wstring& text) {
  if (!edit || text.empty() || text[0] < L' ') return;
  if (app.typing.edit != edit) FlushPending(app);
  app.typing.edit = edit;
  app.typing.text += text;
}

namespace {

std::wstring WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

void InsertWaitingCharacters(PendingTyping& typing) {
  if (!typing.text.empty() && ::IsWindow(typing.edit)) {
    ::SendMessageW(typing.edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(typing.text.c_str()));
  }
  typing.text.clear();
}

void AppendWaitingLines(PendingLines& lines) {
  if (!lines.text.empty() && ::IsWindow(lines.transcript)) {
    const int end = ::GetWindowTextLengthW(lines.transcript);
    const std::wstring text = (end > 0 ? L"\r\n" : L"") + lines.text;
    ::SendMessageW(lines.transcript, EM_SETSEL, static_cast<WPARAM>(end), end);
    ::SendMessageW(lines.transcript, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageW(lines.transcript, EM_SCROLLCARET, 0, 0);
  }
  lines.text.clear();
}

}  // namespace

// Wine: each EM_REPLACESEL goes through several wineserver round trips and X calls (caret,
// invalidation, font selection), and each change of the transcript repaints it, laying out
// every visible line again; one change per character or per line more than doubled this
// program's CPU time per message and left a bare posting loop far ahead of the transcript.
void FlushPending(App& app) {
  app.log.Flush();
  AppendWaitingLines(app.lines);
  InsertWaitingCharacters(app.typing);
}

bool HasPending(const App& app) {
  return !app.typing.text.empty() || !app.lines.text.empty() || app.log.has_pending();
}

void SendInputToTranscript(App& app, HWND input, HWND transcript) {
  if (!input || !transcript) return;
  std::wstring text;
  if (::GetWindowTextLengthW(input) > 0) {
    // Typed by hand, or set from outside: the waiting characters go in at its caret first.
    if (app.typing.edit == input) InsertWaitingCharacters(app.typing);
    text = WindowText(input);
    ::SetWindowTextW(input, L"");
  } else if (app.typing.edit == input) {
    text.swap(app.typing.text);
  }
  if (text.empty()) return;
  if (app.lines.transcript != transcript) FlushPending(app);
  app.lines.transcript = transcript;
  if (!app.lines.text.empty()) app.lines.text += L"\r\n";
  app.lines.text.append(kOwnLinePrefix.begin(), kOwnLinePrefix.end());
  app.lines.text += text;
}

LRESULT TranscriptColors(HDC dc) {
  ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
}

HWND CreateTranscript(App& app, HWND parent) {
  const HWND edit = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                                      0, 0, 0, 0, parent, nullptr, app.instance, nullptr);
  if (!edit) FailStart("CreateWindowExA(EDIT)");
  ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
  SetFont(app, edit);
  return edit;
}

void RegisterOwnClass(const App& app, WNDPROC proc, const char* name, int background) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = app.instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = ::LoadIconW(app.instance, MAKEINTRESOURCEW(kPracticeChatIconId));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  wc.lpszClassName = name;
  if (!::RegisterClassExA(&wc)) FailStart("RegisterClassExA");
}

HWND CreateChild(App& app, HWND parent, DWORD ex_style, const char* class_name, std::wstring_view text, DWORD style,
                 int id, void* create_param) {
  const HWND hwnd = ::CreateWindowExA(ex_style, class_name, Ansi(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                                      0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app.instance,
                                      create_param);
  if (!hwnd) FailStart("CreateWindowExA");
  AttachApp(hwnd, app);
  SetFont(app, hwnd);
  return hwnd;
}

void SetFont(const App& app, HWND window) {
  if (app.font) ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(app.font), FALSE);
}

void FailStart(const char* call) {
  const DWORD error = ::GetLastError();
  std::wstring text = L"練習用チャットを起動できません: ";
  for (const char* c = call; *c; ++c) text += static_cast<wchar_t>(*c);
  text += L" (GetLastError " + std::to_wstring(error) + L")";
  ::MessageBoxW(nullptr, text.c_str(), L"practice_chat", MB_OK | MB_ICONERROR);
  std::exit(3);
}

}  // namespace practice_chat
