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

std::optional<StandinRecord> ParseLine(std::string_view line) {
  const auto time = Milliseconds(NextField(line));
  const std::string_view role = NextField(line);
  const auto message = Hex32(NextField(line));
  const auto wparam = Hex32(NextField(line));
  const auto lparam = Hex32(NextField(line));
  if (!time || role.empty() || !message || !wparam || !lparam || !NextField(line).empty()) return std::nullopt;
  return StandinRecord{*time, std::string(role), *message, *wparam, *lparam};
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

}  // namespace kakehashi::testing
