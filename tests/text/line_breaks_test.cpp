// Lone CR and LF become CR LF; CR LF pairs, other text and caret positions are kept.
#include "text/line_breaks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kakehashi {
namespace {

std::string Visible(std::u16string_view text) {
  std::string out;
  for (char16_t ch : text) {
    if (ch == u'\r') out += "<CR>";
    else if (ch == u'\n') out += "<LF>";
    else if (ch < 0x80) out += static_cast<char>(ch);
    else out += "<U>";
  }
  return out;
}

TEST(LineBreaks, LoneCrAndLfBecomeCrLfAndPairsStay) {
  struct Case {
    std::u16string text, crlf;
  };
  const std::vector<Case> cases = {
      {u"", u""},
      {u"abc", u"abc"},
      {u"a\r\nb", u"a\r\nb"},
      {u"a\nb", u"a\r\nb"},                    // Unix
      {u"a\rb", u"a\r\nb"},                    // old Mac
      {u"\n", u"\r\n"},
      {u"\r", u"\r\n"},
      {u"a\r", u"a\r\n"},                      // CR at the very end
      {u"\n\r", u"\r\n\r\n"},                  // LF CR is two breaks
      {u"\r\r\n", u"\r\n\r\n"},
      {u"\r\n\n", u"\r\n\r\n"},
      {u"\n\n\r\r", u"\r\n\r\n\r\n\r\n"},
      {u"ｱ\u3000あ\n(ﾟдﾟ)\r\n終", u"ｱ\u3000あ\r\n(ﾟдﾟ)\r\n終"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToCrLf(c.text), c.crlf) << Visible(c.text);
    EXPECT_EQ(HasLoneLineBreak(c.text), c.text != c.crlf) << Visible(c.text);
    const std::wstring wide(c.text.begin(), c.text.end());  // as the Windows side reads the box
    EXPECT_EQ(HasLoneLineBreakIn(std::wstring_view(wide)), c.text != c.crlf) << Visible(c.text);
    EXPECT_FALSE(HasLoneLineBreak(ToCrLf(c.text))) << Visible(c.text);
    EXPECT_EQ(ToCrLf(c.crlf), c.crlf) << "already CR LF: " << Visible(c.crlf);
  }
}

TEST(LineBreaks, CaretKeepsTheSameNeighbours) {
  struct Case {
    std::u16string text;
    std::vector<std::size_t> new_positions;  // for positions 0 .. text.size()
  };
  const std::vector<Case> cases = {
      {u"ab", {0, 1, 2}},
      {u"a\nb", {0, 1, 3, 4}},        // before the LF stays before the new CR
      {u"a\rb", {0, 1, 3, 4}},        // after the CR goes after the new LF
      {u"a\r\nb", {0, 1, 2, 3, 4}},   // inside a pair: untouched
      {u"\n\n", {0, 2, 4}},
      {u"x\r", {0, 1, 3}},
      {u"\r\r\n", {0, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(c.new_positions.size(), c.text.size() + 1) << Visible(c.text);
    const std::u16string crlf = ToCrLf(c.text);
    for (std::size_t p = 0; p <= c.text.size(); ++p) {
      const std::size_t q = CrLfPosition(c.text, p);
      EXPECT_EQ(q, c.new_positions[p]) << Visible(c.text) << " at " << p;
      // What follows the caret is unchanged, line ends aside (a caret inside a pair aside).
      if (p > 0 && p < c.text.size() && c.text[p - 1] == u'\r' && c.text[p] == u'\n') continue;
      EXPECT_EQ(ToCrLf(c.text.substr(p)), crlf.substr(q)) << Visible(c.text) << " at " << p;
    }
  }
  EXPECT_EQ(CrLfPosition(u"a\n", 99), 3u) << "a position past the end is the end";
}

}  // namespace
}  // namespace kakehashi
