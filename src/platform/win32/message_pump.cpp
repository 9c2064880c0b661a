// The program's message handling.
#include "platform/win32/message_pump.h"

namespace kakehashi {

void DispatchWindowMessage(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool DispatchPendingMessages() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    DispatchWindowMessage(msg);
  }
  return true;
}

}  // namespace kakehashi
