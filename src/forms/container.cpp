// Frames and picture boxes as container windows.
#include "forms/container.h"

namespace kakehashi {
namespace {

constexpr wchar_t kClassName[] = L"KakehashiContainer";

}  // namespace

void Container::Register(HINSTANCE instance) {
  RegisterClassOnce(instance, kClassName, nullptr, nullptr);
}

void Container::Create(HWND parent, int id, Look look, DWORD style, RECT bounds, HINSTANCE instance) {
  look_ = look;
  // WS_EX_CONTROLPARENT: the dialog manager's Tab and Enter handling walks into it.
  DWORD ex_style = WS_EX_CONTROLPARENT;
  if (look.border) ex_style |= WS_EX_CLIENTEDGE;
  Window::Create(ex_style, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS | style, bounds, parent,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance);
  if (look.caption) {
    // Win32: a bare BS_GROUPBOX is only a drawing; it does not own the controls inside it.
    RECT client{};
    GetClientRect(hwnd(), &client);
    group_box_ = CreateWindowExW(0, L"BUTTON", look.caption, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX,
                                 0, 0, client.right, client.bottom, hwnd(), nullptr, instance, nullptr);
    Check(group_box_ != nullptr, "CreateWindowExW");
  }
}

void Container::LowerGroupBox() {
  if (group_box_) SetWindowPos(group_box_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT Container::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
    case DM_GETDEFID:
      return SendMessageW(GetParent(hwnd()), msg, wp, lp);
    case WM_CLOSE:
      // Win32: a multi-line edit closes its parent on Esc; a container is never closed.
      return 0;
    case WM_SIZE: on_size(); return 0;
    case WM_ERASEBKGND: return on_erase(reinterpret_cast<HDC>(wp));
    case WM_PAINT: on_paint(); return 0;
    default: return DefaultProc(msg, wp, lp);
  }
}

void Container::on_size() {
  if (!group_box_) return;
  RECT r{};
  GetClientRect(hwnd(), &r);
  SetWindowPos(group_box_, nullptr, 0, 0, r.right, r.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Container::on_erase(HDC dc) {
  RECT r{};
  GetClientRect(hwnd(), &r);
  FillRect(dc, &r, look_.white ? static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)) : GetSysColorBrush(COLOR_BTNFACE));
  return 1;
}

void Container::on_paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  if (dc && look_.icon) DrawIconEx(dc, 0, 0, look_.icon, 32, 32, 0, nullptr, DI_NORMAL);
  EndPaint(hwnd(), &ps);
}

}  // namespace kakehashi
