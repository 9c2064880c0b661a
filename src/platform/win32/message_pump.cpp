// The program's message handling.
#include "platform/win32/message_pump.h"

namespace kakehashi {

namespace {

bool IsPushButton(HWND hwnd) {
  wchar_t name[16] = {};
  if (GetClassNameW(hwnd, name, 16) == 0 || lstrcmpiW(name, L"Button") != 0) return false;
  const auto type = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

void DispatchWindowMessage(MSG& msg) {
  // lParam bit 30: the key was already down.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && (msg.lParam & (1L << 30)) != 0 && msg.hwnd &&
      IsPushButton(msg.hwnd)) {
    return;
  }
  // The dialog manager acts on keys only (Tab, arrows, Enter, Esc, mnemonics); any other
  // message it would only translate and dispatch. Win32 under Wine: finding the root window
  // is a round trip to the server, which timer ticks and paints need not make.
  if (msg.hwnd && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (root && IsDialogMessageW(root, &msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

}  // namespace kakehashi
