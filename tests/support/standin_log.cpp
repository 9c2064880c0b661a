// Reads the message log of the practice chat program.
#include "support/standin_log.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>

namespace kakehashi::testing {
namespace {

// Splits off the next field separated by spaces or tabs.
std::string_view NextField(std::string_view& line) {
  const std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos) {
    line = {};
    return {};
  }
  line.remove_prefix(start);
  const std::size_t end = line.find_first_of(" \t");
  const std::string_view field = line.substr(0, end);
  line.remove_prefix(end == std::string_view::npos ? line.size() : end);
  return field;
}

std::optional<std::uint32_t> Hex32(std::string_view field) {
  if (field.empty() || field.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value, 16);
  if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

// Milliseconds as "<digits>[.<digits>]"; from_chars does not depend on the locale.
std::optional<double> Milliseconds(std::string_view field) {
  const std::size_t dot = field.find('.');
  const std::string_view whole = field.substr(0, dot);
  const std::string_view fraction = dot == std::string_view::npos ? std::string_view() : field.substr(dot + 1);
  const auto digits = [](std::string_view s) { return s.find_first_not_of("0123456789") == std::string_view::npos; };
  if (whole.empty() || !digits(whole) || !digits(fraction) || (dot != std::string_view::npos && fraction.empty())) {
    return std::nullopt;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value, std::chars_format::fixed);
  if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

std::optional<unsigned> HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  return std::nullopt;
}

// One code point of strict UTF-8 at the start of `text` (no overlong forms, no encoded
// surrogates, nothing above U+10FFFF), taken off it.
std::optional<char32_t> NextUtf8(std::string_view& text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t c = 0, least = 0;
  if (lead < 0x80) {
    length = 1, c = lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1Fu, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0Fu, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07u, least = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() < length) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0u) != 0x80u) return std::nullopt;
    c = c << 6 | (byte(i) & 0x3Fu);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  text.remove_prefix(length);
  return c;
}

// The text of a sent line: the rest of the line, in double quotes, with the log's escapes.
std::optional<std::u16string> QuotedText(std::string_view rest) {
  if (rest.size() < 2 || rest.front() != '"' || rest.back() != '"') return std::nullopt;
  rest = rest.substr(1, rest.size() - 2);
  std::u16string text;
  while (!rest.empty()) {
    const char c = rest.front();
    if (c == '"' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
    if (c != '\\') {
      const std::optional<char32_t> code = NextUtf8(rest);
      if (!code) return std::nullopt;
      if (*code >= 0x10000) {
        text += static_cast<char16_t>(0xD800 + ((*code - 0x10000) >> 10));
        text += static_cast<char16_t>(0xDC00 + ((*code - 0x10000) & 0x3FF));
      } else {
        text += static_cast<char16_t>(*code);
      }
      continue;
    }
    if (rest.size() < 2) return std::nullopt;
    const char escaped = rest[1];
    rest.remove_prefix(2);
    switch (escaped) {
      case '\\': text += u'\\'; break;
      case '"': text += u'"'; break;
      case 'r': text += u'\r'; break;
      case 'n': text += u'\n'; break;
      case 't': text += u'\t'; break;
      case 'u': {
        if (rest.size() < 4) return std::nullopt;
        unsigned unit = 0;
        for (int i = 0; i < 4; ++i) {
          const std::optional<unsigned> digit = HexDigit(rest[static_cast<std::size_t>(i)]);
          if (!digit) return std::nullopt;
          unit = unit << 4 | *digit;
        }
        rest.remove_prefix(4);
        text += static_cast<char16_t>(unit);
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return text;
}

std::optional<StandinRecord> ParseLine(std::string_view line) {
  const auto time = Milliseconds(NextField(line));
  const std::string_view role = NextField(line);
  const std::size_t quote = line.find_first_not_of(" \t");
  if (time && !role.empty() && quote != std::string_view::npos && line[quote] == '"') {
    std::optional<std::u16string> text = QuotedText(line.substr(quote));
    if (!text) return std::nullopt;
    StandinRecord record{*time, std::string(role), 0, 0, 0, {}};
    record.line = std::move(text);
    return record;
  }
  const auto message = Hex32(NextField(line));
  const auto wparam = Hex32(NextField(line));
  const auto lparam = Hex32(NextField(line));
  if (!time || role.empty() || !message || !wparam || !lparam || !NextField(line).empty()) return std::nullopt;
  return StandinRecord{*time, std::string(role), *message, *wparam, *lparam, {}};
}

}  // namespace

std::vector<StandinRecord> ParseStandinLog(std::string_view text, int* bad_lines) {
  std::vector<StandinRecord> records;
  if (bad_lines) *bad_lines = 0;
  for (;;) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) break;  // unterminated: still being written
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#') continue;
    if (auto record = ParseLine(line)) {
      records.push_back(std::move(*record));
    } else if (bad_lines) {
      ++*bad_lines;
    }
  }
  return records;
}

std::vector<StandinRecord> ReadStandinLog(const std::string& path, int* bad_lines) {
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ParseStandinLog(text, bad_lines);
}

std::vector<StandinRecord> RecordsOf(const std::vector<StandinRecord>& records, std::string_view role,
                                     std::uint32_t message) {
  std::vector<StandinRecord> found;
  for (const StandinRecord& r : records) {
    if (r.role == role && (message == 0 || r.message == message)) found.push_back(r);
  }
  return found;
}

std::vector<std::u16string> SentLines(const std::vector<StandinRecord>& records, std::string_view role) {
  std::vector<std::u16string> lines;
  for (const StandinRecord& r : records) {
    if (r.role == role && r.line) lines.push_back(*r.line);
  }
  return lines;
}

}  // namespace kakehashi::testing
