// The clipboard as other programs use it, for the Wine tests: a copy one of them makes, and
// what one of them reads.
#pragma once

#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kakehashi::testing {

// A copy made in the program of `owner`: the clipboard emptied, then each format's bytes.
inline bool CopyToClipboard(HWND owner, std::initializer_list<std::pair<UINT, std::string>> formats) {
  if (!OpenClipboard(owner)) return false;
  bool put = EmptyClipboard() != FALSE;
  for (const auto& [format, bytes] : formats) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    put = SetClipboardData(format, memory) != nullptr && put;
  }
  CloseClipboard();
  return put;
}

// The bytes of `format` as a program reads them; nothing when it gets none. Win32: a memory
// block may be larger than its owner asked for.
inline std::optional<std::string> ClipboardBytes(UINT format) {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> bytes;
  if (const HANDLE data = GetClipboardData(format)) {
    bytes.emplace(static_cast<const char*>(GlobalLock(data)), GlobalSize(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return bytes;
}

// The bytes of CF_UNICODETEXT for `text`, its terminator included.
inline std::string TextBytes(std::u16string_view text) {
  std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  return bytes.append(2, '\0');
}

// Whether `bytes` begin with `start`: what the owner put there, in a block that may be larger.
inline bool BeginsWith(const std::optional<std::string>& bytes, const std::string& start) {
  return bytes && bytes->compare(0, start.size(), start) == 0;
}

}  // namespace kakehashi::testing
