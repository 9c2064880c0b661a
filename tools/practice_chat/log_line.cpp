// One line of the practice chat program's message log.
#include "log_line.h"

#include <cstdio>

namespace practice_chat {
namespace {

std::string Milliseconds(double time_ms) {
  char numbers[64];
  if (time_ms < 0) time_ms = 0;
  std::snprintf(numbers, sizeof numbers, "%.3f", time_ms);
  return numbers;
}

void AppendUtf8(std::string& out, char32_t c) {
  const auto byte = [&](char32_t b) { out += static_cast<char>(static_cast<unsigned char>(b)); };
  if (c < 0x80) {
    byte(c);
  } else if (c < 0x800) {
    byte(0xC0 | c >> 6);
    byte(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    byte(0xE0 | c >> 12);
    byte(0x80 | (c >> 6 & 0x3F));
    byte(0x80 | (c & 0x3F));
  } else {
    byte(0xF0 | c >> 18);
    byte(0x80 | (c >> 12 & 0x3F));
    byte(0x80 | (c >> 6 & 0x3F));
    byte(0x80 | (c & 0x3F));
  }
}

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void AppendQuoted(std::string& out, std::u16string_view text) {
  out += '"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (IsHigh(u) && i + 1 < text.size() && IsLow(text[i + 1])) {
      const char32_t high = u, low = text[i + 1];
      AppendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
      ++i;
    } else if (u == u'\\' || u == u'"') {
      out += '\\';
      out += static_cast<char>(u);
    } else if (u == u'\r') {
      out += "\\r";
    } else if (u == u'\n') {
      out += "\\n";
    } else if (u == u'\t') {
      out += "\\t";
    } else if (u < 0x20 || u == 0x7F || IsHigh(u) || IsLow(u)) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(u));
      out += escape;
    } else {
      AppendUtf8(out, u);
    }
  }
  out += '"';
}

}  // namespace

std::string FormatLogLine(double time_ms, std::string_view role, std::uint32_t message, std::uint32_t wparam,
                          std::uint32_t lparam) {
  char codes[48];
  std::snprintf(codes, sizeof codes, " %04lx %08lx %08lx\n", static_cast<unsigned long>(message),
                static_cast<unsigned long>(wparam), static_cast<unsigned long>(lparam));
  std::string line = Milliseconds(time_ms);
  line += ' ';
  line += role;
  line += codes;
  return line;
}

std::string FormatSentLine(double time_ms, std::string_view role, std::u16string_view text) {
  std::string line = Milliseconds(time_ms);
  line += ' ';
  line += role;
  line += ' ';
  AppendQuoted(line, text);
  line += '\n';
  return line;
}

}  // namespace practice_chat
