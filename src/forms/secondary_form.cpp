// Loading, showing and closing of the help, About and 送信先 windows.
#include "forms/secondary_form.h"

namespace kakehashi {

void SecondaryForm::OpenForm(HINSTANCE instance) {
  if (loaded()) {
    // Already open: no second window; the existing one comes to the front.
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
    return;
  }
  try {
    Build(form_, instance, nullptr);
    Form_Load();
  } catch (...) {
    if (hwnd()) DestroyWindow(hwnd());
    throw;
  }
  ShowAndFocus(SW_SHOW);
}

LRESULT SecondaryForm::FormMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: on_command(LOWORD(wp), HIWORD(wp)); return 0;
    case WM_PAINT: on_paint(); return 0;
    default: return OtherMessage(msg, wp, lp);
  }
}

void SecondaryForm::on_command(int id, int code) {
  if (Command(id, code)) return;
  // IDCANCEL comes from Esc through the dialog manager: the OK button is also the cancel button.
  if (id == IdNumber(form_.default_button) || id == IDCANCEL || id == IDOK) cmdOK_Click();
}

void SecondaryForm::on_paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  if (dc) Paint(dc);
  EndPaint(hwnd(), &ps);
}

void SecondaryForm::cmdOK_Click() { DestroyWindow(hwnd()); }

}  // namespace kakehashi
