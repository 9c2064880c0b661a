// Code page conversion with the platform's own functions and the system's ANSI code page.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace kakehashi {
namespace {

const wchar_t* Wide(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }

std::optional<std::string> Encode(std::u16string_view text, bool exact) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  // Win32: without WC_NO_BEST_FIT_CHARS a character lacking a code quietly becomes a
  // look-alike (é -> e); with it, it becomes '?' as on iconv.
  const DWORD flags = WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* used_default_ptr = exact ? &used_default : nullptr;
  const int size = WideCharToMultiByte(CP_ACP, flags, Wide(text), length, nullptr, 0, nullptr, used_default_ptr);
  if (size <= 0) return exact ? std::nullopt : std::optional<std::string>(std::string());
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, flags, Wide(text), length, out.data(), size, nullptr, used_default_ptr);
  if (exact && used_default) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::string> ToAnsiExact(std::u16string_view text) { return Encode(text, true); }

std::string ToAnsi(std::u16string_view text) { return Encode(text, false).value_or(std::string()); }

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
