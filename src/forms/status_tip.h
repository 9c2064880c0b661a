// The status box's tooltip: the box is narrow, and the tooltip shows its last text in full,
// or a result's fuller wording.
#pragma once

#include <windows.h>

#include <string>

namespace kakehashi {

class StatusTip {
 public:
  StatusTip() = default;
  StatusTip(const StatusTip&) = delete;
  StatusTip& operator=(const StatusTip&) = delete;

  // Makes the tooltip of `box`, a control of `owner`, showing `text`. Without it (when it
  // cannot be made) the tool works all the same. The owner destroys it.
  void Create(HWND owner, HWND box, HINSTANCE instance, UINT dpi, const std::wstring& text);
  // Shows `text` from now on. The tooltip keeps its own copy: it never asks the owner for
  // the text with a WM_NOTIFY, a message whose pointer another program could make up.
  void SetText(const std::wstring& text);

 private:
  HWND tip_ = nullptr;
  HWND owner_ = nullptr;
  HWND box_ = nullptr;
};

}  // namespace kakehashi
