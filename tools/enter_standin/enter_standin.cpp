// Stand-ins for classic programs that say the line of their input box on Enter, each in
// its own way, and log every line said in the practice chat's log format (even an empty
// one, so that a test sees a press that came too early):
//   enter_standin --mode dialog|multiline|char-cr --log PATH
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "enter_standin_ids.h"
#include "message_log.h"

namespace {

using enter_standin::Kind;

struct Standin {
  practice_chat::MessageLog log;
  const Kind* kind = nullptr;
  HWND window = nullptr;  // the dialog or the plain window
  HWND input = nullptr;
  WNDPROC input_proc = nullptr;
};

Standin standin;

// Logs the box's text as a line said, and empties the box.
void Say() {
  const int length = GetWindowTextLengthW(standin.input);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(standin.input, text.data(), length + 1)));
  standin.log.WriteSent(standin.kind->role, std::u16string(text.begin(), text.end()));
  standin.log.Flush();
  SetWindowTextW(standin.input, L"");
}

HWND Child(HWND parent, const wchar_t* class_name, const wchar_t* text, DWORD style, RECT r, int id) {
  return CreateWindowExW(0, class_name, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right, r.bottom, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
      // Esc (IDCANCEL) leaves the dialog open: a test closes it.
      if (LOWORD(wp) == IDOK) Say();
      return TRUE;
    case WM_CLOSE: DestroyWindow(dialog); return TRUE;
    case WM_DESTROY: PostQuitMessage(0); return TRUE;
    default: return FALSE;
  }
}

// A dialog made from an empty template; its controls are added as a dialog template's
// would be, the first at the top of the Z order.
HWND CreateDialogWindow(bool multi_line) {
  struct {
    DLGTEMPLATE head;
    WORD menu, window_class, title;
  } empty{};
  empty.head.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  const HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &empty.head, nullptr, DialogProc, 0);
  if (!dialog) return nullptr;
  SetWindowTextW(dialog, standin.kind->title);
  SetWindowPos(dialog, nullptr, 0, 0, 380, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (multi_line) {
    standin.input = Child(dialog, L"EDIT", L"", WS_BORDER | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                          {10, 10, 350, 80}, enter_standin::kInputId);
  } else {
    // Win32: a group box over the box it frames, as dialog templates make them: the
    // first sibling under the point, which ChildWindowFromPointEx returns.
    Child(dialog, L"BUTTON", L"発言する内容", BS_GROUPBOX, {10, 6, 350, 84}, enter_standin::kGroupId);
    standin.input = Child(dialog, L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, {24, 36, 322, 26},
                          enter_standin::kInputId);
  }
  Child(dialog, L"BUTTON", L"発言", WS_TABSTOP | BS_DEFPUSHBUTTON, {260, 110, 100, 30}, IDOK);
  SendMessageW(dialog, DM_SETDEFID, IDOK, 0);
  SetFocus(standin.input);
  return dialog;
}

// The box of the plain window: the line is said on the '\r' of Enter.
LRESULT CALLBACK InputProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHAR && wp == '\r') {
    Say();
    return 0;
  }
  if (msg == WM_IME_CHAR) {
    // Wine: an ANSI edit control takes the two WM_CHAR that DefWindowProcA makes of a
    // double-byte character one byte at a time; the box puts the character in itself.
    const char bytes[] = {static_cast<char>(wp >> 8 & 0xFF), static_cast<char>(wp & 0xFF)};
    const bool double_byte = bytes[0] != 0;
    wchar_t text[3] = {};
    MultiByteToWideChar(CP_ACP, 0, double_byte ? bytes : bytes + 1, double_byte ? 2 : 1, text, 2);
    SendMessageW(hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    return 0;
  }
  return CallWindowProcA(standin.input_proc, hwnd, msg, wp, lp);
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == enter_standin::kOtherButtonId) {
    standin.log.Write(enter_standin::kRoleOtherButton, msg, wp, lp);
    standin.log.Flush();
    return 0;
  }
  if (msg == WM_DESTROY && hwnd == standin.window) PostQuitMessage(0);
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// ANSI windows, as older programs made them: the box gets WM_IME_CHAR in code page 932.
HWND CreatePlainWindows() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = "EnterStandinPlain";
  if (!RegisterClassA(&wc)) return nullptr;
  const auto top = [&](const wchar_t* title, int x) {
    const HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, x, 0, 380, 140, nullptr, nullptr,
                                      wc.hInstance, nullptr);
    if (hwnd) SetWindowTextW(hwnd, title);
    return hwnd;
  };
  const HWND window = top(standin.kind->title, 0);
  const HWND other = top(enter_standin::kOtherWindowTitle, 400);
  if (!window || !other) return nullptr;
  standin.input = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 350, 26,
                                  window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(enter_standin::kInputId)),
                                  wc.hInstance, nullptr);
  Child(other, L"BUTTON", L"発言", BS_PUSHBUTTON, {10, 10, 120, 30}, enter_standin::kOtherButtonId);
  if (!standin.input) return nullptr;
  standin.input_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(standin.input, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InputProc)));
  ShowWindow(other, SW_SHOWNOACTIVATE);
  return window;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::wstring mode, log_path;
  for (int i = 1; argv && i + 1 < count; i += 2) {
    if (std::wstring(argv[i]) == L"--mode") mode = argv[i + 1];
    if (std::wstring(argv[i]) == L"--log") log_path = argv[i + 1];
  }
  if (argv) LocalFree(argv);
  for (const Kind* kind : {&enter_standin::kDialog, &enter_standin::kMultiLine, &enter_standin::kCharCr}) {
    if (mode == kind->mode) standin.kind = kind;
  }
  if (!standin.kind || !standin.log.Open(log_path)) return 2;
  const bool plain = standin.kind == &enter_standin::kCharCr;
  standin.window = plain ? CreatePlainWindows() : CreateDialogWindow(standin.kind == &enter_standin::kMultiLine);
  if (!standin.window) return 1;
  ShowWindow(standin.window, show);
  // The dialogs' loop gives every message to the dialog manager first; the plain
  // window's is the classic ANSI loop.
  MSG msg;
  while ((plain ? GetMessageA(&msg, nullptr, 0, 0) : GetMessageW(&msg, nullptr, 0, 0)) > 0) {
    if (!plain && IsDialogMessageW(standin.window, &msg)) continue;
    TranslateMessage(&msg);
    if (plain) {
      DispatchMessageA(&msg);
    } else {
      DispatchMessageW(&msg);
    }
  }
  return 0;
}
