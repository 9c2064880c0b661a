// Text of the tool's own (Unicode) windows as the portable code's UTF-16 strings.
#pragma once

#include <windows.h>

#include <string>

namespace kakehashi {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

inline std::wstring WindowTextW(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  if (n <= 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

inline std::u16string ToU16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }
inline std::wstring ToWide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

}  // namespace kakehashi
