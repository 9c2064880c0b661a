// The real window operations.
#include "platform/win32/win32_window_ops.h"

#include <objbase.h>
#include <shellapi.h>

#include "platform/win32/proc_address.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace kakehashi {

// The portable code names these numbers itself.
static_assert(kWmCommand == WM_COMMAND && kWmImeChar == WM_IME_CHAR);
static_assert(kEmGetLineCount == EM_GETLINECOUNT && kEmGetLine == EM_GETLINE);
static_assert(kErrorAccessDenied == ERROR_ACCESS_DENIED && kErrorInvalidWindowHandle == ERROR_INVALID_WINDOW_HANDLE &&
              kErrorNotEnoughQuota == ERROR_NOT_ENOUGH_QUOTA);
static_assert(kSwShow == SW_SHOW);
static_assert(kWmNull == WM_NULL && kWmKeyDown == WM_KEYDOWN && kWmKeyUp == WM_KEYUP && kWmChar == WM_CHAR);
static_assert(kVkReturn == VK_RETURN && kBnClicked == BN_CLICKED && kEsMultiLine == ES_MULTILINE);

namespace {

// Read into a buffer of `capacity` bytes; the platform writes a terminating NUL within it.
template <typename Read>
std::string ReadString(int capacity, Read read) {
  if (capacity < 1) return {};
  std::vector<char> buffer(static_cast<std::size_t>(capacity), '\0');
  const int n = read(buffer.data(), capacity);
  if (n <= 0) return {};
  return std::string(buffer.data(), std::min(static_cast<std::size_t>(n), buffer.size() - 1));
}

const char* OrNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

// The thread on which StartComForShell initialised COM, or 0.
DWORD com_thread = 0;

// Why a process's integrity level is not known.
enum class LevelUnknown { kAccessDenied, kOther };

struct IntegrityLevel {
  std::optional<DWORD> level;
  LevelUnknown why = LevelUnknown::kOther;
};

IntegrityLevel Unknown() {
  return {std::nullopt, GetLastError() == ERROR_ACCESS_DENIED ? LevelUnknown::kAccessDenied : LevelUnknown::kOther};
}

// The mandatory integrity level of `process`'s token: the last sub-authority of its label.
IntegrityLevel LevelOf(HANDLE process) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return Unknown();
  DWORD size = 0;
  GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
  std::vector<unsigned char> buffer(size);
  IntegrityLevel result;
  if (size != 0 && GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) {
    const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data());
    const UCHAR count = *GetSidSubAuthorityCount(label->Label.Sid);
    if (count > 0) result.level = *GetSidSubAuthority(label->Label.Sid, count - 1u);
  } else {
    result = Unknown();
  }
  CloseHandle(token);
  return result;
}

}  // namespace

Handle Win32WindowOps::GetForegroundWindow() { return FromHwnd(::GetForegroundWindow()); }

std::string Win32WindowOps::GetClassNameA(Handle window, int capacity) {
  if (!window) return {};
  return ReadString(capacity, [&](char* b, int n) { return ::GetClassNameA(ToHwnd(window), b, n); });
}

std::string Win32WindowOps::GetWindowTextA(Handle window, int capacity) {
  if (!window) return {};
  return ReadString(capacity, [&](char* b, int n) { return ::GetWindowTextA(ToHwnd(window), b, n); });
}

Handle Win32WindowOps::FindWindowExA(Handle parent, Handle child_after, std::string_view class_name) {
  // Handle 0 as parent would search the desktop's children: never what a caller here means.
  if (!parent) return kNoWindow;
  const std::string name(class_name);
  return FromHwnd(::FindWindowExA(ToHwnd(parent), ToHwnd(child_after), name.c_str(), nullptr));
}

std::intptr_t Win32WindowOps::SendMessageA(Handle window, std::uint32_t message, std::uintptr_t wparam,
                                           std::intptr_t lparam) {
  return ::SendMessageA(ToHwnd(window), message, wparam, lparam);
}

namespace {

template <typename Post>
PostResult PostTo(Handle window, Post post) {
  // Win32: PostMessage to NULL posts to the calling thread's own queue and "succeeds".
  if (!window) return PostResult{kErrorInvalidWindowHandle};
  if (post(ToHwnd(window))) return PostResult{};
  const DWORD error = GetLastError();
  // A failure without a code still must not count as a success.
  return PostResult{error != 0 ? static_cast<std::uint32_t>(error) : kErrorInvalidWindowHandle};
}

INPUT Key(WORD vk, WORD scan, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = scan;
  input.ki.dwFlags = flags;
  return input;
}

}  // namespace

