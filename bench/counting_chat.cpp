// The posting benchmark's receiver: a Messenger-style window ("IMWindowClass..." with a
// "button" child, so the tool takes it as its target) that only counts and timestamps the
// characters and presses posted to it, straight from its message loop, so that it never sets
// the pace. Usage: bench_counting_chat MAPPING-NAME (a PostCounter the benchmark created).
#include <windows.h>

#include "post_counter.h"

namespace {

using kakehashi::bench::kCountingChatButtonId;
using kakehashi::bench::kCountingChatClass;
using kakehashi::bench::NextPostHash;
using kakehashi::bench::PostCounter;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR name, int show) {
  HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, name);
  if (!mapping) return 2;
  auto* counter = static_cast<PostCounter*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(PostCounter)));
  if (!counter) return 2;

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kCountingChatClass;
  if (!RegisterClassExA(&wc)) return 1;
  HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "bench counting chat", WS_OVERLAPPEDWINDOW, 40, 40, 320, 160,
                              nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  CreateWindowExA(0, "button", "send", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 220, 80, 80, 26, hwnd,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCountingChatButtonId)), instance, nullptr);
  ShowWindow(hwnd, show);

  // The posts are taken here and never dispatched: DefWindowProcA would turn each double-byte
  // WM_IME_CHAR into two more posted WM_CHAR.
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == hwnd && (msg.message == WM_IME_CHAR || msg.message == WM_COMMAND)) {
      LARGE_INTEGER now;
      QueryPerformanceCounter(&now);
      const std::uint64_t hash = counter->hash.load(std::memory_order_relaxed);
      counter->hash.store(NextPostHash(hash, msg.message, static_cast<std::uint32_t>(msg.wParam & 0xFFFFFFFFu)),
                          std::memory_order_relaxed);
      counter->last_tick.store(now.QuadPart, std::memory_order_relaxed);
      counter->posts.fetch_add(1, std::memory_order_release);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  UnmapViewOfFile(counter);
  CloseHandle(mapping);
  return 0;
}
