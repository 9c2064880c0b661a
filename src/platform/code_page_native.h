// The platform's own conversion of single characters, from which code_page.cpp derives the
// character rule: iconv "CP932" (code_page_iconv.cpp) or the Win32 functions with CP_ACP
// (win32/code_page_win32.cpp). Used by the code page layer only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kakehashi::native {

class CharConverter {
 public:
  CharConverter();
  ~CharConverter();
  CharConverter(const CharConverter&) = delete;
  CharConverter& operator=(const CharConverter&) = delete;

  // The bytes of one UTF-16 code unit (not a surrogate), with no best-fit substitute, or
  // nothing when the platform has no code for it.
  std::optional<std::string> Encode(char16_t ch);
  // The single UTF-16 code unit that `bytes` decode to, or nothing when they are not
  // exactly one valid character.
  std::optional<char16_t> Decode(std::string_view bytes);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kakehashi::native