PostResult Win32WindowOps::PostMessageA(Handle window, std::uint32_t message, std::uintptr_t wparam,
                                        std::intptr_t lparam) {
  return PostTo(window, [&](HWND hwnd) { return ::PostMessageA(hwnd, message, wparam, lparam); });
}

PostResult Win32WindowOps::PostMessageW(Handle window, std::uint32_t message, std::uintptr_t wparam,
                                        std::intptr_t lparam) {
  return PostTo(window, [&](HWND hwnd) { return ::PostMessageW(hwnd, message, wparam, lparam); });
}

bool Win32WindowOps::IsWindow(Handle window) { return window && ::IsWindow(ToHwnd(window)); }

std::uint32_t Win32WindowOps::WindowProcessId(Handle window) {
  DWORD process = 0;
  if (!window || GetWindowThreadProcessId(ToHwnd(window), &process) == 0) return 0;
  return process;
}

std::uint32_t Win32WindowOps::CurrentProcessId() { return GetCurrentProcessId(); }

std::u16string Win32WindowOps::GetWindowTextW(Handle window, int capacity) {
  if (!window || capacity < 1) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(capacity), L'\0');
  const int n = ::GetWindowTextW(ToHwnd(window), buffer.data(), capacity);
  if (n <= 0) return {};
  return std::u16string(buffer.begin(), buffer.begin() + std::min(n, capacity - 1));
}

bool Win32WindowOps::IsWindowUnicode(Handle window) { return window && ::IsWindowUnicode(ToHwnd(window)); }

std::uint32_t Win32WindowOps::WindowStyle(Handle window) {
  if (!window) return 0;
  return static_cast<std::uint32_t>(GetWindowLongPtrW(ToHwnd(window), GWL_STYLE));
}

Handle Win32WindowOps::GetParent(Handle window) { return window ? FromHwnd(::GetParent(ToHwnd(window))) : kNoWindow; }

std::uint32_t Win32WindowOps::EnterScanCode() { return MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC); }

void Win32WindowOps::SetForegroundWindow(Handle window) {
  if (window) ::SetForegroundWindow(ToHwnd(window));
}

