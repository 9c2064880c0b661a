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
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

}  // namespace kakehashi
