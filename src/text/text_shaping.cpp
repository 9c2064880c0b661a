// Text shaping rules for the delivery engine.
#include "text/text_shaping.h"

#include "platform/code_page.h"

namespace kakehashi {
namespace {


// Shift_JIS lead bytes: the second byte belongs to the same character.
constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

std::size_t CharacterCount(std::u16string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!(IsLowSurrogate(text[i]) && i > 0 && IsHighSurrogate(text[i - 1]))) ++count;
  }
  return count;
}

void AppendCodes(std::u16string_view text, std::vector<std::int32_t>& codes) {
  const std::string bytes = ToAnsi(text);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (IsLeadByte(b) && i + 1 < bytes.size()) {
      const auto trail = static_cast<unsigned char>(bytes[++i]);
      // Sign-extend the 16-bit code: lead byte high, so the upper 16 bits end up set.
      codes.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(b << 8 | trail)));
    } else {
      codes.push_back(b);
    }
  }
}

}  // namespace

std::u16string LineAsRead(std::u16string_view line) {
  const std::size_t bytes = ToAnsi(line).size();
  const std::size_t chars = CharacterCount(line);
  std::u16string out(line);
  if (bytes > chars) out.append(bytes - chars, u' ');
  return out;
}

std::u16string LineAsReadFromBytes(std::string_view bytes) {
  std::u16string out = FromAnsi(bytes);
  const std::size_t chars = CharacterCount(out);
  if (bytes.size() > chars) out.append(bytes.size() - chars, u' ');
  return out;
}

std::u16string CutTrailingBlanks(std::u16string_view text) {
  std::size_t run_start = text.size();
  while (run_start > 0 && IsBlank(text[run_start - 1])) --run_start;
  if (run_start == text.size()) return std::u16string(text);
  return std::u16string(text.substr(0, run_start + 1));
}

std::u16string ReverseText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = text.size(); i > 0; --i) {
    const char16_t ch = text[i - 1];
    if (IsLowSurrogate(ch) && i > 1 && IsHighSurrogate(text[i - 2])) {
      out.push_back(text[i - 2]);
      out.push_back(ch);
      --i;
    } else {
      out.push_back(ch);
    }
  }
  return out;
}

std::int32_t CharCode(char16_t ch) {
  std::vector<std::int32_t> codes;
  AppendCodes(std::u16string_view(&ch, 1), codes);
  return codes.empty() ? std::int32_t{'?'} : codes.front();
}

std::vector<std::int32_t> CharCodes(std::u16string_view text) {
  std::vector<std::int32_t> codes;
  codes.reserve(text.size());
  AppendCodes(text, codes);
  return codes;
}

bool LineLimitExceeded(bool is_messenger, std::int32_t line_count, int limit_value) {
  return !is_messenger && line_count > 4 && limit_value == kUnchecked;
}

bool PlusWordWanted(int plus_check_value, int side_value, std::u16string_view plus_word) {
  return !plus_word.empty() && side_value == kChecked && plus_check_value == kChecked;
}

std::u16string ShapeLine(SendMode mode, std::u16string_view text) {
  switch (mode) {
    case SendMode::kLines:
      return CutTrailingBlanks(text);
    case SendMode::kLinesReversed:
      return ReverseText(CutTrailingBlanks(text));
    case SendMode::kSingleReversed:
      return ReverseText(text);
  }
  return std::u16string(text);
}

std::vector<std::int32_t> LineCodes(SendMode mode, std::u16string_view text, bool header, bool footer,
                                    std::u16string_view plus_word) {
  std::vector<std::int32_t> codes;
  if (header) AppendCodes(plus_word, codes);
  AppendCodes(ShapeLine(mode, text), codes);
  if (footer) AppendCodes(plus_word, codes);
  return codes;
}

bool UnicodeCanHold(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); i += UnitsAt(text, i)) {
    const char16_t u = text[i];
    if (UnitsAt(text, i) == 2) continue;
    if (IsHighSurrogate(u) || IsLowSurrogate(u)) return false;
    if ((u < 0x20 && u != u'\t') || (u >= 0x7F && u <= 0x9F)) return false;
  }
  return true;
}

}  // namespace kakehashi
