// The 送信先 window's rules without a window: the interval box's values, and the words
// that describe the picked windows and the picks.
#include "forms/target_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kakehashi {
namespace {

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

struct IntervalCase {
  std::u16string text;
  std::optional<std::uint32_t> value;
};

TEST(TargetRules, IntervalTakesWholeMillisecondsFromZeroToAThousand) {
  const std::vector<IntervalCase> cases = {
      {u"0", 0u},        {u"1", 1u},        {u"250", 250u},    {u"1000", 1000u},  {u"007", 7u},
      {u"0001000", 1000u},
      // An IME in full-width mode, alone and mixed with ASCII digits.
      {u"１００", 100u},  {u"1０", 10u},
      {u"1001", std::nullopt}, {u"99999999999999999999", std::nullopt}, {u"4294967296", std::nullopt},
      {u"", std::nullopt},     {u"-1", std::nullopt},   {u"+5", std::nullopt},  {u"1.5", std::nullopt},
      {u"1e3", std::nullopt},  {u" 5", std::nullopt},   {u"5 ", std::nullopt},  {u"1,000", std::nullopt},
      {u"abc", std::nullopt},  {u"１２a", std::nullopt}, {u"/", std::nullopt},   {u":", std::nullopt},
  };
  for (const IntervalCase& c : cases) EXPECT_EQ(ParseCharInterval(c.text), c.value) << Utf8(c.text);
}

WindowFacts NotepadEdit() {
  WindowFacts f;
  f.state = WindowFacts::State::kPresent;
  f.class_name = u"Edit";
  f.window_caption = u"無題 - メモ帳";
  f.program = u"notepad.exe";
  f.unicode = true;
  return f;
}

TEST(TargetRules, DescriptionNamesClassWindowProgramAndCharactersOfEachPick) {
  WindowFacts none;
  WindowFacts gone;
  gone.state = WindowFacts::State::kGone;
  WindowFacts chat_edit = NotepadEdit();
  chat_edit.class_name = u"MSNChatEdit4";
  chat_edit.window_caption = u"";
  chat_edit.program = u"";
  chat_edit.unicode = false;
  WindowFacts button;
  button.state = WindowFacts::State::kPresent;
  button.class_name = u"Button";
  button.caption = u"送信(&S)";
  button.window_caption = u"チャット";

  struct Case {
    const char* what;
    WindowFacts input, button;
    std::u16string text;
  };
  const std::vector<Case> cases = {
      {"nothing picked", none, none, u"入力欄：未指定\r\n送信ボタン：未指定（なくても送れます）"},
      {"a Unicode input box", NotepadEdit(), none,
       u"入力欄\r\n　クラス名：Edit\r\n　ウィンドウ：無題 - メモ帳\r\n　プログラム：notepad.exe\r\n"
       u"　文字コード：Unicode\r\n送信ボタン：未指定（なくても送れます）"},
      {"an ANSI box in an untitled window of an unknown program, and a button", chat_edit, button,
       u"入力欄\r\n　クラス名：MSNChatEdit4\r\n　ウィンドウ：（タイトルなし）\r\n　プログラム：（不明）\r\n"
       u"　文字コード：ANSI（シフトJIS）\r\n送信ボタン\r\n　クラス名：Button\r\n　表示：送信(&S)\r\n"
       u"　ウィンドウ：チャット"},
      {"a button without a caption", NotepadEdit(), WindowFacts{WindowFacts::State::kPresent, u"Edit", u"", u"", u"", true},
       u"入力欄\r\n　クラス名：Edit\r\n　ウィンドウ：無題 - メモ帳\r\n　プログラム：notepad.exe\r\n"
       u"　文字コード：Unicode\r\n送信ボタン\r\n　クラス名：Edit\r\n　表示：（なし）\r\n　ウィンドウ：（タイトルなし）"},
      {"both closed since", gone, gone,
       u"入力欄：閉じられました（指定し直してください）\r\n送信ボタン：閉じられました（指定し直してください）"},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8(DescribePicked(c.input, c.button)), Utf8(c.text)) << c.what;
}

TEST(TargetRules, ProgramIsTheFileNameOfItsPath) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"C:\\windows\\system32\\notepad.exe", u"notepad.exe"},
      {u"Z:/home/user/チャット.exe", u"チャット.exe"},
      {u"notepad.exe", u"notepad.exe"},
      {u"\\\\server\\share\\a.b.exe", u"a.b.exe"},
      {u"C:\\dir\\", u""},
      {u"", u""},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(Utf8(ProgramFileName(path)), Utf8(name)) << Utf8(path);
}

TEST(TargetRules, PickStatusIsNeverEmpty) {
  EXPECT_EQ(Utf8(PickedStatus(u"無題 - メモ帳")), Utf8(u"無題 - メモ帳"));
  EXPECT_EQ(Utf8(PickedStatus(u"")), Utf8(u"（タイトルなし）"));
}

}  // namespace
}  // namespace kakehashi
