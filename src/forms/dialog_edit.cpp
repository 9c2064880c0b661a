// The edit subclass that hands Enter, Esc and Tab to IsDialogMessage.
#include "forms/dialog_edit.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "text/line_breaks.h"

namespace kakehashi {
namespace {

constexpr UINT_PTR kSubclassId = 1;

bool NewlineModifierDown() { return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0; }

// `text` with CR LF for each lone CR or LF; nothing when it has none, or when there is no
// memory for the copy (the text then goes in as it is, and the change handler sees it).
std::optional<std::wstring> WithCrLf(std::wstring_view text) noexcept {
  if (!HasLoneLineBreakIn(text)) return std::nullopt;
  try {
    return ToCrLfIn(text);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// Pastes text that holds a lone CR or LF with CR LF instead, as one step that an undo
// takes back; false (nothing done) for any other clipboard content.
bool PasteWithCrLf(HWND edit) {
  if ((GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY) || !IsClipboardFormatAvailable(CF_UNICODETEXT) ||
      !OpenClipboard(edit)) {
    return false;
  }
  std::optional<std::wstring> fixed;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      const wchar_t* end = std::find(chars, chars + GlobalSize(data) / sizeof(wchar_t), L'\0');
      fixed = WithCrLf(std::wstring_view(chars, static_cast<std::size_t>(end - chars)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  if (fixed) SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(fixed->c_str()));
  return fixed.has_value();
}

LRESULT CALLBACK DialogEditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR newline_keys) {
  switch (msg) {
    case WM_GETDLGCODE: {
      // Win32: a multi-line edit asks for all keys (DLGC_WANTALLKEYS), so the dialog
      // manager would leave Enter to the box, which types a line break or, in Wine,
      // looks for a default button among its own siblings only.
      // The dialog manager names the key in wParam; its message in lParam is not read, as
      // any program can send this message with a pointer of its making.
      LRESULT code = DefSubclassProc(hwnd, msg, wp, lp) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
      if (newline_keys && wp == VK_RETURN && NewlineModifierDown()) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      if (wp == VK_RETURN || wp == VK_ESCAPE) return 0;
      break;
    case WM_CHAR:
      if (wp == L'\r' || wp == L'\n') {
        if (newline_keys && NewlineModifierDown()) {
          SendMessageW(hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\r\n"));
        }
        return 0;
      }
      if (wp == 0x1B || wp == L'\t') return 0;
      break;
    case WM_PASTE:
      // The change handler would mend the line ends too, but at the cost of the undo.
      if (newline_keys && PasteWithCrLf(hwnd)) return 0;
      break;
    case WM_SETTEXT:
      // Win32: a multi-line edit sends no EN_CHANGE for WM_SETTEXT, so a text set by
      // another program gets its CR LF line ends here.
      if (newline_keys && lp) {
        if (const auto fixed = WithCrLf(reinterpret_cast<const wchar_t*>(lp))) {
          return DefSubclassProc(hwnd, msg, wp, reinterpret_cast<LPARAM>(fixed->c_str()));
        }
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, DialogEditProc, kSubclassId);
      break;
    default: break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void UseDialogKeys(HWND edit, bool newline_keys) {
  SetWindowSubclass(edit, DialogEditProc, kSubclassId, newline_keys ? 1 : 0);
}

}  // namespace kakehashi
