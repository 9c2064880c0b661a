// The main window's rules without a window: the delay box's number test, SendNow against
// the mode, the frame, the Limit messages, the help text and the caption.
#include "forms/form_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "forms/control_ids.h"

namespace kakehashi {
namespace {

struct NumberCase {
  std::u16string text;
  std::u16string separator;
  bool numeric;
};

TEST(FormRules, DelayTextIsNumericOnlyAsWrittenInTheLocale) {
  const std::vector<NumberCase> cases = {
      {u"500", u".", true},   {u"250", u".", true},    {u"-3", u".", true},   {u"+7", u".", true},
      {u"1.5", u".", true},   {u".5", u".", true},     {u"12.", u".", true},  {u"0", u".", true},
      {u"", u".", false},     {u"-", u".", false},     {u"+", u".", false},   {u".", u".", false},
      {u"-.", u".", false},   {u"12a", u".", false},   {u"1.2.3", u".", false}, {u"--1", u".", false},
      {u"1-", u".", false},   {u" 12", u".", false},   {u"12 ", u".", false}, {u"1e3", u".", false},
      {u"1,000", u".", false}, {u"１２", u".", false},
      // A locale with a comma as its decimal separator.
      {u"1,5", u",", true},   {u"1.5", u",", false},   {u",", u",", false},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(IsLocaleNumber(c.text, c.separator), c.numeric)
        << std::string(c.text.begin(), c.text.end()) << " with separator " << char(c.separator[0]);
  }
}

TEST(FormRules, ModesOneAndTwoForceSendNowAndModeThreeClearsIt) {
  EXPECT_EQ(SendNowForSelectedOption(ModeOption::AAOpt), 1);
  EXPECT_EQ(SendNowForSelectedOption(ModeOption::SAKASAOpt), 1);
  EXPECT_EQ(SendNowForSelectedOption(ModeOption::DEFAULTOpt), 0);

  // A click that clears SendNow in modes 1 and 2 is undone; ticking stands.
  EXPECT_EQ(SendNowCorrection(ModeOption::AAOpt, 0), 1);
  EXPECT_EQ(SendNowCorrection(ModeOption::SAKASAOpt, 0), 1);
  EXPECT_EQ(SendNowCorrection(ModeOption::AAOpt, 1), std::nullopt);
  // In mode 3 the user's choice holds either way.
  EXPECT_EQ(SendNowCorrection(ModeOption::DEFAULTOpt, 0), std::nullopt);
  EXPECT_EQ(SendNowCorrection(ModeOption::DEFAULTOpt, 1), std::nullopt);
}

TEST(FormRules, OnlyAChangeOfModeSetsSendNow) {
  using enum ModeOption;
  struct Case {
    ModeOption before, selected;
    std::optional<int> send_now;
  };
  const Case cases[] = {
      {DEFAULTOpt, AAOpt, 1},         {DEFAULTOpt, SAKASAOpt, 1},     {AAOpt, SAKASAOpt, 1},
      {AAOpt, DEFAULTOpt, 0},         {SAKASAOpt, DEFAULTOpt, 0},
      // Clicking the selected option again leaves SendNow as the user set it.
      {DEFAULTOpt, DEFAULTOpt, std::nullopt}, {AAOpt, AAOpt, std::nullopt}, {SAKASAOpt, SAKASAOpt, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SendNowAfterOptionClick(c.before, c.selected), c.send_now)
        << static_cast<int>(c.before) << " -> " << static_cast<int>(c.selected);
  }
}

TEST(FormRules, FrameFollowsPlusCheckAndLimitNamesItsState) {
  EXPECT_TRUE(Frame1Visible(1));
  EXPECT_FALSE(Frame1Visible(0));
  EXPECT_FALSE(Frame1Visible(2));
  EXPECT_EQ(LimitStatus(1), u"入力行数制限を解除しました");
  EXPECT_EQ(LimitStatus(0), u"入力行数を制限します");
}

std::vector<std::u16string> Lines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(u"\r\n", start)) != std::u16string::npos; start = at + 2) {
    lines.push_back(text.substr(start, at - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

TEST(FormRules, HelpTextKeepsItsTwentyEightLinesAndSpecialCharactersAndSaysWhatTheToolDoesToday) {
  const std::u16string text = HelpText();
  EXPECT_EQ(text.find(u'\n'), text.find(u"\r\n") + 1) << "every break is CR LF";
  const auto lines = Lines(text);
  ASSERT_GT(lines.size(), 28u);
  EXPECT_NE(lines[2].find(u"チャット画面（自動）"), std::u16string::npos) << "the old chats are that kind's";
  std::size_t added = 0;  // where the lines after the 28th begin
  for (int line = 0; line < 28; ++line) added = text.find(u"\r\n", added) + 2;
  for (const std::u16string_view today : {u"送信先(T)", u"前面のウィンドウ（キー入力）", u"1行ずつ貼り付け", u"十字", u"Esc", u"Ctrl+Z"}) {
    EXPECT_NE(text.find(today, added), std::u16string::npos) << ::testing::PrintToString(std::u16string(today));
  }
  EXPECT_EQ(lines[0], u"Kakehashi 文字入力支援ツール");
  for (std::size_t empty : {2u, 5u, 6u, 9u, 12u, 15u, 18u, 21u, 24u}) EXPECT_TRUE(lines[empty - 1].empty()) << empty;
  EXPECT_NE(lines[19].find(u"ミリ秒)\u3000チャット"), std::u16string::npos);
  EXPECT_EQ(lines[26], u"例：\u3000(\uFF9F\u0434\uFF9F)< こにゃにゃちわ ");
  EXPECT_NE(lines[25].find(u"(\uFF9F\u0434\uFF9F)< "), std::u16string::npos);
  EXPECT_EQ(lines[27], u"のようになります。");
}

// The caption is made from the build's version; the chat programs' users know the tool by it.
TEST(Form1Caption, IsTheWindowTableCaptionWithTheProjectVersion) {
  EXPECT_EQ(std::wstring(kForm1Caption), L"Kakehashi 入力支援ツール\u3000ver 1.5");
}

}  // namespace
}  // namespace kakehashi
