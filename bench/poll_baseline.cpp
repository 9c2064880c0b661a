// Idle-poll baseline for the benchmarks: a hidden window whose 100 ms timer makes exactly the
// platform calls of one foreground poll tick against the window in front, and nothing else.
#include <windows.h>

#include <cstring>

namespace {

void OneTick() {
  HWND w = GetForegroundWindow();
  char class_name[200];
  char title[200];
  if (!w || GetClassNameA(w, class_name, 200) == 0) return;
  if (std::strncmp(class_name, "IMWindowClass", 13) == 0) {
    GetWindowTextA(w, title, 200);
    FindWindowExA(w, nullptr, "button", nullptr);
    return;
  }
  if (std::strncmp(class_name, "IEFrame", 7) != 0) return;
  GetWindowTextA(w, title, 31);
  HWND v = FindWindowExA(w, nullptr, "Shell DocObject View", nullptr);
  if (!v) return;
  HWND s = FindWindowExA(v, nullptr, "Internet Explorer_Server", nullptr);
  if (!s) return;
  HWND d = FindWindowExA(s, nullptr, "#32770", nullptr);
  if (!d) return;
  HWND a = FindWindowExA(d, nullptr, "ATL:3723F798", nullptr);
  FindWindowExA(d, nullptr, "SubclassButton", nullptr);
  if (a) FindWindowExA(a, nullptr, "MSNChatEdit4", nullptr);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      OneTick();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"KakehashiBenchPollBaseline";
  if (!RegisterClassExW(&wc)) return 1;
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"bench poll baseline", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                              nullptr, instance, nullptr);
  if (!hwnd || !SetTimer(hwnd, 1, 100, nullptr)) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
