// Code page conversion with iconv, for builds that are not Windows: always CP932, the
// ANSI code page of the Japanese systems the tool is made for.
#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/code_page_native.h"

namespace kakehashi {
namespace {

constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr const char* kAnsi = "CP932";
constexpr char16_t kUndecodable = u'\u30FB';

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts one unit of input (one character's code units, or one byte run) at a time so
  // that a failure is pinned to the unit that caused it. Returns false on EILSEQ/EINVAL.
  bool Convert(const char* in, std::size_t in_size, std::string& out) {
    if (!ok()) return false;
    char buffer[16];
    char* src = const_cast<char*>(in);  // iconv's signature predates const
    std::size_t src_left = in_size;
    while (src_left > 0) {
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      const std::size_t rc = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return false;
      }
    }
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

namespace native {

struct CharConverter::State {
  Converter encoder{kAnsi, kUtf16};
  Converter decoder{kUtf16, kAnsi};
};

CharConverter::CharConverter() : state_(std::make_unique<State>()) {}
CharConverter::~CharConverter() = default;

std::optional<std::string> CharConverter::Encode(char16_t ch) {
  std::string out;
  if (!state_->encoder.Convert(reinterpret_cast<const char*>(&ch), sizeof ch, out)) return std::nullopt;
  return out;
}

std::optional<char16_t> CharConverter::Decode(std::string_view bytes) {
  std::string utf16;
  if (!state_->decoder.Convert(bytes.data(), bytes.size(), utf16) || utf16.size() != sizeof(char16_t)) {
    return std::nullopt;
  }
  char16_t ch = 0;
  std::memcpy(&ch, utf16.data(), sizeof ch);
  return ch;
}

}  // namespace native

std::u16string FromAnsi(std::string_view bytes) {
  Converter conv(kUtf16, kAnsi);
  std::u16string out;
  if (!conv.ok()) return out;
  out.reserve(bytes.size());
  std::string utf16;
  for (std::size_t i = 0; i < bytes.size();) {
    // One character is one byte, or two when the first is a Shift_JIS lead byte.
    const auto b = static_cast<unsigned char>(bytes[i]);
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    const std::size_t n = lead && i + 1 < bytes.size() ? 2 : 1;
    utf16.clear();
    if (conv.Convert(bytes.data() + i, n, utf16) && !utf16.empty()) {
      const std::size_t units = utf16.size() / sizeof(char16_t);
      const std::size_t old = out.size();
      out.resize(old + units);
      std::memcpy(out.data() + old, utf16.data(), units * sizeof(char16_t));
    } else {
      out.push_back(kUndecodable);
    }
    i += n;
  }
  return out;
}

}  // namespace kakehashi
