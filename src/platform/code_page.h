// Conversion between UTF-16 and the system's ANSI code page (Shift_JIS, code page 932).
// Win32: WideCharToMultiByte/MultiByteToWideChar with CP_ACP. Elsewhere: iconv "CP932".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kakehashi {

// The character that the code page carries for a well-known Unicode look-alike of a
// Shift_JIS character, as text from web pages and Macs holds it (WAVE DASH U+301C for
// FULLWIDTH TILDE U+FF5E, MINUS SIGN U+2212 for FULLWIDTH HYPHEN-MINUS U+FF0D, ...);
// every other character is returned unchanged.
char16_t CodePageFormOf(char16_t ch);

// `text` with every character taken to its CodePageFormOf.
std::u16string CodePageForms(std::u16string_view text);

// The one rule for what can be sent, the same on every build. A character is first taken
// to its CodePageFormOf; it has a code when the platform's conversion, without best-fit
// substitutes, encodes that form and decodes the bytes back to the same form. Everything
// else is refused: lone surrogates, characters beyond U+FFFF, and characters that the
// platform encodes only one way (glibc's extra mappings, 0x5C for U+00A5, ...).
//
// The bytes of `text` in the ANSI code page, or nothing when some character has no code.
std::optional<std::string> ToAnsiExact(std::u16string_view text);

// The bytes of `text` in the ANSI code page; a character without a code (a surrogate pair
// counts as one character) becomes '?', as the platform's own conversion does.
std::string ToAnsi(std::u16string_view text);

// The characters of `bytes` in the ANSI code page, decoded by the platform. A byte sequence
// that is not valid there gives U+30FB (・) for each undecodable byte on iconv; Windows
// uses its own default, and decodes 0x80 as U+0080 where iconv gives U+30FB. The bytes of
// every character that has a code decode to its CodePageFormOf on every build.
std::u16string FromAnsi(std::string_view bytes);

// True when every character of `text` has a code in the ANSI code page.
inline bool AnsiCanHold(std::u16string_view text) { return ToAnsiExact(text).has_value(); }

}  // namespace kakehashi
