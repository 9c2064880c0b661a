// frmTarget's finders: the drag that picks the window under the mouse, the outline drawn
// around it while the mouse moves, and a disabled finder's look.
#include "forms/frm_target.h"

#include <commctrl.h>

#include "forms/finder.h"

namespace kakehashi {
namespace {

using enum ControlId;

constexpr int kOutlinePixelsAt96 = 3;
constexpr WORD kCrossCursorId = 32515;  // IDC_CROSS

POINT ScreenPoint(HWND window, LPARAM lp) {
  POINT point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  ClientToScreen(window, &point);
  return point;
}

HCURSOR CrossCursor() { return LoadCursorW(nullptr, MAKEINTRESOURCEW(kCrossCursorId)); }

}  // namespace

LRESULT CALLBACK FrmTarget::FinderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, FinderProc, kFinderSubclassId);
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  auto* form = reinterpret_cast<FrmTarget*>(self);
  try {
    return form->FinderMessage(hwnd, msg, wp, lp);
  } catch (...) {
    // Win32: an exception unwinding through USER32 is undefined behaviour.
    try {
      form->OnException();
    } catch (...) {
    }
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT FrmTarget::FinderMessage(HWND finder, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    // Win32: the static class has CS_DBLCLKS: a press soon after the last drag's comes
    // as a double-click.
    case WM_LBUTTONDBLCLK:
      BeginDrag(finder, finder == control(TargetInputFinder) ? Pick::kInput : Pick::kButton);
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_ == Pick::kNone) break;
      DragOver(ScreenPoint(finder, lp));
      return 0;
    case WM_LBUTTONUP:
      if (dragging_ == Pick::kNone) break;
      {
        const POINT drop = ScreenPoint(finder, lp);
        EndDrag(&drop);
      }
      return 0;
    case WM_PAINT:
      if (IsWindowEnabled(finder)) break;
      PaintDisabledFinder(finder);
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a message box, a switch of programs): no pick.
      if (dragging_ != Pick::kNone) EndDrag(nullptr);
      break;
    default: break;
  }
  return DefSubclassProc(finder, msg, wp, lp);
}

void FrmTarget::BeginDrag(HWND finder, Pick pick) {
  StopCountdown();
  dragging_ = pick;
  SetCapture(finder);
  SetCursor(CrossCursor());
}

void FrmTarget::DragOver(POINT screen) {
  // Win32: no WM_SETCURSOR reaches a window while it holds the capture; the crosshair
  // is set again at each move.
  SetCursor(CrossCursor());
  HWND under = DeepestWindowAt(screen);
  if (under && (IsOwnWindow(under) || under == GetDesktopWindow())) under = nullptr;
  if (under != outlined_) Outline(under);
}

void FrmTarget::EndDrag(const POINT* drop) {
  const Pick pick = dragging_;
  dragging_ = Pick::kNone;
  Outline(nullptr);
  // Releasing sends WM_CAPTURECHANGED, which finds no drag any more.
  if (GetCapture()) ReleaseCapture();
  if (!drop) return;
  const HWND window = DeepestWindowAt(*drop);
  if (window == control(TargetInputFinder) || window == control(TargetButtonFinder)) {
    // A click without a drag.
    return Refuse(kStatusDragHint);
  }
  Take(pick, window);
}

// Draws an inverted frame around `window` on the screen, after erasing the last one
// (inverting twice restores the pixels); nullptr only erases.
void FrmTarget::Outline(HWND window) {
  const int thickness = MulDiv(kOutlinePixelsAt96, static_cast<int>(dpi()), 96);
  if (outlined_) InvertFrame(outlined_rect_, thickness);
  outlined_ = window;
  if (window && GetWindowRect(window, &outlined_rect_)) {
    InvertFrame(outlined_rect_, thickness);
  } else {
    outlined_ = nullptr;
  }
}

}  // namespace kakehashi
