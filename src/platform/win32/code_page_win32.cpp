// Code page conversion with the platform's own functions and the system's ANSI code page.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/code_page_native.h"

namespace kakehashi {

namespace native {

struct CharConverter::State {};

CharConverter::CharConverter() = default;
CharConverter::~CharConverter() = default;

std::optional<std::string> CharConverter::Encode(char16_t ch) {
  const auto wide = static_cast<wchar_t>(ch);
  char bytes[8] = {};
  BOOL used_default = FALSE;
  // Win32: without WC_NO_BEST_FIT_CHARS a character lacking a code quietly becomes a
  // look-alike (é -> e); with it, the default character is used and reported.
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes, nullptr,
                                       &used_default);
  if (size <= 0 || used_default) return std::nullopt;
  return std::string(bytes, static_cast<std::size_t>(size));
}

std::optional<char16_t> CharConverter::Decode(std::string_view bytes) {
  wchar_t wide[4] = {};
  const int size = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                       wide, 4);
  if (size != 1) return std::nullopt;
  return static_cast<char16_t>(wide[0]);
}

}  // namespace native

std::u16string FromAnsi(std::string_view bytes) {
  if (bytes.empty()) return std::u16string();
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  if (size <= 0) return std::u16string();
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), size);
  return std::u16string(wide.begin(), wide.end());
}

}  // namespace kakehashi
