// Conversion between UTF-16 and the system's ANSI code page (Shift_JIS, code page 932).
// Win32: WideCharToMultiByte/MultiByteToWideChar with CP_ACP. Elsewhere: iconv "CP932".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kakehashi {

// The bytes of `text` in the ANSI code page, or nothing when some character has no code
// there (no best-fit substitutes: a character either round-trips or is refused).
std::optional<std::string> ToAnsiExact(std::u16string_view text);

// The bytes of `text` in the ANSI code page; a character without a code becomes '?', as
// the platform's own conversion does.
std::string ToAnsi(std::u16string_view text);

// The characters of `bytes` in the ANSI code page. A byte sequence that is not valid
// there gives U+30FB (・) for each undecodable byte on iconv; Windows uses its own default.
std::u16string FromAnsi(std::string_view bytes);

// True when every character of `text` has a code in the ANSI code page.
inline bool AnsiCanHold(std::u16string_view text) { return ToAnsiExact(text).has_value(); }

}  // namespace kakehashi
