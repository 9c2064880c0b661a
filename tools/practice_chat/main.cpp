// The practice chat program: stands in for the chat programs that Kakehashi types into (two
// old ones with their window structure, and one of today), so that a new user can try the
// tool and tests can drive it.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "chat_window.h"
#include "messenger_window.h"
#include "practice_chat_app.h"
#include "today_window.h"

namespace practice_chat {
namespace {

std::vector<std::u16string> Arguments() {
  std::vector<std::u16string> args;
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!argv) return args;
  for (int i = 1; i < count; ++i) {
    const std::wstring arg(argv[i]);
    args.emplace_back(arg.begin(), arg.end());
  }
  ::LocalFree(argv);
  return args;
}

void ShowText(const std::u16string& text, UINT icon) {
  const std::wstring wide(text.begin(), text.end());
  ::MessageBoxW(nullptr, wide.c_str(), L"practice_chat", MB_OK | icon);
}

HFONT CreateUiFont(int dpi) {
  return ::CreateFontW(-::MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       L"MS UI Gothic");
}

int Run(HINSTANCE instance, int show_command) {
  std::u16string error;
  const std::optional<Options> options = ParseOptions(Arguments(), &error);
  if (!options) {
    ShowText(error + u"\r\n\r\n" + kUsage, MB_ICONERROR);
    return 2;
  }
  if (options->help) {
    ShowText(kUsage, MB_ICONINFORMATION);
    return 0;
  }
  App app;
  app.instance = instance;
  app.main_thread = ::GetCurrentThreadId();
  app.options = *options;
  if (!app.options.log_path.empty()) {
    const std::wstring path(app.options.log_path.begin(), app.options.log_path.end());
    if (!app.log.Open(path)) FailStart("CreateFileW(--log)");
  }
  if (const HDC screen = ::GetDC(nullptr)) {
    app.dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
  }
  app.font = CreateUiFont(app.dpi);

  if (app.options.chat) {
    RegisterChatClasses(app);
    CreateChatWindow(app, show_command);
  }
  if (app.options.messenger) {
    RegisterMessengerClass(app);
    CreateMessengerWindow(app, show_command);
  }
  if (app.options.today) StartTodayChat(app, show_command);
  app.log.Comment("practice_chat ready pid " + std::to_string(::GetCurrentProcessId()));

  // ANSI message loop: every window of this thread is an ANSI window. What waits for the
  // queue to run empty is done before the program waits for the next message; while a sender
  // keeps posting, the queue runs empty after almost every message, so a short pause for the
  // next one comes first, and a flush is never put off for longer than kMostPutOffMs.
  constexpr DWORD kPauseMs = 15;
  constexpr ULONGLONG kMostPutOffMs = 50;
  ULONGLONG pending_since = 0;
  MSG msg{};
  for (;;) {
    if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      const ULONGLONG now = ::GetTickCount64();
      if (!HasPending(app)) {
        pending_since = 0;
      } else if (pending_since == 0) {
        pending_since = now;
      }
      if (pending_since != 0 && now - pending_since < kMostPutOffMs &&
          ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kPauseMs, QS_ALLINPUT) == WAIT_OBJECT_0) {
        continue;
      }
      FlushPending(app);
      pending_since = 0;
      if (::GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
    } else if (msg.message == WM_QUIT) {
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  FlushPending(app);
  if (app.today_thread.joinable()) app.today_thread.join();
  if (app.font) ::DeleteObject(app.font);
  return static_cast<int>(msg.wParam);
}

}  // namespace
}  // namespace practice_chat

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  return practice_chat::Run(instance, show_command);
}