std::uint32_t Win32WindowOps::TypeUnicode(std::u16string_view units) {
  std::vector<INPUT> inputs;
  for (const char16_t unit : units) {
    inputs.push_back(Key(0, unit, KEYEVENTF_UNICODE));
    inputs.push_back(Key(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
  }
  if (inputs.empty()) return 0;
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::uint32_t Win32WindowOps::PressEnterKey() {
  const auto scan = static_cast<WORD>(EnterScanCode());
  INPUT inputs[] = {Key(VK_RETURN, scan, 0), Key(VK_RETURN, scan, KEYEVENTF_KEYUP)};
  return SendInput(2, inputs, sizeof(INPUT));
}

bool Win32WindowOps::ModifierKeysHeld() {
  for (const int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN}) {
    if (GetAsyncKeyState(vk) & 0x8000) return true;
  }
  return false;
}

bool Win32WindowOps::IsIconic(Handle window) { return window && ::IsIconic(ToHwnd(window)); }

// Win32: ShowWindowAsync asks the window's own thread to do it, so a program that does not
// answer cannot hold the send up.
void Win32WindowOps::RestoreWindow(Handle window) {
  if (window) ::ShowWindowAsync(ToHwnd(window), SW_RESTORE);
}

Handle Win32WindowOps::RootWindow(Handle window) {
  return window ? FromHwnd(::GetAncestor(ToHwnd(window), GA_ROOT)) : kNoWindow;
}

bool Win32WindowOps::RoundTrip(Handle window, std::uint32_t timeout_ms) {
  if (!window) return false;
  DWORD_PTR result = 0;
  // Win32: SMTO_ABORTIFHUNG returns at once for a program that has not looked at its queue
  // for 5 s; the caller decides how long to keep asking.
  return SendMessageTimeoutW(ToHwnd(window), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeout_ms, &result) != 0;
}

// Win32: neither call sends the window a message; the update region of another program's
// window is the system's to read and to add to.
bool Win32WindowOps::RequestPaint(Handle window) {
  const RECT pixel{0, 0, 1, 1};
  return window && ::InvalidateRect(ToHwnd(window), &pixel, FALSE) && PaintPending(window);
}

bool Win32WindowOps::PaintPending(Handle window) {
  return window && ::GetUpdateRect(ToHwnd(window), nullptr, FALSE);
}

std::optional<std::vector<ClipboardFormat>> Win32WindowOps::SaveClipboard() { return clipboard_.Save(); }

bool Win32WindowOps::OfferClipboardText(std::u16string_view text) { return clipboard_.Offer(text); }

std::optional<std::uint32_t> Win32WindowOps::AwaitClipboardRender(std::uint32_t milliseconds,
                                                                  const std::function<bool(std::uint32_t)>& accept) {
  return clipboard_.Await(milliseconds, accept);
}

bool Win32WindowOps::RestoreClipboard(const std::vector<ClipboardFormat>& formats) {
  return clipboard_.Restore(formats);
}

std::uint32_t Win32WindowOps::PressPasteKeys() {
  const auto ctrl = static_cast<WORD>(MapVirtualKeyW(VK_CONTROL, MAPVK_VK_TO_VSC));
  const auto v = static_cast<WORD>(MapVirtualKeyW('V', MAPVK_VK_TO_VSC));
  INPUT inputs[] = {Key(VK_CONTROL, ctrl, 0), Key('V', v, 0), Key('V', v, KEYEVENTF_KEYUP),
                    Key(VK_CONTROL, ctrl, KEYEVENTF_KEYUP)};
  return SendInput(4, inputs, sizeof(INPUT));
}

int Win32WindowOps::GetDlgCtrlID(Handle window) { return ::GetDlgCtrlID(ToHwnd(window)); }

bool Win32WindowOps::Sleep(std::uint32_t milliseconds, StopRequest& stop) { return !stop.WaitFor(milliseconds); }

std::uint64_t Win32WindowOps::TickCount() { return GetTickCount64(); }

bool Win32WindowOps::RunsAboveUs(Handle window) {
  DWORD process_id = 0;
  if (!window || GetWindowThreadProcessId(ToHwnd(window), &process_id) == 0) return false;
  if (process_id == GetCurrentProcessId()) return false;
  const IntegrityLevel ours = LevelOf(GetCurrentProcess());
  // Win32: PROCESS_QUERY_LIMITED_INFORMATION is granted across integrity levels for most
  // programs; a denial means a protected or elevated program.
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
  const IntegrityLevel theirs = LevelOf(process);
  CloseHandle(process);
  if (!theirs.level) return theirs.why == LevelUnknown::kAccessDenied;
  // A system without integrity levels (or ours unreadable) compares equal.
  return ours.level && *theirs.level > *ours.level;
}

std::uint32_t Win32WindowOps::AnsiCodePage() { return GetACP(); }

Handle Win32WindowOps::GetDesktopWindow() { return FromHwnd(::GetDesktopWindow()); }

void Win32WindowOps::ShellExecuteA(Handle owner, std::string_view operation, std::string_view file,
                                   std::string_view parameters, std::string_view directory, int show_command) {
  // shell32 and ole32 are loaded only when the shell call is made: loading them with the
  // program would cost every start a noticeable part of its time for a menu item that is
  // rarely chosen. Neither is ever unloaded.
  // Win32: some shell handlers need COM on the calling thread, apartment-threaded.
  StartComForShell();
  using ShellExecuteAFn = decltype(&::ShellExecuteA);
  // Win32: an asynchronous launch may still run inside shell32 after the call returns.
  static const ShellExecuteAFn shell_execute = FindProc<ShellExecuteAFn>(LoadLibraryW(L"shell32.dll"), "ShellExecuteA");
  if (!shell_execute) return;
  const std::string op(operation), f(file), params(parameters), dir(directory);
  shell_execute(ToHwnd(owner), OrNull(op), f.c_str(), OrNull(params), OrNull(dir), show_command);
}

void Win32WindowOps::OpenFile(const std::wstring& path) {
  StartComForShell();
  using ShellExecuteWFn = decltype(&::ShellExecuteW);
  static const ShellExecuteWFn shell_execute = FindProc<ShellExecuteWFn>(LoadLibraryW(L"shell32.dll"), "ShellExecuteW");
  if (shell_execute) shell_execute(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void StartComForShell() {
  if (com_thread != 0) return;
  using CoInitializeExFn = decltype(&::CoInitializeEx);
  static const CoInitializeExFn co_initialize = FindProc<CoInitializeExFn>(LoadLibraryW(L"ole32.dll"), "CoInitializeEx");
  // S_FALSE (already initialised the same way) is counted too and needs its CoUninitialize;
  // RPC_E_CHANGED_MODE (the thread chose otherwise) is not.
  if (co_initialize && SUCCEEDED(co_initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
    com_thread = GetCurrentThreadId();
  }
}

void EndComForShell() {
  if (com_thread == 0 || com_thread != GetCurrentThreadId()) return;
  using CoUninitializeFn = decltype(&::CoUninitialize);
  // ole32 is loaded, as StartComForShell loaded it and nothing unloads it.
  if (const auto co_uninitialize = FindProc<CoUninitializeFn>(GetModuleHandleW(L"ole32.dll"), "CoUninitialize")) {
    co_uninitialize();
  }
  com_thread = 0;
}

}  // namespace kakehashi
