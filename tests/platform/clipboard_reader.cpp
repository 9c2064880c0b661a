// Another program that reads the clipboard's Unicode text, for the platform test:
//   clipboard_reader window|none OUTPUT
// opens the clipboard with a window of its own or without one, writes the text it got to
// OUTPUT (UTF-16, no terminator) and exits 0 when it got text, 1 when it got none, 2 when
// the clipboard could not be opened.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  if (__argc != 3) return 3;
  const HWND window = std::wcscmp(__wargv[1], L"window") == 0
                          ? CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)
                          : nullptr;
  bool opened = false;
  for (int i = 0; i < 100 && !(opened = OpenClipboard(window) != FALSE); ++i) Sleep(20);
  if (!opened) return 2;
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const HANDLE file = CreateFileW(__wargv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (const auto* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr) {
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(wcsnlen(text, GlobalSize(data) / 2) * 2), &written, nullptr);
    GlobalUnlock(data);
  }
  CloseHandle(file);
  CloseClipboard();
  return data ? 0 : 1;
}
