// Thousands of random sends through the send command, each checked against the rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "fuzz/send_fuzz_case.h"

namespace kakehashi::fuzz {
namespace {

TEST(SendFuzz, RandomSendsPostExactlyWhatTheRulesGive) {
  // A fixed random start value: a failure shows its iteration and repeats.
  std::mt19937 random(20240611u);
  constexpr int kIterations = 6000;
  CaseStats stats;
  int failures = 0;
  for (int i = 0; i < kIterations && failures < 5; ++i) {
    std::vector<std::uint8_t> input(24 + random() % 200);
    for (auto& b : input) b = static_cast<std::uint8_t>(random());
    const std::string problem = RunSendCase(input.data(), input.size(), &stats);
    if (!problem.empty()) {
      ++failures;
      ADD_FAILURE() << "iteration " << i << ":\n" << problem;
    }
  }
  // The inputs reach every outcome and the characters and lengths that matter.
  for (const std::u16string status : {u"", u"文字を入力してください", u"ウィンドウが選択されていません",
                                      u"送信できない文字が含まれています", u"1行が長すぎて送信できません",
                                      u"4行以上は無視になります", u"単一行じゃないのれす",
                                      u"送信先のウィンドウが見つかりません", u"送信先が応答しません"}) {
    EXPECT_GT(stats.outcomes[status], 0u) << ::testing::PrintToString(status);
  }
  EXPECT_GT(stats.outcomes[u""], stats.cases / 4) << "most sends should go through";
  EXPECT_GT(stats.high_lead_posts, 0u);
  EXPECT_GT(stats.surrogates, 0u);
  EXPECT_GT(stats.without_code, 0u);
  EXPECT_GT(stats.controls, 0u);
  EXPECT_GT(stats.near_line_buffer, 0u);
  EXPECT_GT(stats.near_longest_line, 0u);
  std::cout << stats.cases << " sends, " << stats.outcomes[u""] << " went through, " << stats.posts << " posts, "
            << stats.near_longest_line << " lines of 65,532-65,535 bytes\n";
}

}  // namespace
}  // namespace kakehashi::fuzz
