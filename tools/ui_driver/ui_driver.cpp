// The UI driver for the Wine tests: processes, window search, control access, keys.
#include "ui_driver/ui_driver.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>

namespace kakehashi::ui {
namespace {

constexpr int kPollMs = 20;

std::wstring FromUtf8(std::string_view s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
         });
}

void Collect(HWND parent, std::vector<HWND>& out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    out.push_back(child);
    Collect(child, out);
  }
}

INPUT KeyInput(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

// A mouse event at `screen`: absolute positions are in 0..65535 across the primary screen,
// and the system takes the pixel as position * width / 65536 rounded down, so this rounds up.
INPUT MouseAt(POINT screen, DWORD flags) {
  const auto to_absolute = [](LONG pixel, int extent) {
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + extent - 1) / extent);
  };
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = to_absolute(screen.x, std::max(GetSystemMetrics(SM_CXSCREEN), 1));
  in.mi.dy = to_absolute(screen.y, std::max(GetSystemMetrics(SM_CYSCREEN), 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
  return in;
}

bool PointerAt(POINT screen, int timeout_ms) {
  return WaitUntil(
      [&] {
        POINT at{};
        return GetCursorPos(&at) && std::abs(at.x - screen.x) <= 1 && std::abs(at.y - screen.y) <= 1;
      },
      timeout_ms);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeout_ms) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeout_ms, 0));
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return condition();
    Sleep(kPollMs);
  }
}

std::wstring WindowsPath(std::string_view path) {
  std::wstring out = FromUtf8(path);
  std::replace(out.begin(), out.end(), L'/', L'\\');
  if (!path.empty() && path.front() == '/') out.insert(0, L"Z:");
  return out;
}

std::wstring KakehashiExePath() { return WindowsPath(KAKEHASHI_EXE_PATH); }

Process::Process(const std::wstring& exe_path, const std::wstring& arguments) {
  std::wstring command = L"\"" + exe_path + L"\"";
  if (!arguments.empty()) command += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exe_path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info_)) {
    info_ = {};
    return;
  }
  CloseHandle(info_.hThread);
  info_.hThread = nullptr;
  WaitForInputIdle(info_.hProcess, static_cast<DWORD>(kDefaultTimeoutMs));
}

Process::~Process() {
  Terminate();
  if (info_.hProcess) CloseHandle(info_.hProcess);
}

bool Process::Running() const { return started() && ExitCode() == STILL_ACTIVE; }

bool Process::WaitForExit(int timeout_ms) const {
  if (!started()) return true;
  return WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout_ms)) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
  DWORD code = 0;
  if (!started() || !GetExitCodeProcess(info_.hProcess, &code)) return 0;
  return code;
}

void Process::Terminate() {
  if (Running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, static_cast<DWORD>(kDefaultTimeoutMs));
  }
}

std::vector<HWND> Process::TopLevelWindows() const {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{id(), {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == s->pid) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Process::WaitForTopWindow(const std::function<bool(HWND)>& matches, int timeout_ms) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND hwnd : TopLevelWindows()) {
          if (IsWindowVisible(hwnd) && matches(hwnd)) {
            found = hwnd;
            return true;
          }
        }
        return false;
      },
      timeout_ms);
  return found;
}

HWND Process::WaitForWindow(std::wstring_view caption, int timeout_ms) const {
  return WaitForTopWindow([&](HWND hwnd) { return Text(hwnd) == caption; }, timeout_ms);
}

HWND Process::WaitForWindowOfClass(std::wstring_view class_name, int timeout_ms) const {
  return WaitForTopWindow([&](HWND hwnd) { return ClassName(hwnd) == class_name; }, timeout_ms);
}

HWND FindTopWindow(std::wstring_view caption) {
  const std::wstring c(caption);
  return FindWindowW(nullptr, c.c_str());
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> out;
  if (parent) Collect(parent, out);
  return out;
}

HWND FindControl(HWND parent, int id) {
  for (HWND h : Descendants(parent)) {
    if (GetDlgCtrlID(h) == id) return h;
  }
  return nullptr;
}

HWND FindControlByClass(HWND parent, std::wstring_view class_name, int index) {
  for (HWND h : Descendants(parent)) {
    if (EqualNoCase(ClassName(h), class_name) && index-- == 0) return h;
  }
  return nullptr;
}

HWND FindControlByText(HWND parent, std::wstring_view text) {
  for (HWND h : Descendants(parent)) {
    if (Text(h) == text) return h;
  }
  return nullptr;
}

std::wstring Text(HWND window) {
  const auto n = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const auto got = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, n)));
  return text;
}

void SetText(HWND window, std::wstring_view text) {
  const std::wstring t(text);
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.c_str()));
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  const int n = GetClassNameW(window, name, 256);
  return std::wstring(name, static_cast<std::size_t>(std::max(n, 0)));
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void ClickAsync(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

int CheckState(HWND button) { return static_cast<int>(SendMessageW(button, BM_GETCHECK, 0, 0)); }

bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }

void PostMenuCommand(HWND window, int id) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
}

bool BringToFront(HWND window, int timeout_ms) {
  return WaitUntil(
      [&] {
        if (GetForegroundWindow() == window) return true;
        SetForegroundWindow(window);
        return GetForegroundWindow() == window;
      },
      timeout_ms);
}

HWND FocusedWindow(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool Focus(HWND control, int timeout_ms) {
  const DWORD mine = GetCurrentThreadId();
  const DWORD theirs = GetWindowThreadProcessId(control, nullptr);
  return WaitUntil(
      [&] {
        if (FocusedWindow(control) == control) return true;
        AttachThreadInput(mine, theirs, TRUE);
        SetFocus(control);
        AttachThreadInput(mine, theirs, FALSE);
        return FocusedWindow(control) == control;
      },
      timeout_ms);
}

void PressKey(WORD vk, bool shift, bool ctrl) {
  std::vector<INPUT> inputs;
  if (shift) inputs.push_back(KeyInput(VK_SHIFT, false));
  if (ctrl) inputs.push_back(KeyInput(VK_CONTROL, false));
  inputs.push_back(KeyInput(vk, false));
  inputs.push_back(KeyInput(vk, true));
  if (ctrl) inputs.push_back(KeyInput(VK_CONTROL, true));
  if (shift) inputs.push_back(KeyInput(VK_SHIFT, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(std::wstring_view text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    for (bool up : {false, true}) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wScan = static_cast<WORD>(c);
      in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0u);
      inputs.push_back(in);
    }
  }
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

POINT CentreOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool MoveMouse(POINT screen, int timeout_ms) {
  INPUT in = MouseAt(screen, 0);
  SendInput(1, &in, sizeof(INPUT));
  return PointerAt(screen, timeout_ms);
}

void LeftButtonAt(POINT screen, bool down) {
  INPUT in = MouseAt(screen, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  SendInput(1, &in, sizeof(INPUT));
  PointerAt(screen, 1000);
}

void DragMouse(POINT from, POINT to, int steps) {
  constexpr DWORD kStepMs = 30;
  steps = std::max(steps, 1);
  MoveMouse(from);
  Sleep(kStepMs);
  LeftButtonAt(from, true);
  Sleep(kStepMs);
  for (int i = 1; i <= steps; ++i) {
    MoveMouse(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    Sleep(kStepMs);
  }
  LeftButtonAt(to, false);
}

void Close(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

bool WaitForGone(HWND window, int timeout_ms) {
  return WaitUntil([&] { return !IsWindow(window); }, timeout_ms);
}

RECT RectInParent(HWND control, HWND parent) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace kakehashi::ui
