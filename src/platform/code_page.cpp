// The character rule shared by every build: look-alikes taken to the code page's form, and a
// table of the characters that round-trip through the platform's conversion.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/code_page.h"
#include "platform/code_page_native.h"

namespace kakehashi {
namespace {

// Look-alike -> the character code page 932 carries. These are the pairs in which Unicode
// text from other systems differs from Shift_JIS text decoded on Windows.
constexpr std::pair<char16_t, char16_t> kLookAlikes[] = {
    {u'\u301C', u'\uFF5E'},  // WAVE DASH -> FULLWIDTH TILDE
    {u'\u2212', u'\uFF0D'},  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
    {u'\u2016', u'\u2225'},  // DOUBLE VERTICAL LINE -> PARALLEL TO
    {u'\u2014', u'\u2015'},  // EM DASH -> HORIZONTAL BAR
    {u'\u00A2', u'\uFFE0'},  // CENT SIGN -> FULLWIDTH CENT SIGN
    {u'\u00A3', u'\uFFE1'},  // POUND SIGN -> FULLWIDTH POUND SIGN
    {u'\u00AC', u'\uFFE2'},  // NOT SIGN -> FULLWIDTH NOT SIGN
    {u'\u00A6', u'\uFFE4'},  // BROKEN BAR -> FULLWIDTH BROKEN BAR
};

constexpr bool IsSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDFFF; }
constexpr bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

// Code of every UTF-16 code unit: a single byte as 0x00-0xFF, a double-byte code as
// lead * 256 + trail (a lead byte is 0x81 or above, so these never look like one byte),
// kRefused when the character has no code.
class CodeTable {
 public:
  static constexpr std::uint16_t kRefused = 0xFFFF;

  CodeTable() {
    native::CharConverter platform;
    for (std::size_t i = 0; i < codes_.size(); ++i) {
      const auto ch = static_cast<char16_t>(i);
      codes_[i] = IsSurrogate(ch) ? kRefused : RoundTrip(platform, CodePageFormOf(ch));
    }
  }

  std::uint16_t operator[](char16_t ch) const { return codes_[ch]; }

 private:
  // The code of `ch` when the platform encodes it as one Shift_JIS character and decodes
  // that back to `ch`.
  static std::uint16_t RoundTrip(native::CharConverter& platform, char16_t ch) {
    const std::optional<std::string> bytes = platform.Encode(ch);
    if (!bytes || !IsShiftJisCharacter(*bytes) || platform.Decode(*bytes) != ch) return kRefused;
    const auto first = static_cast<unsigned char>((*bytes)[0]);
    if (bytes->size() == 1) return first;
    return static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>((*bytes)[1]));
  }

  // Win32: code page 932 also maps 0x80 to U+0080, and 0xA0 and 0xFD-0xFF to U+F8F0-U+F8F3
  // (Wine: those four encode but do not decode back); glibc has none of them. None of these
  // bytes is a Shift_JIS character, so they are no code on any build.
  static bool IsShiftJisCharacter(std::string_view bytes) {
    const auto in = [](unsigned char b, unsigned lo, unsigned hi) { return b >= lo && b <= hi; };
    if (bytes.size() == 1) {
      const auto b = static_cast<unsigned char>(bytes[0]);
      return b <= 0x7F || in(b, 0xA1, 0xDF);
    }
    if (bytes.size() != 2) return false;
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const auto trail = static_cast<unsigned char>(bytes[1]);
    return (in(lead, 0x81, 0x9F) || in(lead, 0xE0, 0xFC)) && (in(trail, 0x40, 0x7E) || in(trail, 0x80, 0xFC));
  }

  // On the heap: MinGW places a function-local static's storage in .data, which would add
  // 128 KB to the file.
  std::vector<std::uint16_t> codes_ = std::vector<std::uint16_t>(0x10000);
};

const CodeTable& Table() {
  static const CodeTable table;
  return table;
}

// Appends the bytes of `text`; false at the first character without a code unless `lossy`,
// which writes '?' for it instead.
bool Encode(std::u16string_view text, bool lossy, std::string& out) {
  const CodeTable& table = Table();
  out.reserve(out.size() + text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i];
    std::uint16_t code = table[ch];
    if (IsHighSurrogate(ch) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;  // one character beyond U+FFFF: code page 932 has none
      code = CodeTable::kRefused;
    }
    if (code == CodeTable::kRefused) {
      if (!lossy) return false;
      out.push_back('?');
    } else if (code > 0xFF) {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    } else {
      out.push_back(static_cast<char>(code));
    }
  }
  return true;
}

}  // namespace

char16_t CodePageFormOf(char16_t ch) {
  for (const auto& [look_alike, form] : kLookAlikes) {
    if (ch == look_alike) return form;
  }
  return ch;
}

std::u16string CodePageForms(std::u16string_view text) {
  std::u16string forms(text);
  for (char16_t& ch : forms) ch = CodePageFormOf(ch);
  return forms;
}

std::optional<std::string> ToAnsiExact(std::u16string_view text) {
  std::string out;
  if (!Encode(text, false, out)) return std::nullopt;
  return out;
}

std::string ToAnsi(std::u16string_view text) {
  std::string out;
  Encode(text, true, out);
  return out;
}

}  // namespace kakehashi
