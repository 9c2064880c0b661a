// Form1's status line: a text as it fits the narrow box, its full wording in the tooltip,
// and the target's caption that a send that went through shows again.
#include "forms/form1.h"

#include <algorithm>
#include <string>

#include "forms/form_rules.h"
#include "forms/win32_text.h"

namespace kakehashi {

using enum ControlId;

std::u16string Form1::StatusText() const { return ToU16(WindowTextW(control(Status))); }

void Form1::SetStatus(const std::u16string& text) { SetStatus(text, text); }

void Form1::SetStatus(const std::u16string& text, const std::u16string& detail) {
  if (std::wstring wide = ToWide(detail); wide != status_detail_) {
    status_detail_ = std::move(wide);
    status_tip_.SetText(status_detail_);
  }
  HWND status = control(Status);
  if (!status) return;
  // The poll rewrites the status ten times a second: an unchanged text is neither
  // measured nor repainted.
  const std::wstring current = WindowTextW(status);
  if (text == status_text_ && current == status_shown_) return;
  status_text_ = text;
  status_shown_ = FitStatusText(ToWide(text));
  if (current != status_shown_) SetWindowTextW(status, status_shown_.c_str());
}

std::wstring Form1::FitStatusText(const std::wstring& text) const {
  HWND status = control(Status);
  RECT room{};
  SendMessageW(status, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
  const int width = room.right - room.left;
  HDC dc = width > 0 ? GetDC(status) : nullptr;
  if (!dc) return text;
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(status, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  int fit = -1;  // the whole text fits
  if (size.cx > width) {
    SIZE ellipsis{};
    GetTextExtentPoint32W(dc, L"…", 1, &ellipsis);
    fit = 0;
    GetTextExtentExPointW(dc, text.c_str(), static_cast<int>(text.size()), std::max(0, width - static_cast<int>(ellipsis.cx)), &fit,
                          nullptr, &size);
    // Never between the halves of a surrogate pair.
    if (fit > 0 && IS_HIGH_SURROGATE(text[static_cast<std::size_t>(fit) - 1])) --fit;
  }
  SelectObject(dc, old);
  ReleaseDC(status, dc);
  return fit < 0 ? text : text.substr(0, static_cast<std::size_t>(fit)) + L"…";
}

void Form1::SetTargetStatus(const std::u16string& caption) {
  target_status_ = caption;
  SetStatus(caption);
}

void Form1::ShowTargetStatus() {
  SetStatus(target_status_.empty() ? std::u16string(kStatusNoWindow) : target_status_);
}

}  // namespace kakehashi
