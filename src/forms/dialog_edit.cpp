// The edit subclass that hands Enter, Esc and Tab to IsDialogMessage.
#include "forms/dialog_edit.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <string>

#include "delivery/line_breaks.h"
#include "forms/win32_text.h"

namespace kakehashi {
namespace {

constexpr UINT_PTR kSubclassId = 1;

bool NewlineModifierDown() { return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0; }

// The clipboard's Unicode text, empty when there is none.
std::u16string ClipboardText(HWND owner) {
  std::u16string text;
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
      try {
        text.assign(chars, std::find(chars, chars + capacity, L'\0'));
      } catch (const std::exception&) {
        text.clear();
      }
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Pastes text that holds a lone CR or LF with CR LF instead, as one step that an undo
// takes back; false (nothing done) for any other clipboard content.
bool PasteWithCrLf(HWND edit) {
  if (GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY) return false;
  const std::u16string text = ClipboardText(edit);
  if (!HasLoneLineBreak(text)) return false;
  const std::wstring fixed = ToWide(ToCrLf(text));
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(fixed.c_str()));
  return true;
}

LRESULT CALLBACK DialogEditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR newline_keys) {
  switch (msg) {
    case WM_GETDLGCODE: {
      // Win32: a multi-line edit asks for all keys (DLGC_WANTALLKEYS), so the dialog
      // manager would leave Enter to the box, which types a line break or, in Wine,
      // looks for a default button among its own siblings only.
      LRESULT code = DefSubclassProc(hwnd, msg, wp, lp) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
      const auto* key = reinterpret_cast<const MSG*>(lp);
      if (newline_keys && key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN && NewlineModifierDown()) {
        code |= DLGC_WANTMESSAGE;
      }
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
      if (newline_keys) {
        try {
          if (PasteWithCrLf(hwnd)) return 0;
        } catch (const std::exception&) {
          // Out of memory for a copy: the edit pastes by itself.
        }
      }
      break;
    case WM_SETTEXT:
      // Win32: a multi-line edit sends no EN_CHANGE for WM_SETTEXT, so a text set by
      // another program gets its CR LF line ends here.
      if (newline_keys && lp) {
        try {
          const std::u16string text = ToU16(reinterpret_cast<const wchar_t*>(lp));
          if (HasLoneLineBreak(text)) {
            const std::wstring fixed = ToWide(ToCrLf(text));
            return DefSubclassProc(hwnd, msg, wp, reinterpret_cast<LPARAM>(fixed.c_str()));
          }
        } catch (const std::exception&) {
          // Out of memory for a copy: the text goes in as it is, EN_CHANGE aside.
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
