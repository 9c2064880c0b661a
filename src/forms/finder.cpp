// Reading other programs' windows, the outline drawn over them, and the disabled finder.
#include "forms/finder.h"

#include <array>

#include "forms/win32_text.h"
#include "platform/win32/win32_window_ops.h"

namespace kakehashi {
namespace {

std::u16string ClassNameOf(HWND window) {
  std::array<wchar_t, 256> buffer{};
  const int n = GetClassNameW(window, buffer.data(), static_cast<int>(buffer.size()));
  return ToU16(std::wstring(buffer.data(), static_cast<std::size_t>(n > 0 ? n : 0)));
}

std::u16string ProgramOf(DWORD process_id) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
  if (!process) return {};
  std::array<wchar_t, MAX_PATH * 2> path{};
  auto size = static_cast<DWORD>(path.size());
  const BOOL ok = QueryFullProcessImageNameW(process, 0, path.data(), &size);
  CloseHandle(process);
  if (!ok) return {};
  return ProgramFileName(ToU16(std::wstring(path.data(), size)));
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return SIZE{};
  BITMAP mask{};
  GetObjectW(info.hbmMask, sizeof mask, &mask);
  // A monochrome icon's mask holds the AND and the XOR halves one above the other.
  const SIZE size{mask.bmWidth, info.hbmColor ? mask.bmHeight : mask.bmHeight / 2};
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return size;
}

// Win32: a group box, and a static without SS_NOTIFY, answer WM_NCHITTEST with
// HTTRANSPARENT: the mouse goes through them to what lies below. Read from the class and
// style, with no message to a program that may not answer.
bool TransparentToHitTest(HWND window) {
  std::array<wchar_t, 16> name{};
  if (!RealGetWindowClassW(window, name.data(), static_cast<UINT>(name.size()))) return false;
  const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  if (lstrcmpiW(name.data(), L"Button") == 0) return (style & BS_TYPEMASK) == BS_GROUPBOX;
  if (lstrcmpiW(name.data(), L"Static") == 0) return (style & SS_NOTIFY) == 0;
  const auto ex_style = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  return (ex_style & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) == (WS_EX_LAYERED | WS_EX_TRANSPARENT);
}

// The child of `parent` that the mouse at `screen` would reach: the first in Z order that
// is visible and enabled, holds the point and is not transparent to hit testing; a
// transparent one only when a child of its own lies under the point. Nothing when the
// point is outside the parent's client area or over none of its children.
// Win32: ChildWindowFromPointEx stops at a group box drawn over the boxes it frames.
HWND ChildAt(HWND parent, POINT screen) {
  POINT point = screen;
  RECT client{};
  if (!ScreenToClient(parent, &point) || !GetClientRect(parent, &client) || !PtInRect(&client, point)) return nullptr;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const auto style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
    RECT rect{};
    if ((style & WS_VISIBLE) == 0 || (style & WS_DISABLED) != 0) continue;
    if (!GetWindowRect(child, &rect) || !PtInRect(&rect, screen)) continue;
    if (!TransparentToHitTest(child) || ChildAt(child, screen)) return child;
  }
  return nullptr;
}

}  // namespace

HWND DeepestWindowAt(POINT screen) {
  const HWND hit = WindowFromPoint(screen);
  if (!hit) return nullptr;
  HWND window = GetAncestor(hit, GA_ROOT);
  while (const HWND child = ChildAt(window, screen)) window = child;
  return window;
}

DWORD ProcessOf(HWND window) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  return process_id;
}

bool IsOwnWindow(HWND window) { return ProcessOf(window) == GetCurrentProcessId(); }

// Win32: GetWindowTextW reads another process's caption without sending it a message, so
// a window that does not answer cannot hold the tool up.
std::u16string CaptionOf(HWND window) {
  std::array<wchar_t, 512> buffer{};
  const int n = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
  return ToU16(std::wstring(buffer.data(), static_cast<std::size_t>(n > 0 ? n : 0)));
}

HWND PickedRoot(Handle handle, std::uint32_t process_id) {
  const HWND window = ToHwnd(handle);
  // A handle can be reused once its window is gone: the process tells them apart.
  if (!handle || !IsWindow(window) || ProcessOf(window) != process_id) return nullptr;
  return GetAncestor(window, GA_ROOT);
}

WindowFacts FactsOf(Handle handle, std::uint32_t process_id) {
  WindowFacts facts;
  if (!handle) return facts;
  const HWND root = PickedRoot(handle, process_id);
  if (!root) {
    facts.state = WindowFacts::State::kGone;
    return facts;
  }
  const HWND window = ToHwnd(handle);
  facts.state = WindowFacts::State::kPresent;
  facts.class_name = ClassNameOf(window);
  facts.caption = CaptionOf(window);
  facts.window_caption = CaptionOf(root);
  facts.program = ProgramOf(process_id);
  facts.unicode = IsWindowUnicode(window) != FALSE;
  return facts;
}

void InvertFrame(const RECT& r, int thickness) {
  // The screen's DC: the outline lies over the windows of every program.
  HDC dc = GetDC(nullptr);
  if (!dc) return;
  const int t = thickness;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  PatBlt(dc, r.left, r.top, width, t, DSTINVERT);
  PatBlt(dc, r.left, r.bottom - t, width, t, DSTINVERT);
  PatBlt(dc, r.left, r.top + t, t, height - 2 * t, DSTINVERT);
  PatBlt(dc, r.right - t, r.top + t, t, height - 2 * t, DSTINVERT);
  ReleaseDC(nullptr, dc);
}

// Win32: a static draws its icon the same, enabled or not; a disabled finder is greyed
// here, so that it does not look as if it could be dragged.
void PaintDisabledFinder(HWND finder) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(finder, &ps);
  if (!dc) return;
  RECT client{};
  GetClientRect(finder, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (const auto icon = reinterpret_cast<HICON>(SendMessageW(finder, STM_GETICON, 0, 0))) {
    const SIZE size = IconSize(icon);
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, (client.right - size.cx) / 2,
               (client.bottom - size.cy) / 2, size.cx, size.cy, DST_ICON | DSS_DISABLED);
  }
  EndPaint(finder, &ps);
}

}  // namespace kakehashi
