// Entry point of kakehashi.exe: loads the main window and runs the message loop until the
// last of the program's windows has closed.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <exception>
#include <string>

#include "forms/form1.h"
#include "forms/frm_about.h"
#include "forms/frm_target.h"
#include "forms/frm_tip.h"
#include "platform/win32/message_pump.h"

#if defined(__GLIBCXX__)
// libstdc++'s default terminate handler writes the uncaught exception's demangled type to
// stderr, which a GUI program does not have, and then aborts. Its demangler and the printf
// behind it were a fifth of the exe; this one only aborts.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif

namespace {

// The one path for failures before the main window is up: there is no status line yet.
int FatalError(const std::wstring& what) {
  const std::wstring text = L"Kakehashi を起動できません: " + what;
  MessageBoxW(nullptr, text.c_str(), L"Kakehashi", MB_OK | MB_ICONERROR);
  return 1;
}

int RunMessageLoop(kakehashi::Form1& form1) {
  MSG msg{};
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    // A send still running is stopped first; its end posts the quit again.
    if (got == 0 && !form1.StopSendBeforeQuit(static_cast<int>(msg.wParam))) break;
    if (got != 0) kakehashi::DispatchWindowMessage(msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  kakehashi::OpenWindows open_windows;
  kakehashi::FrmTip tip(open_windows);
  kakehashi::FrmAbout about(open_windows);
  kakehashi::FrmTarget target_form(open_windows);
  kakehashi::Form1 form1(open_windows, tip, about, target_form);
  try {
    form1.Load(instance, show_command);
  } catch (const kakehashi::StartupError& e) {
    return FatalError(e.Describe());
  } catch (const std::exception&) {
    return FatalError(L"out of memory");
  }
  const int exit_code = RunMessageLoop(form1);
  // The home-page item may have started COM on this thread.
  kakehashi::EndComForShell();
  return exit_code;
}
